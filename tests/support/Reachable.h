#pragma once
// Whether a window's controls can be reached on a 1024 x 768 screen: each named
// control is visible, lies inside the window and is the widget (or holds the
// widget) that stands at its own centre, so nothing else covers it. Clicks go
// where a control is drawn, through the window, never to the object itself.

#include <QPoint>
#include <QStringList>
#include <Qt>

#include <ostream>

class QWidget;

// Shows the window at no more than 1024 x 768 and lists, one line each, the
// named controls that cannot be reached and why. Controls the window hides on
// purpose (hidden themselves or inside a hidden part) are not listed, nor the
// rows of a scrolled list that are scrolled out of view.
QStringList unreachableControls(QWidget* window);

// Clicks the control where it is drawn: at its centre (or at `at`, in its own
// coordinates), on whatever widget of its window stands there. The test fails
// when that widget is not the control or one of its children.
void clickDrawn(QWidget* control, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton);

// Readable failure messages for the lists above.
inline void PrintTo(const QStringList& lines, std::ostream* os) { *os << '\n' << lines.join('\n').toStdString(); }
