#include "objects/LayerGeometry.h"

#include <gtest/gtest.h>

using DS = RubberBandLayer::DragState;

TEST(LayerGeometry, NewObjectLayerSizes)
{
    struct Case {
        int w, h, clientW, clientH;
        QRectF expected;
    };
    const Case cases[] = {
        {0, 0, 1000, 800, QRectF(0, 0, 200, 160)},  // a fifth of the view
        {0, 0, 2000, 1500, QRectF(0, 0, 256, 256)}, // capped at 256 when nothing was asked
        {0, 0, 200, 100, QRectF(0, 0, 64, 64)},     // never under 64
        {500, 0, 300, 800, QRectF(0, 0, 300, 160)}, // the view has the last word
        {30, 30, 300, 800, QRectF(0, 0, 64, 64)},   // the floor holds for requests too
        {400, 300, 2000, 1500, QRectF(0, 0, 400, 300)}, // no cap on a request
        {0, 0, 40, 30, QRectF(0, 0, 40, 30)},       // a tiny picture
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewObjectLayerRect(c.w, c.h, c.clientW, c.clientH, QPointF(0, 0)), c.expected)
            << c.w << "x" << c.h << " on " << c.clientW << "x" << c.clientH;
}

TEST(LayerGeometry, NewPictureLayerIsCentredAndSquareByDefault)
{
    struct Case {
        int w, h, clientW, clientH;
        QRectF expected;
    };
    const Case cases[] = {
        {100, 0, 1000, 800, QRectF(450, 350, 100, 100)},
        {0, 0, 1000, 800, QRectF(372, 272, 256, 256)},
        {-1, -1, 1000, 800, QRectF(400, 320, 200, 160)},
        {30, 20, 1000, 800, QRectF(485, 390, 30, 20)}, // no floor for pictures
        {501, 0, 300, 200, QRectF(0, 0, 300, 200)},
        {101, 51, 1000, 800, QRectF(449.5, 374.5, 101, 51)},
    };
    for (const Case& c : cases) {
        const QPointF centre(c.clientW / 2, c.clientH / 2);
        EXPECT_EQ(NewPictureLayerRect(c.w, c.h, c.clientW, c.clientH, centre), c.expected) << c.w << "x" << c.h;
    }
}

TEST(LayerGeometry, CtrlResizesAboutTheCentre)
{
    const QRectF start(100, 100, 100, 60); // centre (150, 130)
    struct Case {
        DS state;
        QRectF proposed;
        QRectF expected;
    };
    const Case cases[] = {
        // bottom-right dragged by (+10, +20): the top-left corner moves the opposite way
        {DS::BottomRight, QRectF(QPointF(100, 100), QPointF(210, 180)), QRectF(QPointF(90, 80), QPointF(210, 180))},
        // a side handle changes only its dimension
        {DS::Right, QRectF(QPointF(100, 100), QPointF(230, 160)), QRectF(QPointF(70, 100), QPointF(230, 160))},
        {DS::Top, QRectF(QPointF(100, 90), QPointF(200, 160)), QRectF(QPointF(100, 90), QPointF(200, 170))},
        // dragged past the centre: never narrower or lower than 4
        {DS::TopLeft, QRectF(QPointF(190, 150), QPointF(200, 160)), QRectF(QPointF(148, 128), QPointF(152, 132))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResizeAboutCentre(start, c.proposed, c.state), c.expected) << int(c.state);
}
