// Builds the main window's controls, each named as the rest of the program and
// the tests know it, and connects them to their handlers.
#include "app/Lumacet_Main.h"

#include <QAction>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

namespace {

template <class T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& hint)
{
    auto* b = named(new QToolButton(parent), name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFixedSize(46, 30);
    return b;
}

} // namespace

void TfrmLumacet_Main::BuildLayout()
{
    setObjectName(QStringLiteral("frmLumacet_Main"));
    setWindowTitle(QStringLiteral("Image Editor"));
    QFont f = font();
    f.setPointSize(9);
    setFont(f);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Panel_Properties = named(new QWidget(central), "Panel_Properties");
    Panel_Properties->setFixedHeight(105);
    // The tabs may be wider than a small window: they are cut, not the window widened.
    Panel_Properties->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* propLayout = new QVBoxLayout(Panel_Properties);
    propLayout->setContentsMargins(2, 2, 2, 2);
    propLayout->addWidget(BuildPropertiesPanel());
    outer->addWidget(Panel_Properties);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(BuildControlsPanel());

    Panel_Image = named(new QWidget, "Panel_Image");
    auto* imageLayout = new QVBoxLayout(Panel_Image);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = named(new QScrollArea(Panel_Image), "ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image321 = named(new LayeredView, "Image321");
    ScrollBox1->setWidget(Image321);
    imageLayout->addWidget(ScrollBox1);

    splImageObjects = named(new QSplitter(Qt::Horizontal), "splImageObjects");
    splImageObjects->setHandleWidth(10);
    splImageObjects->setChildrenCollapsible(false);
    splImageObjects->addWidget(Panel_Image);
    splImageObjects->addWidget(BuildGalleryPanel());
    splImageObjects->setStretchFactor(0, 1);
    splImageObjects->setStretchFactor(1, 0);
    splImageObjects->setCollapsible(1, true);
    splImageObjects->handle(1)->installEventFilter(this); // a double click opens or closes the gallery
    middle->addWidget(splImageObjects, 1);
    outer->addLayout(middle, 1);

    outer->addWidget(BuildBottomPanel());
    BuildMenus();

    Image321->setOnMouseDown([this](Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p, Layer* l) {
        Image321MouseDown(b, s, p, l);
    });
    Image321->setOnMouseUp([this](Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p, Layer* l) {
        Image321MouseUp(b, s, p, l);
    });
}

QWidget* TfrmLumacet_Main::BuildControlsPanel()
{
    Panel_Controls = named(new QWidget, "Panel_Controls");
    Panel_Controls->setFixedWidth(211);
    auto* v = new QVBoxLayout(Panel_Controls);
    v->setContentsMargins(4, 4, 4, 4);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    struct ButtonInfo {
        QToolButton** field;
        const char* name;
        const char* text;
        const char* hint;
        int tag;
    };
    const ButtonInfo buttons[] = {
        {&SpBtn_ArrowUR, "SpBtn_ArrowUR", "\u2197", "Arrow Up Right", 0},
        {&SpBtn_ArrowUL, "SpBtn_ArrowUL", "\u2196", "Arrow Up Left", 1},
        {&SpBtn_ArrowDL, "SpBtn_ArrowDL", "\u2199", "Arrow Down Left", 2},
        {&SpBtn_ArrowDR, "SpBtn_ArrowDR", "\u2198", "Arrow Down Right", 3},
        {&SpBtn_LineHorz, "SpBtn_LineHorz", "\u2500", "Horizontal Line", 0},
        {&SpBtn_LineVert, "SpBtn_LineVert", "\u2502", "Vertical Line", 1},
        {&SpBtn_LineUp, "SpBtn_LineUp", "\u2571", "Line Up", 2},
        {&SpBtn_LineDown, "SpBtn_LineDown", "\u2572", "Line Down", 3},
        {&SpBtn_OpenBox, "SpBtn_OpenBox", "\u25a1", "Open Rectangle", 5},
        {&SpBtn_ClosedBox, "SpBtn_ClosedBox", "\u25a0", "Closed Rectangle", 0},
        {&SpBtn_OpenCircle, "SpBtn_OpenCircle", "\u25cb", "Open Circle", 5},
        {&SpBtn_ClosedCircle, "SpBtn_ClosedCircle", "\u25cf", "Closed Circle", 0},
        {&SpBtn_Text, "SpBtn_Text", "T", "Text", 0},
        {&SpBtn_Grid, "SpBtn_Grid", "#", "Grid", 0},
    };
    int i = 0;
    for (const ButtonInfo& s : buttons) {
        QToolButton* b = toolButton(Panel_Controls, s.name, QString::fromUtf8(s.text), QString::fromLatin1(s.hint));
        b->setProperty("Tag", s.tag);
        b->setEnabled(false);
        *s.field = b;
        grid->addWidget(b, i / 4, i % 4);
        ++i;
    }
    for (QToolButton* b : {SpBtn_ArrowUR, SpBtn_ArrowUL, SpBtn_ArrowDL, SpBtn_ArrowDR})
        connect(b, &QToolButton::clicked, this, [this, b] { guarded([&] { Btn_NewArrowClick(b); }); });
    for (QToolButton* b : {SpBtn_LineHorz, SpBtn_LineVert, SpBtn_LineUp, SpBtn_LineDown})
        connect(b, &QToolButton::clicked, this, [this, b] { guarded([&] { Btn_NewLineClick(b); }); });
    for (QToolButton* b : {SpBtn_OpenBox, SpBtn_ClosedBox})
        connect(b, &QToolButton::clicked, this, [this, b] { guarded([&] { Btn_NewBoxClick(b); }); });
    for (QToolButton* b : {SpBtn_OpenCircle, SpBtn_ClosedCircle})
        connect(b, &QToolButton::clicked, this, [this, b] { guarded([&] { Btn_NewCircleClick(b); }); });
    connect(SpBtn_Text, &QToolButton::clicked, this, [this] { guarded([&] { Btn_NewTextClick(); }); });
    connect(SpBtn_Grid, &QToolButton::clicked, this, [this] { guarded([&] { SpBtn_GridClick(); }); });

    Btn_MoveToFront = toolButton(Panel_Controls, "Btn_MoveToFront", QStringLiteral("Front"),
                                 QStringLiteral("Move the selected object on top of all other objects"));
    Btn_MoveToBack = toolButton(Panel_Controls, "Btn_MoveToBack", QStringLiteral("Back"),
                                QStringLiteral("Move the selected object behind all other objects"));
    Btn_MoveToFront->setEnabled(false);
    Btn_MoveToBack->setEnabled(false);
    grid->addWidget(Btn_MoveToFront, 4, 0);
    grid->addWidget(Btn_MoveToBack, 4, 1);
    connect(Btn_MoveToFront, &QToolButton::clicked, this, [this] { guarded([&] { Btn_MoveToFrontClick(); }); });
    connect(Btn_MoveToBack, &QToolButton::clicked, this, [this] { guarded([&] { Btn_MoveToBackClick(); }); });

    btnRotateLeft = toolButton(Panel_Controls, "btnRotateLeft", QStringLiteral("\u21b6"), QStringLiteral("Rotate Image Left"));
    btnRotateRight = toolButton(Panel_Controls, "btnRotateRight", QStringLiteral("\u21b7"), QStringLiteral("Rotate Image Right"));
    grid->addWidget(btnRotateLeft, 5, 0);
    grid->addWidget(btnRotateRight, 5, 1);
    connect(btnRotateLeft, &QToolButton::clicked, this, [this] { guarded([&] { btnRotateLeftClick(); }); });
    connect(btnRotateRight, &QToolButton::clicked, this, [this] { guarded([&] { btnRotateRightClick(); }); });
    btnCrop = named(new QPushButton(QStringLiteral("Crop"), Panel_Controls), "btnCrop");
    btnCrop->setVisible(false); // kept out of the user's reach
    connect(btnCrop, &QPushButton::clicked, this, [this] { guarded([&] { btnCropClick(); }); });
    v->addLayout(grid);

    struct SliderInfo {
        QSlider** slider;
        QLabel** label;
        QToolButton** down;
        QToolButton** up;
        const char* sliderName;
        const char* labelName;
        const char* downName;
        const char* upName;
        const char* caption;
    };
    const SliderInfo sliders[] = {
        {&tbBrightness, &lblBrightness, &btnBrightnessDown, &btnBrightnessUp, "tbBrightness", "lblBrightness",
         "btnBrightnessDown", "btnBrightnessUp", "Brightness: 0"},
        {&tbContrast, &lblContrast, &btnContrastDown, &btnContrastUp, "tbContrast", "lblContrast",
         "btnContrastDown", "btnContrastUp", "Contrast: 0"},
        {&tbSaturation, &lblSaturation, &btnSaturationDown, &btnSaturationUp, "tbSaturation", "lblSaturation",
         "btnSaturationDown", "btnSaturationUp", "Saturation: 0"},
    };
    for (const SliderInfo& s : sliders) {
        *s.label = named(new QLabel(QString::fromLatin1(s.caption), Panel_Controls), s.labelName);
        v->addWidget(*s.label);
        auto* row = new QHBoxLayout;
        *s.down = named(new QToolButton(Panel_Controls), s.downName);
        (*s.down)->setText(QStringLiteral("-"));
        (*s.down)->setAutoRaise(true);
        *s.slider = named(new QSlider(Qt::Horizontal, Panel_Controls), s.sliderName);
        (*s.slider)->setRange(-100, 100);
        (*s.slider)->setValue(0);
        (*s.slider)->setSingleStep(1);
        (*s.slider)->setPageStep(1);
        (*s.slider)->setTickInterval(20);
        (*s.slider)->setTickPosition(QSlider::TicksBelow);
        *s.up = named(new QToolButton(Panel_Controls), s.upName);
        (*s.up)->setText(QStringLiteral("+"));
        (*s.up)->setAutoRaise(true);
        row->addWidget(*s.down);
        row->addWidget(*s.slider, 1);
        row->addWidget(*s.up);
        v->addLayout(row);
    }
    connect(tbBrightness, &QSlider::valueChanged, this, [this] { guarded([&] { tbBrightnessChange(); }); });
    connect(tbContrast, &QSlider::valueChanged, this, [this] { guarded([&] { tbContrastChange(); }); });
    connect(tbSaturation, &QSlider::valueChanged, this, [this] { guarded([&] { tbSaturationChange(); }); });
    connect(btnBrightnessDown, &QToolButton::clicked, this, [this] { btnBrightnessDownClick(); });
    connect(btnBrightnessUp, &QToolButton::clicked, this, [this] { btnBrightnessUpClick(); });
    connect(btnContrastDown, &QToolButton::clicked, this, [this] { btnContrastDownClick(); });
    connect(btnContrastUp, &QToolButton::clicked, this, [this] { btnContrastUpClick(); });
    connect(btnSaturationDown, &QToolButton::clicked, this, [this] { btnSaturationDownClick(); });
    connect(btnSaturationUp, &QToolButton::clicked, this, [this] { btnSaturationUpClick(); });

    aDeleteObject = named(new QAction(QStringLiteral("Delete Object..."), this), "aDeleteObject");
    Btn_DeleteObject = named(new QPushButton(QStringLiteral("Delete Object..."), Panel_Controls), "Btn_DeleteObject");
    connect(Btn_DeleteObject, &QPushButton::clicked, aDeleteObject, &QAction::trigger);
    connect(aDeleteObject, &QAction::triggered, this, [this] { guarded([&] { Btn_DeleteObjectClick(); }); });
    v->addWidget(Btn_DeleteObject);
    v->addStretch(1);
    return Panel_Controls;
}

QWidget* TfrmLumacet_Main::BuildGalleryPanel()
{
    pnlObjects = named(new QWidget, "pnlObjects");
    pnlObjects->setMinimumWidth(2);
    auto* v = new QVBoxLayout(pnlObjects);
    v->setContentsMargins(2, 2, 2, 2);
    auto* label = named(new QLabel(QStringLiteral("Image Objects"), pnlObjects), "lblImageObjects");
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
    v->addWidget(label);
    ImageEnMView1 = named(new QListWidget(pnlObjects), "ImageEnMView1");
    ImageEnMView1->setViewMode(QListView::IconMode);
    ImageEnMView1->setIconSize(QSize(100, 100));
    ImageEnMView1->setSpacing(4);
    ImageEnMView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ImageEnMView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ImageEnMView1->setMinimumWidth(0);
    v->addWidget(ImageEnMView1, 1);
    return pnlObjects;
}

QWidget* TfrmLumacet_Main::BuildBottomPanel()
{
    sPanel1 = named(new QWidget, "sPanel1");
    sPanel1->setFixedHeight(48);
    auto* h = new QHBoxLayout(sPanel1);
    h->addStretch(1);
    btnApply = named(new QPushButton(QStringLiteral("Apply"), sPanel1), "btnApply");
    btnOK = named(new QPushButton(QStringLiteral("OK"), sPanel1), "btnOK");
    btnCancel = named(new QPushButton(QStringLiteral("Cancel"), sPanel1), "btnCancel");
    btnApply->setEnabled(false);
    btnApply->setProperty("Tag", 0);
    for (QPushButton* b : {btnApply, btnOK, btnCancel}) {
        b->setAutoDefault(false);
        h->addWidget(b);
    }
    connect(btnApply, &QPushButton::clicked, this, [this] { guarded([&] { btnApplyClick(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { guarded([&] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { guarded([&] { btnCancelClick(); }); });
    // Esc presses Cancel, wherever the focus is.
    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, btnCancel, &QPushButton::click);
    addAction(escape);
    return sPanel1;
}

void TfrmLumacet_Main::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto action = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = named(menu->addAction(caption), name);
        a->setParent(this);
        return a;
    };
    QMenu* file = named(bar->addMenu(QStringLiteral("File")), "mnuFile");
    mnuOpen = action(file, "mnuOpen", QStringLiteral("Open..."));
    file->addSeparator();
    mnuSave = action(file, "mnuSave", QStringLiteral("Save..."));
    mnuSaveAs = action(file, "mnuSaveAs", QStringLiteral("Save As..."));
    file->addSeparator();
    mnuExit = action(file, "mnuExit", QStringLiteral("Exit"));

    QMenu* edit = named(bar->addMenu(QStringLiteral("Edit")), "mnuEdit");
    mnuDeleteObject = action(edit, "mnuDeleteObject", QStringLiteral("Delete Object..."));
    mnuDeleteObject->setShortcut(Qt::Key_Delete);
    mnuDeleteObject->setShortcutContext(Qt::WindowShortcut);

    QMenu* help = named(bar->addMenu(QStringLiteral("Help")), "mnuHelp");
    mnuTamselsHomePage = action(help, "mnuTamselsHomePage", QStringLiteral("Tamsel's Home Page"));
    mnuEmailTamselSupport = action(help, "mnuEmailTamselSupport", QStringLiteral("Email Tamsel Support..."));
    mnuCheckforUpdates = action(help, "mnuCheckforUpdates", QStringLiteral("Check for Updates"));
    help->addSeparator();
    mnuAbout = action(help, "mnuAbout", QStringLiteral("About"));

    connect(mnuOpen, &QAction::triggered, this, [this] { guarded([&] { mnuOpenClick(); }); });
    connect(mnuSave, &QAction::triggered, this, [this] { guarded([&] { mnuSaveClick(); }); });
    connect(mnuSaveAs, &QAction::triggered, this, [this] { guarded([&] { mnuSaveAsClick(); }); });
    connect(mnuExit, &QAction::triggered, this, [this] { guarded([&] { mnuExitClick(); }); });
    // The Del shortcut and the button run the same action.
    connect(mnuDeleteObject, &QAction::triggered, aDeleteObject, &QAction::trigger);
}
