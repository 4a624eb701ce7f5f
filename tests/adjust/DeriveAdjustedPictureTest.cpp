#include "adjust/ColorAdjustment.h"
#include "adjust/DeriveKernels.h"
#include "adjust/ParallelBands.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// A picture holding every byte value in every channel, and many channel sums.
QImage AllByteValues(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb(x & 255, y & 255, (x * 7 + y * 13 + (x >> 8) * 101) & 255);
    }
    return picture;
}

// The plain path: copy, bring to 24 bits, adjust.
QImage Reference(const QImage& work, int b, int c, int s)
{
    QImage copy = work.convertToFormat(QImage::Format_RGB888);
    ApplyColorAdjustment(copy, b, c, s);
    return copy;
}

using testpics::allOpaque;

// samePixels for the big picture, through row pointers: shown is RGB32, expected
// RGB888 (bytes red, green, blue).
testing::AssertionResult SameColours(const QImage& shown, const QImage& expected)
{
    if (shown.size() != expected.size())
        return testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < shown.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const uchar* b = expected.constScanLine(y);
        for (int x = 0; x < shown.width(); ++x, b += 3)
            if ((a[x] & 0xFFFFFFu) != (uint32_t(b[0]) << 16 | uint32_t(b[1]) << 8 | b[2]))
                return testing::AssertionFailure() << "first difference at (" << x << ", " << y << "): " << std::hex
                                                   << a[x] << " vs " << int(b[0]) << "," << int(b[1]) << "," << int(b[2]);
    }
    return testing::AssertionSuccess();
}

struct Triple {
    int brightness, contrast, saturation;
};

std::ostream& operator<<(std::ostream& os, const Triple& t)
{
    return os << "b " << t.brightness << ", c " << t.contrast << ", s " << t.saturation;
}

const Triple Triples[] = {
    {0, 0, 0},    {30, 20, 40},  {-30, 20, -40},   {50, 50, 0},       {0, 0, 100},        {0, 0, -100},
    {-100, 0, 0}, {0, -100, 0},  {100, 100, 100},  {-50, 75, -100},   {-100, -100, -100}, {7, -13, 57},
    {0, 0, 1},    {0, 0, -1},    {100, 0, 100},    {-100, 100, 100},
};

// Every test runs twice: with the vector kernels where the processor has them,
// and with the portable kernels only.
class DeriveAdjustedPictureTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam() && !adjust::VectorKernelsAvailable())
            GTEST_SKIP() << "no vector kernels on this processor";
        adjust::AllowVectorKernels(GetParam());
    }
    void TearDown() override { adjust::AllowVectorKernels(true); }
};

INSTANTIATE_TEST_SUITE_P(Kernels, DeriveAdjustedPictureTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Vector" : "Portable"; });

TEST_P(DeriveAdjustedPictureTest, EqualsCopyConvertAdjust)
{
    const QImage work = AllByteValues(517, 256); // 517: the vector loop leaves a tail of 5 pixels
    const QImage untouched = work;
    for (const auto& t : Triples) {
        QImage shown;
        DeriveAdjustedPicture(work, shown, t.brightness, t.contrast, t.saturation);
        SCOPED_TRACE(testing::Message() << t);
        EXPECT_EQ(shown.format(), QImage::Format_RGB32);
        EXPECT_TRUE(testpics::samePixels(shown, Reference(work, t.brightness, t.contrast, t.saturation)));
        EXPECT_TRUE(allOpaque(shown));
    }
    EXPECT_EQ(work.constBits(), untouched.constBits()); // never detached, never written
    EXPECT_TRUE(testpics::samePixels(work, untouched));
}

// All 2^24 colours in one 4096 x 4096 picture (more than a megapixel, so the
// rows are spread over threads).
TEST_P(DeriveAdjustedPictureTest, EveryColourEqualsCopyConvertAdjust)
{
    QImage work(4096, 4096, QImage::Format_RGB32);
    for (int y = 0; y < 4096; ++y) {
        auto* row = reinterpret_cast<QRgb*>(work.scanLine(y));
        for (int x = 0; x < 4096; ++x)
            row[x] = 0xFF000000u | uint32_t(y) << 12 | uint32_t(x);
    }
    QImage shown;
    for (const auto& t : {Triple{30, 20, 40}, Triple{-30, 20, -40}, Triple{100, -20, 100}, Triple{50, 50, 0}}) {
        DeriveAdjustedPicture(work, shown, t.brightness, t.contrast, t.saturation);
        const QImage expected = Reference(work, t.brightness, t.contrast, t.saturation);
        SCOPED_TRACE(testing::Message() << t);
        EXPECT_TRUE(SameColours(shown, expected));
        EXPECT_TRUE(allOpaque(shown));
    }
}

TEST_P(DeriveAdjustedPictureTest, IgnoresTheFourthByteOfTheWorkingPicture)
{
    const QImage clean = AllByteValues(256, 64);
    QImage work = clean;
    for (int y = 0; y < work.height(); ++y) {
        uchar* row = work.scanLine(y);
        for (int x = 0; x < work.width(); ++x)
            row[4 * x + 3] = uchar(x * 31 + y); // stray fourth bytes
    }
    for (const auto& t : {Triple{0, 0, 0}, Triple{20, 0, 0}, Triple{-30, 20, -40}}) {
        QImage shown;
        DeriveAdjustedPicture(work, shown, t.brightness, t.contrast, t.saturation);
        SCOPED_TRACE(testing::Message() << t);
        EXPECT_TRUE(testpics::samePixels(shown, Reference(clean, t.brightness, t.contrast, t.saturation)));
        EXPECT_TRUE(allOpaque(shown));
    }
}

TEST_P(DeriveAdjustedPictureTest, ReusesTheOutputBuffer)
{
    const QImage work = testpics::gradient(200, 100);
    QImage shown;
    DeriveAdjustedPicture(work, shown, 10, 10, 10);
    const uchar* buffer = shown.constBits();
    DeriveAdjustedPicture(work, shown, -20, 30, 40);
    EXPECT_EQ(shown.constBits(), buffer);
    EXPECT_TRUE(testpics::samePixels(shown, Reference(work, -20, 30, 40)));

    // Another size: a new buffer of the new size.
    DeriveAdjustedPicture(testpics::gradient(50, 60), shown, -20, 30, 40);
    EXPECT_EQ(shown.size(), QSize(50, 60));
}

TEST_P(DeriveAdjustedPictureTest, SharedOutputDoesNotWriteTheWorkingPicture)
{
    const QImage work = testpics::gradient(64, 64);
    const QImage original = work.copy();
    QImage shown = work; // shares the working picture's data
    DeriveAdjustedPicture(work, shown, 60, 0, 0);
    EXPECT_TRUE(testpics::samePixels(work, original));
    EXPECT_TRUE(testpics::samePixels(shown, Reference(original, 60, 0, 0)));

    QImage self = work; // work and out the same object
    DeriveAdjustedPicture(self, self, 0, 0, -100);
    EXPECT_TRUE(testpics::samePixels(self, Reference(original, 0, 0, -100)));
    EXPECT_TRUE(testpics::samePixels(work, original));
}

TEST_P(DeriveAdjustedPictureTest, MovingBackTo0RestoresTheWorkingColours)
{
    const QImage work = AllByteValues(256, 256);
    QImage shown;
    for (const auto& t : {Triple{40, 0, 0}, Triple{40, -60, 0}, Triple{40, -60, 90}, Triple{0, 0, 0}})
        DeriveAdjustedPicture(work, shown, t.brightness, t.contrast, t.saturation);
    EXPECT_TRUE(testpics::samePixels(shown, work));
    EXPECT_TRUE(allOpaque(shown));
}

TEST_P(DeriveAdjustedPictureTest, OtherFormatsAreConvertedFirst)
{
    const QImage work = testpics::gradient(70, 40, QImage::Format_RGB888);
    QImage shown;
    DeriveAdjustedPicture(work, shown, 25, -25, 50);
    EXPECT_EQ(shown.format(), QImage::Format_RGB32);
    EXPECT_TRUE(testpics::samePixels(shown, Reference(work, 25, -25, 50)));
}

TEST_P(DeriveAdjustedPictureTest, EmptyWorkingPictureGivesEmptyPicture)
{
    QImage shown = testpics::gradient(10, 10);
    DeriveAdjustedPicture(QImage(), shown, 10, 20, 30);
    EXPECT_TRUE(shown.isNull());
}

// ---------------------------------------------------------------- bands

struct BandCase {
    int rows;
    int64_t pixels;
};

TEST(ForEachBand, CoversEveryRowOnce)
{
    const BandCase cases[] = {{0, 0}, {1, 10}, {7, 700}, {1000, 2'000'000}, {3, 5'000'000}, {1, 5'000'000}};
    for (const auto& c : cases) {
        std::vector<std::atomic<int>> seen(size_t(c.rows));
        adjust::ForEachBand(c.rows, c.pixels, [&](int first, int end) {
            for (int y = first; y < end; ++y)
                ++seen[size_t(y)];
        });
        for (int y = 0; y < c.rows; ++y)
            EXPECT_EQ(seen[size_t(y)].load(), 1) << "row " << y << " of " << c.rows;
    }
}

} // namespace
