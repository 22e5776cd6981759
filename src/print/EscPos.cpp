#include "print/EscPos.h"

#include <algorithm>

int RollDots(int rollWidthMm) { return rollWidthMm == 58 ? 384 : 576; }

std::string EscPosRaster(const DotRows& image)
{
    std::string out = "\x1B@";
    for (int top = 0; top < image.height; top += kBandRows) {
        const int rows = std::min(kBandRows, image.height - top);
        const char header[] = {'\x1D', 'v', '0', '\0',
                               static_cast<char>(image.widthBytes & 0xFF), static_cast<char>(image.widthBytes >> 8),
                               static_cast<char>(rows & 0xFF), static_cast<char>(rows >> 8)};
        out.append(header, sizeof header);
        const auto from = image.bits.begin() + static_cast<std::ptrdiff_t>(top) * image.widthBytes;
        out.append(from, from + static_cast<std::ptrdiff_t>(rows) * image.widthBytes);
    }
    // Feed the last line past the cutter (3 mm) and cut.
    out += std::string("\x1D\x56\x42\x18", 4);
    return out;
}
