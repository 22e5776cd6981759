#pragma once
// printf-style formatting into a std::string, for the system's fixed message texts.

#include <string>

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
