// The edited document: loading, merging the annotations, saving, the Apply, OK
// and Cancel buttons and the question before unsaved changes are dropped.
#include "app/Lumacet_Main.h"

#include "platform/MessageBox.h"
#include "platform/PictureIO.h"
#include "platform/PictureMemory.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString ImageFilter = QStringLiteral("Image Files (*.jpg)");

bool HasJpegExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString ext = path.mid(dot);
    return ext.compare(QStringLiteral(".jpg"), Qt::CaseInsensitive) == 0
        || ext.compare(QStringLiteral(".jpeg"), Qt::CaseInsensitive) == 0;
}

// Tests answer the file dialogs the way they answer message boxes.
std::function<QString(bool save, const QString& preset)>& FileDialogScript()
{
    static std::function<QString(bool, const QString&)> script;
    return script;
}
} // namespace

void SetFileDialogScript(std::function<QString(bool save, const QString& preset)> script)
{
    FileDialogScript() = std::move(script);
}

int TfrmLumacet_Main::changeCounter() const { return btnApply->property("Tag").toInt(); }

void TfrmLumacet_Main::setChangeCounter(int counter) { btnApply->setProperty("Tag", counter); }

bool TfrmLumacet_Main::LoadImageFile(const QString& path)
{
    if (!HasJpegExtension(path)) {
        msg::show(msg::Type::Error, QStringLiteral("The internal image editor only supports JPG file types."),
                  msg::Ok);
        closeMainWindow();
        return false;
    }
    PictureIO::Loaded loaded = PictureIO::loadJpeg(path);
    Image321->setBitmap(loaded.picture);
    FWorkBitmap = loaded.picture;
    Edit_FileName->setText(QFileInfo(path).fileName());
    Edit_ImageWidth->setText(QString::number(loaded.picture.width()));
    Edit_ImageHeight->setText(QString::number(loaded.picture.height()));
    ShowPropertiesTab(TabSheet_Image);
    if (loaded.damaged)
        // Saving over a damaged picture should be the user's choice, not an accident.
        msg::show(msg::Type::Warning,
                  QStringLiteral("The picture \"%1\" is damaged: parts of it could not be read and may "
                                 "show as grey or repeated blocks. Saving will write the picture as it is shown.")
                      .arg(QFileInfo(path).fileName()),
                  msg::Ok);
    return true;
}

void TfrmLumacet_Main::mnuOpenClick()
{
    if (!AskToSaveChanges())
        return;
    QString chosen;
    if (FileDialogScript()) {
        chosen = FileDialogScript()(false, QString());
    } else {
        QFileDialog dialog(this, QStringLiteral("Open Image File"), QString(), ImageFilter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    if (chosen.isEmpty())
        return;
    // The name becomes the document's only once its picture has loaded: a refused or
    // unreadable file must never be overwritten with the picture that is still shown.
    const bool loaded = LoadImageFile(chosen);
    if (loaded)
        FFileName = chosen;
    EnableToolButtons(loaded);
}

void TfrmLumacet_Main::RemoveAllLayers()
{
    Image321->layers().clear();
    FRubberBand = nullptr;
}

void TfrmLumacet_Main::MergeObjectsIntoImage()
{
    SelectObjectLayer(nullptr);
    ShowNothingSelected();
    if (Image321->layers().count() == 0) {
        FImageObjects.Clear(); // nothing to paint: the picture stays as it is
        return;
    }
    const QImage& shown = Image321->bitmap();
    QImage merged;
    if (!shown.isNull()) {
        merged = NewPicture(shown.width(), shown.height(), QImage::Format_RGB32);
        Image321->paintInto(merged, QRect(QPoint(0, 0), shown.size()));
    }
    RemoveAllLayers();
    Image321->setBitmap(std::move(merged));
    FImageObjects.Clear();
}

bool TfrmLumacet_Main::SaveImageFile(const QString& path)
{
    MergeObjectsIntoImage();
    // The merged picture becomes the working picture at once: merged annotations then
    // survive later adjustments even when the write below fails, and an adjustment
    // is never applied twice.
    if (!Image321->bitmap().isNull()) {
        FWorkBitmap = Image321->bitmap();
        ResetAdjustments();
    }
    if (FFileName.isEmpty())
        return false;
    PictureIO::saveJpeg(path, Image321->bitmap());
    FAdjustmentUnsaved = false;
    setChangeCounter(0);
    btnApply->setEnabled(false);
    return true;
}

void TfrmLumacet_Main::mnuSaveAsClick()
{
    QString chosen;
    if (FileDialogScript()) {
        chosen = FileDialogScript()(true, FFileName);
    } else {
        QFileDialog dialog(this, QStringLiteral("Save Image File As..."), QString(), ImageFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.selectFile(FFileName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    if (!chosen.isEmpty() && SaveImageFile(chosen))
        FFileName = chosen;
}

void TfrmLumacet_Main::mnuSaveClick() { SaveImageFile(FFileName); }

void TfrmLumacet_Main::btnApplyClick() { SaveImageFile(FFileName); }

void TfrmLumacet_Main::btnOKClick()
{
    if (btnApply->isEnabled())
        btnApplyClick();
    closeMainWindow();
}

void TfrmLumacet_Main::btnCancelClick()
{
    btnApply->setEnabled(false);
    closeMainWindow();
}

void TfrmLumacet_Main::mnuExitClick() { closeMainWindow(); }

bool TfrmLumacet_Main::AskToSaveChanges()
{
    if (!btnApply->isEnabled())
        return true;
    switch (msg::show(msg::Type::Confirmation,
                      QStringLiteral("Do you want to save the changes you have made to the image?"),
                      msg::Yes | msg::No | msg::Cancel)) {
    case msg::Yes:
        // A write error propagates to the caller, which shows it and stays where it is.
        if (SaveImageFile(FFileName))
            return true;
        msg::show(msg::Type::Error, QStringLiteral("Error saving changes to: \n") + FFileName, msg::Ok);
        return false;
    case msg::No:
        SelectObjectLayer(nullptr);
        ShowNothingSelected();
        RemoveAllLayers();
        FImageObjects.Clear();
        return true;
    default:
        return false;
    }
}
