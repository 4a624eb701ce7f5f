#include "render/MyGR32Functions.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

BezierPointStore g_points;

// The tolerance and clip rectangle of the flattening under way.
qint32 g_tolerance = 0;
FixedRect g_clip;

// Truncates towards zero, as the flattening always has; the sum is taken in 64 bits
// only so that coordinates past the expected range cannot overflow.
FixedPoint mid(FixedPoint a, FixedPoint b)
{
    return {qint32((qint64(a.x) + b.x) / 2), qint32((qint64(a.y) + b.y) / 2)};
}

// City-block length of the control polygon a-b-c-d.
qint64 controlLength(FixedPoint a, FixedPoint b, FixedPoint c, FixedPoint d)
{
    auto dist = [](qint32 u, qint32 v) { return std::llabs(qint64(u) - v); };
    return dist(a.x, b.x) + dist(a.y, b.y) + dist(b.x, c.x) + dist(b.y, c.y) + dist(c.x, d.x) + dist(c.y, d.y);
}

void storeChord(FixedPoint p1, FixedPoint p2, FixedPoint p3)
{
    g_points.store(p1);
    g_points.store(p2);
    g_points.store(p3);
}

} // namespace

bool BezierPointStore::grow()
{
    try {
        m_points.resize(m_points.size() + RoomStep);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

const BezierPointStore& BezierPointBuffer() { return g_points; }

int PointOutcode(FixedPoint point, const FixedRect& rect)
{
    if (point.x > rect.right)
        return OutcodeRight;
    if (point.y > rect.bottom)
        return OutcodeBelow;
    if (point.x < rect.left)
        return OutcodeLeft;
    if (point.y < rect.top)
        return OutcodeAbove;
    return OutcodeInside;
}

void SubdivideBezier(FixedPoint p0, FixedPoint p1, FixedPoint p2, bool clip, FixedPoint p3)
{
    if (p0 == p1 && p2 == p3) {
        storeChord(p1, p2, p3);
        return;
    }
    if (clip) {
        const int code = PointOutcode(p0, g_clip);
        if (code != OutcodeInside && PointOutcode(p1, g_clip) == code && PointOutcode(p2, g_clip) == code
            && PointOutcode(p3, g_clip) == code) {
            storeChord(p1, p2, p3);
            return;
        }
    }
    // The only room check: at most nine points are stored between two splits, on the
    // way back up the recursion, and half the room is always left for them.
    if (g_points.count() >= g_points.room() / 2 - 4 && !g_points.grow()) {
        storeChord(p1, p2, p3);
        return;
    }

    const FixedPoint q0 = mid(p0, p1), q1 = mid(p1, p2), q2 = mid(p2, p3);
    const FixedPoint r0 = mid(q0, q1), r1 = mid(q1, q2);
    const FixedPoint s = mid(r0, r1);

    if (controlLength(p0, q0, r0, s) > g_tolerance)
        SubdivideBezier(p0, q0, r0, clip, s);
    else
        storeChord(q0, r0, s);
    if (controlLength(s, r1, q2, p3) > g_tolerance)
        SubdivideBezier(s, r1, q2, clip, p3);
    else
        storeChord(r1, q2, p3);
}

void FlattenBezier(std::span<const FixedPoint> points, qint32 tolerance, const FixedRect& clipRect)
{
    g_points.reset();
    if (points.empty())
        return;
    g_tolerance = tolerance;
    g_clip = clipRect;
    g_points.store(points[0]);
    const bool clip = clipRect.left != 0 || clipRect.top != 0 || clipRect.right != 0 || clipRect.bottom != 0;
    for (std::size_t i = 0; i + 3 < points.size(); i += 3)
        SubdivideBezier(points[i], points[i + 1], points[i + 2], clip, points[i + 3]);
}

void PolygonAddBezier(Polygon32& polygon, std::span<const FixedPoint> points, const FixedRect& clipRect)
{
    if (points.size() <= 1 || (points.size() - 1) % 3 != 0)
        return;
    const int first = PointOutcode(points[0], clipRect);
    if (first != OutcodeInside
        && std::all_of(points.begin() + 1, points.end(),
                       [&](FixedPoint p) { return PointOutcode(p, clipRect) == first; }))
        return;

    FlattenBezier(points, qint32(BezierTolerance) * FixedOne, clipRect);

    // Keep the ends of the flattened pieces: positions 0, 3, 6, ...
    const auto flat = g_points.points();
    for (std::size_t i = 0; i < flat.size(); i += 3)
        polygon.add(flat[i]);
}

void PolygonAddEllipse(Polygon32& polygon, const FixedRect& rect)
{
    const qint32 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    const qint32 cx = qint32((qint64(L) + R) / 2);
    const qint32 cy = qint32((qint64(T) + B) / 2);
    const qint32 dx = qint32((long double)(qint64(R) - L) * EllipseControlFactor);
    const qint32 dy = qint32((long double)(qint64(B) - T) * EllipseControlFactor);

    // Four segments clockwise from the left end of the horizontal axis.
    const FixedPoint points[13] = {
        {L, cy},      {L, cy - dy}, {cx - dx, T}, {cx, T},      {cx + dx, T}, {R, cy - dy}, {R, cy},
        {R, cy + dy}, {cx + dx, B}, {cx, B},      {cx - dx, B}, {L, cy + dy}, {L, cy},
    };
    PolygonAddBezier(polygon, points, rect);
}
