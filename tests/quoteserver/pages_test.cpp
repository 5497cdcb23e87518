// The pages' text charts: the dots of known shapes, the scale, the axis and the volume row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/braille_chart.h"

namespace {

// The Braille cells of a chart line, as their dot bits (0 for a blank cell), up to the scale.
std::vector<unsigned> Cells(const std::string& line) {
    std::vector<unsigned> cells;
    for (std::size_t i = 0; i + 2 < line.size() && static_cast<unsigned char>(line[i]) == 0xE2;
         i += 3) {
        const unsigned code =
            ((line[i] & 0x0F) << 12) | ((line[i + 1] & 0x3F) << 6) | (line[i + 2] & 0x3F);
        if (code < 0x2800 || code > 0x28FF) break;
        cells.push_back(code - 0x2800);
    }
    return cells;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

constexpr unsigned kBottomLeft = 0x40, kTopLeft = 0x01, kTopRight = 0x08, kBottomRight = 0x80;

TEST(BrailleChart, AStraightRiseAndAVeeDrawTheirDots) {
    quotes::ChartSeries rise;
    for (int i = 0; i <= 40; ++i) rise.values.push_back(i * 0.25);
    const std::vector<std::string> lines = Lines(quotes::BrailleChart(rise, 30, 4));
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<unsigned> top = Cells(lines[0]), bottom = Cells(lines[3]);
    ASSERT_EQ(top.size(), 30u - 6);  // " 10.00" beside the cells
    EXPECT_TRUE(bottom.front() & kBottomLeft);
    EXPECT_TRUE(top.back() & kTopRight);
    EXPECT_EQ(top.front(), 0u);
    EXPECT_EQ(bottom.back(), 0u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 6), " 10.00");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 5), " 6.33");  // the value at the row's middle
    EXPECT_EQ(lines[3].substr(lines[3].size() - 5), " 0.00");
    for (const std::string& line : lines) {  // one dot column after another, no gap
        for (unsigned c : Cells(line)) EXPECT_LE(c, 0xFFu);
    }

    quotes::ChartSeries vee;
    vee.values = {4, 3, 2, 1, 0, 1, 2, 3, 4};
    const std::vector<std::string> v = Lines(quotes::BrailleChart(vee, 15, 2));
    const std::vector<unsigned> upper = Cells(v[0]), lower = Cells(v[1]);
    EXPECT_TRUE(upper.front() & kTopLeft);
    EXPECT_TRUE(upper.back() & kTopRight);
    EXPECT_TRUE(lower[lower.size() / 2] & (kBottomLeft | kBottomRight));
    EXPECT_EQ(upper[upper.size() / 2], 0u);
}

TEST(BrailleChart, TheReferenceTheVolumesAndTheAxis) {
    quotes::ChartSeries day;
    day.values = {10, 11, 12, 11, 10, 11};
    day.volumes = {600, 100, 100, 100, 100, 300};
    day.reference = 8;  // below every price: the scale reaches down to it
    day.ticks = {{0, "9:30"}, {3, "12:00"}, {5, "16:00"}};
    const std::vector<std::string> lines = Lines(quotes::BrailleChart(day, 30, 3));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 5), " 8.00");
    EXPECT_TRUE(Cells(lines[2]).front() & kBottomLeft);  // the dotted line starts at the left
    EXPECT_EQ(lines[3].rfind("█", 0), 0u);               // the largest volume, first
    EXPECT_EQ(lines[4].rfind("9:30", 0), 0u);
    EXPECT_NE(lines[4].find("12:00"), std::string::npos);
    EXPECT_EQ(quotes::BrailleChart({}, 30, 3), "");
    EXPECT_EQ(Cells(quotes::Sparkline({1, 2, 3}, 5)).size(), 5u);
}

}  // namespace
