#include "reports/grouped/ColumnText.h"

#include <string_view>

namespace {
std::string_view trimmed(std::string_view cell)
{
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}
}  // namespace

std::string ColumnText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // A line's closing tab (a row of all entities ends with one) makes no empty cell.
        if (!line.empty() && line.back() == '\t')
            line.remove_suffix(1);
        for (std::size_t cellStart = 0;;) {
            const std::size_t tab = line.find('\t', cellStart);
            const std::size_t length = tab == std::string_view::npos ? std::string_view::npos : tab - cellStart;
            out += trimmed(line.substr(cellStart, length));
            if (tab == std::string_view::npos)
                break;
            out += '\t';
            cellStart = tab + 1;
        }
        out += '\n';
        at = end + 1;
    }
    return out;
}
