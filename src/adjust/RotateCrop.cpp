#include "adjust/RotateCrop.h"

#include "adjust/ParallelBands.h"
#include "platform/PictureMemory.h"

#include <QColorSpace>
#include <QTransform>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// A pixel of N bytes, copied as one unit so that every byte travels together.
template <int N>
struct Pixel {
    uchar bytes[N];
};

// An uninitialised picture of the given size in the old picture's format, with
// its colour table, resolution and colour space.
QImage NewPictureLike(const QImage& old, int width, int height, bool swapResolution)
{
    QImage result = NewPicture(width, height, old.format());
    if (old.colorCount() > 0)
        result.setColorTable(old.colorTable());
    result.setDotsPerMeterX(swapResolution ? old.dotsPerMeterY() : old.dotsPerMeterX());
    result.setDotsPerMeterY(swapResolution ? old.dotsPerMeterX() : old.dotsPerMeterY());
    result.setDevicePixelRatio(old.devicePixelRatio());
    if (old.colorSpace().isValid())
        result.setColorSpace(old.colorSpace());
    return result;
}

// Rows are padded to four bytes; the padding of a new picture would otherwise
// hold whatever the allocator left there.
void ClearRowPadding(uchar* row, qsizetype usedBytes, qsizetype bytesPerLine)
{
    if (bytesPerLine > usedBytes)
        std::memset(row + usedBytes, 0, bytesPerLine - usedBytes);
}

enum class Turn { Quarter, Half, ThreeQuarters };

// Where the pixels of a quarter turn come from:
//   Quarter (left):         new (x', y') = old (W - 1 - y', x'), so a new row is an old column read downwards;
//   ThreeQuarters (right):  new (x', y') = old (y', H - 1 - x'), an old column read upwards.
struct QuarterTurn {
    bool left;
    const uchar* srcBits;
    qsizetype srcStride;
    int srcWidth, srcHeight;
    uchar* dstBits;
    qsizetype dstStride;
};

// The new pixels of rows [y0, y1) and columns [x0, x1), one at a time.
template <int N>
void TurnPixels(const QuarterTurn& q, int y0, int y1, int x0, int x1)
{
    const qsizetype step = q.left ? q.srcStride : -q.srcStride;
    for (int y = y0; y < y1; ++y) {
        const int sourceColumn = q.left ? q.srcWidth - 1 - y : y;
        const int sourceRow = q.left ? x0 : q.srcHeight - 1 - x0;
        const uchar* src = q.srcBits + sourceRow * q.srcStride + qsizetype(sourceColumn) * N;
        uchar* dst = q.dstBits + y * q.dstStride + qsizetype(x0) * N;
        for (int x = x0; x < x1; ++x, src += step, dst += N)
            std::memcpy(dst, src, N);
    }
}

#if defined(__SSE2__)
// Rows [y, y + 4) and columns [x, x + 4) of a turn of 32-bit pixels: four
// 16-byte loads, a 4 x 4 transpose in registers, four 16-byte stores.
inline void TurnBlock4x4(const QuarterTurn& q, int y, int x)
{
    __m128i r0, r1, r2, r3;
    if (q.left) {
        // Old rows x .. x + 3, old columns W - 4 - y .. W - 1 - y.
        const uchar* src = q.srcBits + x * q.srcStride + qsizetype(q.srcWidth - 4 - y) * 4;
        r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + q.srcStride));
        r2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * q.srcStride));
        r3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * q.srcStride));
    } else {
        // Old rows H - 1 - x down to H - 4 - x, old columns y .. y + 3.
        const uchar* src = q.srcBits + (q.srcHeight - 1 - x) * q.srcStride + qsizetype(y) * 4;
        r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - q.srcStride));
        r2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - 2 * q.srcStride));
        r3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - 3 * q.srcStride));
    }
    const __m128i t0 = _mm_unpacklo_epi32(r0, r1), t1 = _mm_unpacklo_epi32(r2, r3);
    const __m128i t2 = _mm_unpackhi_epi32(r0, r1), t3 = _mm_unpackhi_epi32(r2, r3);
    // column k of the loaded block = (r0[k], r1[k], r2[k], r3[k])
    const __m128i c0 = _mm_unpacklo_epi64(t0, t1), c1 = _mm_unpackhi_epi64(t0, t1);
    const __m128i c2 = _mm_unpacklo_epi64(t2, t3), c3 = _mm_unpackhi_epi64(t2, t3);
    uchar* dst = q.dstBits + y * q.dstStride + qsizetype(x) * 4;
    const bool left = q.left;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), left ? c3 : c0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + q.dstStride), left ? c2 : c1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * q.dstStride), left ? c1 : c2);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * q.dstStride), left ? c0 : c3);
}
#endif

// Rows [first, end) of a quarter turn.
//
// A new row is an old column: read naively, every pixel touches a new cache
// line and a new page. The work is therefore done in tiles of 64 new rows by
// 256 new columns: the old lines a tile reads (256 old rows, 64 pixels of
// each) stay in the cache while the tile's new rows are written in runs long
// enough to stream. On a 24-megapixel picture this shape beat square tiles of
// 16 to 128 pixels. Within a tile, 32-bit pixels move in 4 x 4 blocks through
// vector registers.
template <int N>
void TurnQuarterRows(const QuarterTurn& q, int first, int end)
{
    constexpr int TileRows = N <= 4 ? 64 : 32;
    constexpr int TileColumns = N <= 4 ? 256 : 64;
    const int dstWidth = q.srcHeight;
    for (int ty = first; ty < end; ty += TileRows) {
        const int tyEnd = std::min(ty + TileRows, end);
        for (int tx = 0; tx < dstWidth; tx += TileColumns) {
            const int txEnd = std::min(tx + TileColumns, dstWidth);
            int y = ty;
#if defined(__SSE2__)
            if constexpr (N == 4) {
                for (; y + 4 <= tyEnd; y += 4) {
                    int x = tx;
                    for (; x + 4 <= txEnd; x += 4)
                        TurnBlock4x4(q, y, x);
                    TurnPixels<N>(q, y, y + 4, x, txEnd);
                }
            }
#endif
            TurnPixels<N>(q, y, tyEnd, tx, txEnd);
        }
        for (int y = ty; y < tyEnd; ++y)
            ClearRowPadding(q.dstBits + y * q.dstStride, qsizetype(dstWidth) * N, q.dstStride);
    }
}

// Rows [first, end) of a half turn: new (x', y') = old (W - 1 - x', H - 1 - y').
template <int N>
void TurnHalfRows(const uchar* srcBits, qsizetype srcStride, int width, int height, uchar* dstBits,
                  qsizetype dstStride, int first, int end)
{
    using P = Pixel<N>;
    for (int y = first; y < end; ++y) {
        const auto* src = reinterpret_cast<const P*>(srcBits + (height - 1 - y) * srcStride);
        auto* dst = reinterpret_cast<P*>(dstBits + y * dstStride);
        for (int x = 0; x < width; ++x)
            dst[x] = src[width - 1 - x];
        ClearRowPadding(dstBits + y * dstStride, qsizetype(width) * N, dstStride);
    }
}

template <int N>
void TurnRows(Turn turn, const uchar* srcBits, qsizetype srcStride, int srcWidth, int srcHeight, uchar* dstBits,
              qsizetype dstStride, int first, int end)
{
    if (turn == Turn::Half)
        TurnHalfRows<N>(srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end);
    else
        TurnQuarterRows<N>({turn == Turn::Quarter, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride}, first,
                           end);
}

// Opaque black as this format stores it: 0xFF000000 for 32-bit RGB formats,
// three 0 bytes for 24-bit ones. A crop that reaches beyond the picture fills
// the part outside with it, so nothing undefined is ever shown or saved.
void OpaqueBlack(const QImage& like, uchar* pixel, int bytesPerPixel)
{
    QImage one(1, 1, like.format());
    if (one.isNull())
        throw std::bad_alloc();
    if (like.colorCount() > 0)
        one.setColorTable(like.colorTable());
    one.fill(QColor(Qt::black));
    std::memcpy(pixel, one.constBits(), bytesPerPixel);
}

void FillPixels(uchar* dst, int count, const uchar* pixel, int bytesPerPixel)
{
    for (int i = 0; i < count; ++i, dst += bytesPerPixel)
        std::memcpy(dst, pixel, bytesPerPixel);
}

} // namespace

void RotatePicture(QImage& picture, int angle)
{
    int degrees = angle % 360; // keeps the sign: -90 becomes 270 below
    if (degrees < 0)
        degrees += 360;
    if (degrees % 90 != 0 || degrees == 0 || picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return;
    const Turn turn = degrees == 90 ? Turn::Quarter : degrees == 180 ? Turn::Half : Turn::ThreeQuarters;

    const int depth = picture.depth();
    const int bytes = depth / 8;
    if (depth % 8 != 0 || (bytes != 1 && bytes != 2 && bytes != 3 && bytes != 4 && bytes != 8 && bytes != 16)) {
        // Not a format of this program (less than a byte per pixel). Qt's own
        // rotation by a multiple of 90 degrees is exact; QTransform turns
        // clockwise on the y-down screen, hence the minus.
        QImage turned = picture.transformed(QTransform().rotate(-degrees));
        if (turned.isNull())
            throw std::bad_alloc();
        picture = std::move(turned);
        return;
    }

    const bool swap = turn != Turn::Half;
    const int srcWidth = picture.width(), srcHeight = picture.height();
    const int newWidth = swap ? srcHeight : srcWidth;
    const int newHeight = swap ? srcWidth : srcHeight;
    QImage result = NewPictureLike(picture, newWidth, newHeight, swap);
    // Pointers taken once, here: bits() may detach and must not run in the bands.
    const uchar* srcBits = picture.constBits();
    uchar* dstBits = result.bits();
    const qsizetype srcStride = picture.bytesPerLine(), dstStride = result.bytesPerLine();

    adjust::ForEachBand(newHeight, int64_t(newWidth) * newHeight, [&](int first, int end) {
        switch (bytes) {
        case 1: TurnRows<1>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        case 2: TurnRows<2>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        case 3: TurnRows<3>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        case 4: TurnRows<4>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        case 8: TurnRows<8>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        default: TurnRows<16>(turn, srcBits, srcStride, srcWidth, srcHeight, dstBits, dstStride, first, end); break;
        }
    });
    picture = std::move(result); // the old buffer is released here
}

void CropPicture(QImage& picture, int x1, int y1, int x2, int y2)
{
    if (x2 < x1 || y2 < y1 || picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return;
    const int oldWidth = picture.width(), oldHeight = picture.height();
    if (x1 == 0 && y1 == 0 && x2 == oldWidth - 1 && y2 == oldHeight - 1)
        return;
    const int64_t width64 = int64_t(x2) - x1 + 1, height64 = int64_t(y2) - y1 + 1;
    if (width64 > INT_MAX || height64 > INT_MAX)
        throw std::bad_alloc();
    const int width = int(width64), height = int(height64);

    if (picture.depth() % 8 != 0) {
        // Less than a byte per pixel: not a format of this program. QImage::copy
        // clips the same way and fills the rest with 0 bits.
        QImage cut = picture.copy(x1, y1, width, height);
        if (cut.isNull())
            throw std::bad_alloc();
        picture = std::move(cut);
        return;
    }

    const int bpp = picture.depth() / 8;
    QImage result = NewPictureLike(picture, width, height, false);
    uchar black[16] = {};
    OpaqueBlack(picture, black, bpp);

    // The overlap of the rectangle with the old picture, in old coordinates.
    const int64_t left = std::max<int64_t>(x1, 0), right = std::min<int64_t>(x2, oldWidth - 1);
    const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, oldHeight - 1);
    const bool overlaps = left <= right && top <= bottom;
    const int copyFrom = overlaps ? int(left - x1) : width;     // first copied column of the result
    const int copyCount = overlaps ? int(right - left + 1) : 0;

    const uchar* src = picture.constBits();
    uchar* dst = result.bits();
    const qsizetype srcStride = picture.bytesPerLine(), dstStride = result.bytesPerLine();
    for (int y = 0; y < height; ++y) {
        uchar* row = dst + y * dstStride;
        const int64_t oldY = int64_t(y1) + y;
        if (!overlaps || oldY < top || oldY > bottom) {
            FillPixels(row, width, black, bpp);
        } else {
            FillPixels(row, copyFrom, black, bpp);
            std::memcpy(row + qsizetype(copyFrom) * bpp, src + oldY * srcStride + left * bpp,
                        qsizetype(copyCount) * bpp);
            FillPixels(row + qsizetype(copyFrom + copyCount) * bpp, width - copyFrom - copyCount, black, bpp);
        }
        ClearRowPadding(row, qsizetype(width) * bpp, dstStride);
    }
    picture = std::move(result);
}
