#include "platform/Polygon32.h"
#include "render/ArrowGeometry.h"
#include "render/MyGR32Functions.h"
#include "render/ShapePainters.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// The 13 control points PolygonAddEllipse builds for a 2000 x 2000 ellipse at the origin.
std::vector<FixedPoint> ellipse2000()
{
    const qint32 L = 0, T = 0, R = Fixed(2000), B = Fixed(2000);
    const qint32 c = Fixed(1000);
    const qint32 d = qint32((long double)(R - L) * EllipseControlFactor);
    return {{L, c},     {L, c - d}, {c - d, T}, {c, T},     {c + d, T}, {R, c - d}, {R, c},
            {R, c + d}, {c + d, B}, {c, B},     {c - d, B}, {L, c + d}, {L, c}};
}

// Flattening alone, in the shared buffer: no allocation after the first round.
void BM_FlattenEllipse2000(benchmark::State& state)
{
    const auto points = ellipse2000();
    const FixedRect clip{0, 0, Fixed(2000), Fixed(2000)};
    for (auto _ : state) {
        FlattenBezier(points, BezierTolerance * FixedOne, clip);
        benchmark::DoNotOptimize(BezierPointBuffer().count());
    }
    state.counters["stored points"] = BezierPointBuffer().count();
}
BENCHMARK(BM_FlattenEllipse2000);

// The whole contour step of an ellipse painter, into a reused polygon.
void BM_PolygonAddEllipse2000(benchmark::State& state)
{
    const FixedRect rect{0, 0, Fixed(2000), Fixed(2000)};
    Polygon32 polygon;
    for (auto _ : state) {
        polygon.clear();
        PolygonAddEllipse(polygon, rect);
        benchmark::DoNotOptimize(polygon.contours().data());
    }
    state.counters["contour points"] = double(polygon.contours().at(0).size());
}
BENCHMARK(BM_PolygonAddEllipse2000);

QImage screenBuffer()
{
    QImage buffer(1280, 800, QImage::Format_ARGB32_Premultiplied);
    buffer.fill(0xFF808080);
    return buffer;
}

// One repaint of an arrow layer (vertices, polygon, fill and outline), as on screen.
// The argument is the layer's width; the height is 0.7 of it. Compare the sizes in one
// run: the antialiased fill costs more than in proportion to the length of the edges.
void BM_DrawArrow(benchmark::State& state)
{
    QImage buffer = screenBuffer();
    const double width = double(state.range(0));
    const QRectF rect(QPointF(200.3, 150.6), QSizeF(width, width * 0.7));
    for (auto _ : state)
        DrawArrow(buffer, rect, ArrowUpRight, 5, HeadMedium, 0xFF000000, 0xFFFFDC00);
}
BENCHMARK(BM_DrawArrow)->Arg(125)->Arg(250)->Arg(500)->Unit(benchmark::kMicrosecond);

// A ring of the same size, for comparison with the arrow in the same run.
void BM_DrawCircle(benchmark::State& state)
{
    QImage buffer = screenBuffer();
    const QRectF rect(QPointF(200.3, 150.6), QSizeF(500, 350));
    for (auto _ : state)
        DrawCircle(buffer, rect, 5, 0xFF000000, 0xFFFFDC00);
}
BENCHMARK(BM_DrawCircle)->Unit(benchmark::kMicrosecond);

} // namespace
