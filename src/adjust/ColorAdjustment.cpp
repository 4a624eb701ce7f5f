#include "adjust/ColorAdjustment.h"

#include "adjust/DeriveKernels.h"
#include "adjust/ParallelBands.h"
#include "platform/PictureMemory.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr double Pi = 3.14159265358979323846;

bool HasThreeByteChannels(QImage::Format format)
{
    return format == QImage::Format_RGB888 || format == QImage::Format_BGR888;
}

// 32-bit formats whose first three bytes are the colour channels (in some order)
// and whose fourth byte is alpha or padding.
bool HasFourByteChannels(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

// The per-pixel rule written out plainly: every new channel value is
// computed from the unchanged input values of its pixel before any is written.
template <int PixelBytes>
void AdjustRowsInPlace(uchar* bits, qsizetype bytesPerLine, int width, int first, int end, const AdjustTables& t)
{
    for (int y = first; y < end; ++y) {
        uchar* p = bits + y * bytesPerLine;
        for (int x = 0; x < width; ++x, p += PixelBytes) {
            const int c0 = p[0], c1 = p[1], c2 = p[2];
            const int grey = t.GreyTable[c0 + c1 + c2];
            const uint8_t n0 = t.ToneTable[std::clamp(grey + t.ChromaTable[c0], 0, 255)];
            const uint8_t n1 = t.ToneTable[std::clamp(grey + t.ChromaTable[c1], 0, 255)];
            const uint8_t n2 = t.ToneTable[std::clamp(grey + t.ChromaTable[c2], 0, 255)];
            p[0] = n0;
            p[1] = n1;
            p[2] = n2;
        }
    }
}

} // namespace

int AdjustFactor(int sliderValue)
{
    return (256 * (100 + sliderValue)) / 100;
}

double ContrastFactor(int contrast)
{
    const int c = contrast == 100 ? 99 : contrast;
    // Two constants, as in the original: pi / 200 above 0, the decimal
    // 0.015708 (pi / 200 rounded) at and below 0. Both give the same table there.
    return c > 0 ? 1.0 / std::cos(c * Pi / 200.0) : std::cos(c * 0.015708);
}

AdjustTables BuildAdjustTables(int brightness, int contrast, int saturation)
{
    brightness = std::clamp(brightness, -100, 100);
    contrast = std::clamp(contrast, -100, 100);
    saturation = std::clamp(saturation, -100, 100);

    AdjustTables t;
    const int brightnessFactor = AdjustFactor(brightness);
    const int saturationFactor = AdjustFactor(saturation);
    const double contrastFactor = ContrastFactor(contrast);

    // The contrast curve pivots on 170, not 128: 170 always maps to itself.
    for (int i = 0; i < 256; ++i) {
        const long v = std::lround((i - 170) * contrastFactor + 170.0);
        t.ContrastTable[i] = static_cast<uint8_t>(std::clamp(v, 0L, 255L));
    }
    // Brightness scales about 1, not 0 (j - 1, then + 1): factor 256 is the
    // identity and factor 0 maps everything to 1. The division truncates toward
    // zero; only j = 0 has a negative numerator, and the clamp makes it 0.
    for (int j = 0; j < 256; ++j) {
        const int k = (brightnessFactor * (j - 1) + 256) / 256;
        t.ToneTable[j] = t.ContrastTable[std::clamp(k, 0, 255)];
    }
    // c + 1, not c: the +1 cancels against the grey reference at factor 256.
    for (int c = 0; c < 256; ++c)
        t.ChromaTable[c] = static_cast<uint16_t>(((c + 1) * saturationFactor) >> 8);
    for (int s = 0; s < 768; ++s) {
        const int m = s / 3;
        t.GreyTable[s] = m - t.ChromaTable[m];
    }
    return t;
}

void ApplyColorAdjustment(QImage& picture, int brightness, int contrast, int saturation)
{
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return;
    const QImage::Format format = picture.format();
    if (!HasThreeByteChannels(format) && !HasFourByteChannels(format)) {
        QImage adjusted = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                             : QImage::Format_RGB888);
        if (adjusted.isNull())
            throw std::bad_alloc();
        ApplyColorAdjustment(adjusted, brightness, contrast, saturation);
        adjusted.convertTo(format);
        picture = std::move(adjusted);
        return;
    }

    const AdjustTables tables = BuildAdjustTables(brightness, contrast, saturation);
    uchar* bits = picture.bits(); // detaches a shared picture once, before any thread starts
    if (!bits)
        throw std::bad_alloc();
    const qsizetype stride = picture.bytesPerLine();
    const int width = picture.width();
    const bool threeBytes = HasThreeByteChannels(format);
    adjust::ForEachBand(picture.height(), int64_t(width) * picture.height(), [&](int first, int end) {
        if (threeBytes)
            AdjustRowsInPlace<3>(bits, stride, width, first, end, tables);
        else
            AdjustRowsInPlace<4>(bits, stride, width, first, end, tables);
    });
}

void DeriveAdjustedPicture(const QImage& work, QImage& out, int brightness, int contrast, int saturation)
{
    if (&work == &out) {
        const QImage source = work; // shares the data; out detaches from it when written
        DeriveAdjustedPicture(source, out, brightness, contrast, saturation);
        return;
    }
    if (work.isNull() || work.width() == 0 || work.height() == 0) {
        out = QImage();
        return;
    }
    // RGB32 and ARGB32 are read as they are (blue, green, red bytes; the fourth
    // ignored, as the 24-bit conversion of the pipeline drops it).
    QImage converted;
    const QImage* source = &work;
    if (work.format() != QImage::Format_RGB32 && work.format() != QImage::Format_ARGB32) {
        converted = work.convertToFormat(QImage::Format_RGB32);
        if (converted.isNull())
            throw std::bad_alloc();
        source = &converted;
    }

    const int width = source->width(), height = source->height();
    if (out.size() != source->size() || out.format() != QImage::Format_RGB32 || !out.isDetached()) {
        // A new buffer, not a copy of a shared one that would be overwritten anyway;
        // allocated before out is touched: on failure out keeps its picture.
        out = NewPicture(width, height, QImage::Format_RGB32);
    }
    uchar* dstBits = out.bits();
    if (!dstBits)
        throw std::bad_alloc();
    const uchar* srcBits = source->constBits();
    const qsizetype srcStride = source->bytesPerLine(), dstStride = out.bytesPerLine();

    brightness = std::clamp(brightness, -100, 100);
    contrast = std::clamp(contrast, -100, 100);
    saturation = std::clamp(saturation, -100, 100);
    const adjust::DeriveKind kind = adjust::ChooseDeriveKind(brightness, contrast, saturation);
    adjust::DeriveTables tables;
    if (kind != adjust::DeriveKind::Copy)
        adjust::BuildDeriveTables(BuildAdjustTables(brightness, contrast, saturation), AdjustFactor(saturation), tables);

    adjust::ForEachBand(height, int64_t(width) * height, [&](int first, int end) {
        adjust::DeriveRows(kind, tables, srcBits, srcStride, dstBits, dstStride, width, first, end);
    });
}
