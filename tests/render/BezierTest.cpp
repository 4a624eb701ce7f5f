#include "render/MyGR32Functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

FixedRect pixelRect(int l, int t, int r, int b) { return {Fixed(l), Fixed(t), Fixed(r), Fixed(b)}; }

// Flattened points are given in pixels to four decimals, so allow that rounding.
constexpr qint32 kFourDecimals = 4;

void expectNear(FixedPoint got, double x, double y, const char* what)
{
    EXPECT_LE(std::abs(got.x - std::lround(x * FixedOne)), kFourDecimals) << what << " x = " << got.x / 65536.0;
    EXPECT_LE(std::abs(got.y - std::lround(y * FixedOne)), kFourDecimals) << what << " y = " << got.y / 65536.0;
}

std::vector<FixedPoint> ellipseContour(const FixedRect& rect)
{
    Polygon32 polygon;
    PolygonAddEllipse(polygon, rect);
    return polygon.contourCount() == 1 ? polygon.contours()[0] : std::vector<FixedPoint>{};
}

TEST(BezierFlatten, HundredPixelEllipseHasSixteenChordsPerQuarter)
{
    const auto c = ellipseContour(pixelRect(0, 0, 100, 100));
    ASSERT_EQ(c.size(), 65u);
    EXPECT_EQ(c[0], Fixed(0, 50));
    expectNear(c[1], 0.2701, 45.0678, "point 1");
    expectNear(c[2], 1.0606, 40.2369, "point 2");
    expectNear(c[8], 15.0544, 15.0544, "point 8");
    // The ends of the four segments are kept exactly, and the contour closes itself.
    EXPECT_EQ(c[16], Fixed(50, 0));
    EXPECT_EQ(c[32], Fixed(100, 50));
    EXPECT_EQ(c[48], Fixed(50, 100));
    EXPECT_EQ(c[64], c[0]);
}

TEST(BezierFlatten, TinyEllipseStillSplitsEverySegmentOnce)
{
    const auto c = ellipseContour(pixelRect(0, 0, 2, 2));
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[2], Fixed(1, 0));
    EXPECT_EQ(c[8], c[0]);
}

TEST(BezierFlatten, InvertedRectangleStillGivesAClosedContour)
{
    // The inner ellipse of a ring wider than half the shape.
    const auto c = ellipseContour(pixelRect(40, 40, 60, 20));
    ASSERT_GE(c.size(), 5u);
    EXPECT_EQ(c.front(), Fixed(40, 30));
    EXPECT_EQ(c.back(), c.front());
}

struct ChainCase {
    const char* name;
    std::vector<FixedPoint> points;
    FixedRect clip;
    int minAdded, maxAdded;
};

TEST(BezierFlatten, ChainsOfTheWrongShapeOrOutsideAddNothing)
{
    const FixedRect clip = pixelRect(0, 0, 100, 100);
    const FixedPoint a = Fixed(0, 0), b = Fixed(0, 60), c = Fixed(60, 60), d = Fixed(60, 0);
    const ChainCase cases[] = {
        {"empty", {}, clip, 0, 0},
        {"one point", {a}, clip, 0, 0},
        {"five points", {a, b, c, d, a}, clip, 0, 0},
        {"one segment", {a, b, c, d}, clip, 3, 1000},
        {"two segments", {a, b, c, d, c, b, a}, clip, 5, 1000},
        {"all beyond the right side", {Fixed(101, 0), Fixed(150, 200), Fixed(300, -50), Fixed(101, 90)}, clip, 0, 0},
        {"all below", {Fixed(0, 101), Fixed(50, 300), Fixed(-50, 200), Fixed(90, 101)}, clip, 0, 0},
        // Beyond two different sides: cannot be ruled out as a whole.
        {"right and below", {Fixed(101, 50), Fixed(150, 60), Fixed(50, 150), Fixed(50, 101)}, clip, 2, 1000},
    };
    for (const ChainCase& k : cases) {
        Polygon32 polygon;
        PolygonAddBezier(polygon, k.points, k.clip);
        const int added = polygon.contourCount() == 0 ? 0 : int(polygon.contours()[0].size());
        EXPECT_GE(added, k.minAdded) << k.name;
        EXPECT_LE(added, k.maxAdded) << k.name;
    }
}

TEST(BezierFlatten, StraightAndClippedSegmentsBecomeOneChord)
{
    struct Case {
        const char* name;
        std::vector<FixedPoint> points;
        FixedRect clip;
        bool oneChord;
    };
    const FixedPoint right[] = {Fixed(200, 0), Fixed(300, 100), Fixed(150, 300), Fixed(400, 50)};
    const Case cases[] = {
        {"straight", {Fixed(0, 0), Fixed(0, 0), Fixed(90, 70), Fixed(90, 70)}, pixelRect(0, 0, 100, 100), true},
        {"beyond the right side", {right, right + 4}, pixelRect(0, 0, 100, 100), true},
        {"clip off", {right, right + 4}, FixedRect{}, false},
        {"inside", {right, right + 4}, pixelRect(0, 0, 500, 500), false},
    };
    for (const Case& k : cases) {
        FlattenBezier(k.points, BezierTolerance * FixedOne, k.clip);
        const auto stored = BezierPointBuffer().points();
        if (k.oneChord) {
            EXPECT_EQ(std::vector<FixedPoint>(stored.begin(), stored.end()), k.points) << k.name;
        } else {
            EXPECT_GT(stored.size(), 4u) << k.name;
            EXPECT_EQ(stored.back(), k.points.back()) << k.name;
        }
    }
}

TEST(BezierFlatten, MidpointsTruncateTowardZero)
{
    // With a tolerance nothing exceeds, the segment is split exactly once. Odd negative
    // sums show the truncation: -3 / 2 is -1, not -2.
    const std::vector<FixedPoint> segment = {{0, 0}, {-3, 5}, {-7, 1}, {-1, -9}};
    FlattenBezier(segment, std::numeric_limits<qint32>::max(), FixedRect{});
    const auto stored = BezierPointBuffer().points();
    const std::vector<FixedPoint> expected = {{0, 0}, {-1, 2}, {-3, 2}, {-3, 1}, {-4, 0}, {-4, -4}, {-1, -9}};
    EXPECT_EQ(std::vector<FixedPoint>(stored.begin(), stored.end()), expected);
}

TEST(BezierFlatten, BufferGrowsInStepsAndIsReused)
{
    Polygon32 polygon;
    const FixedRect big = pixelRect(0, 0, 4000, 3000);
    PolygonAddEllipse(polygon, big);
    const BezierPointStore& buffer = BezierPointBuffer();
    const int room = buffer.room();
    const std::vector<FixedPoint> first(buffer.points().begin(), buffer.points().end());
    EXPECT_GT(buffer.count(), BezierPointStore::RoomStep) << "the case must outgrow the starting room";
    EXPECT_EQ(room % BezierPointStore::RoomStep, 0);
    EXPECT_LT(buffer.count(), room);
    EXPECT_EQ((buffer.count() - 1) % 3, 0);

    PolygonAddEllipse(polygon, big);
    EXPECT_EQ(buffer.room(), room);
    EXPECT_EQ(std::vector<FixedPoint>(buffer.points().begin(), buffer.points().end()), first);

    // A small flattening afterwards starts from an empty count but keeps the room.
    PolygonAddEllipse(polygon, pixelRect(0, 0, 2, 2));
    EXPECT_EQ(buffer.count(), 25);
    EXPECT_EQ(buffer.room(), room);

    BezierPointStore fresh;
    EXPECT_EQ(fresh.room(), 512);
    ASSERT_TRUE(fresh.grow());
    ASSERT_TRUE(fresh.grow());
    EXPECT_EQ(fresh.room(), 1536);
}

TEST(BezierOutcode, SidesAreTestedRightBelowLeftAbove)
{
    const FixedRect r = pixelRect(10, 20, 30, 40);
    const struct {
        int x, y, code;
    } cases[] = {
        {20, 30, OutcodeInside}, {10, 20, OutcodeInside}, {30, 40, OutcodeInside}, // edges count as inside
        {31, 30, OutcodeRight},  {20, 41, OutcodeBelow},  {9, 30, OutcodeLeft},   {20, 19, OutcodeAbove},
        {31, 41, OutcodeRight},  {31, 19, OutcodeRight},  {9, 41, OutcodeBelow},  {9, 19, OutcodeLeft},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointOutcode(Fixed(c.x, c.y), r), c.code) << "(" << c.x << ", " << c.y << ")";
}

} // namespace
