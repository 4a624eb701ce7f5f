#include "adjust/RotateCrop.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int BytesPerPixel(const QImage& picture)
{
    return picture.depth() / 8;
}

// Compares the pixel bytes of two pictures (every byte of every pixel, the
// fourth byte of 32-bit pixels too; row padding is not part of the picture).
testing::AssertionResult SameBytes(const QImage& a, const QImage& b)
{
    if (a.format() != b.format())
        return testing::AssertionFailure() << "formats differ: " << a.format() << " vs " << b.format();
    if (a.size() != b.size())
        return testing::AssertionFailure() << "sizes differ: " << a.width() << "x" << a.height() << " vs "
                                           << b.width() << "x" << b.height();
    const int bpp = BytesPerPixel(a);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::memcmp(a.constScanLine(y) + x * bpp, b.constScanLine(y) + x * bpp, bpp) != 0)
                return testing::AssertionFailure() << "first difference at (" << x << ", " << y << ")";
    return testing::AssertionSuccess();
}

// A picture whose every pixel differs, with a varied fourth byte for ARGB32.
QImage Pattern(int width, int height, QImage::Format format)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgba((x * 7 + 13) & 255, (y * 11 + 5) & 255, (x * 3 + y * 5) & 255,
                                         (x * 13 + y * 29 + 1) & 255));
    return format == QImage::Format_ARGB32 ? picture : picture.convertToFormat(format);
}

// Rotation written as its pixel mapping, one pixel at a time.
QImage ReferenceRotation(const QImage& old, int degrees)
{
    const int w = old.width(), h = old.height(), bpp = BytesPerPixel(old);
    const bool swap = degrees == 90 || degrees == 270;
    QImage result(swap ? h : w, swap ? w : h, old.format());
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x) {
            int sx = x, sy = y;
            if (degrees == 90) {
                sx = w - 1 - y;
                sy = x;
            } else if (degrees == 270) {
                sx = y;
                sy = h - 1 - x;
            } else if (degrees == 180) {
                sx = w - 1 - x;
                sy = h - 1 - y;
            }
            std::memcpy(result.scanLine(y) + x * bpp, old.constScanLine(sy) + sx * bpp, bpp);
        }
    return result;
}

// ---------------------------------------------------------------- the 4 x 2 case

// Letters name pixels: A..H of a 4 x 2 picture, rows "ABCD" and "EFGH".
QRgb Letter(char c)
{
    const int i = c - 'A';
    return qRgba(10 + i, 100 + i * 3, 200 + i * 5, 20 + i * 17);
}

QImage FromRows(const std::vector<std::string>& rows, QImage::Format format)
{
    QImage picture(int(rows[0].size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, Letter(rows[y][x]));
    return picture.convertToFormat(format);
}

struct TurnCase {
    int angle;
    std::vector<std::string> rows;
};

TEST(RotatePicture, FourByTwoPicture)
{
    const std::vector<std::string> original = {"ABCD", "EFGH"};
    const std::vector<std::string> left = {"DH", "CG", "BF", "AE"};
    const std::vector<std::string> right = {"EA", "FB", "GC", "HD"};
    const TurnCase cases[] = {
        {90, left},  {270, right},  {-90, right}, {-270, left}, {450, left},      {-450, right},
        {180, {"HGFE", "DCBA"}},    {-180, {"HGFE", "DCBA"}},   {0, original}, {360, original}, {-720, original},
    };
    for (auto format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        for (const auto& c : cases) {
            QImage picture = FromRows(original, format);
            RotatePicture(picture, c.angle);
            EXPECT_TRUE(SameBytes(picture, FromRows(c.rows, format))) << "angle " << c.angle << ", format " << format;
        }
    }
}

// ---------------------------------------------------------------- round trips

struct RoundTrip {
    const char* name;
    std::vector<int> angles;
};

TEST(RotatePicture, RoundTripsGiveBackTheSameBytes)
{
    const RoundTrip trips[] = {
        {"left then right", {90, 270}},   {"right then left", {270, 90}}, {"four lefts", {90, 90, 90, 90}},
        {"four rights", {270, 270, 270, 270}}, {"two halves", {180, 180}},   {"-90 then 90", {-90, 90}},
    };
    for (auto format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        const QImage original = Pattern(131, 77, format);
        for (const auto& trip : trips) {
            QImage picture = original;
            for (int angle : trip.angles)
                RotatePicture(picture, angle);
            EXPECT_TRUE(SameBytes(picture, original)) << trip.name << ", format " << format;
        }
    }
}

TEST(RotatePicture, QuarterTurnSwapsWidthAndHeight)
{
    QImage picture = Pattern(131, 77, QImage::Format_RGB32);
    RotatePicture(picture, 90);
    EXPECT_EQ(picture.size(), QSize(77, 131));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    RotatePicture(picture, 180);
    EXPECT_EQ(picture.size(), QSize(77, 131));
}

// Sizes around the tile edges, and one above a megapixel (threaded), against the
// pixel mapping.
TEST(RotatePicture, MatchesTheFormulaAtEverySize)
{
    const QSize sizes[] = {{1, 1}, {2, 3}, {63, 65}, {64, 64}, {65, 129}, {200, 7}, {1250, 830}};
    for (auto format : {QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_RGB32}) {
        for (const QSize& size : sizes) {
            const QImage original = Pattern(size.width(), size.height(), format);
            for (int degrees : {90, 180, 270}) {
                QImage picture = original;
                RotatePicture(picture, degrees);
                EXPECT_TRUE(SameBytes(picture, ReferenceRotation(original, degrees)))
                    << size.width() << "x" << size.height() << ", " << degrees << ", format " << format;
            }
        }
    }
}

// Formats the program does not use still turn exactly: 1, 2, 8 and 16 bytes per
// pixel through the same tiles, 1 bit per pixel through Qt.
TEST(RotatePicture, OtherPixelSizesMatchTheFormula)
{
    for (auto format : {QImage::Format_Grayscale8, QImage::Format_RGB16, QImage::Format_RGBA64,
                        QImage::Format_RGBA32FPx4}) {
        const QImage original = Pattern(70, 33, format);
        for (int degrees : {90, 180, 270}) {
            QImage picture = original;
            RotatePicture(picture, degrees);
            EXPECT_TRUE(SameBytes(picture, ReferenceRotation(original, degrees))) << degrees << ", format " << format;
        }
    }
    QImage mono(37, 21, QImage::Format_Mono);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x)
            mono.setPixel(x, y, (x * 3 + y * 7) % 5 == 0 ? 1 : 0);
    QImage turned = mono;
    RotatePicture(turned, 90);
    ASSERT_EQ(turned.size(), QSize(21, 37));
    EXPECT_EQ(turned.format(), QImage::Format_Mono);
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(turned.pixelIndex(x, y), mono.pixelIndex(36 - y, x)) << x << ", " << y;
}

TEST(RotatePicture, OneByNTurnsIntoNByOneAndBack)
{
    for (auto format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        const QImage column = Pattern(1, 37, format);
        QImage picture = column;
        RotatePicture(picture, 90);
        ASSERT_EQ(picture.size(), QSize(37, 1));
        // The old top edge becomes the left edge, read from bottom to top: old
        // (0, y) goes to new (y, 0).
        for (int y = 0; y < 37; ++y)
            EXPECT_EQ(std::memcmp(picture.constScanLine(0) + y * BytesPerPixel(column),
                                  column.constScanLine(y), BytesPerPixel(column)), 0) << y;
        RotatePicture(picture, 270);
        EXPECT_TRUE(SameBytes(picture, column));
    }
}

TEST(RotatePicture, LeavesTheOldPictureToItsOtherOwners)
{
    const QImage original = Pattern(40, 30, QImage::Format_ARGB32);
    const QImage copy = original.copy();
    QImage picture = original; // shares the buffer
    RotatePicture(picture, 90);
    EXPECT_TRUE(SameBytes(original, copy));
}

TEST(RotatePicture, EmptyPictureStaysEmpty)
{
    for (int angle : {90, 180, 270, -90}) {
        QImage picture;
        RotatePicture(picture, angle);
        EXPECT_TRUE(picture.isNull()) << angle;
    }
}

// ---------------------------------------------------------------- crop

TEST(CropPicture, ProgramsRectangleOf640x480)
{
    for (auto format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
        const QImage original = testpics::gradient(640, 480, format);
        QImage picture = original;
        CropPicture(picture, 20, 20, 200, 200);
        ASSERT_EQ(picture.size(), QSize(181, 181));
        EXPECT_EQ(picture.format(), format);
        EXPECT_EQ(picture.pixel(0, 0), original.pixel(20, 20));
        EXPECT_EQ(picture.pixel(180, 180), original.pixel(200, 200));
        EXPECT_TRUE(SameBytes(picture, original.copy(20, 20, 181, 181)));
    }
}

struct NoOpCase {
    const char* name;
    int x1, y1, x2, y2;
};

TEST(CropPicture, NoOps)
{
    const NoOpCase cases[] = {
        {"whole picture", 0, 0, 63, 47},
        {"x2 < x1", 30, 10, 29, 40},
        {"y2 < y1", 10, 30, 40, 29},
        {"both reversed", 200, 200, 20, 20},
    };
    const QImage original = Pattern(64, 48, QImage::Format_ARGB32);
    for (const auto& c : cases) {
        QImage picture = original;
        CropPicture(picture, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(picture.constBits(), original.constBits()) << c.name; // not even copied
        EXPECT_TRUE(SameBytes(picture, original)) << c.name;
    }
}

// The program's rectangle on a picture smaller than 201 x 201: the overlap is
// copied, the rest is opaque black.
TEST(CropPicture, BeyondTheSmallPictureIsOpaqueBlack)
{
    struct FormatCase {
        QImage::Format format;
        std::vector<uchar> black;
    };
    const FormatCase formats[] = {
        {QImage::Format_RGB32, {0, 0, 0, 0xFF}},
        {QImage::Format_ARGB32, {0, 0, 0, 0xFF}},
        {QImage::Format_RGB888, {0, 0, 0}},
    };
    for (const auto& f : formats) {
        const QImage original = Pattern(100, 100, f.format);
        QImage picture = original;
        CropPicture(picture, 20, 20, 200, 200);
        ASSERT_EQ(picture.size(), QSize(181, 181));
        EXPECT_EQ(picture.format(), f.format);
        const int bpp = BytesPerPixel(picture);
        for (int y = 0; y < 181; ++y)
            for (int x = 0; x < 181; ++x) {
                const uchar* pixel = picture.constScanLine(y) + x * bpp;
                if (x < 80 && y < 80)
                    ASSERT_EQ(std::memcmp(pixel, original.constScanLine(y + 20) + (x + 20) * bpp, bpp), 0)
                        << "(" << x << ", " << y << ") format " << f.format;
                else
                    ASSERT_EQ(std::memcmp(pixel, f.black.data(), bpp), 0)
                        << "(" << x << ", " << y << ") format " << f.format;
            }
        if (f.format != QImage::Format_RGB888) {
            EXPECT_EQ(picture.pixel(180, 180), 0xFF000000u);
        }
    }
}

TEST(CropPicture, RectangleStartingLeftOfAndAboveThePicture)
{
    const QImage original = Pattern(20, 20, QImage::Format_ARGB32);
    QImage picture = original;
    CropPicture(picture, -10, -5, 9, 4); // 20 x 10; old (0, 0) lands at (10, 5)
    ASSERT_EQ(picture.size(), QSize(20, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb expected = x >= 10 && y >= 5 ? original.pixel(x - 10, y - 5) : 0xFF000000u;
            ASSERT_EQ(picture.pixel(x, y), expected) << x << ", " << y;
        }
}

TEST(CropPicture, RectangleWhollyOutsideIsAllBlack)
{
    QImage picture = Pattern(10, 10, QImage::Format_RGB32);
    CropPicture(picture, 50, 50, 52, 51);
    ASSERT_EQ(picture.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(picture.pixel(x, y), 0xFF000000u);
}

TEST(CropPicture, EmptyPictureStaysEmpty)
{
    QImage picture;
    CropPicture(picture, 20, 20, 200, 200);
    EXPECT_TRUE(picture.isNull());
}

} // namespace
