#include "platform/PictureIO.h"
#include "platform/PictureMemory.h"

#include "platform/LumacetError.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg reports a fatal error through error_exit, which must not return. Ours
// longjmps back to the setjmp of the plain function that made the libjpeg call.
// Those functions touch only the plain state below and buffers that their
// callers own, so the jump skips nothing but libjpeg's own C frames; the C++
// objects (the picture, the file data, the guards that destroy libjpeg's state)
// all live in the callers, outside the jump.

namespace {

// The byte order of QImage::Format_RGB32 rows in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE RowsOut = JCS_EXT_BGRA; // libjpeg leaves the X of BGRX undefined; we need 0xFF
constexpr J_COLOR_SPACE RowsIn = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE RowsOut = JCS_EXT_ARGB;
constexpr J_COLOR_SPACE RowsIn = JCS_EXT_XRGB;
#endif

// Rows handed to libjpeg per call: enough for its largest block of output rows,
// so it never has to decode into a spare buffer and copy.
constexpr int RowBatch = 16;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warnings;
    int code;
    char message[JMSG_LENGTH_MAX];
};

ErrorManager& errorsOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void onError(j_common_ptr cinfo)
{
    ErrorManager& err = errorsOf(cinfo);
    err.code = err.pub.msg_code;
    (*err.pub.format_message)(cinfo, err.message);
    std::longjmp(err.jump, 1);
}

// Level -1 is a warning: bad or missing data that libjpeg patched over. Higher
// levels are traces. Nothing is printed.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++errorsOf(cinfo).warnings;
}

void discardMessage(j_common_ptr) {}

jpeg_error_mgr* initErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.pub.output_message = discardMessage;
    err.warnings = 0;
    err.code = 0;
    err.message[0] = '\0';
    return &err.pub;
}

// ---- Decoding ---------------------------------------------------------------

struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

bool readHeader(DecodeState* s, const unsigned char* data, unsigned long size)
{
    s->cinfo.err = initErrors(s->err);
    if (setjmp(s->err.jump))
        return false;
    jpeg_create_decompress(&s->cinfo);
    jpeg_mem_src(&s->cinfo, data, size);
    jpeg_read_header(&s->cinfo, TRUE);
    return true;
}

// Ink as 0..255 where 255 is no ink; Adobe files store it that way already.
inline int paper(int sample, bool inverted) { return inverted ? sample : 255 - sample; }
inline int times(int a, int b) { return (a * b + 127) / 255; }

void inkToRgb(const unsigned char* ink, QRgb* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, ink += 4) {
        const int k = paper(ink[3], inverted);
        out[x] = qRgb(times(paper(ink[0], inverted), k), times(paper(ink[1], inverted), k),
                      times(paper(ink[2], inverted), k));
    }
}

// Decodes into rows of RGB32 starting at first. inkRow is a scratch row of
// width * 4 bytes when the file holds CMYK or YCCK, otherwise null.
bool readRows(DecodeState* s, unsigned char* first, std::ptrdiff_t stride, unsigned char* inkRow)
{
    if (setjmp(s->err.jump))
        return false;
    j_decompress_ptr c = &s->cinfo;
    jpeg_start_decompress(c);
    while (c->output_scanline < c->output_height) {
        unsigned char* row = first + stride * std::ptrdiff_t(c->output_scanline);
        JSAMPROW rows[RowBatch];
        JDIMENSION wanted = 1;
        if (inkRow) {
            rows[0] = inkRow;
        } else {
            wanted = std::min<JDIMENSION>(RowBatch, c->output_height - c->output_scanline);
            for (JDIMENSION i = 0; i < wanted; ++i)
                rows[i] = row + stride * std::ptrdiff_t(i);
        }
        const JDIMENSION got = jpeg_read_scanlines(c, rows, wanted);
        if (got == 0)
            ERREXIT(c, JERR_INPUT_EOF); // only a suspending source returns nothing; ours never should
        if (inkRow)
            inkToRgb(inkRow, reinterpret_cast<QRgb*>(row), c->output_width, c->saw_Adobe_marker);
    }
    jpeg_finish_decompress(c);
    return true;
}

class Decoder {
public:
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { jpeg_destroy_decompress(&m_state.cinfo); } // safe on a zeroed struct too
    DecodeState* state() { return &m_state; }

private:
    DecodeState m_state{};
};

QString openFailed(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open the picture \"%1\": %2.").arg(path, reason);
}

QString libjpegReason(const ErrorManager& err)
{
    if (err.code == JERR_NO_SOI)
        return QStringLiteral("it is not a JPEG file");
    if (err.code == JERR_OUT_OF_MEMORY)
        return QStringLiteral("there is not enough memory");
    return QString::fromLocal8Bit(err.message);
}

QByteArray readWholeFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw LumacetError(openFailed(path, QStringLiteral("the file does not exist")));
    if (info.isDir())
        throw LumacetError(openFailed(path, QStringLiteral("it is a folder")));
    if (!info.isFile()) // a device or a pipe could block or never end
        throw LumacetError(openFailed(path, QStringLiteral("it is not a regular file")));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw LumacetError(openFailed(path, file.errorString()));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw LumacetError(openFailed(path, file.errorString()));
    if (data.isEmpty())
        throw LumacetError(openFailed(path, QStringLiteral("the file is empty")));
    return data;
}

// ---- Encoding ---------------------------------------------------------------

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    jpeg_destination_mgr dest;
    unsigned char* buffer; // malloc'd, grown by doubling, freed by the Encoder
    size_t capacity;
    size_t used;
};

EncodeState& sinkOf(j_compress_ptr cinfo) { return *static_cast<EncodeState*>(cinfo->client_data); }

void startOutput(j_compress_ptr cinfo)
{
    EncodeState& s = sinkOf(cinfo);
    s.dest.next_output_byte = s.buffer;
    s.dest.free_in_buffer = s.capacity;
}

boolean growOutput(j_compress_ptr cinfo)
{
    EncodeState& s = sinkOf(cinfo);
    // libjpeg calls this only when the whole buffer is full.
    auto* grown = static_cast<unsigned char*>(std::realloc(s.buffer, s.capacity * 2));
    if (!grown)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0); // the old buffer is still ours to free
    s.buffer = grown;
    s.dest.next_output_byte = grown + s.capacity;
    s.dest.free_in_buffer = s.capacity;
    s.capacity *= 2;
    return TRUE;
}

void endOutput(j_compress_ptr cinfo)
{
    EncodeState& s = sinkOf(cinfo);
    s.used = s.capacity - s.dest.free_in_buffer;
}

bool writeRows(EncodeState* s, const unsigned char* first, std::ptrdiff_t stride, int width, int height)
{
    s->cinfo.err = initErrors(s->err);
    if (setjmp(s->err.jump))
        return false;
    j_compress_ptr c = &s->cinfo;
    jpeg_create_compress(c);
    c->client_data = s;
    s->dest.init_destination = startOutput;
    s->dest.empty_output_buffer = growOutput;
    s->dest.term_destination = endOutput;
    c->dest = &s->dest;

    c->image_width = JDIMENSION(width);
    c->image_height = JDIMENSION(height);
    c->input_components = 4;
    c->in_color_space = RowsIn;
    jpeg_set_defaults(c); // YCbCr, 3 components, baseline, standard Huffman tables
    jpeg_set_quality(c, 90, TRUE);
    jpeg_start_compress(c, TRUE);
    while (c->next_scanline < c->image_height) {
        // libjpeg only reads the rows; its API just is not const.
        auto* row = const_cast<unsigned char*>(first) + stride * std::ptrdiff_t(c->next_scanline);
        JSAMPROW rows[RowBatch];
        const JDIMENSION count = std::min<JDIMENSION>(RowBatch, c->image_height - c->next_scanline);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = row + stride * std::ptrdiff_t(i);
        jpeg_write_scanlines(c, rows, count);
    }
    jpeg_finish_compress(c);
    return true;
}

class Encoder {
public:
    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder()
    {
        jpeg_destroy_compress(&m_state.cinfo);
        std::free(m_state.buffer);
    }
    EncodeState* state() { return &m_state; }

private:
    EncodeState m_state{};
};

// where names the file for the message; empty when only encoding.
QByteArray encode(const QImage& picture, const QString& where)
{
    const auto failed = [&](const QString& reason) {
        return LumacetError(where.isEmpty()
                                ? QStringLiteral("Cannot encode the picture as JPEG: %1.").arg(reason)
                                : QStringLiteral("Cannot save the picture \"%1\": %2.").arg(where, reason));
    };
    if (picture.isNull())
        throw failed(QStringLiteral("there is no picture"));

    // RGB32 and ARGB32 rows are read in place; the alpha byte is skipped.
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage converted = direct ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    const QImage& rows = direct ? picture : converted;
    if (rows.isNull())
        throw failed(QStringLiteral("there is not enough memory"));

    Encoder encoder;
    EncodeState* s = encoder.state();
    // About a bit per pixel at quality 90 for a photograph; it grows if need be.
    s->capacity = std::max<size_t>(size_t(65536), size_t(rows.width()) * size_t(rows.height()) / 6);
    s->buffer = static_cast<unsigned char*>(std::malloc(s->capacity));
    if (!s->buffer)
        throw failed(QStringLiteral("there is not enough memory"));
    if (!writeRows(s, rows.constBits(), rows.bytesPerLine(), rows.width(), rows.height()))
        throw failed(libjpegReason(s->err));
    return QByteArray(reinterpret_cast<const char*>(s->buffer), qsizetype(s->used));
}

} // namespace

namespace PictureIO {

Loaded loadJpeg(const QString& path)
{
    const QByteArray data = readWholeFile(path);

    Decoder decoder;
    DecodeState* s = decoder.state();
    if (!readHeader(s, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size())))
        throw LumacetError(openFailed(path, libjpegReason(s->err)));

    const JDIMENSION width = s->cinfo.image_width, height = s->cinfo.image_height;
    if (width == 0 || height == 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION
        || qint64(width) * qint64(height) > MaxPixels)
        throw LumacetError(openFailed(path, QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 "
                                                           "megapixels and %4 pixels a side can be opened)")
                                                .arg(width)
                                                .arg(height)
                                                .arg(MaxPixels / 1'000'000)
                                                .arg(JPEG_MAX_DIMENSION)));

    const bool ink = s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
    s->cinfo.out_color_space = ink ? JCS_CMYK : RowsOut; // grey and YCbCr come out as colour directly

    QImage picture;
    try {
        picture = NewPicture(int(width), int(height), QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        throw LumacetError(openFailed(path, QStringLiteral("there is not enough memory")));
    }
    std::vector<unsigned char> inkRow(ink ? size_t(width) * 4 : 0);
    if (!readRows(s, picture.bits(), picture.bytesPerLine(), ink ? inkRow.data() : nullptr))
        throw LumacetError(openFailed(path, libjpegReason(s->err)));
    return Loaded{std::move(picture), s->err.warnings > 0};
}

QByteArray encodeJpeg(const QImage& picture) { return encode(picture, QString()); }

void saveJpeg(const QString& path, const QImage& picture) { writeFileReplacing(path, encode(picture, path)); }

} // namespace PictureIO
