#include "TestPictures.h"

#include "render/ArrowGeometry.h"
#include "render/ShapePainters.h"

#include <QtGlobal>

#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Every shape in every variant on one picture, each probed where it must (and must
// not) be filled. With LUMACET_SHOWCASE=/path/to/picture.png the picture is also
// saved for a person to look at.
TEST(RenderShowcase, AllShapesFillWhereExpected)
{
    QImage picture = testpics::filled(1200, 900, qRgb(160, 160, 160));
    const QRgb edge = qRgb(0, 0, 0), fill = qRgb(255, 220, 0);

    const QRgb grey = qRgb(160, 160, 160);
    std::vector<std::pair<QPoint, QRgb>> probes; // where a colour must show

    // Arrows: one row per head size, every direction. The shaft runs through the centre.
    for (int head = HeadSmall; head <= HeadLarge; ++head)
        for (int dir = ArrowUpRight; dir <= ArrowDownRight; ++dir) {
            const QRectF r(QPointF(30 + dir * 150, 30 + head * 150), QSizeF(120, 110));
            DrawArrow(picture, r, dir, 5, head, edge, fill);
            probes.push_back({r.center().toPoint(), fill});
            // The corners beside the shaft stay untouched.
            const bool rising = dir == ArrowUpRight || dir == ArrowDownLeft;
            probes.push_back({(rising ? r.topLeft() + QPointF(8, 8) : r.topRight() + QPointF(-8, 8)).toPoint(), grey});
        }
    // Lines: every direction; horizontal and vertical bars hug the top and left edges.
    for (int dir = LineHorizontal; dir <= LineDiagonalDown; ++dir) {
        const QRectF r(QPointF(30 + dir * 150, 490), QSizeF(120, 100));
        DrawLine(picture, r, dir, 4, edge, fill);
        const QPointF inside = dir == LineHorizontal ? QPointF(r.center().x(), r.top() + 4)
                             : dir == LineVertical   ? QPointF(r.left() + 4, r.center().y())
                                                     : r.center();
        probes.push_back({inside.toPoint(), fill});
    }
    probes.push_back({QPoint(30 + 60, 490 + 50), grey}); // below the horizontal bar
    // Boxes and ellipses: widths 0 (closed), 1, 5, 20 and a band wider than half the shape.
    const int widths[] = {0, 1, 5, 20, 40};
    for (int i = 0; i < 5; ++i) {
        const QRectF box(QPointF(650 + i * 110, 30), QSizeF(95, 70));
        const QRectF oval(QPointF(650 + i * 110, 140), QSizeF(95, 70));
        DrawBox(picture, box, widths[i], edge, fill);
        DrawCircle(picture, oval, widths[i], edge, fill);
        DrawCircle(picture, QRectF(QPointF(650 + i * 110, 250), QSizeF(95, 95)), widths[i], edge, fill);
        if (i < 4) { // closed: filled middle; open: the picture shows through
            probes.push_back({box.center().toPoint(), i == 0 ? fill : grey});
            probes.push_back({oval.center().toPoint(), i == 0 ? fill : grey});
        }
        if (i >= 2) // inside the band
            probes.push_back({QPoint(int(box.left()) + 3, int(box.center().y())), fill});
    }
    // A large circle and a tiny one, to judge smoothness at both ends.
    DrawCircle(picture, QRectF(QPointF(650, 400), QSizeF(450, 450)), 3, edge, fill);
    DrawCircle(picture, QRectF(QPointF(1120, 400), QSizeF(6, 6)), 0, edge, fill);

    for (const auto& [at, colour] : probes)
        EXPECT_EQ(picture.pixel(at), colour) << "at (" << at.x() << ", " << at.y() << ")";
    const QByteArray path = qgetenv("LUMACET_SHOWCASE");
    if (!path.isEmpty()) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path), "PNG")) << path.constData();
    }
}

} // namespace
