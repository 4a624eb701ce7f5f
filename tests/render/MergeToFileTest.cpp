// Objects reach the saved JPEG through the same painters that draw them on screen.
#include "app/MainWindowFixture.h"

#include "platform/ColorBox.h"

#include <QComboBox>

TEST_F(MainWindowTest, AppliedShapesAreInTheSavedFile)
{
    const QString file = path(QStringLiteral("grey.jpg"));
    PictureIO::saveJpeg(file, testpics::filled(400, 300, qRgb(128, 128, 128)));
    open(file);
    pickColor(control<ColorBox>("ColorBox_ArrowFill"), clRed);
    click("SpBtn_ArrowUR"); // layer (0, 0, 80, 64)
    pickColor(control<ColorBox>("ColorBox_LineFill"), clBlue);
    click("SpBtn_LineHorz");
    window->rubberBand()->setLocation(QRectF(QPointF(200, 200), QPointF(300, 211)));
    pickColor(control<ColorBox>("ColorBox_BoxFill"), clLime);
    click("SpBtn_ClosedBox");
    window->rubberBand()->setLocation(QRectF(QPointF(300, 20), QPointF(380, 90)));
    pickColor(control<ColorBox>("ColorBox_CircleFill"), clYellow);
    click("SpBtn_OpenCircle"); // a ring 5 wide: the middle shows the picture
    window->rubberBand()->setLocation(QRectF(QPointF(100, 150), QPointF(180, 230)));
    click("btnApply");

    const QImage saved = PictureIO::loadJpeg(file).picture;
    ASSERT_EQ(saved.size(), QSize(400, 300));
    struct Probe {
        QPoint at;
        QRgb colour;
        const char* what;
    };
    const Probe probes[] = {
        {{40, 32}, qRgb(255, 0, 0), "arrow shaft"},
        {{74, 6}, qRgb(255, 0, 0), "arrow head near the tip"},
        {{250, 205}, qRgb(0, 0, 255), "line band"},
        {{340, 55}, qRgb(0, 255, 0), "closed rectangle"},
        {{140, 153}, qRgb(255, 255, 0), "ellipse ring"},
        {{140, 190}, qRgb(128, 128, 128), "inside the ring"},
        {{250, 100}, qRgb(128, 128, 128), "bare picture"},
        {{250, 230}, qRgb(128, 128, 128), "below the line"},
    };
    for (const Probe& p : probes) {
        const QRgb got = saved.pixel(p.at);
        EXPECT_NEAR(qRed(got), qRed(p.colour), 40) << p.what;
        EXPECT_NEAR(qGreen(got), qGreen(p.colour), 40) << p.what;
        EXPECT_NEAR(qBlue(got), qBlue(p.colour), 40) << p.what;
    }
}

TEST_F(MainWindowTest, ShapesLandOnTheSamePixelsInAnyPartThatIsPainted)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 300, 200));
    const char* buttons[] = {"SpBtn_ArrowUR", "SpBtn_LineUp", "SpBtn_OpenBox", "SpBtn_OpenCircle"};
    double x = 10.5;
    for (const char* b : buttons) {
        click(b);
        window->rubberBand()->setLocation(QRectF(QPointF(x, 20.5), QPointF(x + 60, 120.5)));
        x += 70;
    }
    window->rubberBand()->setVisible(false);
    const QImage& picture = window->view()->bitmap();
    QImage whole(picture.size(), QImage::Format_RGB32);
    window->view()->paintInto(whole, picture.rect());
    // An odd offset, as a repaint of a scrolled view gives: halves round the other way there.
    const QRect part(3, 5, 290, 190);
    QImage strip(part.size(), QImage::Format_RGB32);
    window->view()->paintInto(strip, part);
    EXPECT_TRUE(testpics::samePixels(strip, whole.copy(part)));
}
