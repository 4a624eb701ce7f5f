#include "TestPictures.h"

#include "platform/Polygon32.h"
#include "render/ArrowGeometry.h"
#include "render/ShapePainters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr QRgb kEdge = 0xFFFF0000;
constexpr QRgb kFill = 0xFF0000FF;
constexpr QRgb kGrey = 0xFF808080;

// Checks a drawing pixel for pixel against a picture drawn in characters: 'E' edge
// colour, 'F' fill colour, '.' the pixel as it was before drawing.
testing::AssertionResult matchesArt(const QImage& before, const QImage& after, const std::vector<std::string>& art)
{
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            const char c = art.at(std::size_t(y)).at(std::size_t(x));
            const QRgb want = (c == 'E' ? kEdge : c == 'F' ? kFill : before.pixel(x, y)) | 0xFF000000;
            if ((after.pixel(x, y) | 0xFF000000) != want)
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                   << after.pixel(x, y) << ", expected '" << c << "' " << want;
        }
    return testing::AssertionSuccess();
}

class PolygonBox : public testing::TestWithParam<QImage::Format> {};

TEST_P(PolygonBox, ClosedBoxFillsInsideAndOutlinesItsBoundary)
{
    const QImage before = testpics::gradient(10, 8, GetParam());
    QImage picture = before;
    DrawBox(picture, QRectF(QPointF(2, 1), QPointF(7, 5)), 0, kEdge, kFill);
    EXPECT_TRUE(matchesArt(before, picture,
                           {
                               "..........",
                               "..EEEEEE..",
                               "..EFFFFE..",
                               "..EFFFFE..",
                               "..EFFFFE..",
                               "..EEEEEE..",
                               "..........",
                               "..........",
                           }));
}

TEST_P(PolygonBox, OpenBoxLeavesItsMiddleAlone)
{
    const QImage before = testpics::gradient(14, 14, GetParam());
    QImage picture = before;
    DrawBox(picture, QRectF(QPointF(1, 1), QPointF(12, 12)), 3, kEdge, kFill);
    EXPECT_TRUE(matchesArt(before, picture,
                           {
                               "..............",
                               ".EEEEEEEEEEEE.",
                               ".EFFFFFFFFFFE.",
                               ".EFFFFFFFFFFE.",
                               ".EFFEEEEEEFFE.",
                               ".EFFE....EFFE.",
                               ".EFFE....EFFE.",
                               ".EFFE....EFFE.",
                               ".EFFE....EFFE.",
                               ".EFFEEEEEEFFE.",
                               ".EFFFFFFFFFFE.",
                               ".EFFFFFFFFFFE.",
                               ".EEEEEEEEEEEE.",
                               "..............",
                           }));
}

INSTANTIATE_TEST_SUITE_P(PolygonFormats, PolygonBox,
                         testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied));

TEST(PolygonFillRule, EvenOddLeavesANestedContourOpenWindingFillsIt)
{
    for (const auto rule : {Polygon32::FillRule::EvenOdd, Polygon32::FillRule::Winding}) {
        Polygon32 polygon;
        polygon.setFillRule(rule);
        for (const int inset : {0, 4}) { // both contours turn the same way
            polygon.newContour();
            polygon.add(Fixed(inset, inset));
            polygon.add(Fixed(12 - inset, inset));
            polygon.add(Fixed(12 - inset, 12 - inset));
            polygon.add(Fixed(inset, 12 - inset));
        }
        ASSERT_EQ(polygon.contourCount(), 2);
        QImage picture = testpics::filled(14, 14, kGrey);
        polygon.draw(picture, kEdge, kFill);
        EXPECT_EQ(picture.pixel(6, 6), rule == Polygon32::FillRule::EvenOdd ? kGrey : kFill);
        EXPECT_EQ(picture.pixel(2, 6), kFill);
    }
}

// Pixels that are none of the three colours can only come from blending at the edges.
bool hasBlendedPixels(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (p != kGrey && p != kEdge && p != kFill)
                return true;
        }
    return false;
}

QRect touched(const QImage& picture)
{
    QRect r;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != kGrey)
                r |= QRect(x, y, 1, 1);
    return r;
}

TEST(RenderShapes, AntialiasingFollowsTheShape)
{
    const QRectF rect(QPointF(10, 10), QPointF(60, 45));
    const struct {
        const char* name;
        void (*draw)(QImage&, const QRectF&);
        bool blended;
    } cases[] = {
        {"arrow", [](QImage& p, const QRectF& r) { DrawArrow(p, r, ArrowUpLeft, 4, HeadMedium, kEdge, kFill); }, true},
        {"horizontal line", [](QImage& p, const QRectF& r) { DrawLine(p, r, LineHorizontal, 4, kEdge, kFill); }, false},
        {"vertical line", [](QImage& p, const QRectF& r) { DrawLine(p, r, LineVertical, 4, kEdge, kFill); }, false},
        {"diagonal up", [](QImage& p, const QRectF& r) { DrawLine(p, r, LineDiagonalUp, 4, kEdge, kFill); }, true},
        {"diagonal down", [](QImage& p, const QRectF& r) { DrawLine(p, r, LineDiagonalDown, 4, kEdge, kFill); }, true},
        {"box", [](QImage& p, const QRectF& r) { DrawBox(p, r, 4, kEdge, kFill); }, false},
        {"circle", [](QImage& p, const QRectF& r) { DrawCircle(p, r, 4, kEdge, kFill); }, true},
    };
    for (const auto& c : cases) {
        QImage picture = testpics::filled(80, 60, kGrey);
        c.draw(picture, rect);
        EXPECT_EQ(hasBlendedPixels(picture), c.blended) << c.name;
    }
}

TEST(RenderShapes, StraightLinesAreTwiceTheWidthPlusTheOutline)
{
    QImage picture = testpics::filled(80, 60, kGrey);
    DrawLine(picture, QRectF(QPointF(10, 10), QPointF(60, 45)), LineHorizontal, 4, kEdge, kFill);
    EXPECT_EQ(touched(picture), QRect(QPoint(10, 10), QPoint(60, 18)));

    picture = testpics::filled(80, 60, kGrey);
    DrawLine(picture, QRectF(QPointF(10, 10), QPointF(60, 45)), LineVertical, 4, kEdge, kFill);
    EXPECT_EQ(touched(picture), QRect(QPoint(10, 10), QPoint(18, 45)));
}

TEST(RenderShapes, ArrowFillsItsShaftAndHeadAndNothingOffTheDiagonal)
{
    // Rectangle (5, 5)-(105, 105) leaves room for the tail corners.
    const struct {
        int direction;
        QPoint inHead;
        QPoint offDiagonal[2];
    } cases[] = {
        {ArrowUpRight, {100, 9}, {{6, 6}, {103, 103}}},
        {ArrowUpLeft, {9, 9}, {{103, 6}, {6, 103}}},
        {ArrowDownLeft, {9, 100}, {{6, 6}, {103, 103}}},
        {ArrowDownRight, {100, 100}, {{103, 6}, {6, 103}}},
    };
    for (const auto& c : cases) {
        QImage picture = testpics::filled(110, 110, kGrey);
        DrawArrow(picture, QRectF(QPointF(5, 5), QPointF(105, 105)), c.direction, 5, HeadSmall, kEdge, kFill);
        EXPECT_EQ(picture.pixel(55, 55), kFill) << "shaft, direction " << c.direction;
        EXPECT_EQ(picture.pixel(c.inHead), kFill) << "head, direction " << c.direction;
        for (const QPoint& p : c.offDiagonal)
            EXPECT_EQ(picture.pixel(p), kGrey) << "(" << p.x() << ", " << p.y() << "), direction " << c.direction;
    }
}

TEST(RenderShapes, BandsHaveTwoContoursAndSolidShapesOne)
{
    const QRectF rect(QPointF(0, 0), QPointF(100, 60));
    for (const int width : {0, 1, 20, 40}) {
        const int contours = width > 0 ? 2 : 1;
        const Polygon32 box = BoxPolygon(rect, width);
        const Polygon32 circle = CirclePolygon(rect, width);
        EXPECT_EQ(box.contourCount(), contours) << "box, width " << width;
        EXPECT_EQ(circle.contourCount(), contours) << "circle, width " << width;
        EXPECT_FALSE(box.antialiased());
        EXPECT_TRUE(circle.antialiased());
        for (const auto& contour : circle.contours()) {
            ASSERT_FALSE(contour.empty()) << "width " << width;
            EXPECT_EQ(contour.front(), contour.back());
        }
    }
}

TEST(RenderShapes, RingLeavesItsMiddleAndOutsideAlone)
{
    QImage picture = testpics::filled(70, 70, kGrey);
    DrawCircle(picture, QRectF(QPointF(10, 10), QPointF(60, 60)), 6, kEdge, kFill);
    EXPECT_EQ(picture.pixel(35, 35), kGrey);
    EXPECT_EQ(picture.pixel(12, 12), kGrey);
    EXPECT_EQ(picture.pixel(13, 35), kFill);
    EXPECT_EQ(picture.pixel(35, 56), kFill);
    // The outlines lie on the pixels the contours name: the outer one on columns 10 and
    // 60 and rows 10 and 60, the inner one on 16 and 54, just as for rectangles.
    for (const QPoint p : {QPoint(10, 35), QPoint(60, 35), QPoint(35, 10), QPoint(35, 60), QPoint(16, 35),
                           QPoint(54, 35), QPoint(35, 16), QPoint(35, 54)})
        EXPECT_GT(qRed(picture.pixel(p)), 2 * qBlue(picture.pixel(p))) << "(" << p.x() << ", " << p.y() << ")";
    for (const QPoint p : {QPoint(9, 35), QPoint(61, 35), QPoint(35, 9), QPoint(35, 61), QPoint(17, 35)})
        EXPECT_EQ(picture.pixel(p), kGrey) << "(" << p.x() << ", " << p.y() << ")";

    // Wider than half the shape: the inner ellipse is inverted, and something is still drawn.
    picture = testpics::filled(70, 70, kGrey);
    DrawCircle(picture, QRectF(QPointF(10, 10), QPointF(60, 40)), 20, kEdge, kFill);
    EXPECT_FALSE(touched(picture).isEmpty());
    EXPECT_EQ(picture.pixel(65, 65), kGrey);
}

TEST(RenderShapes, NothingIsDrawnForAnArrowWithoutSize)
{
    QImage picture = testpics::filled(20, 20, kGrey);
    DrawArrow(picture, QRectF(QPointF(5, 5), QPointF(5.3, 5.2)), ArrowUpRight, 5, HeadLarge, kEdge, kFill);
    DrawLine(picture, QRectF(QPointF(5, 5), QPointF(5.3, 5.2)), LineDiagonalDown, 5, kEdge, kFill);
    EXPECT_TRUE(touched(picture).isEmpty());
}

} // namespace
