#include "pages/braille_chart.h"

#include <algorithm>
#include <cmath>

#include "pages/html.h"

namespace quotes {
namespace {

constexpr const char* kBlocks[] = {" ", "▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};

// The bit of the dot at column `x` (0, 1) and row `y` (0 to 3) of a Braille cell.
unsigned DotBit(int x, int y) {
    static constexpr unsigned kBits[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};
    return kBits[x][y];
}

void AppendBraille(std::string& out, unsigned bits) {
    const unsigned code = 0x2800 + bits;  // three bytes of UTF-8
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// A grid of dots, `cells` wide and `rows` high.
class DotGrid {
public:
    DotGrid(int cells, int rows) : cells_(cells), rows_(rows), bits_(cells * rows, 0) {}
    int width() const { return cells_ * 2; }
    int height() const { return rows_ * 4; }
    void Set(int x, int y) {
        if (x < 0 || y < 0 || x >= width() || y >= height()) return;
        bits_[(y / 4) * cells_ + x / 2] |= DotBit(x % 2, y % 4);
    }
    // A vertical run of dots from y0 to y1, either way.
    void Span(int x, int y0, int y1) {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) Set(x, y);
    }
    void AppendRow(std::string& out, int row) const {
        for (int c = 0; c < cells_; ++c) AppendBraille(out, bits_[row * cells_ + c]);
    }

private:
    int cells_, rows_;
    std::vector<unsigned> bits_;
};

// The place on the axis (0 to slots - 1) of dot column or cell `x` of `columns`.
double PlaceOf(int x, int columns, std::size_t slots) {
    return columns > 1 && slots > 1 ? static_cast<double>(x) * (slots - 1) / (columns - 1) : 0;
}

// The line through the values, each column joined to the one before: between values it runs
// straight, and a column standing for several values spans their lowest to their highest.
void DrawLine(DotGrid& grid, const std::vector<double>& values, std::size_t slots, double lo,
              double hi, std::size_t from = 0) {
    const auto rowOf = [&](double v) {
        const double at = hi > lo ? (hi - v) / (hi - lo) : 0.5;
        return static_cast<int>(std::lround(at * (grid.height() - 1)));
    };
    const std::size_t n = values.size();
    const int columns = grid.width();
    int previous = rowOf(values[std::min(from, n - 1)]);
    for (int x = 0; x < columns; ++x) {
        const double place = PlaceOf(x, columns, slots);
        if (place > static_cast<double>(n - 1) + 1e-9) break;    // the session still to come
        if (place + 1e-9 < static_cast<double>(from)) continue;  // before the first value
        const auto first = static_cast<std::size_t>(place);
        const std::size_t last = std::min(
            n, std::max(first + 1, static_cast<std::size_t>(PlaceOf(x + 1, columns, slots))));
        const double t = place - static_cast<double>(first);
        const double v =
            first + 1 < n ? values[first] * (1 - t) + values[first + 1] * t : values[first];
        int top = rowOf(v), bottom = top;
        grid.Span(x, previous, top);
        for (std::size_t i = first + 1; i < last; ++i) {
            top = std::min(top, rowOf(values[i]));
            bottom = std::max(bottom, rowOf(values[i]));
        }
        grid.Span(x, top, bottom);
        previous = last - 1 > first ? rowOf(values[last - 1]) : rowOf(v);
    }
}

// The volume under each cell of the chart (the mean of the values it stands for, or the
// nearest one's), in eighths of the largest.
std::string VolumeRow(const std::vector<double>& volumes, std::size_t slots, int cells) {
    std::vector<double> means(cells, 0);
    const std::size_t n = volumes.size();
    for (int c = 0; c < cells; ++c) {
        std::size_t first = static_cast<std::size_t>(c) * slots / cells;
        std::size_t last = static_cast<std::size_t>(c + 1) * slots / cells;
        if (last <= first) {
            first = static_cast<std::size_t>(std::lround(PlaceOf(c, cells, slots)));
            last = first + 1;
        }
        double sum = 0;
        int count = 0;
        for (std::size_t i = first; i < last && i < n; ++i) {
            if (!std::isfinite(volumes[i])) continue;  // a place without a bar
            sum += std::max(0.0, volumes[i]);
            ++count;
        }
        // A cell over places without bars shows the one before it, up to the last bar.
        means[c] = count > 0 ? sum / count : (c > 0 && first < n ? means[c - 1] : 0);
    }
    const double most = *std::max_element(means.begin(), means.end());
    std::string row;
    for (const double mean : means) {
        const int level =
            most > 0 && mean > 0 ? std::max(1, static_cast<int>(std::lround(mean / most * 8))) : 0;
        row += kBlocks[level];
    }
    while (!row.empty() && row.back() == ' ') row.pop_back();
    return row;
}

// The time axis: each label where its value is drawn, none over another.
std::string TimeAxis(const ChartSeries& series, int cells) {
    std::string axis(cells, ' ');
    int free = 0;
    const std::size_t slots = std::max(series.slots, series.values.size());
    for (const auto& [index, label] : series.ticks) {
        if (index >= slots) continue;
        const int size = static_cast<int>(label.size());
        const int at =
            std::min(cells - size,
                     slots > 1 ? static_cast<int>(index * (cells * 2 - 1) / (slots - 1)) / 2 : 0);
        if (at < free || at < 0) continue;
        axis.replace(at, label.size(), label);
        free = at + static_cast<int>(label.size()) + 1;
    }
    while (!axis.empty() && axis.back() == ' ') axis.pop_back();
    return axis;
}

// The values with a missing one (NaN, infinite) taking its neighbour's, so that every index
// still meets its tick and its volume; none when no value is there.
std::vector<double> Filled(const std::vector<double>& raw) {
    std::vector<double> values = raw;
    const auto first =
        std::find_if(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    if (first == values.end()) return {};
    double last = *first;
    for (double& v : values) {
        if (std::isfinite(v)) last = v;
        v = last;
    }
    return values;
}

}  // namespace

std::string BrailleChart(const ChartSeries& series, int width, int rows) {
    const std::vector<double> values = Filled(series.values);
    if (values.empty() || rows < 2) return "";
    auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    double low = *lo, high = *hi;
    if (series.reference && std::isfinite(*series.reference)) {
        low = std::min(low, *series.reference);
        high = std::max(high, *series.reference);
    }
    // The scale: the high, two steps, the low, each beside its row.
    std::vector<std::string> labels(rows);
    for (const int row : {0, rows / 3, (2 * rows) / 3, rows - 1}) {
        const double at = static_cast<double>(row * 4 + 1.5) / (rows * 4 - 1);
        labels[row] = FixedText(high - (high - low) * std::clamp(at, 0.0, 1.0), series.decimals);
    }
    labels[0] = FixedText(high, series.decimals);
    labels[rows - 1] = FixedText(low, series.decimals);
    std::size_t labelWidth = 0;
    for (const std::string& label : labels) labelWidth = std::max(labelWidth, label.size());
    const int cells = std::max(8, width - static_cast<int>(labelWidth) - 1);
    DotGrid grid(cells, rows);
    if (series.reference && std::isfinite(*series.reference)) {
        const double at = high > low ? (high - *series.reference) / (high - low) : 0.5;
        const int y = static_cast<int>(std::lround(at * (grid.height() - 1)));
        for (int x = 0; x < grid.width(); x += 3) grid.Set(x, y);
    }
    const std::size_t slots = std::max(series.slots, values.size());
    const auto first = std::find_if(series.values.begin(), series.values.end(),
                                    [](double v) { return std::isfinite(v); });
    DrawLine(grid, values, slots, low, high,
             static_cast<std::size_t>(first - series.values.begin()));
    std::string out;
    for (int row = 0; row < rows; ++row) {
        grid.AppendRow(out, row);
        if (!labels[row].empty()) out += " " + labels[row];
        out += "\n";
    }
    if (series.volumes.size() == series.values.size())
        out += VolumeRow(series.volumes, slots, cells) + "\n";
    if (!series.ticks.empty()) out += TimeAxis(series, cells) + "\n";
    return out;
}

std::string Sparkline(const std::vector<double>& values, int cells) {
    const std::vector<double> finite = Filled(values);
    if (finite.empty() || cells < 1) return "";
    const auto [lo, hi] = std::minmax_element(finite.begin(), finite.end());
    DotGrid grid(cells, 1);
    DrawLine(grid, finite, finite.size(), *lo, *hi);
    std::string out;
    grid.AppendRow(out, 0);
    return out;
}

}  // namespace quotes
