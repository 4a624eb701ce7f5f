// The adjustment subsystem against a plain copy of the same buffer, on a
// 24-megapixel (6000 x 4000) 32-bit picture. Read the results as ratios:
// DeriveAdjustedPicture (which reuses its output) should cost at most three
// BM_PlainCopy; a quarter turn, which must make a new picture, at most three
// BM_CopyIntoNewBuffer (a plain copy into a new picture made the same way). The ...OneCore variants keep the work in one thread:
// on a machine whose other cores are busy they show the cost per core, which
// the plain copy (one thread too) is then fairly compared with.
#include "adjust/ColorAdjustment.h"
#include "adjust/ParallelBands.h"
#include "platform/PictureMemory.h"
#include "adjust/RotateCrop.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int Width = 6000, Height = 4000;

// A photograph-like picture: smooth gradients with some noise, so that the
// table lookups see varied indices.
const QImage& WorkingPicture()
{
    static const QImage picture = [] {
        QImage p(Width, Height, QImage::Format_RGB32);
        uint32_t noise = 12345;
        for (int y = 0; y < Height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < Width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n = int(noise >> 28);
                row[x] = qRgb((x * 255 / Width + n) & 255, (y * 255 / Height + n) & 255, ((x + y) / 40 + n) & 255);
            }
        }
        return p;
    }();
    return picture;
}

void SetBytes(benchmark::State& state, const QImage& picture)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * picture.sizeInBytes());
}

// The baseline: the 32-bit buffer copied into an existing buffer of the same size.
void BM_PlainCopy(benchmark::State& state)
{
    const QImage& work = WorkingPicture();
    QImage target(work.size(), work.format());
    const uchar* src = work.constBits();
    uchar* dst = target.bits();
    const size_t bytes = size_t(work.sizeInBytes());
    std::memset(dst, 0, bytes); // the target exists before timing starts
    for (auto _ : state) {
        std::memcpy(dst, src, bytes);
        benchmark::DoNotOptimize(dst);
        benchmark::ClobberMemory();
    }
    SetBytes(state, work);
}
BENCHMARK(BM_PlainCopy)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same copy into a new buffer each time, made as RotatePicture makes its
// own: what any operation that must build a new picture pays at least. The
// difference to BM_PlainCopy is the kernel handing out and zeroing fresh pages.
void BM_CopyIntoNewBuffer(benchmark::State& state)
{
    const QImage& work = WorkingPicture();
    const size_t bytes = size_t(work.sizeInBytes());
    for (auto _ : state) {
        QImage fresh = NewPicture(work.width(), work.height(), work.format());
        std::memcpy(fresh.bits(), work.constBits(), bytes);
        benchmark::DoNotOptimize(fresh.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, work);
}
BENCHMARK(BM_CopyIntoNewBuffer)->UseRealTime()->Unit(benchmark::kMillisecond);

// A copy as QImage::copy makes it, with ordinary pages: shows why new pictures
// are made with NewPicture (on virtual machines fresh 4 KiB pages are costly).
// Targets: BM_DeriveAdjusted <= 3 x BM_PlainCopy; BM_RotateQuarter <= 3 x BM_CopyIntoNewBuffer.
void BM_PictureCopy(benchmark::State& state)
{
    const QImage& work = WorkingPicture();
    for (auto _ : state) {
        QImage copy = work.copy();
        benchmark::DoNotOptimize(copy.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, work);
}
BENCHMARK(BM_PictureCopy)->UseRealTime()->Unit(benchmark::kMillisecond);

// One slider report: all three values away from 0, the output buffer reused.
void BM_DeriveAdjusted(benchmark::State& state)
{
    const QImage& work = WorkingPicture();
    QImage shown;
    DeriveAdjustedPicture(work, shown, 30, 20, 40);
    for (auto _ : state) {
        DeriveAdjustedPicture(work, shown, 30, 20, 40);
        benchmark::DoNotOptimize(shown.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, work);
}
BENCHMARK(BM_DeriveAdjusted)->UseRealTime()->Unit(benchmark::kMillisecond);

// Saturation at 0 takes the shorter tone-only pass.
void BM_DeriveAdjustedNoSaturation(benchmark::State& state)
{
    const QImage& work = WorkingPicture();
    QImage shown;
    DeriveAdjustedPicture(work, shown, 30, 20, 0);
    for (auto _ : state) {
        DeriveAdjustedPicture(work, shown, 30, 20, 0);
        benchmark::DoNotOptimize(shown.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, work);
}
BENCHMARK(BM_DeriveAdjustedNoSaturation)->UseRealTime()->Unit(benchmark::kMillisecond);

// A quarter turn to the left: a new buffer each time, the old one released.
void BM_RotateQuarter(benchmark::State& state)
{
    QImage picture = WorkingPicture().copy();
    for (auto _ : state) {
        RotatePicture(picture, 90);
        benchmark::DoNotOptimize(picture.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, picture);
}
BENCHMARK(BM_RotateQuarter)->UseRealTime()->Unit(benchmark::kMillisecond);

// Runs a benchmark with every job kept in the calling thread.
template <void (*Benchmark)(benchmark::State&)>
void OneCore(benchmark::State& state)
{
    adjust::LimitBands(1);
    Benchmark(state);
    adjust::LimitBands(0);
}
BENCHMARK(OneCore<BM_DeriveAdjusted>)->Name("BM_DeriveAdjustedOneCore")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(OneCore<BM_RotateQuarter>)->Name("BM_RotateQuarterOneCore")->UseRealTime()->Unit(benchmark::kMillisecond);

// The 24-bit reference path (copy, 24-bit conversion, adjustment) on the same picture, for comparison.
void BM_ApplyColorAdjustment24(benchmark::State& state)
{
    const QImage original = WorkingPicture().convertToFormat(QImage::Format_RGB888);
    QImage picture = original.copy();
    for (auto _ : state) {
        ApplyColorAdjustment(picture, 30, 20, 40);
        benchmark::DoNotOptimize(picture.constBits());
        benchmark::ClobberMemory();
    }
    SetBytes(state, picture);
}
BENCHMARK(BM_ApplyColorAdjustment24)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
