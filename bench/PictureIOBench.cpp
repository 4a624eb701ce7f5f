// PictureIO against libjpeg called directly, on a 24-megapixel (6000 x 4000)
// photograph-like picture. Target: loading and encoding each cost at most 1.15 x
// the direct libjpeg call.
//
// Both loads start from the same JPEG file in a temporary folder (so the file
// read counts on both sides) and each allocates a fresh 32-bit picture; both
// encodes read the same RGB32 rows and produce the JPEG in memory, same settings.
//
// BM_PictureIOLoad and BM_PictureIOEncode also time the direct call in every
// iteration, in alternating order, and report the median of the per-iteration
// ratios (on CPU time) as the counter x_libjpeg, so load on the machine affects
// both alike.
#include "platform/PictureIO.h"
#include "platform/PictureMemory.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int Width = 6000, Height = 4000;

// Smooth gradients with edges and fine noise, so that the JPEG has the size and
// the mix of blocks of a real photograph.
const QImage& Photo()
{
    static const QImage picture = [] {
        QImage p(Width, Height, QImage::Format_RGB32);
        uint32_t noise = 2024;
        for (int y = 0; y < Height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < Width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n = int(noise >> 28) - 8;
                const int stripe = ((x / 300 + y / 200) % 3) * 30;
                row[x] = qRgb(std::clamp(x * 200 / Width + stripe + n, 0, 255),
                              std::clamp(y * 220 / Height + n, 0, 255),
                              std::clamp(((x + y) / 50) % 160 + 40 - stripe / 2 + n, 0, 255));
            }
        }
        return p;
    }();
    return picture;
}

struct PhotoFile {
    QTemporaryDir dir;
    QString path;
    QByteArray nativePath;
    qint64 bytes = 0;
};

const PhotoFile& File()
{
    static const std::unique_ptr<PhotoFile> file = [] {
        auto f = std::make_unique<PhotoFile>();
        f->path = f->dir.filePath("photo.jpg");
        f->nativePath = QFile::encodeName(f->path);
        PictureIO::saveJpeg(f->path, Photo());
        f->bytes = QFile(f->path).size();
        return f;
    }();
    return *file;
}

// ---- libjpeg called directly, with its default error handling -------------------

void libjpegDecode(const char* path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, file.get());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&d);
    // The same kind of buffer as the loader's, so that only the decoding is compared.
    QImage picture = NewPicture(int(d.output_width), int(d.output_height), QImage::Format_RGB32);
    const size_t stride = size_t(picture.bytesPerLine());
    unsigned char* pixels = picture.bits();
    std::vector<JSAMPROW> rows(d.output_height);
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = pixels + y * stride;
    while (d.output_scanline < d.output_height)
        jpeg_read_scanlines(&d, rows.data() + d.output_scanline, d.output_height - d.output_scanline);
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    benchmark::DoNotOptimize(pixels);
}

size_t libjpegEncode(const QImage& picture)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(picture.width());
    c.image_height = JDIMENSION(picture.height());
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPROW> rows(size_t(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        rows[size_t(y)] = const_cast<unsigned char*>(picture.constScanLine(y));
    while (c.next_scanline < c.image_height)
        jpeg_write_scanlines(&c, rows.data() + c.next_scanline, c.image_height - c.next_scanline);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::unique_ptr<unsigned char, decltype(&std::free)> owned(out, &std::free);
    benchmark::DoNotOptimize(owned.get());
    return size;
}

// ---- Timing --------------------------------------------------------------------------

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Took {
    double wall, cpu;
};

template <class F>
Took timed(F&& f)
{
    const double cpu = threadSeconds();
    const auto wall = std::chrono::steady_clock::now();
    f();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(), threadSeconds() - cpu};
}

// Times ours against theirs in every iteration; ours is the reported (wall)
// time. The ratio is taken on this thread's CPU time, page faults included,
// which other work on a busy machine disturbs far less than wall time.
template <class Ours, class Theirs>
void compare(benchmark::State& state, Ours ours, Theirs theirs)
{
    std::vector<double> ratios;
    bool oursFirst = false;
    for (auto _ : state) {
        Took mine{}, direct{};
        if (oursFirst) {
            mine = timed(ours);
            direct = timed(theirs);
        } else {
            direct = timed(theirs);
            mine = timed(ours);
        }
        oursFirst = !oursFirst;
        ratios.push_back(mine.cpu / direct.cpu);
        state.SetIterationTime(mine.wall);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["x_libjpeg"] = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
}

void BM_LibjpegDecode(benchmark::State& state)
{
    const PhotoFile& file = File();
    for (auto _ : state)
        libjpegDecode(file.nativePath.constData());
    state.counters["jpeg_MB"] = double(file.bytes) / 1e6;
}
BENCHMARK(BM_LibjpegDecode)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PictureIOLoad(benchmark::State& state)
{
    const PhotoFile& file = File();
    compare(
        state, [&] { benchmark::DoNotOptimize(PictureIO::loadJpeg(file.path).picture.constBits()); },
        [&] { libjpegDecode(file.nativePath.constData()); });
}
BENCHMARK(BM_PictureIOLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LibjpegEncode(benchmark::State& state)
{
    const QImage& photo = Photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(libjpegEncode(photo));
}
BENCHMARK(BM_LibjpegEncode)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PictureIOEncode(benchmark::State& state)
{
    const QImage& photo = Photo();
    compare(
        state, [&] { benchmark::DoNotOptimize(PictureIO::encodeJpeg(photo).size()); },
        [&] { benchmark::DoNotOptimize(libjpegEncode(photo)); });
}
BENCHMARK(BM_PictureIOEncode)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
