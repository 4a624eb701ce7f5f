#include "TestPictures.h"

#include "render/ArrowGeometry.h"
#include "render/ShapePainters.h"

#include <QtGlobal>

#include <gtest/gtest.h>

namespace {

// Every shape in every variant on one picture, for a person to look at. Run with
// --gtest_also_run_disabled_tests and LUMACET_SHOWCASE=/path/to/picture.png.
TEST(RenderShowcase, DISABLED_AllShapes)
{
    QImage picture = testpics::filled(1200, 900, qRgb(160, 160, 160));
    const QRgb edge = qRgb(0, 0, 0), fill = qRgb(255, 220, 0);

    // Arrows: one row per head size, every direction.
    for (int head = HeadSmall; head <= HeadLarge; ++head)
        for (int dir = ArrowUpRight; dir <= ArrowDownRight; ++dir) {
            const QRectF r(QPointF(30 + dir * 150, 30 + head * 150), QSizeF(120, 110));
            DrawArrow(picture, r, dir, 5, head, edge, fill);
        }
    // Lines: every direction.
    for (int dir = LineHorizontal; dir <= LineDiagonalDown; ++dir)
        DrawLine(picture, QRectF(QPointF(30 + dir * 150, 490), QSizeF(120, 100)), dir, 4, edge, fill);
    // Boxes and ellipses: widths 0 (closed), 1, 5, 20 and a band wider than half the shape.
    const int widths[] = {0, 1, 5, 20, 40};
    for (int i = 0; i < 5; ++i) {
        DrawBox(picture, QRectF(QPointF(650 + i * 110, 30), QSizeF(95, 70)), widths[i], edge, fill);
        DrawCircle(picture, QRectF(QPointF(650 + i * 110, 140), QSizeF(95, 70)), widths[i], edge, fill);
        DrawCircle(picture, QRectF(QPointF(650 + i * 110, 250), QSizeF(95, 95)), widths[i], edge, fill);
    }
    // A large circle and a tiny one, to judge smoothness at both ends.
    DrawCircle(picture, QRectF(QPointF(650, 400), QSizeF(450, 450)), 3, edge, fill);
    DrawCircle(picture, QRectF(QPointF(1120, 400), QSizeF(6, 6)), 0, edge, fill);

    EXPECT_EQ(picture.pixel(5, 5), qRgb(160, 160, 160));
    const QByteArray path = qgetenv("LUMACET_SHOWCASE");
    if (!path.isEmpty()) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path), "PNG")) << path.constData();
    }
}

} // namespace
