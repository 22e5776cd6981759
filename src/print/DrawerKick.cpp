#include "print/DrawerKick.h"

#include <cctype>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The bytes of a hexadecimal text; false when it is not one.
bool parseHex(const std::string& text, std::vector<std::uint8_t>& out)
{
    std::string digits;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (hexValue(c) < 0)
            return false;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(hexValue(digits[i]) * 16 + hexValue(digits[i + 1])));
    return true;
}

}  // namespace

std::vector<std::uint8_t> DrawerKickBytes(int drawerMethod, const std::string& drawerCommand)
{
    if (drawerMethod == 1)
        return {0x1B, 0x70, 0x00, 0x19, 0xFA};
    if (drawerMethod != 2)
        return {};
    std::vector<std::uint8_t> bytes;
    if (parseHex(drawerCommand, bytes))
        return bytes;
    return {drawerCommand.begin(), drawerCommand.end()};
}
