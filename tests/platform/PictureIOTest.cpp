#include "platform/PictureIO.h"

#include "platform/LumacetError.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>

namespace {

using PictureIO::loadJpeg;

// ---- Pictures ------------------------------------------------------------------

// Flat 16 x 16 patches fill whole JPEG blocks, chroma included, so their insides
// come back within a few levels; a swapped channel, a flipped or misplaced row
// shows at once. Only a one-pixel seam between patches is blurred by chroma
// upsampling, so comparisons look inside the patches.
constexpr int Patch = 16;
constexpr int Columns = 4;
constexpr int Tolerance = 6;

const std::vector<QRgb> Colours = {
    qRgb(230, 20, 20),  qRgb(20, 200, 40),   qRgb(30, 40, 220),  qRgb(255, 255, 255),
    qRgb(0, 0, 0),      qRgb(128, 128, 128), qRgb(240, 220, 30), qRgb(30, 210, 220),
    qRgb(200, 40, 190), qRgb(250, 140, 20),  qRgb(20, 30, 90),   qRgb(200, 180, 160),
};

QImage patches(const std::vector<QRgb>& colours)
{
    const int rows = int(colours.size() + Columns - 1) / Columns;
    QImage img(Columns * Patch, rows * Patch, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (size_t i = 0; i < colours.size(); ++i)
        for (int y = 0; y < Patch; ++y)
            for (int x = 0; x < Patch; ++x)
                img.setPixel(int(i % Columns) * Patch + x, int(i / Columns) * Patch + y, colours[i]);
    return img;
}

testing::AssertionResult showsPatches(const QImage& img, const std::vector<QRgb>& colours)
{
    const QImage expected = patches(colours);
    if (img.size() != expected.size())
        return testing::AssertionFailure() << "size " << img.width() << "x" << img.height() << ", expected "
                                           << expected.width() << "x" << expected.height();
    constexpr int Margin = 2;
    for (size_t i = 0; i < colours.size(); ++i) {
        const QRect inside(int(i % Columns) * Patch + Margin, int(i / Columns) * Patch + Margin, Patch - 2 * Margin,
                           Patch - 2 * Margin);
        auto result = testpics::samePixels(img.copy(inside), expected.copy(inside), Tolerance);
        if (!result)
            return result << " inside patch " << i;
    }
    return testing::AssertionSuccess();
}

// RGB32 rows must hold 0xFF in the byte Qt leaves for alpha; other code reads
// the rows directly.
testing::AssertionResult opaqueRgb32(const QImage& img)
{
    if (img.format() != QImage::Format_RGB32)
        return testing::AssertionFailure() << "format " << img.format();
    return testpics::allOpaque(img);
}

// ---- libjpeg used directly, as the independent party ----------------------------
// Writes the inputs our encoder never makes and reads back what it made. A
// misuse here is a fault in the test, and libjpeg's default handler ends it.

using MallocBuffer = std::unique_ptr<unsigned char, decltype(&std::free)>;

struct Written {
    J_COLOR_SPACE input = JCS_RGB;
    int components = 3;
    J_COLOR_SPACE stored = JCS_UNKNOWN; // JCS_UNKNOWN: libjpeg's default for the input
    bool progressive = false;
    bool adobeMarker = true;
};

QByteArray writeWithLibjpeg(int width, int height, const std::vector<unsigned char>& samples, const Written& how)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = how.components;
    c.in_color_space = how.input;
    jpeg_set_defaults(&c);
    if (how.stored != JCS_UNKNOWN)
        jpeg_set_colorspace(&c, how.stored);
    c.write_Adobe_marker = how.adobeMarker;
    jpeg_set_quality(&c, 95, TRUE);
    if (how.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        auto* row = const_cast<unsigned char*>(samples.data()) + size_t(c.next_scanline) * size_t(width * how.components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const MallocBuffer owned(out, &std::free);
    return QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
}

std::vector<unsigned char> rgbSamples(const QImage& img)
{
    std::vector<unsigned char> s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            s.insert(s.end(), {uchar(qRed(p)), uchar(qGreen(p)), uchar(qBlue(p))});
        }
    return s;
}

struct Header {
    bool progressive;
    int components;
    J_COLOR_SPACE space;
    std::array<UINT16, DCTSIZE2> luma, chroma;
};

Header readHeader(const QByteArray& jpeg)
{
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()), (unsigned long)jpeg.size());
    jpeg_read_header(&d, TRUE);
    Header h{bool(d.progressive_mode), d.num_components, d.jpeg_color_space, {}, {}};
    std::copy_n(d.quant_tbl_ptrs[0]->quantval, DCTSIZE2, h.luma.begin());
    std::copy_n(d.quant_tbl_ptrs[1]->quantval, DCTSIZE2, h.chroma.begin());
    jpeg_destroy_decompress(&d);
    return h;
}

QImage decodeWithLibjpeg(const QByteArray& jpeg)
{
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()), (unsigned long)jpeg.size());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    QImage img(int(d.output_width), int(d.output_height), QImage::Format_RGB32);
    std::vector<unsigned char> row(size_t(d.output_width) * 3);
    while (d.output_scanline < d.output_height) {
        const int y = int(d.output_scanline);
        unsigned char* rows[] = {row.data()};
        jpeg_read_scanlines(&d, rows, 1);
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]));
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return img;
}

// ---- Files -----------------------------------------------------------------------

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every entry under a folder, hidden ones included, with the bytes of each file.
std::map<std::string, std::string> snapshot(const QString& folder)
{
    std::map<std::string, std::string> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries[QDir(folder).relativeFilePath(path).toStdString()] =
            (it.fileInfo().isDir() ? QByteArray("<folder>") : readBytes(path)).toStdString();
    }
    return entries;
}

// The call throws a LumacetError whose message names the file and says why.
testing::AssertionResult failsNaming(const std::function<void()>& call, const QString& path, const QString& reason)
{
    try {
        call();
    } catch (const LumacetError& e) {
        const QString name = QFileInfo(path).fileName();
        if (!e.message().contains(name) || !e.message().contains(reason, Qt::CaseInsensitive))
            return testing::AssertionFailure() << "message \"" << e.message().toStdString() << "\" lacks \""
                                               << name.toStdString() << "\" or \"" << reason.toStdString() << "\"";
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "no LumacetError";
}

// A progressive file whose second scan asks for coefficients past the last one:
// libjpeg stops on it while decoding, after the header was accepted.
QByteArray withBrokenSecondScan(QByteArray jpeg)
{
    const QByteArray sos("\xFF\xDA", 2);
    const qsizetype second = jpeg.indexOf(sos, jpeg.indexOf(sos) + 2);
    if (second < 0)
        return {};
    const int components = uchar(jpeg[second + 4]);
    jpeg[second + 5 + 2 * components] = char(64); // Ss
    return jpeg;
}

// SOF0 holds the height and then the width, big-endian, 5 bytes after its marker.
QByteArray withClaimedSize(QByteArray jpeg, int width, int height)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 255);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 255);
    return jpeg;
}

class PictureIOTest : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

// ---- Encoding --------------------------------------------------------------------

TEST_F(PictureIOTest, EncodesEveryPictureFormatAsTheSameColours)
{
    const QImage picture = patches(Colours);
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                                  QImage::Format_RGB888, QImage::Format_RGBA8888, QImage::Format_BGR30}) {
        SCOPED_TRACE(format);
        const QByteArray jpeg = PictureIO::encodeJpeg(picture.convertToFormat(format));
        EXPECT_TRUE(showsPatches(decodeWithLibjpeg(jpeg), Colours));
    }
}

TEST_F(PictureIOTest, EncodesBaselineColourWithTheQuality90Tables)
{
    const QByteArray jpeg = PictureIO::encodeJpeg(testpics::gradient(40, 24));
    EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC0", 2))) << "no baseline frame";
    EXPECT_FALSE(jpeg.contains(QByteArray("\xFF\xC2", 2))) << "progressive frame";

    // What libjpeg's own tables give at quality 90.
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    c.in_color_space = JCS_RGB;
    c.input_components = 3;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    std::array<UINT16, DCTSIZE2> luma{}, chroma{};
    std::copy_n(c.quant_tbl_ptrs[0]->quantval, DCTSIZE2, luma.begin());
    std::copy_n(c.quant_tbl_ptrs[1]->quantval, DCTSIZE2, chroma.begin());
    jpeg_destroy_compress(&c);

    const Header h = readHeader(jpeg);
    EXPECT_FALSE(h.progressive);
    EXPECT_EQ(h.components, 3);
    EXPECT_EQ(h.space, JCS_YCbCr);
    EXPECT_EQ(h.luma, luma);
    EXPECT_EQ(h.chroma, chroma);
}

TEST_F(PictureIOTest, RefusesToEncodeWhatJpegCannotHold)
{
    for (const QImage& picture : {QImage(), testpics::filled(65501, 1, qRgb(1, 2, 3))}) {
        SCOPED_TRACE(picture.width());
        EXPECT_THROW(PictureIO::encodeJpeg(picture), LumacetError);
    }
}

// ---- Loading ---------------------------------------------------------------------

struct Ink {
    int c, m, y, k;
    QRgb seen;
};

// Ink amounts (0 none, 255 full) and the colour they print.
const std::vector<Ink> Inks = {
    {0, 0, 0, 0, qRgb(255, 255, 255)},     {255, 0, 0, 0, qRgb(0, 255, 255)},
    {0, 255, 255, 0, qRgb(255, 0, 0)},     {255, 255, 0, 0, qRgb(0, 0, 255)},
    {0, 0, 0, 255, qRgb(0, 0, 0)},         {0, 0, 0, 128, qRgb(127, 127, 127)},
    {128, 0, 0, 128, qRgb(63, 127, 127)},  {0, 128, 0, 0, qRgb(255, 127, 255)},
};

std::vector<QRgb> inkColours()
{
    std::vector<QRgb> colours;
    for (const Ink& ink : Inks)
        colours.push_back(ink.seen);
    return colours;
}

// Adobe's files store 255 - ink; files without the Adobe marker store the ink.
QByteArray inkJpeg(J_COLOR_SPACE stored, bool adobe)
{
    const QImage layout = patches(inkColours());
    std::vector<unsigned char> samples;
    for (int y = 0; y < layout.height(); ++y)
        for (int x = 0; x < layout.width(); ++x) {
            const Ink& ink = Inks[size_t((y / Patch) * Columns + x / Patch)];
            for (int v : {ink.c, ink.m, ink.y, ink.k})
                samples.push_back(uchar(adobe ? 255 - v : v));
        }
    Written how;
    how.input = JCS_CMYK;
    how.components = 4;
    how.stored = stored;
    how.adobeMarker = adobe;
    return writeWithLibjpeg(layout.width(), layout.height(), samples, how);
}

std::vector<QRgb> greys()
{
    std::vector<QRgb> g;
    for (int level : {0, 255, 128, 40, 200, 90, 170, 10})
        g.push_back(qRgb(level, level, level));
    return g;
}

QByteArray greyJpeg()
{
    const QImage layout = patches(greys());
    std::vector<unsigned char> samples;
    for (int y = 0; y < layout.height(); ++y)
        for (int x = 0; x < layout.width(); ++x)
            samples.push_back(uchar(qRed(layout.pixel(x, y))));
    Written how;
    how.input = JCS_GRAYSCALE;
    how.components = 1;
    return writeWithLibjpeg(layout.width(), layout.height(), samples, how);
}

QByteArray rgbJpeg(bool progressive)
{
    const QImage layout = patches(Colours);
    Written how;
    how.progressive = progressive;
    return writeWithLibjpeg(layout.width(), layout.height(), rgbSamples(layout), how);
}

TEST_F(PictureIOTest, LoadsEveryKindOfJpegAsOpaqueColour)
{
    struct Case {
        const char* name;
        std::function<QByteArray()> make;
        std::vector<QRgb> colours;
    };
    const Case cases[] = {
        {"colour, baseline", [] { return rgbJpeg(false); }, Colours},
        {"colour, progressive", [] { return rgbJpeg(true); }, Colours},
        {"grey", greyJpeg, greys()},
        {"CMYK, Adobe inverted", [] { return inkJpeg(JCS_CMYK, true); }, inkColours()},
        {"YCCK, Adobe inverted", [] { return inkJpeg(JCS_YCCK, true); }, inkColours()},
        {"CMYK without Adobe marker", [] { return inkJpeg(JCS_CMYK, false); }, inkColours()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name).replace(',', '_') + ".jpg");
        writeBytes(file, c.make());
        const PictureIO::Loaded loaded = loadJpeg(file);
        EXPECT_FALSE(loaded.damaged);
        EXPECT_TRUE(opaqueRgb32(loaded.picture));
        EXPECT_TRUE(showsPatches(loaded.picture, c.colours));
    }
}

TEST_F(PictureIOTest, SavedPictureLoadsBackThroughSpacesAndAccentsInItsPath)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Ferien Fotos ü")));
    const QString file = path(QStringLiteral("Ferien Fotos ü/Straße am Meer é.jpg"));
    PictureIO::saveJpeg(file, patches(Colours));
    const PictureIO::Loaded loaded = loadJpeg(file);
    EXPECT_FALSE(loaded.damaged);
    EXPECT_TRUE(opaqueRgb32(loaded.picture));
    EXPECT_TRUE(showsPatches(loaded.picture, Colours));
}

TEST_F(PictureIOTest, TruncatedJpegLoadsAsDamagedWithItsTopIntact)
{
    const QByteArray whole = PictureIO::encodeJpeg(testpics::gradient(64, 256));
    writeBytes(path("whole.jpg"), whole);
    writeBytes(path("cut.jpg"), whole.left(whole.size() / 2));

    const PictureIO::Loaded intact = loadJpeg(path("whole.jpg"));
    const PictureIO::Loaded cut = loadJpeg(path("cut.jpg"));
    EXPECT_FALSE(intact.damaged);
    EXPECT_TRUE(cut.damaged);
    EXPECT_TRUE(opaqueRgb32(cut.picture));
    ASSERT_EQ(cut.picture.size(), QSize(64, 256));
    EXPECT_TRUE(testpics::samePixels(cut.picture.copy(0, 0, 64, 32), intact.picture.copy(0, 0, 64, 32)));
}

TEST_F(PictureIOTest, RefusesWhatItCannotOpenWithAMessageNamingTheFile)
{
    const QImage png = testpics::gradient(8, 8);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && png.save(&buffer, "PNG"));
    const QByteArray small = PictureIO::encodeJpeg(testpics::gradient(16, 16));

    struct Case {
        const char* file;
        std::function<void(const QString&)> make; // null: nothing at that path
        const char* reason;
    };
    const auto bytes = [](QByteArray b) { return [b](const QString& p) { writeBytes(p, b); }; };
    const Case cases[] = {
        {"missing.jpg", nullptr, "does not exist"},
        {"folder.jpg", [](const QString& p) { QDir().mkdir(p); }, "folder"},
        {"empty.jpg", bytes({}), "empty"},
        {"garbage.jpg", bytes("this is no picture at all, just some words"), "not a JPEG"},
        {"png.jpg", bytes(pngBytes), "not a JPEG"},
        {"header only.jpg", bytes(small.left(20)), ""},
        // Refused from the header alone: a picture of that size is never allocated.
        {"huge.jpg", bytes(withClaimedSize(small, 65000, 65000)), "too large"},
        {"just over.jpg", bytes(withClaimedSize(small, 20000, 10001)), "too large"},
        {"too wide.jpg", bytes(withClaimedSize(small, 65535, 1)), "65500"},
        {"no width.jpg", bytes(withClaimedSize(small, 0, 16)), ""},
        {"broken scan.jpg", bytes(withBrokenSecondScan(rgbJpeg(true))), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = path(QString::fromUtf8(c.file));
        if (c.make)
            c.make(file);
        EXPECT_TRUE(failsNaming([&] { loadJpeg(file); }, file, QString::fromUtf8(c.reason)));
    }
}

// ---- Saving ----------------------------------------------------------------------

// Caps the size of files this process may write, so that a save runs out of room
// halfway; lifted again when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            setrlimit(RLIMIT_FSIZE, &m_old);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
};

TEST_F(PictureIOTest, FailedSaveLeavesEveryFileAsItWas)
{
    const QImage picture = testpics::gradient(120, 80);
    const qsizetype encodedSize = PictureIO::encodeJpeg(picture).size();
    writeBytes(path("photo.jpg"), PictureIO::encodeJpeg(patches(Colours)));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("album.jpg/inside")));
    writeBytes(path("album.jpg/inside/note.txt"), "keep me");

    struct Case {
        const char* name;
        QString target;
        QImage picture;
        rlim_t sizeLimit; // 0: none
    };
    const Case cases[] = {
        {"a folder of that name", path("album.jpg"), picture, 0},
        {"through a missing folder", path("missing/photo.jpg"), picture, 0},
        {"disk full halfway", path("photo.jpg"), picture, rlim_t(encodedSize / 2)},
        {"nothing to save", path("photo.jpg"), QImage(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = snapshot(m_dir.path());
        EXPECT_TRUE(failsNaming(
            [&] {
                std::unique_ptr<FileSizeLimit> limit;
                if (c.sizeLimit) {
                    limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
                    ASSERT_TRUE(limit->set());
                }
                PictureIO::saveJpeg(c.target, c.picture);
            },
            c.target, ""));
        EXPECT_EQ(snapshot(m_dir.path()), before);
    }
}

TEST_F(PictureIOTest, SaveReplacesTheFileWithTheNewPicture)
{
    const QString file = path("photo.jpg");
    writeBytes(file, "old contents");
    PictureIO::saveJpeg(file, patches(Colours));
    EXPECT_EQ(readBytes(file), PictureIO::encodeJpeg(patches(Colours)));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"photo.jpg"});
}

} // namespace
