// Composing what the screen shows must cost the same on a 24-megapixel photograph
// as on a 1-megapixel one: only the visible part is copied and painted.
//
// The baseline is the same 1280 x 800 viewport over a 1000 x 1000 picture; the
// benchmark reports ratio_24MP_to_1MP, the CPU time of composing the viewport of a
// 6000 x 4000 picture over the baseline's, both measured in the same iterations.
// Target: ratio_24MP_to_1MP <= 1.5.
#include "platform/LayeredView.h"

#include <QApplication>
#include <QPainter>
#include <QPolygonF>

#include <benchmark/benchmark.h>

#include <ctime>
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
    QPoint origin;
    std::unique_ptr<LayeredView> view = std::make_unique<LayeredView>();
    QImage buffer{ViewportWidth, ViewportHeight, QImage::Format_RGB32};
};

std::unique_ptr<Scene> makeScene(int megapixels)
{
    application();
    auto scene = std::make_unique<Scene>();
    QImage picture = megapixels == 24 ? QImage(6000, 4000, QImage::Format_RGB32)
                                      : QImage(1000, 1000, QImage::Format_RGB32);
    picture.fill(qRgb(120, 160, 90));
    // The large picture is scrolled to its middle; the small one cannot scroll.
    scene->origin = megapixels == 24 ? QPoint(2000, 1500) : QPoint(0, 0);
    scene->view->setBitmap(std::move(picture));
    addLayers(*scene->view, scene->origin);
    return scene;
}

// CPU time of this thread: the ratio should not swing with the load of a shared machine.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void compose(Scene& scene)
{
    scene.view->paintInto(scene.buffer, QRect(scene.origin, QSize(ViewportWidth, ViewportHeight)));
    benchmark::DoNotOptimize(scene.buffer.constBits());
    benchmark::ClobberMemory();
}

// Both scenes take turns in every iteration, so that a change of load on the machine
// weighs on the baseline and on the large picture alike.
void BM_ComposeViewport(benchmark::State& state)
{
    const auto baseline = makeScene(1);
    const auto large = makeScene(24);
    double baselineSeconds = 0, largeSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        compose(*baseline);
        const double t1 = threadSeconds();
        compose(*large);
        largeSeconds += threadSeconds() - t1;
        baselineSeconds += t1 - t0;
    }
    const double n = double(state.iterations());
    state.counters["us_1MP"] = 1e6 * baselineSeconds / n;
    state.counters["us_24MP"] = 1e6 * largeSeconds / n;
    state.counters["ratio_24MP_to_1MP"] = largeSeconds / baselineSeconds;
    state.SetLabel("target: ratio_24MP_to_1MP <= 1.5");
}

BENCHMARK(BM_ComposeViewport)->Unit(benchmark::kMicrosecond);

} // namespace
