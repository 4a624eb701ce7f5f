// The adjustment pipeline: the displayed picture is always derived afresh from
// the working picture with the three slider positions; rotation and crop change
// the working picture itself and derive again.
#include "app/Lumacet_Main.h"

#include "adjust/ColorAdjustment.h"
#include "adjust/RotateCrop.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace {
constexpr int StepSize = 5;
// The fixed rectangle of the crop button, corners inclusive.
constexpr int CropX1 = 20, CropY1 = 20, CropX2 = 200, CropY2 = 200;
} // namespace

void TfrmLumacet_Main::ShowDerivedPicture()
{
    FDerivePending = false;
    // Reuse the shown picture's buffer: a slider report then costs one pass over the pixels.
    QImage shown = Image321->takeBitmap();
    try {
        DeriveAdjustedPicture(FWorkBitmap, shown, tbBrightness->value(), tbContrast->value(),
                              tbSaturation->value());
    } catch (...) {
        Image321->setBitmap(std::move(shown));
        throw;
    }
    Image321->setBitmap(std::move(shown));
}

void TfrmLumacet_Main::tbBCSChange()
{
    ShowDerivedPicture();
    FAdjustmentUnsaved = true;
    btnApply->setEnabled(true);
}

void TfrmLumacet_Main::SliderMoved(QSlider* slider, QLabel* label, const char* format)
{
    if (slider->isSliderDown()) {
        // While the thumb is dragged, positions that arrive during a derive are not
        // queued up behind it: one derive runs afterwards with the latest positions
        // (and enables Apply once it has succeeded).
        if (!FDerivePending) {
            FDerivePending = true;
            QTimer::singleShot(0, this, [this] {
                if (FDerivePending)
                    guarded([&] { tbBCSChange(); });
            });
        }
    } else {
        tbBCSChange();
    }
    label->setText(QString::asprintf(format, slider->value()));
}

void TfrmLumacet_Main::tbBrightnessChange() { SliderMoved(tbBrightness, lblBrightness, "Brightness: %d"); }
void TfrmLumacet_Main::tbContrastChange() { SliderMoved(tbContrast, lblContrast, "Contrast: %d"); }
void TfrmLumacet_Main::tbSaturationChange() { SliderMoved(tbSaturation, lblSaturation, "Saturation: %d"); }

// Setting the position through the slider runs its change handler only when the position changes.
void TfrmLumacet_Main::btnBrightnessDownClick() { tbBrightness->setValue(qMax(tbBrightness->minimum(), tbBrightness->value() - StepSize)); }
void TfrmLumacet_Main::btnBrightnessUpClick() { tbBrightness->setValue(qMin(tbBrightness->maximum(), tbBrightness->value() + StepSize)); }
void TfrmLumacet_Main::btnContrastDownClick() { tbContrast->setValue(qMax(tbContrast->minimum(), tbContrast->value() - StepSize)); }
void TfrmLumacet_Main::btnContrastUpClick() { tbContrast->setValue(qMin(tbContrast->maximum(), tbContrast->value() + StepSize)); }
void TfrmLumacet_Main::btnSaturationDownClick() { tbSaturation->setValue(qMax(tbSaturation->minimum(), tbSaturation->value() - StepSize)); }
void TfrmLumacet_Main::btnSaturationUpClick() { tbSaturation->setValue(qMin(tbSaturation->maximum(), tbSaturation->value() + StepSize)); }

void TfrmLumacet_Main::TransformWorkBitmap(const std::function<void(QImage&)>& operation)
{
    // The operations build their result in a new buffer, so the working picture is
    // untouched until the result replaces it.
    QImage changed = FWorkBitmap;
    operation(changed);
    FWorkBitmap = std::move(changed);
    ShowDerivedPicture();
    ShowImageSize();
    FAdjustmentUnsaved = true;
    btnApply->setEnabled(true);
}

void TfrmLumacet_Main::btnRotateLeftClick()
{
    TransformWorkBitmap([](QImage& picture) { RotatePicture(picture, 90); });
}

void TfrmLumacet_Main::btnRotateRightClick()
{
    TransformWorkBitmap([](QImage& picture) { RotatePicture(picture, 270); });
}

void TfrmLumacet_Main::btnCropClick()
{
    TransformWorkBitmap([](QImage& picture) { CropPicture(picture, CropX1, CropY1, CropX2, CropY2); });
}

void TfrmLumacet_Main::ShowImageSize()
{
    // The size fields follow the working picture once a picture is loaded.
    if (Edit_FileName->text().isEmpty())
        return;
    Edit_ImageWidth->setText(QString::number(FWorkBitmap.width()));
    Edit_ImageHeight->setText(QString::number(FWorkBitmap.height()));
}

void TfrmLumacet_Main::ResetAdjustments()
{
    for (QSlider* slider : {tbBrightness, tbContrast, tbSaturation}) {
        const QSignalBlocker block(slider);
        slider->setValue(0);
    }
    FDerivePending = false;
    lblBrightness->setText(QStringLiteral("Brightness: 0"));
    lblContrast->setText(QStringLiteral("Contrast: 0"));
    lblSaturation->setText(QStringLiteral("Saturation: 0"));
}
