#include "Reachable.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

QRect rectIn(QWidget* window, QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); }

// The part of the window through which w can be seen: the viewport of the
// innermost scrolled list or area that holds it, or the whole window.
QRect viewIn(QWidget* window, QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto* area = qobject_cast<QAbstractScrollArea*>(p); area && area->viewport()->isAncestorOf(w))
            return rectIn(window, area->viewport());
    return window->rect();
}

QString describe(QWidget* w) { return w->objectName() + " (" + w->metaObject()->className() + ")"; }

}  // namespace

QStringList unreachableControls(QWidget* window)
{
    QStringList faults;
    window->show();
    if (window->width() > kScreenWidth || window->height() > kScreenHeight)
        window->resize(std::min(window->width(), kScreenWidth), std::min(window->height(), kScreenHeight));
    QApplication::processEvents();
    if (window->width() > kScreenWidth || window->height() > kScreenHeight)
        faults << QString("window %1 x %2 is larger than %3 x %4")
                      .arg(window->width())
                      .arg(window->height())
                      .arg(kScreenWidth)
                      .arg(kScreenHeight);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || w->window() != window ||
            !w->isVisibleTo(window))
            continue;
        const QRect drawn = rectIn(window, w);
        const QRect view = viewIn(window, w);
        if (!view.contains(drawn.center()))
            continue;  // a row scrolled out of its list's view
        if (!w->isVisible() || drawn.isEmpty()) {
            faults << describe(w) + " is not drawn";
            continue;
        }
        if (!window->rect().contains(drawn & view))
            faults << describe(w) + " reaches outside the window";
        QWidget* top = window->childAt(drawn.center());
        if (top != w && !w->isAncestorOf(top))
            faults << describe(w) + " is covered by " + (top ? describe(top) : QString("nothing"));
    }
    return faults;
}

void clickDrawn(QWidget* control, QPoint at, Qt::MouseButton button)
{
    ASSERT_NE(control, nullptr);
    QWidget* window = control->window();
    ASSERT_TRUE(control->isVisible()) << describe(control).toStdString() << " is not shown";
    const QPoint spot = control->mapTo(window, at.isNull() ? control->rect().center() : at);
    ASSERT_TRUE(window->rect().contains(spot)) << describe(control).toStdString() << " is outside its window";
    QWidget* top = window->childAt(spot);
    ASSERT_TRUE(top && (top == control || control->isAncestorOf(top)))
        << describe(control).toStdString() << " is covered by " << (top ? describe(top).toStdString() : "nothing");
    QTest::mouseClick(top, button, {}, top->mapFrom(window, spot));
}
