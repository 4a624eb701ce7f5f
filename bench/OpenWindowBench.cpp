// Opening a 24-megapixel photograph and showing the window should cost the decode
// plus a small constant. Baseline: PictureIO::loadJpeg of the same file, in the same run.
// Target: BM_OpenAndShowWindow <= BM_DecodeOnly + a few tens of milliseconds.
#include "app/Lumacet_Main.h"
#include "platform/MessageBox.h"
#include "platform/PictureIO.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Photo {
    QTemporaryDir dir;
    QString path;
    Photo()
    {
        QImage picture(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                row[x] = qRgb((x * 13 + y) & 255, (y * 7 + (x >> 3)) & 255, ((x ^ y) * 3) & 255);
        }
        path = dir.filePath(QStringLiteral("photo.jpg"));
        PictureIO::saveJpeg(path, picture);
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    }
};

Photo& photo()
{
    static Photo p;
    return p;
}

void BM_DecodeOnly(benchmark::State& state)
{
    for (auto _ : state) {
        PictureIO::Loaded loaded = PictureIO::loadJpeg(photo().path);
        benchmark::DoNotOptimize(loaded.picture.constBits());
    }
}
BENCHMARK(BM_DecodeOnly)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_OpenAndShowWindow(benchmark::State& state)
{
    msg::setScript([](const msg::Record&) { return msg::No; });
    for (auto _ : state) {
        TfrmLumacet_Main window({QStringLiteral("Lumacet"), photo().path});
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.view()->bitmap().constBits());
    }
    msg::setScript({});
}
BENCHMARK(BM_OpenAndShowWindow)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
