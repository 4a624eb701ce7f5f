#pragma once
// The outlines of arrows and straight lines as whole-pixel vertices, from the layer
// rectangle (left, top, right, bottom) and the object's fields. Pure geometry: the
// painters turn the vertices into a polygon and draw it.
#include <QPoint>

#include <vector>

// Arrow directions: the corner of the rectangle the tip points at.
enum ArrowDirection { ArrowUpRight = 0, ArrowUpLeft = 1, ArrowDownLeft = 2, ArrowDownRight = 3 };
// Line directions.
enum LineDirection { LineHorizontal = 0, LineVertical = 1, LineDiagonalUp = 2, LineDiagonalDown = 3 };
// Arrow head sizes.
enum ArrowHeadSize { HeadSmall = 0, HeadMedium = 1, HeadLarge = 2 };

// The seven vertices of an arrow: the two tail corners, then round the head from the
// neck on one side through the tip to the neck on the other side. width is half the
// shaft's thickness. A direction outside 0..3 counts as Up Right. A rectangle whose
// width and height both round to 0 points nowhere and gives no vertices.
std::vector<QPoint> ArrowVertices(int direction, double L, double T, double R, double B, int width,
                                  int headSize);

// The four corners of a line's bar (horizontal, vertical) or band (diagonals); width is
// half its thickness. A direction outside 0..3 counts as horizontal. A diagonal across a
// rectangle that rounds to nothing gives no vertices.
std::vector<QPoint> LineVertices(int direction, double L, double T, double R, double B, int width);
