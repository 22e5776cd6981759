#pragma once
// The pie of a percentage report's chart data: each slice's whole-degree
// sweep, its brush and its label, and where the label sits.

#include "reports/ChartData.h"

#include <string>
#include <vector>

// The eight hatched brushes the slices take in turn.
enum class PieHatch { BackwardDiagonal, Cross, DiagonalCross, ForwardDiagonal, Horizontal, Vertical };
struct PieBrush {
    PieHatch hatch;
    int red, green, blue;
};
const PieBrush& PieBrushOf(int brush);

struct PieSlice {
    int start = 0;  // degrees, counter-clockwise from three o'clock
    int sweep = 0;  // whole degrees, the fraction cut off
    int brush = 0;  // 0..7
    std::string label;        // "%4.1f%% name" of the sweep; empty for a slice worth nothing
    int labelRadius = 100;    // the centre of the label, 100 or 115 from the centre of the pie
    double middle() const { return start + sweep / 2.0; }
};

// Slices in the order of the data; none when the total is not above 0
// (nothing to scale).
std::vector<PieSlice> LayoutPie(const ChartData& chart);
