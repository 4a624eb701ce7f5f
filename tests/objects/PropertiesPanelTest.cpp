// The properties panel: controls, loading from the selected object, change handlers.
#include "app/MainWindowFixture.h"

#include "platform/ColorBox.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolButton>

namespace {
void pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}


QStringList items(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

TEST_F(MainWindowTest, PanelHasEveryTabAndListWithItsInitialChoice)
{
    open();
    auto* pages = control<QTabWidget>("PageControl1");
    const QStringList captions{"Image Properties", "Arrow Properties", "Text Properties", "Rectangle Properties",
                               "Line Properties", "Circle Properties", "Grid Properties", "Image Object Properties"};
    ASSERT_EQ(pages->count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(pages->tabText(i), captions[i]);

    EXPECT_EQ(items(control<QComboBox>("cmbArrowHeadSize")), (QStringList{"Small", "Medium", "Large"}));
    EXPECT_EQ(items(control<QComboBox>("Combo_ArrowDirection")),
              (QStringList{"Up Right", "Up Left", "Down Left", "Down Right"}));
    EXPECT_EQ(items(control<QComboBox>("Combo_LineDirection")),
              (QStringList{"Horizontal", "Vertical", "Diagonal Up", "Diagonal Down"}));
    EXPECT_EQ(control<QComboBox>("Combo_BoxLineWidth")->count(), 21);
    EXPECT_EQ(control<QComboBox>("Combo_BoxLineWidth")->itemText(0), QStringLiteral("0 (solid)"));
    EXPECT_EQ(control<QComboBox>("Combo_ArrowWidth")->count(), 20);
    EXPECT_EQ(control<QComboBox>("cmbGridLineWidth")->count(), 10);
    EXPECT_EQ(control<QComboBox>("cmbGridDimensions")->itemText(7), QStringLiteral("9 x 9"));
    // Shown values come from the defaults objects at start.
    EXPECT_EQ(control<QComboBox>("Combo_ArrowWidth")->currentText(), QStringLiteral("5"));
    EXPECT_EQ(control<QComboBox>("cmbGridDimensions")->currentText(), QStringLiteral("6 x 6"));
    EXPECT_EQ(control<QComboBox>("cmbRowHeadings")->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(control<QComboBox>("cmbColumnHeadings")->currentText(), QStringLiteral("Numeric"));
    EXPECT_EQ(control<QComboBox>("Combo_FontSize")->currentText(), QStringLiteral("14"));
    EXPECT_EQ(control<QComboBox>("Combo_FontSize")->lineEdit()->maxLength(), 2);
    EXPECT_EQ(control<ColorBox>("ColorBox_ArrowFill")->selected(), clYellow);
    EXPECT_EQ(control<ColorBox>("clrTextBkColor")->selected(), clNone);
    EXPECT_EQ(control<ColorBox>("clrTextBkColor")->currentText(), QStringLiteral("None"));
    EXPECT_EQ(control<ColorBox>("clrGridLineColor")->selected(), clWhite);
    auto* styles = control<QListWidget>("CheckList_Style");
    ASSERT_EQ(styles->count(), 4);
    EXPECT_EQ(styles->item(3)->text(), QStringLiteral("StrikeThrough"));
    EXPECT_EQ(styles->item(0)->checkState(), Qt::Checked) << "bold by default";
    bool noteFound = false;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->text() == QStringLiteral("Cannot chose both a Background and an Outline color, one or the other or neither only"))
            noteFound = l->font().italic();
    EXPECT_TRUE(noteFound);
}

TEST_F(MainWindowTest, SelectedObjectIsEditedAndSeedsTheNextOne)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    click("SpBtn_ArrowUR");
    auto* arrow = static_cast<TImageArrow*>(window->imageObjects().Items(0));
    pick(control<QComboBox>("Combo_ArrowWidth"), 9);
    pick(control<QComboBox>("cmbArrowHeadSize"), 2);
    pickColor(control<ColorBox>("ColorBox_ArrowFill"), clRed);
    pickColor(control<ColorBox>("ColorBox_ArrowEdge"), 0x00123456);
    EXPECT_EQ(arrow->FWidth, 10);
    EXPECT_EQ(arrow->FHeadSize, 2);
    EXPECT_EQ(arrow->FFillColor, clRed);
    EXPECT_EQ(arrow->FEdgeColor, 0x00123456u);
    EXPECT_EQ(control<ColorBox>("ColorBox_ArrowEdge")->currentIndex(), 0) << "shown as the custom entry";

    // The direction changes the painter, not the layer.
    const QRectF where = window->selectedLayer()->location();
    pick(control<QComboBox>("Combo_ArrowDirection"), 3);
    EXPECT_EQ(arrow->FDirection, 3);
    EXPECT_EQ(window->selectedLayer()->location(), where);

    click("SpBtn_ArrowUL");
    auto* next = static_cast<TImageArrow*>(window->imageObjects().Items(1));
    EXPECT_EQ(next->FWidth, 10);
    EXPECT_EQ(next->FFillColor, clRed);
    EXPECT_EQ(next->FDirection, 1) << "the button's tag gives the direction";
    EXPECT_EQ(window->changeCounter(), 2) << "property changes count nothing";

    // Nothing selected: choices change no object.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(700, 500), QPointF(700, 500), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->view(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(700, 500), QPointF(700, 500), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->view(), &release);
    ASSERT_EQ(window->selectedLayer(), nullptr);
    pick(control<QComboBox>("Combo_ArrowWidth"), 0);
    EXPECT_EQ(next->FWidth, 10);
    EXPECT_EQ(arrow->FWidth, 10);
}

TEST_F(MainWindowTest, SelectingLoadsThePanelWithoutChangingTheObject)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    click("SpBtn_ClosedBox");
    pickColor(control<ColorBox>("ColorBox_BoxFill"), clBlue);
    click("SpBtn_OpenBox");
    auto* open = static_cast<TImageShape*>(window->imageObjects().Items(1));
    EXPECT_EQ(open->FWidth, 5);
    EXPECT_EQ(open->FFillColor, clBlue) << "after a blue rectangle the next one is blue";
    pick(control<QComboBox>("Combo_BoxLineWidth"), 7);
    EXPECT_EQ(open->FWidth, 7);
    EXPECT_EQ(control<QToolButton>("SpBtn_OpenBox")->property("Tag").toInt(), 7);
    pick(control<QComboBox>("Combo_BoxLineWidth"), 0);
    EXPECT_EQ(open->FWidth, 0);
    EXPECT_EQ(control<QToolButton>("SpBtn_OpenBox")->property("Tag").toInt(), 7) << "solid does not change the open width";

    click("SpBtn_OpenBox");
    EXPECT_EQ(static_cast<TImageShape*>(window->imageObjects().Items(2))->FWidth, 7);

    // Selecting the solid one again shows its own values and changes neither object.
    window->rubberBand()->setLocation(QRectF(400, 300, 100, 100));
    ASSERT_EQ(control<QComboBox>("Combo_BoxLineWidth")->currentIndex(), 7);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->view(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->view(), &release);
    ASSERT_EQ(window->selectedLayer(), window->view()->layers().at(1));
    EXPECT_EQ(control<QComboBox>("Combo_BoxLineWidth")->currentIndex(), 0);
    EXPECT_EQ(control<ColorBox>("ColorBox_BoxFill")->selected(), clBlue);
    EXPECT_EQ(open->FWidth, 0);
    EXPECT_EQ(static_cast<TImageShape*>(window->imageObjects().Items(2))->FWidth, 7);
}

TEST_F(MainWindowTest, FontListFollowsTheSelectedTextAndSeedsTheNextOne)
{
    auto press = [this](QPoint at) {
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(at), QPointF(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->view(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(at), QPointF(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window->view(), &up);
    };
    SetNewTextDialogScript([](QString& text, bool&) {
        text = QStringLiteral("Note");
        return int(QDialog::Accepted);
    });
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    auto* fonts = control<QFontComboBox>("JvFontCombo");
    // Two fonts that the setup installs.
    const QString first = QStringLiteral("DejaVu Sans"), second = QStringLiteral("Liberation Serif");
    if (fonts->findText(first) < 0 || fonts->findText(second) < 0)
        GTEST_SKIP() << "needs the DejaVu and Liberation fonts";
    EXPECT_FALSE(fonts->isEditable());
    fonts->setCurrentIndex(fonts->findText(first));
    click("SpBtn_Text");
    auto* a = static_cast<TImageText*>(window->imageObjects().Items(0));
    EXPECT_EQ(a->FFontName, first);
    fonts->setCurrentIndex(fonts->findText(second));
    EXPECT_EQ(a->FFontName, second) << "picking a font changes the selected text";
    window->rubberBand()->setLocation(QRectF(300, 300, 80, 40));
    press(QPoint(700, 500)); // deselect: the list now only seeds new objects

    fonts->setCurrentIndex(fonts->findText(first));
    EXPECT_EQ(a->FFontName, second);
    click("SpBtn_Text");
    auto* b = static_cast<TImageText*>(window->imageObjects().Items(1));
    EXPECT_EQ(b->FFontName, first);
    // Selecting the older text shows its font, and the next text takes it.
    press(QPoint(310, 310));
    ASSERT_EQ(window->selectedLayer(), window->view()->layers().at(0));
    EXPECT_EQ(fonts->currentText(), second);
    EXPECT_EQ(a->FFontName, second);
    EXPECT_EQ(b->FFontName, first);
    click("SpBtn_Text");
    EXPECT_EQ(static_cast<TImageText*>(window->imageObjects().Items(2))->FFontName, second);
}

TEST_F(MainWindowTest, CreationButtonsCarryTheirHintsAndTags)
{
    open();
    const struct {
        const char* name;
        const char* hint;
        int tag;
    } buttons[] = {
        {"SpBtn_ArrowUR", "Arrow Up Right", 0}, {"SpBtn_ArrowUL", "Arrow Up Left", 1},
        {"SpBtn_ArrowDL", "Arrow Down Left", 2}, {"SpBtn_ArrowDR", "Arrow Down Right", 3},
        {"SpBtn_LineHorz", "Horizontal Line", 0}, {"SpBtn_LineVert", "Vertical Line", 1},
        {"SpBtn_LineUp", "Line Up", 2}, {"SpBtn_LineDown", "Line Down", 3},
        {"SpBtn_OpenBox", "Open Rectangle", 5}, {"SpBtn_ClosedBox", "Closed Rectangle", 0},
        {"SpBtn_OpenCircle", "Open Circle", 5}, {"SpBtn_ClosedCircle", "Closed Circle", 0},
        {"SpBtn_Text", "Text", 0}, {"SpBtn_Grid", "Grid", 0},
        {"btnRotateLeft", "Rotate Image Left", 0}, {"btnRotateRight", "Rotate Image Right", 0},
        {"Btn_MoveToFront", "Move the selected object on top of all other objects", 0},
        {"Btn_MoveToBack", "Move the selected object behind all other objects", 0},
    };
    for (const auto& b : buttons) {
        auto* button = control<QToolButton>(b.name);
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.hint)) << b.name;
        EXPECT_EQ(button->property("Tag").toInt(), b.tag) << b.name;
    }
}

TEST_F(MainWindowTest, TextBackgroundAndOutlineExcludeEachOther)
{
    SetNewTextDialogScript([](QString& text, bool&) {
        text = QStringLiteral("Note");
        return int(QDialog::Accepted);
    });
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    pickColor(control<ColorBox>("clrTextBkColor"), clGreen); // nothing selected: boxes independent
    pickColor(control<ColorBox>("clrTextOutlineColor"), clBlue);
    click("SpBtn_Text");
    auto* text = static_cast<TImageText*>(window->imageObjects().Items(0));
    EXPECT_EQ(text->FBkColor, clGreen);
    EXPECT_EQ(text->FOutlineColor, clBlue);

    pickColor(control<ColorBox>("clrTextOutlineColor"), clRed);
    EXPECT_EQ(text->FOutlineColor, clRed);
    EXPECT_EQ(text->FBkColor, clNone);
    EXPECT_EQ(control<ColorBox>("clrTextBkColor")->currentText(), QStringLiteral("None"));
    pickColor(control<ColorBox>("clrTextBkColor"), clAqua);
    EXPECT_EQ(text->FBkColor, clAqua);
    EXPECT_EQ(text->FOutlineColor, clNone);
    // "None" in either box clears both.
    auto* bk = control<ColorBox>("clrTextBkColor");
    const int none = bk->findText(QStringLiteral("None"));
    bk->setCurrentIndex(none);
    Q_EMIT bk->activated(none);
    EXPECT_EQ(text->FBkColor, clNone);
    EXPECT_EQ(text->FOutlineColor, clNone);
    // A custom colour stays in the text boxes' lists.
    pickColor(control<ColorBox>("clrTextOutlineColor"), 0x00123456);
    pickColor(control<ColorBox>("clrTextOutlineColor"), 0x00654321);
    EXPECT_GE(control<ColorBox>("clrTextOutlineColor")->findText(QStringLiteral("#563412")), 0);
    EXPECT_EQ(text->FOutlineColor, 0x00654321u);

    auto* size = control<QComboBox>("Combo_FontSize");
    size->setEditText(QStringLiteral("7"));
    EXPECT_EQ(text->FSize, 7);
    size->setEditText(QStringLiteral("x"));
    EXPECT_EQ(text->FSize, 10);
    control<QLineEdit>("Edit_Text")->setText(QStringLiteral("  changed "));
    EXPECT_EQ(text->FText, QStringLiteral("changed"));
}

TEST_F(MainWindowTest, StyleBoxesChangeNewTextOnlyThroughASelectedText)
{
    SetNewTextDialogScript([](QString& text, bool&) {
        text = QStringLiteral("Note");
        return int(QDialog::Accepted);
    });
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    auto* styles = control<QListWidget>("CheckList_Style");
    styles->item(1)->setCheckState(Qt::Checked); // italic with nothing selected: ignored
    click("SpBtn_Text");
    auto* first = static_cast<TImageText*>(window->imageObjects().Items(0));
    EXPECT_EQ(first->FStyle, 1);
    EXPECT_EQ(styles->item(1)->checkState(), Qt::Unchecked) << "selecting shows the object's own style";
    styles->item(2)->setCheckState(Qt::Checked); // underline while the text is selected
    EXPECT_EQ(first->FStyle, 1 | 4);
    click("SpBtn_Text");
    EXPECT_EQ(static_cast<TImageText*>(window->imageObjects().Items(1))->FStyle, 1 | 4);
}

TEST_F(MainWindowTest, LineDirectionChangesTheFrameHandles)
{
    open(writeJpeg(QStringLiteral("a.jpg"), 800, 600));
    click("SpBtn_LineUp");
    ASSERT_EQ(window->rubberBand()->handles(), 15u);
    pick(control<QComboBox>("Combo_LineDirection"), 0);
    window->view()->repaint();
    EXPECT_EQ(window->rubberBand()->handles(), 203u);
    EXPECT_EQ(window->selectedLayer()->location().height(), 11.0) << "2w + 1 for the default width 5";
    const QRectF fitted = window->selectedLayer()->location();
    window->view()->repaint();
    EXPECT_EQ(window->selectedLayer()->location(), fitted) << "a fitted line is left alone";
    pick(control<QComboBox>("Combo_LineDirection"), 1);
    window->view()->repaint();
    EXPECT_EQ(window->rubberBand()->handles(), 59u);
    EXPECT_EQ(window->selectedLayer()->location().width(), 11.0);
}
