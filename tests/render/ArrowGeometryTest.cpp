#include "render/ArrowGeometry.h"
#include "render/Rounding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace {

using Vertices = std::vector<std::pair<int, int>>;

Vertices pairs(const std::vector<QPoint>& points)
{
    Vertices out;
    for (const QPoint& p : points)
        out.emplace_back(p.x(), p.y());
    return out;
}

struct ShapeCase {
    const char* name;
    bool arrow; // false: line
    int direction;
    double L, T, R, B;
    int width;
    int headSize; // arrows only
    Vertices expected;
};

const ShapeCase kShapes[] = {
    {"UpRightSmall", true, ArrowUpRight, 0, 0, 100, 100, 5, HeadSmall,
     {{-4, 96}, {4, 104}, {96, 12}, {100, 16}, {100, 0}, {84, 0}, {88, 4}}},
    {"UpRightMedium", true, ArrowUpRight, 0, 0, 100, 100, 5, HeadMedium,
     {{-4, 96}, {4, 104}, {93, 15}, {100, 26}, {100, 0}, {74, 0}, {85, 7}}},
    {"UpRightLarge", true, ArrowUpRight, 0, 0, 100, 100, 5, HeadLarge,
     {{-4, 96}, {4, 104}, {90, 18}, {100, 34}, {100, 0}, {66, 0}, {82, 10}}},
    {"UpLeftSmall", true, ArrowUpLeft, 0, 0, 100, 100, 5, HeadSmall,
     {{104, 96}, {96, 104}, {4, 12}, {0, 16}, {0, 0}, {16, 0}, {12, 4}}},
    {"DownRightSmall", true, ArrowDownRight, 0, 0, 100, 100, 5, HeadSmall,
     {{-4, 4}, {4, -4}, {96, 88}, {100, 84}, {100, 100}, {84, 100}, {88, 96}}},
    {"DownLeftSmall", true, ArrowDownLeft, 0, 0, 100, 100, 5, HeadSmall,
     {{104, 4}, {96, -4}, {4, 88}, {0, 84}, {0, 100}, {16, 100}, {12, 96}}},
    {"UpRightMediumWide", true, ArrowUpRight, 10, 20, 210, 120, 3, HeadMedium,
     {{9, 117}, {11, 123}, {201, 28}, {204, 36}, {210, 20}, {194, 14}, {199, 22}}},
    {"UnknownDirectionIsUpRight", true, 7, 0, 0, 100, 100, 5, HeadSmall,
     {{-4, 96}, {4, 104}, {96, 12}, {100, 16}, {100, 0}, {84, 0}, {88, 4}}},
    {"ArrowOnNothing", true, ArrowUpRight, 5, 5, 5.4, 5.5, 5, HeadLarge, {}},
    {"DiagonalDown", false, LineDiagonalDown, 0, 0, 100, 100, 5, 0, {{-4, 4}, {4, -4}, {104, 96}, {96, 104}}},
    {"DiagonalUp", false, LineDiagonalUp, 0, 0, 100, 100, 5, 0, {{104, 4}, {96, -4}, {-4, 96}, {4, 104}}},
    {"Horizontal", false, LineHorizontal, 10.4, 20.6, 90.5, 60, 5, 0, {{10, 21}, {90, 21}, {90, 31}, {10, 31}}},
    {"Vertical", false, LineVertical, 10.4, 20.6, 90, 61.5, 3, 0, {{10, 21}, {16, 21}, {16, 62}, {10, 62}}},
    {"UnknownDirectionIsHorizontal", false, -1, 0, 0, 50, 40, 2, 0, {{0, 0}, {50, 0}, {50, 4}, {0, 4}}},
    {"DiagonalOnNothing", false, LineDiagonalUp, 5, 5, 5.4, 5.5, 5, 0, {}},
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class RenderShapeVertices : public testing::TestWithParam<ShapeCase> {};

TEST_P(RenderShapeVertices, MatchTheTable)
{
    const ShapeCase& c = GetParam();
    const auto got = c.arrow ? ArrowVertices(c.direction, c.L, c.T, c.R, c.B, c.width, c.headSize)
                             : LineVertices(c.direction, c.L, c.T, c.R, c.B, c.width);
    EXPECT_EQ(pairs(got), c.expected);
}

INSTANTIATE_TEST_SUITE_P(RenderTable, RenderShapeVertices, testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderRounding, HalvesGoToEven)
{
    const std::pair<double, double> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.6, 3}, {-2.4, -2}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(nearest(x), expected) << "nearest(" << x << ")";
}

TEST(RenderRounding, PixelsStayInsideTheFixedPointRange)
{
    EXPECT_EQ(nearestPixel(2.5), 2);
    EXPECT_EQ(nearestPixel(1e12), 32767);
    EXPECT_EQ(nearestPixel(-1e12), -32767);
}

} // namespace
