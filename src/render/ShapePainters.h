#pragma once
// Drawing of arrows, lines, rectangles and ellipses into a 32-bit picture. rect is the
// layer rectangle in the picture's coordinates (left, top, right, bottom as given, not
// yet rounded); colours are already opaque ARGB. Each shape is one polygon: the *Polygon
// functions build it (vertices, contours, antialiasing) and the Draw* functions draw it,
// touching nothing outside the shape.
#include "platform/Polygon32.h"

#include <QImage>
#include <QRectF>
#include <QRgb>

// Arrows are antialiased.
Polygon32 ArrowPolygon(const QRectF& rect, int direction, int width, int headSize);
// Horizontal and vertical lines have whole-pixel edges; diagonals are antialiased.
Polygon32 LinePolygon(const QRectF& rect, int direction, int width);
// A rectangle, whole-pixel edges. width 0: filled; above 0: a band of that width
// (outer and inner contour, the middle left alone by the even-odd rule).
Polygon32 BoxPolygon(const QRectF& rect, int width);
// An ellipse, antialiased; width as for rectangles, giving a ring.
Polygon32 CirclePolygon(const QRectF& rect, int width);

// offset: whole pixels between rect's coordinates and the buffer's (see Polygon32::draw).
void DrawArrow(QImage& buffer, const QRectF& rect, int direction, int width, int headSize, QRgb edge, QRgb fill,
               QPoint offset = QPoint());
void DrawLine(QImage& buffer, const QRectF& rect, int direction, int width, QRgb edge, QRgb fill,
              QPoint offset = QPoint());
void DrawBox(QImage& buffer, const QRectF& rect, int width, QRgb edge, QRgb fill, QPoint offset = QPoint());
void DrawCircle(QImage& buffer, const QRectF& rect, int width, QRgb edge, QRgb fill, QPoint offset = QPoint());
