// Change handlers of the properties panel: each writes one field of the selected
// object, when it is of the tab's kind, and repaints the view.
#include "app/Lumacet_Main.h"

#include "app/Common.h"
#include "platform/ColorBox.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

template <class T>
T* TfrmLumacet_Main::SelectedOfKind(TImageObjectKind kind) const
{
    TImageObject* object = SelectedObject();
    return object && object->FKind == kind ? static_cast<T*>(object) : nullptr;
}

void TfrmLumacet_Main::ConnectPropertyHandlers()
{
    auto onColor = [this](ColorBox* box, void (TfrmLumacet_Main::*handler)()) {
        connect(box, &ColorBox::colorSelected, this, [this, handler] { (this->*handler)(); });
    };
    auto onPick = [this](QComboBox* box, void (TfrmLumacet_Main::*handler)()) {
        connect(box, &QComboBox::activated, this, [this, handler] { (this->*handler)(); });
    };
    onColor(ColorBox_ArrowFill, &TfrmLumacet_Main::ColorBox_ArrowFillSelect);
    onColor(ColorBox_ArrowEdge, &TfrmLumacet_Main::ColorBox_ArrowEdgeSelect);
    onPick(Combo_ArrowWidth, &TfrmLumacet_Main::Combo_ArrowWidthSelect);
    onPick(cmbArrowHeadSize, &TfrmLumacet_Main::cmbArrowHeadSizeSelect);
    onPick(Combo_ArrowDirection, &TfrmLumacet_Main::Combo_ArrowDirectionSelect);
    connect(Edit_Text, &QLineEdit::textChanged, this, [this] { Edit_TextChange(); });
    connect(JvFontCombo, &QComboBox::currentIndexChanged, this, [this] { JvFontComboChange(); });
    connect(Combo_FontSize, &QComboBox::currentTextChanged, this, [this] { Combo_FontSizeChange(); });
    onColor(clrTextColor, &TfrmLumacet_Main::clrTextColorSelect);
    onColor(clrTextBkColor, &TfrmLumacet_Main::clrTextBkColorSelect);
    onColor(clrTextOutlineColor, &TfrmLumacet_Main::clrTextOutlineColorSelect);
    connect(CheckList_Style, &QListWidget::itemChanged, this, [this] { CheckList_StyleClickCheck(); });
    onColor(ColorBox_BoxFill, &TfrmLumacet_Main::ColorBox_BoxFillSelect);
    onColor(ColorBox_BoxEdge, &TfrmLumacet_Main::ColorBox_BoxEdgeSelect);
    onPick(Combo_BoxLineWidth, &TfrmLumacet_Main::Combo_BoxLineWidthSelect);
    onColor(ColorBox_CircleFill, &TfrmLumacet_Main::ColorBox_CircleFillSelect);
    onColor(ColorBox_CircleEdge, &TfrmLumacet_Main::ColorBox_CircleEdgeSelect);
    onPick(Combo_CircleLineWidth, &TfrmLumacet_Main::Combo_CircleLineWidthSelect);
    onColor(ColorBox_LineFill, &TfrmLumacet_Main::ColorBox_LineFillSelect);
    onColor(ColorBox_LineEdge, &TfrmLumacet_Main::ColorBox_LineEdgeSelect);
    onPick(Combo_LineWidth, &TfrmLumacet_Main::Combo_LineWidthSelect);
    onPick(Combo_LineDirection, &TfrmLumacet_Main::Combo_LineDirectionSelect);
    onPick(cmbGridDimensions, &TfrmLumacet_Main::cmbGridDimensionsSelect);
    onColor(clrGridLineColor, &TfrmLumacet_Main::clrGridLineColorSelect);
    onPick(cmbGridLineWidth, &TfrmLumacet_Main::cmbGridLineWidthSelect);
    onPick(cmbRowHeadings, &TfrmLumacet_Main::cmbRowHeadingsSelect);
    onPick(cmbColumnHeadings, &TfrmLumacet_Main::cmbColumnHeadingsSelect);
    onColor(clrGridHeadingColor, &TfrmLumacet_Main::clrGridHeadingColorSelect);
}

void TfrmLumacet_Main::ColorBox_ArrowFillSelect()
{
    if (auto* a = SelectedOfKind<TImageArrow>(okArrow)) {
        a->FFillColor = ColorBox_ArrowFill->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::ColorBox_ArrowEdgeSelect()
{
    if (auto* a = SelectedOfKind<TImageArrow>(okArrow)) {
        a->FEdgeColor = ColorBox_ArrowEdge->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Combo_ArrowWidthSelect()
{
    if (auto* a = SelectedOfKind<TImageArrow>(okArrow)) {
        a->FWidth = Combo_ArrowWidth->currentIndex() + 1;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::cmbArrowHeadSizeSelect()
{
    if (auto* a = SelectedOfKind<TImageArrow>(okArrow)) {
        a->FHeadSize = cmbArrowHeadSize->currentIndex();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Combo_ArrowDirectionSelect()
{
    if (auto* a = SelectedOfKind<TImageArrow>(okArrow)) {
        a->FDirection = Combo_ArrowDirection->currentIndex();
        BindPainter(FSelectedLayer, *a);
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Edit_TextChange()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        t->FText = TrimBlanks(Edit_Text->text());
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::JvFontComboChange()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        if (JvFontCombo->currentIndex() >= 0)
            t->FFontName = JvFontCombo->currentText();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Combo_FontSizeChange()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        bool ok = false;
        const int size = Combo_FontSize->currentText().toInt(&ok);
        t->FSize = ok ? size : 10;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::clrTextColorSelect()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        t->FColor = clrTextColor->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::clrTextBkColorSelect()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        // A background and an outline exclude each other.
        t->FBkColor = clrTextBkColor->selected();
        clrTextOutlineColor->setSelected(clNone);
        t->FOutlineColor = clrTextOutlineColor->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::clrTextOutlineColorSelect()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        t->FOutlineColor = clrTextOutlineColor->selected();
        clrTextBkColor->setSelected(clNone);
        t->FBkColor = clrTextBkColor->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::CheckList_StyleClickCheck()
{
    if (auto* t = SelectedOfKind<TImageText>(okText)) {
        // The style of new text objects follows the boxes only while a text object is edited.
        std::uint8_t style = FTextDefaults->FStyle;
        for (int k = 0; k < 4; ++k) {
            if (CheckList_Style->item(k)->checkState() == Qt::Checked)
                style |= std::uint8_t(1u << k);
            else
                style &= std::uint8_t(~(1u << k));
        }
        FTextDefaults->FStyle = style;
        t->FStyle = style;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::ShapeColorSelect(TImageObjectKind kind, ColorBox* box, bool fill)
{
    if (auto* s = SelectedOfKind<TImageShape>(kind)) {
        (fill ? s->FFillColor : s->FEdgeColor) = box->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::ShapeWidthSelect(TImageObjectKind kind, QComboBox* widths, QToolButton* openButton)
{
    if (auto* s = SelectedOfKind<TImageShape>(kind)) {
        s->FWidth = widths->currentIndex();
        if (widths->currentIndex() > 0)
            openButton->setProperty("Tag", widths->currentIndex());
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::ColorBox_BoxFillSelect() { ShapeColorSelect(okBox, ColorBox_BoxFill, true); }
void TfrmLumacet_Main::ColorBox_BoxEdgeSelect() { ShapeColorSelect(okBox, ColorBox_BoxEdge, false); }
void TfrmLumacet_Main::Combo_BoxLineWidthSelect() { ShapeWidthSelect(okBox, Combo_BoxLineWidth, SpBtn_OpenBox); }
void TfrmLumacet_Main::ColorBox_CircleFillSelect() { ShapeColorSelect(okCircle, ColorBox_CircleFill, true); }
void TfrmLumacet_Main::ColorBox_CircleEdgeSelect() { ShapeColorSelect(okCircle, ColorBox_CircleEdge, false); }
void TfrmLumacet_Main::Combo_CircleLineWidthSelect() { ShapeWidthSelect(okCircle, Combo_CircleLineWidth, SpBtn_OpenCircle); }

void TfrmLumacet_Main::ColorBox_LineFillSelect()
{
    if (auto* l = SelectedOfKind<TImageLine>(okLine)) {
        l->FFillColor = ColorBox_LineFill->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::ColorBox_LineEdgeSelect()
{
    if (auto* l = SelectedOfKind<TImageLine>(okLine)) {
        l->FEdgeColor = ColorBox_LineEdge->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Combo_LineWidthSelect()
{
    if (auto* l = SelectedOfKind<TImageLine>(okLine)) {
        l->FWidth = Combo_LineWidth->currentIndex() + 1;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Combo_LineDirectionSelect()
{
    if (auto* l = SelectedOfKind<TImageLine>(okLine)) {
        l->FDirection = Combo_LineDirection->currentIndex();
        BindPainter(FSelectedLayer, *l); // the painter also sets the frame's handles for the direction
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::cmbGridDimensionsSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FDimensions = cmbGridDimensions->currentIndex() + 2;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::clrGridLineColorSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FLineColor = clrGridLineColor->selected();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::cmbGridLineWidthSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FLineWidth = cmbGridLineWidth->currentIndex() + 1;
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::cmbRowHeadingsSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FHeadingStyleRows = cmbRowHeadings->currentIndex();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::cmbColumnHeadingsSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FHeadingStyleColumns = cmbColumnHeadings->currentIndex();
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::clrGridHeadingColorSelect()
{
    if (auto* g = SelectedOfKind<TImageGrid>(okGrid)) {
        g->FHeadingColor = clrGridHeadingColor->selected();
        Image321->invalidate();
    }
}
