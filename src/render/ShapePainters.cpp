#include "render/ShapePainters.h"

#include "render/ArrowGeometry.h"
#include "render/MyGR32Functions.h"
#include "render/Rounding.h"

namespace {

void addVertices(Polygon32& polygon, const std::vector<QPoint>& vertices)
{
    for (const QPoint& v : vertices)
        polygon.add(Fixed(v.x(), v.y()));
}

void addRectangle(Polygon32& polygon, double L, double T, double R, double B)
{
    const int l = nearestPixel(L), t = nearestPixel(T), r = nearestPixel(R), b = nearestPixel(B);
    addVertices(polygon, {{l, t}, {r, t}, {r, b}, {l, b}});
}

void addEllipse(Polygon32& polygon, double L, double T, double R, double B)
{
    PolygonAddEllipse(polygon, {Fixed(nearestPixel(L)), Fixed(nearestPixel(T)), Fixed(nearestPixel(R)),
                                Fixed(nearestPixel(B))});
}

} // namespace

Polygon32 ArrowPolygon(const QRectF& rect, int direction, int width, int headSize)
{
    Polygon32 polygon;
    polygon.setAntialiased(true);
    addVertices(polygon,
                ArrowVertices(direction, rect.left(), rect.top(), rect.right(), rect.bottom(), width, headSize));
    return polygon;
}

Polygon32 LinePolygon(const QRectF& rect, int direction, int width)
{
    Polygon32 polygon;
    polygon.setAntialiased(direction == LineDiagonalUp || direction == LineDiagonalDown);
    addVertices(polygon, LineVertices(direction, rect.left(), rect.top(), rect.right(), rect.bottom(), width));
    return polygon;
}

Polygon32 BoxPolygon(const QRectF& rect, int width)
{
    Polygon32 polygon;
    polygon.setAntialiased(false);
    polygon.setFillRule(Polygon32::FillRule::EvenOdd);
    const double L = rect.left(), T = rect.top(), R = rect.right(), B = rect.bottom();
    addRectangle(polygon, L, T, R, B);
    if (width > 0) {
        // A band wider than half the box inverts the inner contour; the even-odd rule
        // still decides what is filled.
        polygon.newContour();
        addRectangle(polygon, L + width, T + width, R - width, B - width);
    }
    return polygon;
}

Polygon32 CirclePolygon(const QRectF& rect, int width)
{
    Polygon32 polygon;
    polygon.setAntialiased(true);
    polygon.setFillRule(Polygon32::FillRule::EvenOdd);
    const double L = rect.left(), T = rect.top(), R = rect.right(), B = rect.bottom();
    addEllipse(polygon, L, T, R, B);
    if (width > 0) {
        polygon.newContour();
        addEllipse(polygon, L + width, T + width, R - width, B - width);
    }
    return polygon;
}

void DrawArrow(QImage& buffer, const QRectF& rect, int direction, int width, int headSize, QRgb edge, QRgb fill,
               QPoint offset)
{
    ArrowPolygon(rect, direction, width, headSize).draw(buffer, edge, fill, offset);
}

void DrawLine(QImage& buffer, const QRectF& rect, int direction, int width, QRgb edge, QRgb fill, QPoint offset)
{
    LinePolygon(rect, direction, width).draw(buffer, edge, fill, offset);
}

void DrawBox(QImage& buffer, const QRectF& rect, int width, QRgb edge, QRgb fill, QPoint offset)
{
    BoxPolygon(rect, width).draw(buffer, edge, fill, offset);
}

void DrawCircle(QImage& buffer, const QRectF& rect, int width, QRgb edge, QRgb fill, QPoint offset)
{
    CirclePolygon(rect, width).draw(buffer, edge, fill, offset);
}
