#pragma once
// The bytes that open the cash drawer on an ESC/POS receipt printer.
//
// Method 0 sends nothing. Method 1 sends the standard kick ESC p 0 25 250
// (pin 2, 50 ms on, 500 ms off). Method 2 sends the register's drawer command:
// written as hexadecimal digits ("1B700019FA", an even count, spaces allowed)
// it stands for those bytes; any other text is sent as its characters.

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> DrawerKickBytes(int drawerMethod, const std::string& drawerCommand);

// The drawer command as the register stores it: hexadecimal digits typed
// with spaces ("1B 70 00 19 FA") lose the spaces, other text stays as typed.
std::string StoredDrawerCommand(const std::string& typed);
// The register keeps at most this many characters of the command.
constexpr std::size_t kDrawerCommandChars = 11;
