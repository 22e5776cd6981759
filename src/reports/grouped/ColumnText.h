#pragma once
// A report's text as a spreadsheet takes it: one row per line, cells split at
// the tabs and stripped of the blanks that line them up on paper, so each
// figure lands in a cell of its own and reads as a number.

#include <string>

std::string ColumnText(const std::string& text);
