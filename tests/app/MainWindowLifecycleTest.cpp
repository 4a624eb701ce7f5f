// Start-up, layout, caption and window placement of the main window.
#include "app/MainWindowFixture.h"

#include "app/Common.h"
#include "platform/Registry.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>

namespace {
const char* const CreationButtons[] = {"SpBtn_ArrowUR", "SpBtn_ArrowUL", "SpBtn_ArrowDL", "SpBtn_ArrowDR",
                                       "SpBtn_LineHorz", "SpBtn_LineVert", "SpBtn_LineUp", "SpBtn_LineDown",
                                       "SpBtn_OpenBox", "SpBtn_ClosedBox", "SpBtn_OpenCircle", "SpBtn_ClosedCircle",
                                       "SpBtn_Text", "SpBtn_Grid"};

qint32 stored(const QString& name)
{
    Registry registry;
    EXPECT_TRUE(registry.OpenKey(QStringLiteral("\\Software\\Tamsel\\Lumacet\\Notes\\AppWindow"), false));
    return registry.ReadInteger(name);
}

void store(const QString& name, qint32 value)
{
    Registry registry;
    registry.OpenKey(QStringLiteral("\\Software\\Tamsel\\Lumacet\\Notes\\AppWindow"), true);
    registry.WriteInteger(name, value);
    registry.Flush();
}
} // namespace

TEST_F(MainWindowTest, StartsWithoutAFileReadyToWorkButWithNothingToCreateOn)
{
    open();
    EXPECT_EQ(window->windowTitle(),
              MainWindowCaption(QStringLiteral("Image Editor"), VersionString(CompiledVersionNumbers())));
    EXPECT_EQ(visibleTab(), QString());
    for (const char* name : CreationButtons)
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    for (const char* name : {"btnRotateLeft", "btnRotateRight", "tbBrightness", "tbContrast", "tbSaturation",
                             "btnBrightnessUp", "btnSaturationDown", "btnOK", "btnCancel", "Btn_DeleteObject"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    for (const char* name : {"btnApply", "Btn_MoveToFront", "Btn_MoveToBack"})
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    EXPECT_FALSE(control("btnCrop")->isVisible());
    EXPECT_EQ(control<QToolButton>("SpBtn_OpenBox")->property("Tag").toInt(), 5);
    EXPECT_EQ(control<QToolButton>("SpBtn_ArrowDR")->property("Tag").toInt(), 3);
    EXPECT_EQ(control<QLabel>("lblBrightness")->text(), QStringLiteral("Brightness: 0"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndDelShortcut)
{
    open();
    const std::pair<const char*, const char*> items[] = {
        {"mnuOpen", "Open..."}, {"mnuSave", "Save..."}, {"mnuSaveAs", "Save As..."}, {"mnuExit", "Exit"},
        {"mnuDeleteObject", "Delete Object..."}, {"mnuTamselsHomePage", "Tamsel's Home Page"},
        {"mnuEmailTamselSupport", "Email Tamsel Support..."}, {"mnuCheckforUpdates", "Check for Updates"},
        {"mnuAbout", "About"}};
    for (const auto& [name, caption] : items)
        EXPECT_EQ(control<QAction>(name)->text(), QString::fromLatin1(caption)) << name;
    EXPECT_EQ(control<QAction>("mnuDeleteObject")->shortcut(), QKeySequence(Qt::Key_Delete));
}

TEST_F(MainWindowTest, FirstRunWritesTheDefaultPlacementAndCentresTheWindow)
{
    open();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(stored(QStringLiteral("Width")), 1064);
    EXPECT_EQ(stored(QStringLiteral("Height")), 733);
    EXPECT_EQ(stored(QStringLiteral("Left")), (work.width() - 1064) / 2);
    EXPECT_EQ(stored(QStringLiteral("Top")), (work.height() - 733) / 2);
    EXPECT_EQ(stored(QStringLiteral("State")), 0);
    EXPECT_EQ(stored(QStringLiteral("ImageObjectPanelWidth")), 125);
    EXPECT_EQ(control("pnlObjects")->width(), 125);
}

TEST_F(MainWindowTest, PlacementIsStoredOnCloseAndRestoredOnNextStart)
{
    open();
    window->move(40, 30);
    window->resize(500, 400);
    QApplication::processEvents();
    const QRect outer = window->frameGeometry(); // the stored values are the outer rectangle
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(QStringLiteral("Left")), outer.left());
    EXPECT_EQ(stored(QStringLiteral("Top")), outer.top());
    EXPECT_EQ(stored(QStringLiteral("Width")), outer.width());
    EXPECT_EQ(stored(QStringLiteral("Height")), outer.height());
    window.reset();

    open();
    EXPECT_EQ(window->frameGeometry(), outer);
}

TEST_F(MainWindowTest, StoredPlacementIsFittedToTheDesktop)
{
    const QRect desktop = DesktopRect();
    store(QStringLiteral("Left"), desktop.width() + 3000);
    store(QStringLiteral("Width"), 800);
    store(QStringLiteral("ImageObjectPanelWidth"), 0);
    open();
    EXPECT_EQ(window->frameGeometry().left(), desktop.left());
    EXPECT_EQ(window->frameGeometry().width(), 800);
    EXPECT_EQ(control("pnlObjects")->width(), 2);
}

TEST_F(MainWindowTest, MaximisedCloseKeepsTheLastNormalRectangle)
{
    open();
    window->move(50, 60);
    window->resize(800, 600);
    QApplication::processEvents();
    window->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(QStringLiteral("State")), 2);
    EXPECT_EQ(stored(QStringLiteral("Left")), (QGuiApplication::primaryScreen()->availableGeometry().width() - 1064) / 2)
        << "a maximised window leaves the normal rectangle as it was stored";
    window.reset();
    open();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, DamagedSettingsFileStartsFromDefaults)
{
    QDir().mkpath(QFileInfo(Registry::filePath()).absolutePath());
    QFile file(Registry::filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\x02garbage\n[Software\\Tamsel\\Lumacet\\Notes\\AppWindow]\n\"Width\"=dword:zz\n\"Top\"=\"text\"\n");
    file.close();
    open();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    int left = (work.width() - 1064) / 2, top = (work.height() - 733) / 2, width = 1064, height = 733;
    FitBoundsToDesktop(left, top, width, height, DesktopRect());
    EXPECT_EQ(window->frameGeometry(), QRect(left, top, width, height));
    EXPECT_FALSE(boxes.empty()) << "a value of the wrong type is reported";
}

TEST_F(MainWindowTest, DoubleClickOnTheSplitterClosesAndReopensTheGallery)
{
    open();
    auto* splitter = control<QSplitter>("splImageObjects");
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(splitter->handle(1), &dbl);
    EXPECT_EQ(splitter->sizes().value(1), 0);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(QStringLiteral("ImageObjectPanelWidth")), 125) << "a closed gallery keeps its width";
    window.reset();

    open();
    splitter = control<QSplitter>("splImageObjects");
    EXPECT_EQ(splitter->sizes().value(1), 0) << "the splitter remembers it was closed";
    QApplication::sendEvent(splitter->handle(1), &dbl);
    EXPECT_EQ(splitter->sizes().value(1), 125);
}

TEST_F(MainWindowTest, MinimisedCloseWritesNeitherStateNorRectangle)
{
    store(QStringLiteral("State"), 2);
    open();
    window->showMinimized();
    QApplication::processEvents();
    if (!(window->windowState() & Qt::WindowMinimized))
        GTEST_SKIP() << "this platform does not minimise";
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(QStringLiteral("State")), 2);
}
