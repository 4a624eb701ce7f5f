// Opening, saving and the unsaved-changes question, through the real main window.
#include "app/MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QTest>

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace {

QByteArray bytesOf(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Header facts of a written JPEG, read with libjpeg.
struct JpegFacts {
    bool ok = false;
    int components = 0;
    bool progressive = false;
    int width = 0, height = 0;
    int quant0 = 0; // first luminance quantiser: 3 at quality 90
};

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void onError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1); }

JpegFacts factsOf(const QByteArray& data)
{
    JpegFacts facts;
    jpeg_decompress_struct cinfo;
    ErrorJump err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = onError;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return facts;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    jpeg_read_header(&cinfo, TRUE);
    facts.ok = true;
    facts.components = cinfo.num_components;
    facts.progressive = cinfo.progressive_mode;
    facts.width = int(cinfo.image_width);
    facts.height = int(cinfo.image_height);
    facts.quant0 = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    jpeg_destroy_decompress(&cinfo);
    return facts;
}

} // namespace

TEST_F(MainWindowTest, LoadsTheCommandLinePictureAndShowsItsNameAndSize)
{
    const QString file = writeJpeg(QStringLiteral("photo one.JPEG"), 120, 80);
    open(file);
    EXPECT_EQ(window->fileName(), file);
    EXPECT_EQ(control<QLineEdit>("Edit_FileName")->text(), QStringLiteral("photo one.JPEG"));
    EXPECT_EQ(control<QLineEdit>("Edit_ImageWidth")->text(), QStringLiteral("120"));
    EXPECT_EQ(control<QLineEdit>("Edit_ImageHeight")->text(), QStringLiteral("80"));
    EXPECT_EQ(visibleTab(), QStringLiteral("TabSheet_Image"));
    EXPECT_EQ(window->view()->size(), QSize(120, 80));
    EXPECT_EQ(window->workBitmap().size(), QSize(120, 80));
    EXPECT_TRUE(control("SpBtn_Grid")->isEnabled());
    EXPECT_FALSE(applyEnabled());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, RefusesOtherExtensionsAndCloses)
{
    for (const char* name : {"photo.png", "photo.jpg.txt", "photo"}) {
        boxes.clear();
        const QString file = path(QString::fromLatin1(name));
        QFile::copy(writeJpeg(QStringLiteral("real.jpg")), file);
        open(file);
        QApplication::processEvents();
        ASSERT_EQ(boxes.size(), 1u) << name;
        EXPECT_EQ(boxes[0].type, msg::Type::Error);
        EXPECT_EQ(boxes[0].text, QStringLiteral("The internal image editor only supports JPG file types."));
        EXPECT_FALSE(window->isVisible()) << name << " should close the editor";
        window.reset();
    }
}

TEST_F(MainWindowTest, BadFilesGiveAMessageAndTheEditorGoesOn)
{
    QFile(path(QStringLiteral("empty.jpg"))).open(QIODevice::WriteOnly);
    QFile garbage(path(QStringLiteral("garbage.jpg")));
    garbage.open(QIODevice::WriteOnly);
    garbage.write(QByteArray(5000, 'x'));
    garbage.close();
    QImage(10, 10, QImage::Format_RGB32).save(path(QStringLiteral("png.jpg")), "PNG");
    QDir().mkdir(path(QStringLiteral("folder.jpg")));
    // A small JPEG whose frame header claims 65000 x 65000 pixels.
    QByteArray huge = bytesOf(writeJpeg(QStringLiteral("small.jpg")));
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int i : {5, 7}) { // height, then width, big-endian
        huge[sof + i] = char(65000 >> 8);
        huge[sof + i + 1] = char(65000 & 0xFF);
    }
    QFile forged(path(QStringLiteral("huge.jpg")));
    ASSERT_TRUE(forged.open(QIODevice::WriteOnly));
    forged.write(huge);
    forged.close();

    for (const char* name : {"missing.jpg", "empty.jpg", "garbage.jpg", "png.jpg", "folder.jpg", "huge.jpg"}) {
        boxes.clear();
        open(path(QString::fromLatin1(name)));
        EXPECT_TRUE(window->isVisible()) << name;
        ASSERT_EQ(boxes.size(), 1u) << name;
        EXPECT_EQ(boxes[0].type, msg::Type::Error) << name;
        EXPECT_TRUE(boxes[0].text.contains(QString::fromLatin1(name))) << qPrintable(boxes[0].text);
        EXPECT_FALSE(control("SpBtn_ArrowUR")->isEnabled()) << name;
        EXPECT_TRUE(window->view()->bitmap().isNull()) << name;
        window.reset();
    }
}

TEST_F(MainWindowTest, TruncatedPictureLoadsWithADamageWarning)
{
    const QString full = writeJpeg(QStringLiteral("full.jpg"), 200, 150);
    QByteArray data = bytesOf(full);
    QFile cut(path(QStringLiteral("cut.jpg")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(data.left(data.size() / 2));
    cut.close();
    open(cut.fileName());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type, msg::Type::Warning);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("damaged")));
    EXPECT_EQ(window->view()->bitmap().size(), QSize(200, 150));
    EXPECT_TRUE(control("SpBtn_ArrowUR")->isEnabled());
}

TEST_F(MainWindowTest, ApplyWritesABaselineQuality90ColourJpeg)
{
    const QString file = writeJpeg(QStringLiteral("Bild mit Ümlaut.jpg"), 96, 64);
    open(file);
    click("btnBrightnessUp");
    ASSERT_TRUE(applyEnabled());
    click("btnApply");
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(window->changeCounter(), 0);
    const JpegFacts facts = factsOf(bytesOf(file));
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.components, 3);
    EXPECT_FALSE(facts.progressive);
    EXPECT_EQ(QSize(facts.width, facts.height), QSize(96, 64));
    EXPECT_EQ(facts.quant0, 3);
    // The saved picture became the working one and the sliders went back to 0.
    EXPECT_EQ(control<QSlider>("tbBrightness")->value(), 0);
    EXPECT_TRUE(testpics::samePixels(window->workBitmap(), window->view()->bitmap()));
}

TEST_F(MainWindowTest, SaveAsUsesTheNameAsTypedAndMakesItTheDocument)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"));
    open(file);
    const QByteArray before = bytesOf(file);
    QString preset;
    SetFileDialogScript([&](bool save, const QString& p) {
        EXPECT_TRUE(save);
        preset = p;
        return path(QStringLiteral("copy"));
    });
    window->findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    EXPECT_EQ(preset, file);
    EXPECT_EQ(window->fileName(), path(QStringLiteral("copy")));
    EXPECT_TRUE(factsOf(bytesOf(path(QStringLiteral("copy")))).ok);
    EXPECT_EQ(bytesOf(file), before);
    EXPECT_EQ(control<QLineEdit>("Edit_FileName")->text(), QStringLiteral("a.jpg"));
}

TEST_F(MainWindowTest, FailedWriteKeepsTheOldFileAndTheChanges)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"));
    open(file);
    const QByteArray before = bytesOf(file);
    click("btnRotateLeft");
    QDir().mkdir(path(QStringLiteral("taken")));
    for (const QString& target : {path(QStringLiteral("taken")), path(QStringLiteral("no/such/folder/x.jpg"))}) {
        boxes.clear();
        SetFileDialogScript([&](bool, const QString&) { return target; });
        window->findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
        ASSERT_EQ(boxes.size(), 1u) << qPrintable(target);
        EXPECT_EQ(boxes[0].type, msg::Type::Error);
        EXPECT_EQ(window->fileName(), file);
        EXPECT_TRUE(applyEnabled());
    }
    EXPECT_EQ(bytesOf(file), before);
}

TEST_F(MainWindowTest, CloseAsksAboutPendingChanges)
{
    // Without a picture a rotation still counts as a change; Yes cannot save it.
    open();
    click("btnRotateRight");
    ASSERT_TRUE(applyEnabled());
    answers = {msg::Yes};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Do you want to save the changes you have made to the image?"));
    EXPECT_EQ(boxes[0].buttons, unsigned(msg::Yes | msg::No | msg::Cancel));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Error saving changes to: \n"));
    EXPECT_TRUE(window->isVisible());

    answers = {msg::Cancel};
    EXPECT_FALSE(window->close());
    answers = {msg::No};
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, CancelDropsChangesAndOkWithoutChangesWritesNothing)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"));
    const QByteArray before = bytesOf(file);
    open(file);
    click("btnSaturationDown");
    click("btnCancel");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(bytesOf(file), before);
    window.reset();

    open(file);
    click("btnOK");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(bytesOf(file), before);
}

TEST_F(MainWindowTest, OkSavesPendingChangesThenCloses)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"), 40, 20);
    open(file);
    click("btnRotateLeft");
    click("btnOK");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.empty());
    const JpegFacts facts = factsOf(bytesOf(file));
    EXPECT_EQ(QSize(facts.width, facts.height), QSize(20, 40));
}

TEST_F(MainWindowTest, OpenWithPendingChangesAnsweredNoDropsObjectsAndLoads)
{
    const QString first = writeJpeg(QStringLiteral("first.jpg"), 300, 200);
    const QString second = writeJpeg(QStringLiteral("second.jpg"), 100, 90);
    open(first);
    click("SpBtn_ArrowUR");
    ASSERT_EQ(window->imageObjects().Count(), 1);
    answers = {msg::No};
    SetFileDialogScript([&](bool save, const QString&) {
        EXPECT_FALSE(save);
        return second;
    });
    window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
    EXPECT_EQ(window->imageObjects().Count(), 0);
    EXPECT_EQ(window->view()->layers().count(), 0);
    EXPECT_EQ(window->fileName(), second);
    EXPECT_EQ(window->view()->bitmap().size(), QSize(100, 90));
    EXPECT_TRUE(applyEnabled()) << "No leaves the unsaved state as it was";
}

TEST_F(MainWindowTest, EscCancelsAndExitAsksWhenThereAreChanges)
{
    open(writeJpeg(QStringLiteral("a.jpg")));
    click("btnRotateLeft");
    answers = {msg::Cancel};
    window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Do you want to save the changes you have made to the image?"));
    EXPECT_TRUE(window->isVisible());

    window->activateWindow();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Esc presses Cancel, which closes without asking";
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, SaveWithoutADocumentIsSilentAndCancelledDialogsDoNothing)
{
    open();
    window->findChild<QAction*>(QStringLiteral("mnuSave"))->trigger();
    SetFileDialogScript([](bool, const QString&) { return QString(); });
    window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
    window->findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(window->fileName().isEmpty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, OkWhoseWriteFailsKeepsTheWindowOpen)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"));
    open(file);
    click("btnRotateLeft");
    // The document's file becomes a folder: the write must fail.
    QFile::remove(file);
    QDir().mkdir(file);
    answers = {msg::Ok, msg::Cancel}; // the error, then the close question
    click("btnOK");
    EXPECT_TRUE(window->isVisible());
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type, msg::Type::Error);
    EXPECT_TRUE(applyEnabled());
}

TEST_F(MainWindowTest, AFileThatCannotBeOpenedNeverBecomesTheDocument)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"), 300, 200);
    QFile garbage(path(QStringLiteral("broken.jpg")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    open(file);
    click("btnRotateLeft");
    answers = {msg::No};
    SetFileDialogScript([&](bool, const QString&) { return garbage.fileName(); });
    window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
    EXPECT_EQ(window->fileName(), file) << "the picture still shown belongs to the old file";
    click("btnApply");
    EXPECT_EQ(bytesOf(garbage.fileName()), QByteArray("not a picture"));
    EXPECT_EQ(factsOf(bytesOf(file)).width, 200);
}

TEST_F(MainWindowTest, AnnotationsMergedByAFailedSaveSurviveLaterAdjustments)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 400, 300));
    click("SpBtn_ClosedBox");
    window->rubberBand()->setLocation(QRectF(100, 100, 80, 60));
    SetFileDialogScript([&](bool, const QString&) { return path(QStringLiteral("no/such/folder/x.jpg")); });
    window->findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(window->imageObjects().Count(), 0);
    EXPECT_TRUE(applyEnabled());
    const QRgb merged = window->view()->bitmap().pixel(140, 130);
    control<QSlider>("tbContrast")->setValue(1);
    control<QSlider>("tbContrast")->setValue(0);
    EXPECT_EQ(window->view()->bitmap().pixel(140, 130), merged);
}
