#pragma once
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>

namespace testpics {

// A picture whose every pixel differs from its neighbours, so that any
// misplaced pixel shows: red from x, green from y, blue from both.
inline QImage gradient(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb((x * 7 + 13) & 255, (y * 11 + 5) & 255, (x * 3 + y * 5) & 255);
    }
    return format == QImage::Format_RGB32 ? img : img.convertToFormat(format);
}

inline QImage filled(int width, int height, QRgb colour)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// Every pixel fully opaque; names the first that is not.
inline testing::AssertionResult allOpaque(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(row[x]) != 0xFF)
                return testing::AssertionFailure() << "alpha " << qAlpha(row[x]) << " at (" << x << ", " << y << ")";
    }
    return testing::AssertionSuccess();
}

// Compares two pictures channel by channel and names the first pixel that differs
// by more than tolerance.
inline testing::AssertionResult samePixels(const QImage& a, const QImage& b, int tolerance = 0)
{
    if (a.size() != b.size())
        return testing::AssertionFailure() << "sizes differ: " << a.width() << "x" << a.height()
                                           << " vs " << b.width() << "x" << b.height();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance
                || std::abs(qBlue(p) - qBlue(q)) > tolerance)
                return testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << "): " << std::hex << p << " vs " << q;
        }
    return testing::AssertionSuccess();
}

} // namespace testpics
