#pragma once
// A number as typed in an editor's box or read from an import file, by the
// register's numeric rules: a point before the cents. A single comma in place
// of the point (the way many keyboards type it) is read as the point; anything
// else that is not wholly a number is refused rather than cut short.

#include <string>

struct TypedNumber {
    double value = 0;
    bool ok = false;     // the whole text is a number (blank reads as 0)
    bool comma = false;  // read with a comma as the decimal point
};

TypedNumber ReadTypedNumber(const std::string& text);

// Whether the number is whole, for boxes that hold whole numbers only.
bool IsWholeNumber(const TypedNumber& number);

// The refusal of a box's text that is not a number (or not a whole one where
// only whole numbers belong), naming the box.
std::string NumberRefusal(const char* box, const std::string& text, bool wholeOnly);
