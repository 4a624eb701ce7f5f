#include "platform/VclColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <iterator>

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette entry that plays the part of each system colour index. Indices with
// no entry (25, and anything past the table) draw black.
constexpr PaletteEntry kNoEntry{QPalette::Active, QPalette::NColorRoles};
constexpr PaletteEntry kSystemColors[] = {
    {QPalette::Active, QPalette::Button},            // 0  scroll bar
    {QPalette::Active, QPalette::Dark},              // 1  desktop background
    {QPalette::Active, QPalette::Highlight},         // 2  active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3  inactive caption
    {QPalette::Active, QPalette::Window},            // 4  menu
    {QPalette::Active, QPalette::Base},              // 5  window
    {QPalette::Active, QPalette::Shadow},            // 6  window frame
    {QPalette::Active, QPalette::WindowText},        // 7  menu text
    {QPalette::Active, QPalette::Text},              // 8  window text
    {QPalette::Active, QPalette::HighlightedText},   // 9  caption text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Inactive, QPalette::Window},          // 11 inactive border
    {QPalette::Active, QPalette::Dark},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlight text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 info background
    kNoEntry,                                        // 25 unused
    {QPalette::Active, QPalette::Link},              // 26 hot light
    {QPalette::Active, QPalette::Highlight},         // 27 gradient of the active caption
    {QPalette::Inactive, QPalette::Highlight},       // 28 gradient of the inactive caption
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
};

QRgb systemColor(unsigned index)
{
    if (index >= std::size(kSystemColors) || kSystemColors[index].role == QPalette::NColorRoles)
        return qRgb(0, 0, 0);
    const PaletteEntry entry = kSystemColors[index];
    return QGuiApplication::palette().color(entry.group, entry.role).rgb();
}

} // namespace

QRgb colorToARGB(TColor color)
{
    if (isSystemColor(color))
        return systemColor(color & 0xFF) | 0xFF000000u;
    const unsigned r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

TColor colorFromQColor(const QColor& c)
{
    const QRgb rgb = c.rgb();
    return TColor(qRed(rgb)) | (TColor(qGreen(rgb)) << 8) | (TColor(qBlue(rgb)) << 16);
}

QColor toQColor(TColor color) { return QColor::fromRgb(colorToARGB(color)); }
