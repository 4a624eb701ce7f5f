// The main window's life: creation, showing, the close question, closing
// (window placement stored) and destruction.
#include "app/Lumacet_Main.h"

#include "app/Common.h"
#include "app/Settings.h"
#include "platform/ColorBox.h"
#include "platform/LumacetError.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <new>

namespace {
const QString AppWindowKey = QStringLiteral("\\Software\\Tamsel\\Lumacet\\Notes\\AppWindow");
// The splitter keeps its own state apart from the window's placement.
const QString SplitterKey = QStringLiteral("Software\\Tamsel\\Quorvex\\ImageEditor\\Window");
constexpr int DesignedWidth = 1064;
constexpr int DesignedHeight = 733;
constexpr int SplitterMinSize = 2;

// The user's message for the exception being handled; only to be called in a catch block.
QString CaughtErrorMessage()
{
    try {
        throw;
    } catch (const LumacetError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory.");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}
} // namespace

TfrmLumacet_Main::TfrmLumacet_Main(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    BuildLayout();
    FormCreate(arguments);
    qApp->installEventFilter(this);
}

TfrmLumacet_Main::~TfrmLumacet_Main()
{
    qApp->removeEventFilter(this);
    // Layers call back into this window when painted; drop them before the objects go.
    SelectObjectLayer(nullptr);
    Image321->layers().clear();
    FRubberBand = nullptr;
    // Destruction order: the seven defaults objects, then the objects, then the working picture.
    FArrowDefaults.reset();
    FTextDefaults.reset();
    FBoxDefaults.reset();
    FCircleDefaults.reset();
    FLineDefaults.reset();
    FGridDefaults.reset();
    FBitmapDefaults.reset();
    FImageObjects.Clear();
    FWorkBitmap = QImage();
}

void TfrmLumacet_Main::FormCreate(const QStringList& arguments)
{
    GetVersionStrings();
    setWindowTitle(MainWindowCaption(QStringLiteral("Image Editor"), AppVersion));
    AppFolder = AddTrailingBackslash(QApplication::applicationDirPath());
    if (arguments.size() > 1)
        FFileName = arguments.at(1);

    FWorkBitmap = QImage();
    FImageObjects.Clear();
    FArrowDefaults = std::make_unique<TImageArrow>(0, clYellow, clBlack, 5, 0, 0, 0);
    FTextDefaults = std::make_unique<TImageText>(QString(), QStringLiteral("Arial"), 14, clYellow, clNone, clNone, 1, 0, 0);
    FBoxDefaults = std::make_unique<TImageBox>(clYellow, clBlack, 5, 0, 0);
    FCircleDefaults = std::make_unique<TImageCircle>(clYellow, clBlack, 5, 0, 0);
    FLineDefaults = std::make_unique<TImageLine>(0, clYellow, clBlack, 5, 0, 0);
    FGridDefaults = std::make_unique<TImageGrid>(6, clWhite, 2, 1, 2, clWhite);
    FBitmapDefaults = std::make_unique<TImageBitmap>(nullptr, clWhite, 100, 0);
    SpBtn_OpenBox->setProperty("Tag", FBoxDefaults->FWidth);
    SpBtn_OpenCircle->setProperty("Tag", FCircleDefaults->FWidth);
    FSaveText = false;

    for (ColorBox* box : {ColorBox_ArrowFill, ColorBox_ArrowEdge, clrTextColor, ColorBox_BoxFill, ColorBox_BoxEdge,
                          ColorBox_CircleFill, ColorBox_CircleEdge, ColorBox_LineFill, ColorBox_LineEdge,
                          clrGridLineColor, clrGridHeadingColor})
        ScaleColorBoxItemHeight(box);

    ReadWindowPlacement();
}

void TfrmLumacet_Main::ReadWindowPlacement()
{
    resize(DesignedWidth, DesignedHeight);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, DesignedWidth, DesignedHeight);
    qint32 top = 0, left = 0, width = 0, height = 0, panelWidth = 0;
    bool collapsed = false;
    try {
        Registry registry;
        registry.OpenKey(AppWindowKey, true);
        ReadIntegerDef(registry, QStringLiteral("Top"), top, (work.height() - this->height()) / 2);
        ReadIntegerDef(registry, QStringLiteral("Left"), left, (work.width() - this->width()) / 2);
        ReadIntegerDef(registry, QStringLiteral("Width"), width, this->width());
        ReadIntegerDef(registry, QStringLiteral("Height"), height, this->height());
        ReadIntegerDef(registry, QStringLiteral("State"), FSavedWindowState, 0);
        ReadIntegerDef(registry, QStringLiteral("ImageObjectPanelWidth"), panelWidth, 125);
        if (registry.OpenKey(SplitterKey, false) && registry.ValueExists(QStringLiteral("Collapsed")))
            collapsed = registry.ReadBool(QStringLiteral("Collapsed"));
        registry.Flush();
    } catch (const LumacetError& e) {
        // Damaged placement values must not keep the editor from starting.
        msg::show(msg::Type::Error, e.message(), msg::Ok);
        left = (work.width() - this->width()) / 2;
        top = (work.height() - this->height()) / 2;
        width = this->width();
        height = this->height();
        panelWidth = 125;
    }
    FPanelWidth = qMax(panelWidth, SplitterMinSize);
    pnlObjects->resize(FPanelWidth, pnlObjects->height());
    splImageObjects->setSizes({DesignedWidth, collapsed ? 0 : FPanelWidth});
    SetFormBoundsOnDesktop(this, left, top, width, height);
    FPlacement = QRect(pos(), size()); // the fitted outer rectangle, applied again once the frame is known
}

void TfrmLumacet_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    // The frame is known only now: the stored size is the outer one.
    const QSize frame = frameGeometry().size() - size();
    resize(FPlacement.size() - frame);
    move(FPlacement.topLeft());
    // The layout exists now: give the gallery panel its stored width.
    const QList<int> sizes = splImageObjects->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (sizes.value(1) > 0)
        splImageObjects->setSizes({qMax(0, total - FPanelWidth), FPanelWidth});
    FormShow();
}

void TfrmLumacet_Main::FormShow()
{
    FInFormShow = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    try {
        ShowPropertiesTab(nullptr);
        switch (FSavedWindowState) {
        case 1: setWindowState(Qt::WindowMinimized); break;
        case 2: setWindowState(Qt::WindowMaximized); break;
        default: break;
        }
        SetControlsFromDefaults();
        if (!FFileName.isEmpty())
            EnableToolButtons(LoadImageFile(FFileName));
        Panel_PropertiesResize();
    } catch (const std::exception&) {
        failure = CaughtErrorMessage();
    }
    // The cursor and the focus come back before any error is shown.
    QApplication::restoreOverrideCursor();
    btnOK->setFocus();
    if (!failure.isEmpty())
        msg::show(msg::Type::Error, failure, msg::Ok);
    FInFormShow = false;
}

bool TfrmLumacet_Main::FormCloseQuery() { return AskToSaveChanges(); }

void TfrmLumacet_Main::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    guarded([&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    guarded([&] { FormClose(); });
    event->accept();
}

void TfrmLumacet_Main::FormClose()
{
    Registry registry;
    WriteWindowPlacement(registry);
    registry.Flush();
}

void TfrmLumacet_Main::WriteWindowPlacement(Registry& registry)
{
    registry.OpenKey(AppWindowKey, true);
    const Qt::WindowStates state = windowState();
    if (!(state & Qt::WindowMinimized))
        registry.WriteInteger(QStringLiteral("State"), (state & Qt::WindowMaximized) ? 2 : 0);
    if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QRect frame = frameGeometry();
        registry.WriteInteger(QStringLiteral("Top"), frame.top());
        registry.WriteInteger(QStringLiteral("Left"), frame.left());
        registry.WriteInteger(QStringLiteral("Width"), frame.width());
        registry.WriteInteger(QStringLiteral("Height"), frame.height());
    }
    const QList<int> sizes = splImageObjects->sizes();
    const bool collapsed = sizes.value(1) == 0;
    registry.WriteInteger(QStringLiteral("ImageObjectPanelWidth"),
                          qMax(SplitterMinSize, collapsed ? FPanelWidth : pnlObjects->width()));
    registry.OpenKey(SplitterKey, true);
    registry.WriteBool(QStringLiteral("Collapsed"), collapsed);
}

void TfrmLumacet_Main::closeMainWindow()
{
    // Closing from inside the show handler must wait until showing has finished.
    if (FInFormShow)
        QTimer::singleShot(0, this, [this] { close(); });
    else
        close();
}

bool TfrmLumacet_Main::guarded(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const std::exception&) {
        msg::show(msg::Type::Error, CaughtErrorMessage(), msg::Ok);
    }
    return false;
}

void TfrmLumacet_Main::EnableToolButtons(bool enabled)
{
    SpBtn_ArrowUR->setEnabled(enabled);
    const bool first = SpBtn_ArrowUR->isEnabled();
    for (QToolButton* b : {SpBtn_ArrowUL, SpBtn_ArrowDL, SpBtn_ArrowDR, SpBtn_LineHorz, SpBtn_LineVert, SpBtn_LineUp,
                           SpBtn_LineDown, SpBtn_OpenBox, SpBtn_ClosedBox, SpBtn_OpenCircle, SpBtn_ClosedCircle,
                           SpBtn_Text, SpBtn_Grid})
        b->setEnabled(first);
}

bool TfrmLumacet_Main::event(QEvent* event)
{
    // Under a window manager the frame is often known only once the window is mapped
    // and active; the stored size is the outer one, so apply it again then.
    if (event->type() == QEvent::WindowActivate && !FPlacementFramed) {
        FPlacementFramed = true;
        const QSize frame = frameGeometry().size() - size();
        if (windowState() == Qt::WindowNoState && !frame.isNull() && frameGeometry().size() != FPlacement.size())
            resize(FPlacement.size() - frame);
    }
    return QMainWindow::event(event);
}

void TfrmLumacet_Main::splImageObjectsDblClick()
{
    QList<int> sizes = splImageObjects->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (sizes.value(1) > 0) {
        FPanelWidth = sizes.value(1);
        splImageObjects->setSizes({total, 0});
    } else {
        splImageObjects->setSizes({qMax(0, total - FPanelWidth), FPanelWidth});
    }
}

bool TfrmLumacet_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && watched == splImageObjects->handle(1)) {
        splImageObjectsDblClick();
        return true;
    }
    // Del deletes the selected object even while a text field has the focus: the
    // field must not claim the key before the shortcut sees it (with nothing selected
    // the field keeps it).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && FSelectedLayer && widget
            && widget->window() == this) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
