// New objects on layers, selection, the frame, stacking and deletion, driven
// through the real main window.
#include "app/MainWindowFixture.h"

#include <QMouseEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

namespace {

void mouse(QWidget* view, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(view, &event);
}

void drag(QWidget* view, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    mouse(view, QEvent::MouseButtonPress, from, modifiers);
    mouse(view, QEvent::MouseMove, (from + to) / 2, modifiers);
    mouse(view, QEvent::MouseMove, to, modifiers);
    mouse(view, QEvent::MouseButtonRelease, to, modifiers);
}

struct ButtonCase {
    const char* button;
    TImageObjectKind kind;
    const char* tab;
    const char* deleteCaption;
    unsigned handles;
};

} // namespace

TEST_F(MainWindowTest, EveryCreationButtonMakesASelectedObject)
{
    SetNewTextDialogScript([](QString& text, bool&) {
        text = QStringLiteral("  Label  ");
        return int(QDialog::Accepted);
    });
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    const ButtonCase cases[] = {
        {"SpBtn_ArrowUR", okArrow, "TabSheet_Arrow", "Delete Arrow...", 15},
        {"SpBtn_ArrowDL", okArrow, "TabSheet_Arrow", "Delete Arrow...", 15},
        {"SpBtn_LineHorz", okLine, "TabSheet_Line", "Delete Line...", 203},
        {"SpBtn_LineVert", okLine, "TabSheet_Line", "Delete Line...", 59},
        {"SpBtn_LineUp", okLine, "TabSheet_Line", "Delete Line...", 15},
        {"SpBtn_OpenBox", okBox, "TabSheet_Box", "Delete Rectangle...", 15},
        {"SpBtn_ClosedCircle", okCircle, "TabSheet_Circle", "Delete Circle...", 15},
        {"SpBtn_Text", okText, "TabSheet_Text", "Delete Text...", 9},
        {"SpBtn_Grid", okGrid, "TabSheet_Grid", "Delete Grid...", 15},
    };
    int count = 0;
    for (const ButtonCase& c : cases) {
        click(c.button);
        ++count;
        ASSERT_EQ(window->imageObjects().Count(), count) << c.button;
        TImageObject* object = window->imageObjects().Items(count - 1);
        EXPECT_EQ(object->FKind, c.kind) << c.button;
        ASSERT_NE(window->selectedLayer(), nullptr);
        EXPECT_EQ(window->selectedLayer()->index(), count - 1) << "object and layer share their index";
        EXPECT_EQ(window->rubberBand()->index(), count) << "the frame stays on top";
        EXPECT_EQ(window->rubberBand()->childLayer(), window->selectedLayer());
        EXPECT_TRUE(window->rubberBand()->visible());
        EXPECT_EQ(window->rubberBand()->handles(), c.handles) << c.button;
        EXPECT_EQ(visibleTab(), QString::fromLatin1(c.tab)) << c.button;
        EXPECT_EQ(control<QPushButton>("Btn_DeleteObject")->text(), QString::fromLatin1(c.deleteCaption));
        EXPECT_TRUE(control("Btn_MoveToFront")->isEnabled());
        EXPECT_EQ(window->changeCounter(), count);
        EXPECT_TRUE(applyEnabled());
    }
    auto* text = static_cast<TImageText*>(window->imageObjects().Items(7));
    EXPECT_EQ(text->FText, QStringLiteral("Label"));
    EXPECT_EQ(control<QLineEdit>("Edit_Text")->text(), QStringLiteral("Label"));
    EXPECT_EQ(window->imageObjects().Items(0)->FDimW, 0);
    EXPECT_EQ(window->view()->layers().at(0)->location(), QRectF(0, 0, 200, 160));
    EXPECT_EQ(window->view()->layers().at(8)->location(), QRectF(0, 0, 1000, 800)) << "a grid covers the picture";
}

TEST_F(MainWindowTest, TextCommandNeedsOkAndAText)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 300, 200));
    struct Case {
        int result;
        const char* text;
        bool save;
        int objects;
    };
    const Case cases[] = {{QDialog::Rejected, "ignored", true, 0}, {QDialog::Accepted, "", true, 0},
                          {QDialog::Accepted, "   ", false, 1}};
    bool passedSave = false;
    for (const Case& c : cases) {
        SetNewTextDialogScript([&](QString& text, bool& save) {
            EXPECT_TRUE(text.isEmpty());
            passedSave = save;
            if (c.result == QDialog::Accepted) {
                text = QString::fromLatin1(c.text);
                save = c.save;
            }
            return c.result;
        });
        click("SpBtn_Text");
        EXPECT_EQ(window->imageObjects().Count(), c.objects) << c.text;
    }
    EXPECT_TRUE(passedSave) << "the save choice of the previous OK comes back";
    EXPECT_EQ(static_cast<TImageText*>(window->imageObjects().Items(0))->FText, QString());
}

TEST_F(MainWindowTest, PressOnBarePictureDeselects)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    click("SpBtn_ArrowUR");
    mouse(window->view(), QEvent::MouseButtonPress, QPoint(600, 600));
    mouse(window->view(), QEvent::MouseButtonRelease, QPoint(600, 600));
    EXPECT_EQ(window->selectedLayer(), nullptr);
    EXPECT_FALSE(window->rubberBand()->visible());
    EXPECT_EQ(visibleTab(), QStringLiteral("TabSheet_Image"));
    EXPECT_FALSE(control("Btn_DeleteObject")->isEnabled());
    EXPECT_EQ(control<QPushButton>("Btn_DeleteObject")->text(), QStringLiteral("Delete Object..."));
    EXPECT_FALSE(control("Btn_MoveToBack")->isEnabled());

    // A press on the object selects it again.
    mouse(window->view(), QEvent::MouseButtonPress, QPoint(100, 80));
    EXPECT_FALSE(window->rubberBand()->visible()) << "the frame hides while the button is held";
    mouse(window->view(), QEvent::MouseButtonRelease, QPoint(100, 80));
    EXPECT_EQ(window->selectedLayer(), window->view()->layers().at(0));
    EXPECT_TRUE(window->rubberBand()->visible());
}

TEST_F(MainWindowTest, DragsMoveAndResizeThroughTheFrame)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    click("SpBtn_ClosedBox"); // (0, 0, 200, 160)
    Layer* box = window->selectedLayer();
    drag(window->view(), QPoint(100, 80), QPoint(150, 110));
    EXPECT_EQ(box->location(), QRectF(50, 30, 200, 160));
    EXPECT_EQ(window->rubberBand()->location(), box->location());

    drag(window->view(), QPoint(250, 190), QPoint(270, 200)); // bottom-right handle
    EXPECT_EQ(box->location(), QRectF(QPointF(50, 30), QPointF(270, 200)));

    // With Ctrl the far corner moves the other way and the centre stays.
    const QPointF centre = box->location().center();
    drag(window->view(), QPoint(270, 200), QPoint(280, 210), Qt::ControlModifier);
    EXPECT_EQ(box->location().center(), centre);
    EXPECT_EQ(box->location(), QRectF(QPointF(40, 20), QPointF(280, 210)));
    EXPECT_EQ(window->changeCounter(), 1) << "moving and resizing change nothing to save";
}

TEST_F(MainWindowTest, FrontAndBackKeepObjectsInLayerOrder)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    click("SpBtn_ArrowUR");
    click("SpBtn_ClosedBox");
    click("SpBtn_OpenCircle");
    std::vector<TImageObject*> old;
    for (int i = 0; i < 3; ++i)
        old.push_back(window->imageObjects().Items(i));
    std::vector<Layer*> layers;
    for (int i = 0; i < 3; ++i)
        layers.push_back(window->view()->layers().at(i));

    click("Btn_MoveToBack"); // the selected top object goes to the bottom
    const std::vector<int> expected{2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->imageObjects().Items(i), old[size_t(expected[size_t(i)])]) << i;
        EXPECT_EQ(window->view()->layers().at(i), layers[size_t(expected[size_t(i)])]) << i;
    }
    EXPECT_EQ(window->rubberBand()->index(), 3);

    click("Btn_MoveToFront"); // and back on top
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->imageObjects().Items(i), old[size_t(i)]);
        EXPECT_EQ(window->view()->layers().at(i), layers[size_t(i)]);
    }
    EXPECT_EQ(window->rubberBand()->index(), 3);
    EXPECT_EQ(window->changeCounter(), 3);
}

TEST_F(MainWindowTest, DeleteAsksAndFollowsTheCounter)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    click("SpBtn_LineDown");
    answers = {msg::No};
    click("Btn_DeleteObject");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Are you sure you want to delete the selected Line?"));
    EXPECT_EQ(boxes[0].buttons, unsigned(msg::Yes | msg::No));
    EXPECT_EQ(window->imageObjects().Count(), 1);

    answers = {msg::Yes};
    click("Btn_DeleteObject");
    EXPECT_EQ(window->imageObjects().Count(), 0);
    EXPECT_EQ(window->view()->layers().count(), 1) << "only the frame is left";
    EXPECT_EQ(window->rubberBand()->childLayer(), nullptr);
    EXPECT_EQ(window->changeCounter(), 0);
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(visibleTab(), QStringLiteral("TabSheet_Image"));
    EXPECT_FALSE(control("Btn_DeleteObject")->isEnabled());

    boxes.clear();
    click("Btn_DeleteObject"); // nothing selected: nothing happens
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, DelKeyDeletesEvenFromATextField)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    window->activateWindow();
    click("SpBtn_ArrowUR");
    auto* field = control<QLineEdit>("Edit_Text");
    field->setFocus();
    answers = {msg::Yes};
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(window->imageObjects().Count(), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Are you sure you want to delete the selected Arrow?"));
}

TEST_F(MainWindowTest, ApplyMergesEveryObjectAndClearsTheLayers)
{
    const QString file = writeJpeg(QStringLiteral("a.jpg"), 500, 400);
    open(file);
    click("SpBtn_ClosedBox");
    click("SpBtn_ArrowUR");
    click("btnApply");
    EXPECT_EQ(window->imageObjects().Count(), 0);
    EXPECT_EQ(window->view()->layers().count(), 0);
    EXPECT_EQ(window->rubberBand(), nullptr);
    EXPECT_EQ(window->changeCounter(), 0);
    EXPECT_FALSE(applyEnabled());
    // A new object after the merge gets a fresh frame.
    click("SpBtn_ClosedCircle");
    ASSERT_NE(window->rubberBand(), nullptr);
    EXPECT_EQ(window->view()->layers().count(), 2);
}

TEST_F(MainWindowTest, PaintedSizeIsRememberedForTheNextObjectOfTheKind)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 1000, 800));
    click("SpBtn_ArrowUR");
    window->rubberBand()->setLocation(QRectF(QPointF(10, 10), QPointF(310.4, 209.6)));
    click("SpBtn_LineHorz");
    window->rubberBand()->setLocation(QRectF(QPointF(10, 400), QPointF(150, 411)));
    window->view()->repaint();
    EXPECT_EQ(window->arrowDefaults().FDimW, 300);
    EXPECT_EQ(window->arrowDefaults().FDimH, 200);
    EXPECT_EQ(window->lineDefaults().FDimW, 140);
    EXPECT_EQ(window->lineDefaults().FDimH, 0) << "a horizontal line remembers only its width";
    click("SpBtn_ArrowDL");
    EXPECT_EQ(window->selectedLayer()->location(), QRectF(0, 0, 300, 200));
}

TEST_F(MainWindowTest, NewTextDialogGivesTheTextAsTypedAndTheSaveChoice)
{
    open();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFNewTextObject*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("New Text Object"));
        EXPECT_EQ(dialog->cbSaveText->text(), QStringLiteral("Save text to use again later"));
        EXPECT_TRUE(dialog->cbSaveText->isChecked());
        dialog->cmbText->setEditText(QStringLiteral(" typed  "));
        dialog->cbSaveText->setChecked(false);
        dialog->btnOK->click();
    });
    QString text;
    bool save = true;
    EXPECT_EQ(ShowNewTextDialog(window.get(), text, save), int(QDialog::Accepted));
    EXPECT_EQ(text, QStringLiteral(" typed  "));
    EXPECT_FALSE(save);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFNewTextObject*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cmbText->setEditText(QStringLiteral("ignored"));
        dialog->btnCancel->click();
    });
    QString kept = QStringLiteral("before");
    EXPECT_EQ(ShowNewTextDialog(window.get(), kept, save), int(QDialog::Rejected));
    EXPECT_EQ(kept, QStringLiteral("before"));
}

TEST_F(MainWindowTest, AfterApplyNothingLooksSelected)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 300, 200));
    click("SpBtn_ArrowUR");
    click("btnApply");
    EXPECT_EQ(visibleTab(), QStringLiteral("TabSheet_Image"));
    EXPECT_FALSE(control("Btn_MoveToFront")->isEnabled());
    EXPECT_EQ(control<QPushButton>("Btn_DeleteObject")->text(), QStringLiteral("Delete Object..."));
}
