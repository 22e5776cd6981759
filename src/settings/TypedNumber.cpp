#include "settings/TypedNumber.h"

#include <cfloat>
#include <charconv>
#include <cmath>

TypedNumber ReadTypedNumber(const std::string& text)
{
    TypedNumber out;
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        out.ok = true;
        return out;
    }
    std::string s = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    const std::size_t comma = s.find(',');
    if (comma != std::string::npos && s.find(',', comma + 1) == std::string::npos &&
        s.find('.') == std::string::npos) {
        s[comma] = '.';
        out.comma = true;
    }
    // Digits and one point only: no exponents, no "inf" or "nan".
    if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos || s == ".")
        return out;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v) || v > FLT_MAX)
        return out;
    out.value = negative ? -v : v;
    out.ok = true;
    return out;
}

bool IsWholeNumber(const TypedNumber& number)
{
    return number.ok && std::trunc(number.value) == number.value;
}

std::string NumberRefusal(const char* box, const std::string& text, bool wholeOnly)
{
    return "The box \"" + std::string(box) + "\" takes " + (wholeOnly ? "a whole number" : "a number") + ".\n\n\"" +
           text + "\" is not one.";
}
