// The properties panel: one tab per kind of object. While an object of the tab's
// kind is selected its controls edit that object; at all times they hold the
// properties of the next new object of the kind.
#include "app/Lumacet_Main.h"

#include "app/Common.h"
#include "platform/ColorBox.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace {

template <class T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& items, int initial = 0)
{
    auto* c = named(new QComboBox(parent), name);
    c->addItems(items);
    c->setCurrentIndex(initial);
    return c;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

// Lays out (label, control) pairs side by side, each label above its control.
void addFields(QWidget* tab, const std::vector<std::pair<QString, QWidget*>>& fields)
{
    auto* grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(1);
    int column = 0;
    for (const auto& [caption, control] : fields) {
        auto* label = new QLabel(caption, tab);
        label->setBuddy(control);
        grid->addWidget(label, 0, column);
        grid->addWidget(control, 1, column);
        ++column;
    }
    grid->setColumnStretch(column, 1);
    grid->setRowStretch(2, 1);
}

constexpr int FileNameGap = 20;

// Sets a list to an item index; an index outside the items leaves no item chosen.
void setIndex(QComboBox* c, int index) { c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1); }

} // namespace

QWidget* TfrmLumacet_Main::BuildPropertiesPanel()
{
    PageControl1 = named(new QTabWidget, "PageControl1");
    auto tab = [this](QWidget*& field, const char* name, const QString& caption) {
        field = named(new QWidget, name);
        PageControl1->addTab(field, caption);
        return field;
    };

    QWidget* t = tab(TabSheet_Image, "TabSheet_Image", QStringLiteral("Image Properties"));
    Edit_FileName = named(new QLineEdit(t), "Edit_FileName");
    Edit_ImageWidth = named(new QLineEdit(t), "Edit_ImageWidth");
    Edit_ImageHeight = named(new QLineEdit(t), "Edit_ImageHeight");
    for (QLineEdit* e : {Edit_FileName, Edit_ImageWidth, Edit_ImageHeight}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    Edit_ImageWidth->setFixedWidth(80);
    Edit_ImageHeight->setFixedWidth(80);
    {
        // The file name ends 20 pixels before the width field, whatever the panel's width.
        auto* grid = new QGridLayout(t);
        grid->setContentsMargins(6, 2, 6, 2);
        grid->setHorizontalSpacing(0);
        grid->setVerticalSpacing(1);
        const std::pair<const char*, QWidget*> fields[] = {
            {"File Name:", Edit_FileName}, {"Width:", Edit_ImageWidth}, {"Height:", Edit_ImageHeight}};
        const int columns[] = {0, 2, 4};
        for (int i = 0; i < 3; ++i) {
            auto* label = new QLabel(QString::fromLatin1(fields[i].first), t);
            label->setBuddy(fields[i].second);
            grid->addWidget(label, 0, columns[i]);
            grid->addWidget(fields[i].second, 1, columns[i]);
        }
        grid->setColumnMinimumWidth(1, FileNameGap);
        grid->setColumnMinimumWidth(3, 6);
        grid->setColumnStretch(0, 1);
        grid->setRowStretch(2, 1);
    }

    t = tab(TabSheet_Arrow, "TabSheet_Arrow", QStringLiteral("Arrow Properties"));
    ColorBox_ArrowFill = named(new ColorBox(false, t), "ColorBox_ArrowFill");
    ColorBox_ArrowEdge = named(new ColorBox(false, t), "ColorBox_ArrowEdge");
    Combo_ArrowWidth = list(t, "Combo_ArrowWidth", numbers(1, 20));
    cmbArrowHeadSize = list(t, "cmbArrowHeadSize", {QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
    Combo_ArrowDirection = list(t, "Combo_ArrowDirection", {QStringLiteral("Up Right"), QStringLiteral("Up Left"),
                                                           QStringLiteral("Down Left"), QStringLiteral("Down Right")});
    addFields(t, {{QStringLiteral("Fill Color:"), ColorBox_ArrowFill}, {QStringLiteral("Edge Color:"), ColorBox_ArrowEdge},
                  {QStringLiteral("Width:"), Combo_ArrowWidth}, {QStringLiteral("Head Size:"), cmbArrowHeadSize},
                  {QStringLiteral("Direction:"), Combo_ArrowDirection}});

    t = tab(TabSheet_Text, "TabSheet_Text", QStringLiteral("Text Properties"));
    Edit_Text = named(new QLineEdit(t), "Edit_Text");
    Edit_Text->setMinimumWidth(160);
    JvFontCombo = named(new QFontComboBox(t), "JvFontCombo");
    JvFontCombo->setEditable(false); // a list of the installed fonts, not a text field
    Combo_FontSize = list(t, "Combo_FontSize", numbers(10, 50));
    Combo_FontSize->setEditable(true);
    Combo_FontSize->lineEdit()->setMaxLength(2);
    Combo_FontSize->setInsertPolicy(QComboBox::NoInsert);
    Combo_FontSize->setEditText(QStringLiteral("10"));
    CheckList_Style = named(new QListWidget(t), "CheckList_Style");
    for (const char* style : {"Bold", "Italics", "Underline", "StrikeThrough"}) {
        auto* item = new QListWidgetItem(QString::fromLatin1(style), CheckList_Style);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    // Two columns: items run down and wrap into the next column.
    CheckList_Style->setFlow(QListView::TopToBottom);
    CheckList_Style->setWrapping(true);
    CheckList_Style->setFixedSize(215, 46);
    clrTextColor = named(new ColorBox(false, t), "clrTextColor");
    clrTextBkColor = named(new ColorBox(true, t), "clrTextBkColor");
    clrTextOutlineColor = named(new ColorBox(true, t), "clrTextOutlineColor");
    addFields(t, {{QStringLiteral("Text:"), Edit_Text}, {QStringLiteral("Font:"), JvFontCombo},
                  {QStringLiteral("Font Size:"), Combo_FontSize}, {QStringLiteral("Style:"), CheckList_Style},
                  {QStringLiteral("Font Color:"), clrTextColor}, {QStringLiteral("Background Color:"), clrTextBkColor},
                  {QStringLiteral("Outline Color:"), clrTextOutlineColor}});
    auto* note = named(new QLabel(QStringLiteral("Cannot chose both a Background and an Outline color, one or the other or neither only"), t),
                       "lblTextColorNote");
    QFont italic = note->font();
    italic.setItalic(true);
    note->setFont(italic);
    static_cast<QGridLayout*>(t->layout())->addWidget(note, 2, 3, 1, 4);

    auto shapeTab = [&](QWidget*& field, const char* tabName, const QString& caption, ColorBox*& fill, const char* fillName,
                        ColorBox*& edge, const char* edgeName, QComboBox*& width, const char* widthName) {
        QWidget* s = tab(field, tabName, caption);
        fill = named(new ColorBox(false, s), fillName);
        edge = named(new ColorBox(false, s), edgeName);
        width = list(s, widthName, QStringList{QStringLiteral("0 (solid)")} + numbers(1, 20));
        addFields(s, {{QStringLiteral("Fill Color:"), fill}, {QStringLiteral("Edge Color:"), edge}, {QStringLiteral("Width:"), width}});
    };
    shapeTab(TabSheet_Box, "TabSheet_Box", QStringLiteral("Rectangle Properties"), ColorBox_BoxFill, "ColorBox_BoxFill",
             ColorBox_BoxEdge, "ColorBox_BoxEdge", Combo_BoxLineWidth, "Combo_BoxLineWidth");

    t = tab(TabSheet_Line, "TabSheet_Line", QStringLiteral("Line Properties"));
    ColorBox_LineFill = named(new ColorBox(false, t), "ColorBox_LineFill");
    ColorBox_LineEdge = named(new ColorBox(false, t), "ColorBox_LineEdge");
    Combo_LineWidth = list(t, "Combo_LineWidth", numbers(1, 20));
    Combo_LineDirection = list(t, "Combo_LineDirection", {QStringLiteral("Horizontal"), QStringLiteral("Vertical"),
                                                         QStringLiteral("Diagonal Up"), QStringLiteral("Diagonal Down")});
    addFields(t, {{QStringLiteral("Fill Color:"), ColorBox_LineFill}, {QStringLiteral("Edge Color:"), ColorBox_LineEdge},
                  {QStringLiteral("Width:"), Combo_LineWidth}, {QStringLiteral("Direction:"), Combo_LineDirection}});

    shapeTab(TabSheet_Circle, "TabSheet_Circle", QStringLiteral("Circle Properties"), ColorBox_CircleFill,
             "ColorBox_CircleFill", ColorBox_CircleEdge, "ColorBox_CircleEdge", Combo_CircleLineWidth,
             "Combo_CircleLineWidth");

    t = tab(TabSheet_Grid, "TabSheet_Grid", QStringLiteral("Grid Properties"));
    QStringList dims;
    for (int i = 2; i <= 9; ++i)
        dims << QStringLiteral("%1 x %1").arg(i);
    const QStringList headings{QStringLiteral("None"), QStringLiteral("Alpha"), QStringLiteral("Numeric")};
    cmbGridDimensions = list(t, "cmbGridDimensions", dims, 3);
    clrGridLineColor = named(new ColorBox(false, t), "clrGridLineColor");
    cmbGridLineWidth = list(t, "cmbGridLineWidth", numbers(1, 10));
    cmbRowHeadings = list(t, "cmbRowHeadings", headings, 1);
    cmbColumnHeadings = list(t, "cmbColumnHeadings", headings, 2);
    clrGridHeadingColor = named(new ColorBox(false, t), "clrGridHeadingColor");
    addFields(t, {{QStringLiteral("Rows x Columns:"), cmbGridDimensions}, {QStringLiteral("Line Color:"), clrGridLineColor},
                  {QStringLiteral("Line Width:"), cmbGridLineWidth}, {QStringLiteral("Row Headings:"), cmbRowHeadings},
                  {QStringLiteral("Column Headings:"), cmbColumnHeadings}, {QStringLiteral("Heading Color:"), clrGridHeadingColor}});

    t = tab(TabSheet_ImageObject, "TabSheet_ImageObject", QStringLiteral("Image Object Properties"));
    spinImageObjectWidth = named(new QSpinBox(t), "spinImageObjectWidth");
    spinImageObjectHeight = named(new QSpinBox(t), "spinImageObjectHeight");
    for (QSpinBox* s : {spinImageObjectWidth, spinImageObjectHeight}) {
        s->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        s->setValue(0);
    }
    addFields(t, {{QStringLiteral("Width:"), spinImageObjectWidth}, {QStringLiteral("Height:"), spinImageObjectHeight}});

    ConnectPropertyHandlers();
    return PageControl1;
}

QWidget* TfrmLumacet_Main::TabOfKind(TImageObjectKind kind) const
{
    switch (kind) {
    case okArrow: return TabSheet_Arrow;
    case okText: return TabSheet_Text;
    case okBox: return TabSheet_Box;
    case okCircle: return TabSheet_Circle;
    case okLine: return TabSheet_Line;
    case okGrid: return TabSheet_Grid;
    case okBitmap: return TabSheet_ImageObject;
    }
    return nullptr;
}

void TfrmLumacet_Main::ShowPropertiesTab(QWidget* tab)
{
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabVisible(i, false);
    PageControl1->setVisible(tab != nullptr);
    if (!tab)
        return;
    PageControl1->setTabVisible(PageControl1->indexOf(tab), true);
    PageControl1->setCurrentWidget(tab);
}

void TfrmLumacet_Main::Panel_PropertiesResize()
{
    // The layout keeps the rule on every resize; this applies it at once, before the
    // next layout pass.
    const int width = Edit_ImageWidth->x() - FileNameGap - Edit_FileName->x();
    if (width > 0)
        Edit_FileName->resize(width, Edit_FileName->height());
}

void TfrmLumacet_Main::LoadPanelFromObject(const TImageObject& object)
{
    // Loading shows the object; it must not write back into it.
    const QSignalBlocker blockers[] = {
        QSignalBlocker(Edit_Text), QSignalBlocker(JvFontCombo), QSignalBlocker(Combo_FontSize),
        QSignalBlocker(CheckList_Style)};
    switch (object.FKind) {
    case okArrow: {
        const auto& a = static_cast<const TImageArrow&>(object);
        ColorBox_ArrowFill->setSelected(a.FFillColor);
        ColorBox_ArrowEdge->setSelected(a.FEdgeColor);
        setIndex(Combo_ArrowWidth, a.FWidth - 1);
        setIndex(Combo_ArrowDirection, a.FDirection);
        setIndex(cmbArrowHeadSize, a.FHeadSize);
        break;
    }
    case okText: {
        const auto& t = static_cast<const TImageText&>(object);
        Edit_Text->setText(TrimBlanks(t.FText));
        JvFontCombo->setCurrentIndex(JvFontCombo->findText(t.FFontName, Qt::MatchFixedString));
        clrTextColor->setSelected(t.FColor);
        Combo_FontSize->setEditText(QString::number(t.FSize));
        for (int k = 0; k < 4; ++k)
            CheckList_Style->item(k)->setCheckState((t.FStyle >> k) & 1 ? Qt::Checked : Qt::Unchecked);
        break;
    }
    case okBox:
    case okCircle: {
        const auto& s = static_cast<const TImageShape&>(object);
        const bool box = object.FKind == okBox;
        (box ? ColorBox_BoxFill : ColorBox_CircleFill)->setSelected(s.FFillColor);
        (box ? ColorBox_BoxEdge : ColorBox_CircleEdge)->setSelected(s.FEdgeColor);
        setIndex(box ? Combo_BoxLineWidth : Combo_CircleLineWidth, s.FWidth);
        break;
    }
    case okLine: {
        const auto& l = static_cast<const TImageLine&>(object);
        ColorBox_LineFill->setSelected(l.FFillColor);
        ColorBox_LineEdge->setSelected(l.FEdgeColor);
        setIndex(Combo_LineWidth, l.FWidth - 1);
        setIndex(Combo_LineDirection, l.FDirection);
        break;
    }
    case okGrid: {
        const auto& g = static_cast<const TImageGrid&>(object);
        setIndex(cmbGridDimensions, g.FDimensions - 2);
        clrGridLineColor->setSelected(g.FLineColor);
        setIndex(cmbGridLineWidth, g.FLineWidth - 1);
        setIndex(cmbRowHeadings, g.FHeadingStyleRows);
        setIndex(cmbColumnHeadings, g.FHeadingStyleColumns);
        clrGridHeadingColor->setSelected(g.FHeadingColor);
        break;
    }
    case okBitmap:
        break;
    }
}

void TfrmLumacet_Main::SetControlsFromDefaults()
{
    // The defaults objects load the panel the way a selected object does; the two
    // text colour boxes and the open-shape widths are the defaults' own.
    for (const TImageObject* defaults : std::initializer_list<const TImageObject*>{
             FArrowDefaults.get(), FBoxDefaults.get(), FCircleDefaults.get(), FLineDefaults.get(),
             FTextDefaults.get(), FGridDefaults.get()})
        LoadPanelFromObject(*defaults);
    SpBtn_OpenBox->setProperty("Tag", FBoxDefaults->FWidth);
    SpBtn_OpenCircle->setProperty("Tag", FCircleDefaults->FWidth);
    clrTextBkColor->setSelected(FTextDefaults->FBkColor);
    clrTextOutlineColor->setSelected(FTextDefaults->FOutlineColor);
}
