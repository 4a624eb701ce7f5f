// The sliders, step buttons and rotate buttons on the real main window.
#include "app/MainWindowFixture.h"

#include "adjust/ColorAdjustment.h"
#include "adjust/RotateCrop.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace {
// What the displayed picture must be: the working picture adjusted with the three positions.
QImage expectedShown(const QImage& work, int b, int c, int s)
{
    QImage copy = work.convertToFormat(QImage::Format_RGB888);
    ApplyColorAdjustment(copy, b, c, s);
    return copy.convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST_F(MainWindowTest, SliderMovesDeriveThePictureAndTheLabel)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 50, 40));
    const QImage work = window->workBitmap();
    auto* brightness = control<QSlider>("tbBrightness");
    auto* contrast = control<QSlider>("tbContrast");
    auto* saturation = control<QSlider>("tbSaturation");
    brightness->setValue(-15);
    contrast->setValue(30);
    saturation->setValue(60);
    EXPECT_EQ(control<QLabel>("lblBrightness")->text(), QStringLiteral("Brightness: -15"));
    EXPECT_EQ(control<QLabel>("lblContrast")->text(), QStringLiteral("Contrast: 30"));
    EXPECT_EQ(control<QLabel>("lblSaturation")->text(), QStringLiteral("Saturation: 60"));
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), expectedShown(work, -15, 30, 60)));
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(window->changeCounter(), 0);
    EXPECT_EQ(window->workBitmap().cacheKey(), work.cacheKey()) << "a slider never writes the working picture";

    // Back to 0: exactly the working colours again, nothing compounded.
    brightness->setValue(0);
    contrast->setValue(0);
    saturation->setValue(0);
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), work));
    EXPECT_EQ(qAlpha(window->view()->bitmap().pixel(3, 3)), 255);
}

TEST_F(MainWindowTest, StepButtonsMoveByFiveAndStopAtTheBounds)
{
    open(writeJpeg(QStringLiteral("a.jpg")));
    auto* brightness = control<QSlider>("tbBrightness");
    auto* contrast = control<QSlider>("tbContrast");
    brightness->setValue(98);
    click("btnBrightnessUp");
    EXPECT_EQ(brightness->value(), 100);
    EXPECT_EQ(control<QLabel>("lblBrightness")->text(), QStringLiteral("Brightness: 100"));
    // At the bound nothing changes and nothing is derived again.
    const qint64 shown = window->view()->bitmap().cacheKey();
    click("btnBrightnessUp");
    EXPECT_EQ(window->view()->bitmap().cacheKey(), shown);
    contrast->setValue(-97);
    click("btnContrastDown");
    EXPECT_EQ(contrast->value(), -100);

    auto* saturation = control<QSlider>("tbSaturation");
    for (int i = 0; i < 20; ++i)
        click("btnSaturationUp");
    EXPECT_EQ(saturation->value(), 100);
    EXPECT_EQ(control<QLabel>("lblSaturation")->text(), QStringLiteral("Saturation: 100"));
}

TEST_F(MainWindowTest, RotationsGiveBackTheWorkingPictureAndResizeTheView)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 60, 30));
    const QImage work = window->workBitmap().copy();
    click("btnRotateLeft");
    EXPECT_EQ(window->view()->size(), QSize(30, 60));
    EXPECT_EQ(control<QLineEdit>("Edit_ImageWidth")->text(), QStringLiteral("30"));
    click("btnRotateRight");
    EXPECT_TRUE(testpics::samePixels(window->workBitmap(), work));
    for (int i = 0; i < 4; ++i)
        click("btnRotateRight");
    EXPECT_TRUE(testpics::samePixels(window->workBitmap(), work));
    EXPECT_EQ(window->view()->size(), QSize(60, 30));
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(window->changeCounter(), 0);
}

TEST_F(MainWindowTest, RotatingWhileAdjustedNeverAdjustsTwice)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 40, 24));
    control<QSlider>("tbBrightness")->setValue(40);
    control<QSlider>("tbSaturation")->setValue(-30);
    QImage shownBefore = window->view()->bitmap().copy();
    click("btnRotateLeft");
    RotatePicture(shownBefore, 90);
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), shownBefore));
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), expectedShown(window->workBitmap(), 40, 0, -30)));
}

TEST_F(MainWindowTest, AdjustmentsWorkWithoutAPicture)
{
    open();
    click("btnBrightnessUp");
    click("btnRotateLeft");
    EXPECT_TRUE(window->view()->bitmap().isNull());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(applyEnabled());
}

TEST_F(MainWindowTest, AfterApplyASliderMoveKeepsTheMergedPicture)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"), 400, 300);
    open(file);
    click("SpBtn_ClosedBox");
    const QPointF inside = window->selectedLayer()->location().center();
    click("btnApply");
    const QRgb merged = window->view()->bitmap().pixel(inside.toPoint());
    control<QSlider>("tbContrast")->setValue(1);
    control<QSlider>("tbContrast")->setValue(0);
    EXPECT_EQ(window->view()->bitmap().pixel(inside.toPoint()), merged)
        << "the merged rectangle survives a later slider move";
}

TEST_F(MainWindowTest, DeleteKeepsApplyWhileAnAdjustmentIsUnsaved)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 300, 200));
    click("SpBtn_ArrowUR");
    click("btnBrightnessUp");
    answers = {msg::Yes};
    click("Btn_DeleteObject");
    EXPECT_EQ(window->changeCounter(), 0);
    EXPECT_TRUE(applyEnabled());
}

TEST_F(MainWindowTest, CropKeepsTheFixedRectangleOfTheWorkingPicture)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 300, 250));
    const QImage work = window->workBitmap().copy();
    click("btnCrop");
    ASSERT_EQ(window->workBitmap().size(), QSize(181, 181));
    EXPECT_EQ(window->workBitmap().pixel(0, 0), work.pixel(20, 20));
    EXPECT_EQ(window->workBitmap().pixel(180, 180), work.pixel(200, 200));
    EXPECT_EQ(window->view()->size(), QSize(181, 181));
    EXPECT_TRUE(applyEnabled());
}

TEST_F(MainWindowTest, DraggedSliderDerivesOnceWithTheLatestPosition)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 50, 40));
    const QImage work = window->workBitmap();
    auto* brightness = control<QSlider>("tbBrightness");
    brightness->setSliderDown(true);
    brightness->setValue(10);
    brightness->setValue(35);
    // Reports that arrive while the thumb is dragged are not queued one by one.
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), work));
    EXPECT_EQ(control<QLabel>("lblBrightness")->text(), QStringLiteral("Brightness: 35"));
    QApplication::processEvents();
    EXPECT_TRUE(testpics::samePixels(window->view()->bitmap(), expectedShown(work, 35, 0, 0)));
    EXPECT_TRUE(applyEnabled()) << "enabled by the derive that succeeded";
    brightness->setSliderDown(false);
}
