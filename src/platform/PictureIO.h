#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Reading and writing the edited JPEG file, over libjpeg. Every failure is a
// LumacetError whose message names the file; bad data never crashes or exits.
namespace PictureIO {

// Far above any camera; a larger picture is refused before its memory is taken.
constexpr qint64 MaxPixels = 200'000'000;

struct Loaded {
    QImage picture;       // Format_RGB32, opaque
    bool damaged = false; // libjpeg had to patch over bad or missing data
};

// Grey, CMYK and progressive JPEGs all come back as colour pictures.
Loaded loadJpeg(const QString& path);

// 24-bit colour, quality 90, baseline, libjpeg's standard tables. Pictures in
// RGB32 or ARGB32 are encoded straight from their rows; other formats are
// converted first.
QByteArray encodeJpeg(const QImage& picture);

// Encodes, then replaces the file so that a failure leaves the old one whole.
void saveJpeg(const QString& path, const QImage& picture);

} // namespace PictureIO
