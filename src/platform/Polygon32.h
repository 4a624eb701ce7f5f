#pragma once
// A closed polygon of one or more contours in 16.16 fixed point, drawn into a 32-bit
// picture: the enclosed area is filled, then every contour gets a one-pixel outline.
//
// Pixel mapping: a whole-pixel vertex (x, y) names the corner of pixel (x, y). The
// fill covers the area between the corners, so a rectangle from (L, T) to (R, B)
// fills the pixels L..R-1, T..B-1; the outline runs through the vertex pixels
// themselves, so its outline lies on columns L and R and rows T and B. A shape thus
// covers one pixel more to the right and below than its fill.
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QtGlobal>

#include <algorithm>
#include <vector>

struct FixedPoint {
    qint32 x = 0;
    qint32 y = 0;
    friend bool operator==(const FixedPoint&, const FixedPoint&) = default;
};

struct FixedRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

inline constexpr qint32 FixedOne = 65536;

// Whole pixels in 16.16 fixed point. The format holds ±32767 pixels; a value beyond
// is pinned to that limit rather than wrapping round.
constexpr qint32 Fixed(int pixels) { return std::clamp(pixels, -32767, 32767) * FixedOne; }
constexpr FixedPoint Fixed(int x, int y) { return {Fixed(x), Fixed(y)}; }

class Polygon32 {
public:
    enum class FillRule { EvenOdd, Winding };

    void setAntialiased(bool on) { m_antialiased = on; }
    bool antialiased() const { return m_antialiased; }
    void setFillRule(FillRule rule) { m_fillRule = rule; }
    FillRule fillRule() const { return m_fillRule; }

    // Starts a new, empty contour; points are added to the last contour, and the first
    // point added to an empty polygon starts one.
    void newContour() { m_contours.emplace_back(); }
    void add(FixedPoint point);
    void addPoints(const FixedPoint* points, int count);
    void clear() { m_contours.clear(); }

    int contourCount() const { return int(m_contours.size()); }
    const std::vector<std::vector<FixedPoint>>& contours() const { return m_contours; }

    // Fills the area enclosed by all contours together under the fill rule, then strokes
    // every contour as a closed one-pixel line. Antialiased: the fill is blended by
    // coverage and the outline follows the exact fixed-point vertices; otherwise the fill
    // takes whole pixels and the outline joins the vertices rounded to whole pixels.
    // buffer is Format_RGB32 or Format_ARGB32_Premultiplied.
    // offset: whole pixels added to every vertex, so a shape rounded in picture
    // coordinates lands on the same pixels in any part of the picture being painted.
    void draw(QImage& buffer, QRgb outline, QRgb fill, QPoint offset = QPoint()) const;

private:
    std::vector<std::vector<FixedPoint>> m_contours;
    bool m_antialiased = false;
    FillRule m_fillRule = FillRule::EvenOdd;
};
