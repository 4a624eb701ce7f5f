#include "platform/Polygon32.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygon>
#include <QPolygonF>

#include <cmath>

namespace {

double toPixels(qint32 fixed) { return fixed / double(FixedOne); }

} // namespace

void Polygon32::add(FixedPoint point)
{
    if (m_contours.empty())
        m_contours.emplace_back();
    m_contours.back().push_back(point);
}

void Polygon32::addPoints(const FixedPoint* points, int count)
{
    if (count <= 0)
        return;
    if (m_contours.empty())
        m_contours.emplace_back();
    m_contours.back().insert(m_contours.back().end(), points, points + count);
}

void Polygon32::draw(QImage& buffer, QRgb outline, QRgb fill, QPoint offset) const
{
    if (buffer.isNull()
        || std::all_of(m_contours.begin(), m_contours.end(), [](const auto& c) { return c.empty(); }))
        return;

    QPainter painter(&buffer);
    painter.setRenderHint(QPainter::Antialiasing, m_antialiased);
    painter.translate(offset);

    QPainterPath area;
    area.setFillRule(m_fillRule == FillRule::EvenOdd ? Qt::OddEvenFill : Qt::WindingFill);
    for (const auto& contour : m_contours) {
        if (contour.empty())
            continue;
        area.moveTo(toPixels(contour.front().x), toPixels(contour.front().y));
        for (std::size_t i = 1; i < contour.size(); ++i)
            area.lineTo(toPixels(contour[i].x), toPixels(contour[i].y));
        area.closeSubpath();
    }
    painter.fillPath(area, QColor::fromRgba(fill));

    QPen pen(QColor::fromRgba(outline), 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const auto& contour : m_contours) {
        if (contour.empty())
            continue;
        if (m_antialiased) {
            // QPainter's coordinates name pixel corners; ours name the pixel itself, so
            // the line runs through the centres of the vertex pixels.
            QPolygonF line;
            line.reserve(qsizetype(contour.size()));
            for (const FixedPoint& p : contour)
                line.append(QPointF(toPixels(p.x) + 0.5, toPixels(p.y) + 0.5));
            painter.drawPolygon(line);
        } else {
            // Aliased one-pixel lines at whole coordinates already land on the pixel
            // they name.
            QPolygon line;
            line.reserve(qsizetype(contour.size()));
            for (const FixedPoint& p : contour)
                line.append(QPoint(int(std::nearbyint(toPixels(p.x))), int(std::nearbyint(toPixels(p.y)))));
            painter.drawPolygon(line);
        }
    }
}
