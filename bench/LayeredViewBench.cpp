// Composing what the screen shows must cost the same on a 24-megapixel photograph
// as on a 1-megapixel one: only the visible part is copied and painted.
//
// BM_ComposeViewport/1 (the 1000 x 1000 picture) is the baseline; /24 (6000 x 4000)
// reports ratio_to_1MP, its time per composition over the baseline's from the same
// run. Target: ratio_to_1MP <= 1.5.
#include "platform/LayeredView.h"

#include <QApplication>
#include <QPainter>
#include <QPolygonF>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int ViewportWidth = 1280;
constexpr int ViewportHeight = 800;

QApplication& application()
{
    static int argc = 1;
    static char name[] = "lumacet_bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *app;
}

// Stands in for an arrow painter: a QPainter on the buffer, an antialiased polygon
// whose tail sticks out of the layer, or a filled rectangle.
void paintArrow(Layer&, QImage& buffer, const QRectF& r)
{
    QPainter painter(&buffer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(220, 40, 40));
    const QPolygonF arrow{{r.left() - 4, r.bottom() - 4}, {r.left() + 4, r.bottom() + 4},
                          {r.right() - 12, r.top() + 16}, {r.right(), r.top() + 28},
                          {r.right(), r.top()},          {r.right() - 28, r.top()},
                          {r.right() - 16, r.top() + 12}};
    painter.drawPolygon(arrow, Qt::OddEvenFill);
}

void paintBox(Layer&, QImage& buffer, const QRectF& r)
{
    QPainter painter(&buffer);
    painter.fillRect(r, QColor(40, 40, 220));
}

// The same 20 layers relative to the viewport in both pictures: ten inside it, ten
// in the band of the picture below it (off screen).
void addLayers(LayeredView& view, QPoint origin)
{
    for (int i = 0; i < 20; ++i) {
        auto* layer = view.layers().add<PositionedLayer>();
        const bool onScreen = i < 10;
        const int column = i % 5, row = (i % 10) / 5;
        const double x = origin.x() + 20 + column * 240;
        const double y = origin.y() + (onScreen ? 20 + row * 380 : ViewportHeight + 20 + row * 90);
        layer->setLocation(QRectF(x, y, 200, onScreen ? 300 : 70));
        layer->setOnPaint(i % 2 ? Layer::PaintHandler(paintBox) : Layer::PaintHandler(paintArrow));
    }
}

struct Scene {
    int megapixels;
    QPoint origin;
    std::unique_ptr<LayeredView> view = std::make_unique<LayeredView>();
    QImage buffer{ViewportWidth, ViewportHeight, QImage::Format_RGB32};
};

std::unique_ptr<Scene> makeScene(int megapixels)
{
    application();
    auto scene = std::make_unique<Scene>();
    scene->megapixels = megapixels;
    QImage picture = megapixels == 24 ? QImage(6000, 4000, QImage::Format_RGB32)
                                      : QImage(1000, 1000, QImage::Format_RGB32);
    picture.fill(qRgb(120, 160, 90));
    // The large picture is scrolled to its middle; the small one cannot scroll.
    scene->origin = megapixels == 24 ? QPoint(2000, 1500) : QPoint(0, 0);
    scene->view->setBitmap(std::move(picture));
    addLayers(*scene->view, scene->origin);
    return scene;
}

double g_baselineSeconds = 0; // per composition of the 1 MP scene, this run

void BM_ComposeViewport(benchmark::State& state)
{
    const int megapixels = int(state.range(0));
    const auto scene = makeScene(megapixels);
    const QRect area(scene->origin, QSize(ViewportWidth, ViewportHeight));

    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene->view->paintInto(scene->buffer, area);
        benchmark::DoNotOptimize(scene->buffer.constBits());
        benchmark::ClobberMemory();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double perComposition = seconds / double(state.iterations());

    if (megapixels == 1)
        g_baselineSeconds = perComposition;
    else if (g_baselineSeconds > 0)
        state.counters["ratio_to_1MP"] = perComposition / g_baselineSeconds;
    state.SetLabel(megapixels == 1 ? "1000x1000 picture (baseline)" : "6000x4000 picture, target ratio <= 1.5");
}

// The baseline must run first: it is registered first and benchmarks run in order.
BENCHMARK(BM_ComposeViewport)->Arg(1)->Arg(24)->Unit(benchmark::kMicrosecond);

} // namespace
