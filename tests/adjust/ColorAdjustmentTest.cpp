#include "adjust/ColorAdjustment.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

// ---------------------------------------------------------------- factors

struct FactorCase {
    int slider;
    int factor;
};

TEST(AdjustFactor, MatchesTheSliderTable)
{
    const FactorCase cases[] = {{-100, 0}, {-75, 64}, {-50, 128}, {-25, 192}, {-10, 230}, {-5, 243}, {0, 256},
                                {5, 268},  {10, 281}, {25, 320},  {50, 384},  {75, 448},  {100, 512}};
    for (const auto& c : cases)
        EXPECT_EQ(AdjustFactor(c.slider), c.factor) << "slider " << c.slider;
}

TEST(ContrastFactor, UsesTwoConstantsAndTreats100As99)
{
    EXPECT_DOUBLE_EQ(ContrastFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(ContrastFactor(100), ContrastFactor(99));
    EXPECT_DOUBLE_EQ(ContrastFactor(50), 1.0 / std::cos(50 * M_PI / 200));
    EXPECT_DOUBLE_EQ(ContrastFactor(-50), std::cos(-50 * 0.015708));
    EXPECT_NEAR(ContrastFactor(-100), -0.0000037, 0.0000001);
}

// ---------------------------------------------------------------- tables

struct TableEntry {
    int contrast;
    int index;
    int value;
};

TEST(ContrastTable, KnownValues)
{
    const TableEntry cases[] = {
        {-50, 0, 50},   {-50, 128, 140}, {-50, 170, 170}, {-50, 255, 230},                 // Contrast -50
        {50, 0, 0},     {50, 85, 50},    {50, 128, 111},  {50, 200, 212}, {50, 255, 255}, // Contrast 50
        {99, 167, 0},   {99, 168, 43},   {99, 169, 106},  {99, 170, 170}, {99, 171, 234}, // Contrast 99
        {99, 172, 255}, {100, 168, 43},  {100, 171, 234},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildAdjustTables(0, c.contrast, 0).ContrastTable[c.index], c.value)
            << "contrast " << c.contrast << ", index " << c.index;
}

TEST(ContrastTable, At99IsZeroThenFourStepsThen255)
{
    const auto table = BuildAdjustTables(0, 99, 0).ContrastTable;
    for (int i = 0; i < 256; ++i) {
        if (i <= 167) {
            EXPECT_EQ(table[i], 0) << i;
        } else if (i >= 172) {
            EXPECT_EQ(table[i], 255) << i;
        }
    }
}

TEST(ContrastTable, Contrast100IsContrast99)
{
    EXPECT_EQ(BuildAdjustTables(0, 100, 0).ContrastTable, BuildAdjustTables(0, 99, 0).ContrastTable);
    EXPECT_EQ(BuildAdjustTables(30, 100, -20).ToneTable, BuildAdjustTables(30, 99, -20).ToneTable);
}

TEST(ContrastTable, PivotsOn170ForEveryContrast)
{
    for (int contrast = -100; contrast <= 100; ++contrast)
        EXPECT_EQ(BuildAdjustTables(0, contrast, 0).ContrastTable[170], 170) << contrast;
}

// For C <= 0 the constant pi / 200 would give the same table
// as 0.015708; a table built the other way must therefore match ours.
TEST(ContrastTable, BothConstantsAgreeAtAndBelowZero)
{
    for (int contrast = -100; contrast <= 0; ++contrast) {
        const auto table = BuildAdjustTables(0, contrast, 0).ContrastTable;
        const double factor = std::cos(contrast * M_PI / 200);
        for (int i = 0; i < 256; ++i) {
            const long v = std::clamp(std::lround((i - 170) * factor + 170), 0L, 255L);
            ASSERT_EQ(table[i], v) << "contrast " << contrast << ", index " << i;
        }
    }
}

struct ToneCase {
    int brightness;
    int first;                  // index of the first listed entry
    std::vector<int> values;    // ToneTable[first], ToneTable[first + 1], ...
};

TEST(ToneTable, KnownValuesAtContrast0)
{
    const ToneCase cases[] = {
        {100, 0, {0, 1, 3, 5, 7}},
        {100, 126, {251, 253, 255, 255, 255}},
        {50, 0, {0, 1, 2, 4, 5, 7, 8, 10}},
        {-50, 0, {0, 1, 1, 2, 2, 3, 3, 4}},
        {-50, 253, {127, 127, 128}},
        {0, 0, {0, 1, 2, 3}},
        {0, 254, {254, 255}},
    };
    for (const auto& c : cases) {
        const auto tone = BuildAdjustTables(c.brightness, 0, 0).ToneTable;
        for (size_t k = 0; k < c.values.size(); ++k)
            EXPECT_EQ(tone[c.first + k], c.values[k]) << "brightness " << c.brightness << ", j " << c.first + k;
    }
}

TEST(ToneTable, Brightness100IsTwiceMinusOneThen255)
{
    const auto tone = BuildAdjustTables(100, 0, 0).ToneTable;
    for (int j = 1; j < 256; ++j)
        EXPECT_EQ(tone[j], std::min(2 * j - 1, 255)) << j;
}

TEST(ToneTable, BrightnessMinus100MapsEverythingTo1)
{
    const auto tone = BuildAdjustTables(-100, 0, 0).ToneTable;
    for (int j = 0; j < 256; ++j)
        EXPECT_EQ(tone[j], 1) << j;
}

TEST(ChromaAndGreyTables, IdentityAtSaturation0)
{
    const auto t = BuildAdjustTables(0, 0, 0);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(t.ChromaTable[c], c + 1) << c; // c + 1, not c
    for (int s = 0; s < 766; ++s)
        EXPECT_EQ(t.GreyTable[s], -1) << s;
}

TEST(ChromaAndGreyTables, RunsOfThreeAtSaturation50)
{
    const auto t = BuildAdjustTables(0, 0, 50); // factor 384
    EXPECT_EQ(t.ChromaTable[0], 1);
    EXPECT_EQ(t.ChromaTable[255], 384);
    for (int s = 0; s < 768; ++s) {
        const int m = s / 3;
        EXPECT_EQ(t.GreyTable[s], m - (m + 1) * 384 / 256) << s;
    }
}

// ---------------------------------------------------------------- pixels

// Runs ApplyColorAdjustment on one pixel, in a 24-bit and a 32-bit picture, and
// DeriveAdjustedPicture on it; all three must agree with the expected colour.
struct PixelCase {
    int brightness, contrast, saturation;
    std::array<int, 3> in, out;
};

std::array<int, 3> Adjust24(const std::array<int, 3>& rgb, int b, int c, int s)
{
    QImage picture(1, 1, QImage::Format_RGB888);
    picture.setPixel(0, 0, qRgb(rgb[0], rgb[1], rgb[2]));
    ApplyColorAdjustment(picture, b, c, s);
    const QRgb p = picture.pixel(0, 0);
    return {qRed(p), qGreen(p), qBlue(p)};
}

TEST(ApplyColorAdjustment, PixelCases)
{
    const PixelCase cases[] = {
        // Saturation alone on (200, 100, 50).
        {0, 0, -100, {200, 100, 50}, {116, 116, 116}},
        {0, 0, -50, {200, 100, 50}, {158, 108, 83}},
        {0, 0, 50, {200, 100, 50}, {242, 92, 17}},
        {0, 0, 100, {200, 100, 50}, {255, 84, 0}},
        {0, 0, 0, {200, 100, 50}, {200, 100, 50}},
        // All three together.
        {50, 50, 50, {200, 100, 50}, {255, 123, 0}},
        {-30, 20, -40, {10, 20, 30}, {2, 6, 10}},
        // Brightness -100 gives 1 (not 0), whatever the saturation.
        {-100, 0, 0, {200, 100, 50}, {1, 1, 1}},
        {-100, 0, 100, {0, 128, 255}, {1, 1, 1}},
        {-100, 0, -100, {255, 255, 255}, {1, 1, 1}},
        // Contrast -100 gives 170, whatever the brightness and saturation.
        {0, -100, 0, {0, 100, 255}, {170, 170, 170}},
        {100, -100, 100, {200, 100, 50}, {170, 170, 170}},
        {-100, -100, -100, {10, 20, 30}, {170, 170, 170}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "b " << c.brightness << ", c " << c.contrast << ", s " << c.saturation
                                        << ", in (" << c.in[0] << ", " << c.in[1] << ", " << c.in[2] << ")");
        EXPECT_EQ(Adjust24(c.in, c.brightness, c.contrast, c.saturation), c.out);

        // 32-bit: the same colours, the fourth byte kept.
        QImage wide(1, 1, QImage::Format_ARGB32);
        wide.setPixel(0, 0, qRgba(c.in[0], c.in[1], c.in[2], 0x5A));
        ApplyColorAdjustment(wide, c.brightness, c.contrast, c.saturation);
        EXPECT_EQ(wide.pixel(0, 0), qRgba(c.out[0], c.out[1], c.out[2], 0x5A));

        // The fused path of the pipeline.
        QImage work(1, 1, QImage::Format_RGB32), shown;
        work.setPixel(0, 0, qRgb(c.in[0], c.in[1], c.in[2]));
        DeriveAdjustedPicture(work, shown, c.brightness, c.contrast, c.saturation);
        EXPECT_EQ(shown.pixel(0, 0), qRgba(c.out[0], c.out[1], c.out[2], 0xFF));
    }
}

// ---------------------------------------------------------------- whole pictures

// Every channel of every pixel must satisfy check(input, output).
template <typename Check>
testing::AssertionResult EveryChannel(const QImage& before, const QImage& after, Check check)
{
    if (before.size() != after.size())
        return testing::AssertionFailure() << "size changed";
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const QRgb p = before.pixel(x, y), q = after.pixel(x, y);
            if (!check(p, q))
                return testing::AssertionFailure() << "at (" << x << ", " << y << "): " << std::hex << p << " -> " << q;
        }
    return testing::AssertionSuccess();
}

TEST(ApplyColorAdjustment, AllZeroLeavesAGradientUnchanged)
{
    for (auto format : {QImage::Format_RGB888, QImage::Format_BGR888, QImage::Format_RGB32}) {
        const QImage original = testpics::gradient(300, 200, format);
        QImage picture = original;
        ApplyColorAdjustment(picture, 0, 0, 0);
        EXPECT_TRUE(testpics::samePixels(picture, original)) << format;
        EXPECT_EQ(picture.format(), format);
    }
}

TEST(ApplyColorAdjustment, BrightnessMinus100GivesAllOnes)
{
    for (int saturation : {-100, -30, 0, 60, 100}) {
        const QImage original = testpics::gradient(256, 64, QImage::Format_RGB888);
        QImage picture = original;
        ApplyColorAdjustment(picture, -100, 0, saturation);
        EXPECT_TRUE(EveryChannel(original, picture, [](QRgb, QRgb q) { return q == qRgb(1, 1, 1); }))
            << "saturation " << saturation;
    }
}

TEST(ApplyColorAdjustment, ContrastMinus100GivesAll170)
{
    for (int brightness : {-100, -40, 0, 70, 100})
        for (int saturation : {-100, 0, 100}) {
            const QImage original = testpics::gradient(256, 64, QImage::Format_RGB888);
            QImage picture = original;
            ApplyColorAdjustment(picture, brightness, -100, saturation);
            EXPECT_TRUE(EveryChannel(original, picture, [](QRgb, QRgb q) { return q == qRgb(170, 170, 170); }))
                << "brightness " << brightness << ", saturation " << saturation;
        }
}

TEST(ApplyColorAdjustment, SaturationMinus100GivesTheRoundedDownMean)
{
    const QImage original = testpics::gradient(256, 64, QImage::Format_RGB888);
    QImage picture = original;
    ApplyColorAdjustment(picture, 0, 0, -100);
    EXPECT_TRUE(EveryChannel(original, picture, [](QRgb p, QRgb q) {
        const int m = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
        return q == qRgb(m, m, m);
    }));
}

TEST(ApplyColorAdjustment, SaturationLeavesGreysUnchanged)
{
    QImage greys(256, 1, QImage::Format_RGB888);
    for (int v = 0; v < 256; ++v)
        greys.setPixel(v, 0, qRgb(v, v, v));
    for (int saturation = -100; saturation <= 100; saturation += 10) {
        QImage picture = greys;
        ApplyColorAdjustment(picture, 0, 0, saturation);
        EXPECT_TRUE(testpics::samePixels(picture, greys)) << "saturation " << saturation;
    }
}

TEST(ApplyColorAdjustment, KeepsTheFourthByteOf32BitPixels)
{
    QImage picture(64, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgba(x * 4, y * 60, 255 - x, (x * 37 + y) & 255));
    const QImage original = picture;
    ApplyColorAdjustment(picture, 40, -30, 70);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(qAlpha(picture.pixel(x, y)), qAlpha(original.pixel(x, y))) << x << ", " << y;
}

TEST(ApplyColorAdjustment, OtherFormatsAreAdjustedThroughAConversion)
{
    QImage grey(16, 2, QImage::Format_Grayscale8);
    grey.fill(Qt::darkGray);
    ApplyColorAdjustment(grey, -100, 0, 0);
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(grey.pixel(5, 1), qRgb(1, 1, 1));

    QImage rgb16 = testpics::gradient(40, 8, QImage::Format_RGB16);
    ApplyColorAdjustment(rgb16, 0, -100, 0);
    EXPECT_EQ(rgb16.format(), QImage::Format_RGB16);
    EXPECT_TRUE(testpics::samePixels(rgb16, testpics::filled(40, 8, qRgb(170, 170, 170)), 4)); // 5/6-bit channels
}

TEST(ApplyColorAdjustment, EmptyPictureStaysEmpty)
{
    QImage picture;
    ApplyColorAdjustment(picture, 50, 50, 50);
    EXPECT_TRUE(picture.isNull());
}

} // namespace
