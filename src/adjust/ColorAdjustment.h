#pragma once
#include <QImage>

#include <array>
#include <cstdint>

// Brightness, contrast and saturation: a point operation driven
// by integer lookup tables, and the fused pass that derives the displayed
// picture from the working picture on every slider report.
//
// The three values are slider positions, -100 to 100, where 0 changes nothing.

// The lookup tables, built anew on every call.
struct AdjustTables {
    std::array<uint8_t, 256> ContrastTable;  // channel after brightness -> after contrast
    std::array<uint8_t, 256> ToneTable;      // channel after saturation -> final (brightness, then contrast)
    std::array<uint16_t, 256> ChromaTable;   // input channel c -> floor((c + 1) * SaturationFactor / 256)
    std::array<int32_t, 768> GreyTable;      // channel sum s -> m - ChromaTable[m], m = s div 3
};

// The 8.8 fixed-point factor of a slider value: (256 * (100 + value)) div 100,
// so -100 gives 0, 0 gives 256 and 100 gives 512. Meant for -100 to 100.
int AdjustFactor(int sliderValue);

// The contrast multiplier: the effective contrast C is the value with 100
// replaced by 99; 1 / cos(C * pi / 200) for C > 0, cos(C * 0.015708) for C <= 0.
double ContrastFactor(int contrast);

// Values outside -100 to 100 are clamped to that range first.
AdjustTables BuildAdjustTables(int brightness, int contrast, int saturation);

// Adjusts the picture in place. Made for 24-bit pictures (Format_RGB888 or
// Format_BGR888: three channel bytes per pixel, their order plays no part);
// 32-bit pictures of one byte per channel (RGB32, ARGB32, RGBA8888 and their
// kin) are adjusted in their three colour bytes and keep their fourth byte.
// Any other format is converted to one of those, adjusted and converted back.
// An empty picture stays empty.
void ApplyColorAdjustment(QImage& picture, int brightness, int contrast, int saturation);

// The displayed picture in one pass: out becomes a Format_RGB32
// picture of work's size whose every pixel is opaque (alpha 0xFF) and whose
// colours are exactly those of "copy work, convert it to 24 bits, apply
// ApplyColorAdjustment". work is the working picture in Format_RGB32 (its
// fourth byte plays no part; another format is converted first); work is
// never changed. out's buffer is reused when it already has work's size and
// Format_RGB32 and is not shared, so the steady state allocates nothing. Large
// pictures are processed on all cores.
void DeriveAdjustedPicture(const QImage& work, QImage& out, int brightness, int contrast, int saturation);
