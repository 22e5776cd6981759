#pragma once
// Receipts for a roll printer on a raw queue, as ESC/POS: the receipt drawn
// as a raster image at the printer's dot width, then the paper cut.

#include <cstdint>
#include <string>
#include <vector>

// Black dots, row by row: widthBytes bytes a row, the leftmost dot in the
// high bit of the first byte.
struct DotRows {
    int widthBytes = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
};

// The printable dots across a roll of 58 or 80 mm (203 dots an inch): 384 or
// 576. Any other width counts as 80 mm.
int RollDots(int rollWidthMm);
constexpr int kRollDotsPerInch = 203;

// ESC @ (reset), the image as GS v 0 bands of at most kBandRows rows, a feed
// past the cutter and GS V 66 (feed and cut).
constexpr int kBandRows = 255;
std::string EscPosRaster(const DotRows& image);
