#pragma once
// Helpers the parts of the sale screen share: controls named after their
// control ids, and number boxes that show every digit they are given.

#include "platform/RecordText.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QString>

#include <functional>
#include <string>

// Gives a control its object name ("qty_1012") and records it under its id.
using RegisterControlFn = std::function<void(int id, QWidget* widget, const char* name)>;

inline QLineEdit* MakeBox(QWidget* parent, const RegisterControlFn& reg, int id, const char* name, bool editable)
{
    auto* box = new QLineEdit(parent);
    reg(id, box, name);
    if (!editable) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
    }
    return box;
}

// A number box at least wide enough for the sample ("99999.99"), right-aligned.
inline void FitNumberWidth(QLineEdit* box, const char* sample)
{
    box->setAlignment(Qt::AlignRight);
    const QFontMetrics metrics(box->font());
    box->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(sample)) + 14);
}

// Shows a number from its first digit: a number wider than its box loses its
// last digits from view, never its first.
inline void SetNumberText(QLineEdit* box, const QString& text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

// Record text to and from the screen; paths are the file system's own
// encoding instead (QFile::decodeName), since they must open the files.
inline QString qs(const std::string& text) { return RecordText::toQt(text); }
inline std::string ss(const QString& text, std::size_t maxChars = std::string::npos)
{
    return RecordText::fromQt(text, maxChars);
}
