#include "reports/graphs/PieLayout.h"

#include "storage/records/TextFormat.h"

const PieBrush& PieBrushOf(int brush)
{
    static const PieBrush brushes[8] = {
        {PieHatch::BackwardDiagonal, 255, 32, 0}, {PieHatch::Cross, 14, 0, 223},
        {PieHatch::DiagonalCross, 11, 192, 0},    {PieHatch::ForwardDiagonal, 223, 153, 0},
        {PieHatch::Horizontal, 255, 32, 235},     {PieHatch::Vertical, 0, 247, 255},
        {PieHatch::BackwardDiagonal, 119, 0, 159}, {PieHatch::Cross, 255, 96, 173},
    };
    return brushes[brush % 8];
}

std::vector<PieSlice> LayoutPie(const ChartData& chart)
{
    std::vector<PieSlice> out;
    const double total = chart.total();
    if (!(total > 0))
        return out;
    int start = 0, radius = 100, step = 15;
    for (std::size_t i = 0; i < chart.slices.size(); ++i) {
        const ChartSlice& s = chart.slices[i];
        PieSlice p;
        p.start = start;
        // Multiplied before dividing, so a slice of exactly a third is 120 degrees.
        p.sweep = s.value > 0 ? static_cast<int>(s.value * 360 / total) : 0;
        p.brush = static_cast<int>(i % 8);
        p.labelRadius = radius;
        if (s.value > 0)
            p.label = strprintf("%4.1f%% %s", p.sweep / 3.6, s.name.substr(0, 39).c_str());
        start += p.sweep;
        out.push_back(p);
        radius += step;
        if (radius < 100 || radius > 115) {
            step = -step;
            radius += 2 * step;
        }
    }
    return out;
}
