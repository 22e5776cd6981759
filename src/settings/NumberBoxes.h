#pragma once
// Number boxes of the editors: a value that does not read as a number is
// refused with a message that names the box, never stored cut short.

#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "settings/TypedNumber.h"

#include <QLineEdit>

#include <string>

namespace NumberBoxes {

// Reads the box; when its text is not a number (or not a whole one where
// only whole numbers belong) says so, puts the focus in the box and returns
// false. A blank box reads as 0.
inline bool Read(QWidget* parent, QLineEdit* box, const char* name, double& value, bool wholeOnly = false)
{
    const std::string text = RecordText::fromQt(box->text());
    const TypedNumber n = ReadTypedNumber(text);
    if (!n.ok || (wholeOnly && !IsWholeNumber(n))) {
        MessageBox::information(parent, NumberRefusal(name, text, wholeOnly));
        box->setFocus();
        box->selectAll();
        return false;
    }
    value = n.value;
    return true;
}

}  // namespace NumberBoxes
