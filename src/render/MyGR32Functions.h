#pragma once
// Ellipses as polygon contours: four cubic Bezier segments, flattened into chords by
// recursive halving in 16.16 integer arithmetic. Segments whose control points all
// lie beyond one side of a clip rectangle become single chords, since they cannot
// enter it.
//
// Coordinates are expected within ±16383 pixels, so that the sum of two fits in
// 32 bits.
#include "platform/Polygon32.h"

#include <QtGlobal>

#include <span>
#include <vector>

// Flatness limit in whole pixels: a half-segment whose control polygon is at most this
// long (city-block) becomes chords.
inline constexpr qint16 BezierTolerance = 8;

// Control point offset as a fraction of the ellipse's full width or height (not of
// its radius). It draws slightly inside the true ellipse between the axes.
inline constexpr long double EllipseControlFactor = 0.26521648984L;

// Which side of a rectangle a point lies on; points on an edge are inside. A point
// beyond a corner gets the first code tested: right, below, left, above.
enum Outcode { OutcodeLeft = 0, OutcodeRight = 1, OutcodeAbove = 2, OutcodeBelow = 3, OutcodeInside = 4 };

// The points of the latest flattening: the start point, then groups of three per
// chord pair (two inner points and the end of each flattened piece). One buffer serves
// every flattening; it starts with room for 512 points, grows 512 at a time and never
// shrinks, so flattening stops allocating once it has grown to fit.
class BezierPointStore {
public:
    static constexpr int RoomStep = 512;

    BezierPointStore() : m_points(RoomStep) {}
    int count() const { return m_count; }
    int room() const { return int(m_points.size()); }
    std::span<const FixedPoint> points() const { return {m_points.data(), std::size_t(m_count)}; }

    void reset() { m_count = 0; }
    // The splitting keeps room ahead (see SubdivideBezier); a long chain of straight or
    // clipped segments can still fill the buffer, which then grows here. Should that
    // fail, the point is dropped: a damaged contour, never a write past the end.
    void store(FixedPoint p)
    {
        if (m_count == room() && !grow())
            return;
        m_points[std::size_t(m_count++)] = p;
    }
    bool grow();

private:
    std::vector<FixedPoint> m_points;
    int m_count = 0;
};

const BezierPointStore& BezierPointBuffer();

int PointOutcode(FixedPoint point, const FixedRect& rect);

// Appends the flattened ellipse inscribed in rect to the polygon's last contour; the
// contour closes with a copy of its first point.
void PolygonAddEllipse(Polygon32& polygon, const FixedRect& rect);

// points: a start point followed by groups of three (control, control, end). Appends
// the start and the end of every flattened piece to the polygon's last contour. A chain
// of any other length, or one lying wholly beyond one side of clipRect, adds nothing.
void PolygonAddBezier(Polygon32& polygon, std::span<const FixedPoint> points, const FixedRect& clipRect);

// Fills BezierPointBuffer with the flattened chain. tolerance is in fixed point; an
// all-zero clipRect turns the clip test off.
void FlattenBezier(std::span<const FixedPoint> points, qint32 tolerance, const FixedRect& clipRect);

// One halving step on the segment p0..p3, storing into BezierPointBuffer. Only valid
// inside FlattenBezier, whose tolerance and clip rectangle it uses.
void SubdivideBezier(FixedPoint p0, FixedPoint p1, FixedPoint p2, bool clip, FixedPoint p3);
