#include "platform/VclColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

TEST(ColorConversion, RgbValuesBecomeOpaqueArgb)
{
    const struct {
        TColor color;
        QRgb argb;
    } cases[] = {
        {0x000000FF, 0xFFFF0000},  {clRed, 0xFFFF0000},   {clLime, 0xFF00FF00}, {clBlue, 0xFF0000FF},
        {clYellow, 0xFFFFFF00},    {clBlack, 0xFF000000}, {clWhite, 0xFFFFFFFF}, {0x00123456, 0xFF563412},
        {0x7F123456, 0xFF563412}, // stray high bits below the system flag are not colour
        {clNone, 0xFFFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colorToARGB(c.color), c.argb) << std::hex << c.color;
}

TEST(ColorConversion, SystemColoursFollowThePalette)
{
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::All, QPalette::Button, QColor(0x12, 0x34, 0x56));
    palette.setColor(QPalette::All, QPalette::Highlight, QColor(0xAB, 0xCD, 0xEF));
    QGuiApplication::setPalette(palette);

    EXPECT_EQ(colorToARGB(clBtnFace), 0xFF123456u);
    EXPECT_EQ(colorToARGB(clHighlight), 0xFFABCDEFu);
    EXPECT_EQ(toQColor(clBtnFace), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(colorToARGB(clSystemColor + 25), 0xFF000000u) << "an index without a palette entry";
    EXPECT_EQ(colorToARGB(clSystemColor + 200), 0xFF000000u);

    QGuiApplication::setPalette(saved);
}

TEST(ColorConversion, OnlyTheHighBitMarksASystemColour)
{
    EXPECT_TRUE(isSystemColor(clBtnFace));
    EXPECT_TRUE(isSystemColor(clMenuBar));
    EXPECT_FALSE(isSystemColor(clNone));
    EXPECT_FALSE(isSystemColor(clWhite));
}

TEST(ColorConversion, QColorRoundTrip)
{
    EXPECT_EQ(colorFromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(colorFromQColor(QColor(0x12, 0x34, 0x56, 0x10)), 0x00563412u) << "alpha is not part of a colour";
    EXPECT_EQ(toQColor(0x00563412), QColor(0x12, 0x34, 0x56));
}

} // namespace
