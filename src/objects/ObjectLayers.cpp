// Object layers and the selection: new objects on new layers, the selection
// frame, mouse presses, stacking and deletion. Object i of FImageObjects always
// belongs to layer i; the frame, when it exists, stays above all object layers.
#include "app/Lumacet_Main.h"

#include "app/Common.h"
#include "objects/LayerGeometry.h"
#include "platform/ColorBox.h"
#include "platform/MessageBox.h"
#include "text/NewTextObject.h"

#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr unsigned HandlesAll = 15;       // move, sides, corners, frame
constexpr unsigned HandlesMoveOnly = 9;   // move, frame
constexpr unsigned HandlesHorizontal = 203; // move, sides, frame; no top or bottom handle
constexpr unsigned HandlesVertical = 59;  // move, sides, frame; no left or right handle

unsigned HandleSet(const TImageObject& object)
{
    switch (object.FKind) {
    case okText: return HandlesMoveOnly;
    case okLine: {
        // As the painters see it: an unknown direction is painted as a horizontal line.
        const int direction = static_cast<const TImageLine&>(object).FDirection;
        return direction == 1 ? HandlesVertical : direction == 2 || direction == 3 ? HandlesAll : HandlesHorizontal;
    }
    default: return HandlesAll;
    }
}

int Tag(const QObject* o) { return o->property("Tag").toInt(); }

} // namespace

TImageObject* TfrmLumacet_Main::ObjectOfLayer(const Layer* layer) const
{
    if (!layer)
        return nullptr;
    const int index = layer->index();
    return index >= 0 && index < FImageObjects.Count() ? FImageObjects.Items(index) : nullptr;
}

TImageObject* TfrmLumacet_Main::SelectedObject() const { return ObjectOfLayer(FSelectedLayer); }

PositionedLayer* TfrmLumacet_Main::NewObjectLayer(int w, int h)
{
    const QRect client = Image321->clientRect();
    auto* layer = Image321->layers().add<PositionedLayer>();
    layer->setLocation(NewObjectLayerRect(w, h, client.width(), client.height(), Image321->controlToBitmap(QPointF(0, 0))));
    layer->setScaled(true);
    layer->setMouseEvents(true);
    layer->setOnMouseDown([this](Layer& l, Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p) { LayerMouseDown(l, b, s, p); });
    return layer;
}

BitmapLayer* TfrmLumacet_Main::NewPictureLayer(int w, int h)
{
    const QRect client = Image321->clientRect();
    const QPointF centre = Image321->controlToBitmap(QPointF(client.width() / 2, client.height() / 2));
    auto* layer = Image321->layers().add<BitmapLayer>();
    layer->setLocation(NewPictureLayerRect(w, h, client.width(), client.height(), centre));
    layer->setScaled(true);
    layer->setMouseEvents(true);
    layer->setOnMouseDown([this](Layer& l, Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p) { LayerMouseDown(l, b, s, p); });
    return layer;
}

void TfrmLumacet_Main::BindPainter(Layer* layer, const TImageObject& object)
{
    using Painter = void (TfrmLumacet_Main::*)(Layer&, QImage&, const QRectF&);
    Painter painter = nullptr;
    switch (object.FKind) {
    case okArrow: {
        static constexpr Painter arrows[] = {&TfrmLumacet_Main::PaintArrowUpRight, &TfrmLumacet_Main::PaintArrowUpLeft,
                                             &TfrmLumacet_Main::PaintArrowDownLeft, &TfrmLumacet_Main::PaintArrowDownRight};
        const int d = static_cast<const TImageArrow&>(object).FDirection;
        painter = arrows[d >= 0 && d < 4 ? d : 0];
        break;
    }
    case okLine: {
        static constexpr Painter lines[] = {&TfrmLumacet_Main::PaintLineHorizontal, &TfrmLumacet_Main::PaintLineVertical,
                                            &TfrmLumacet_Main::PaintLineDiagonalUp, &TfrmLumacet_Main::PaintLineDiagonalDown};
        const int d = static_cast<const TImageLine&>(object).FDirection;
        painter = lines[d >= 0 && d < 4 ? d : 0];
        break;
    }
    case okBox: painter = &TfrmLumacet_Main::PaintBox; break;
    case okCircle: painter = &TfrmLumacet_Main::PaintCircle; break;
    case okText: painter = &TfrmLumacet_Main::PaintText; break;
    case okGrid: painter = &TfrmLumacet_Main::PaintGrid; break;
    case okBitmap: painter = &TfrmLumacet_Main::PaintPictureLayer; break;
    }
    layer->setOnPaint([this, painter](Layer& l, QImage& buffer, const QRectF& location) { (this->*painter)(l, buffer, location); });
}

void TfrmLumacet_Main::AddNewObject(std::unique_ptr<TImageObject> object, Layer* layer)
{
    const TImageObject& ref = *object;
    FImageObjects.Add(std::move(object));
    BindPainter(layer, ref);
    SelectObjectLayer(layer);
    if (ref.FKind == okText)
        Edit_Text->setText(static_cast<const TImageText&>(ref).FText);
    btnApply->setEnabled(true);
    setChangeCounter(changeCounter() + 1);
}

void TfrmLumacet_Main::Btn_NewArrowClick(QToolButton* sender)
{
    auto arrow = std::make_unique<TImageArrow>(Tag(sender), ColorBox_ArrowFill->selected(), ColorBox_ArrowEdge->selected(),
                                               Combo_ArrowWidth->currentIndex() + 1, cmbArrowHeadSize->currentIndex(),
                                               FArrowDefaults->FDimW, FArrowDefaults->FDimH);
    Layer* layer = NewObjectLayer(arrow->FDimW, arrow->FDimH);
    AddNewObject(std::move(arrow), layer);
}

void TfrmLumacet_Main::Btn_NewLineClick(QToolButton* sender)
{
    auto line = std::make_unique<TImageLine>(Tag(sender), ColorBox_LineFill->selected(), ColorBox_LineEdge->selected(),
                                             Combo_LineWidth->currentIndex() + 1, FLineDefaults->FDimW, FLineDefaults->FDimH);
    Layer* layer = NewObjectLayer(line->FDimW, line->FDimH);
    AddNewObject(std::move(line), layer);
}

void TfrmLumacet_Main::NewShape(QToolButton* sender, QComboBox* widths, ColorBox* fill, ColorBox* edge,
                                QToolButton* openButton, const TImageShape& defaults)
{
    widths->setCurrentIndex(Tag(sender));
    const int width = widths->currentIndex();
    std::unique_ptr<TImageObject> shape;
    if (defaults.FKind == okBox)
        shape = std::make_unique<TImageBox>(fill->selected(), edge->selected(), width, defaults.FDimW, defaults.FDimH);
    else
        shape = std::make_unique<TImageCircle>(fill->selected(), edge->selected(), width, defaults.FDimW, defaults.FDimH);
    if (width > 0)
        openButton->setProperty("Tag", width); // the open button repeats the last open width
    Layer* layer = NewObjectLayer(defaults.FDimW, defaults.FDimH);
    AddNewObject(std::move(shape), layer);
}

void TfrmLumacet_Main::Btn_NewBoxClick(QToolButton* sender)
{
    NewShape(sender, Combo_BoxLineWidth, ColorBox_BoxFill, ColorBox_BoxEdge, SpBtn_OpenBox, *FBoxDefaults);
}

void TfrmLumacet_Main::Btn_NewCircleClick(QToolButton* sender)
{
    NewShape(sender, Combo_CircleLineWidth, ColorBox_CircleFill, ColorBox_CircleEdge, SpBtn_OpenCircle, *FCircleDefaults);
}

void TfrmLumacet_Main::Btn_NewTextClick()
{
    QString text;
    bool saveText = FSaveText;
    if (ShowNewTextDialog(this, text, saveText) != QDialog::Accepted)
        return;
    FSaveText = saveText;
    if (text.isEmpty())
        return;
    bool ok = false;
    int size = Combo_FontSize->currentText().toInt(&ok);
    if (!ok)
        size = 10;
    auto object = std::make_unique<TImageText>(TrimBlanks(text), JvFontCombo->currentIndex() >= 0 ? JvFontCombo->currentText() : QString(),
                                               size, clrTextColor->selected(), clrTextBkColor->selected(),
                                               clrTextOutlineColor->selected(), FTextDefaults->FStyle, 0, 0);
    Layer* layer = NewObjectLayer(0, 0);
    AddNewObject(std::move(object), layer);
}

void TfrmLumacet_Main::SpBtn_GridClick()
{
    const TImageGrid& d = *FGridDefaults;
    auto grid = std::make_unique<TImageGrid>(d.FDimensions, d.FLineColor, d.FLineWidth, std::uint8_t(d.FHeadingStyleRows),
                                             std::uint8_t(d.FHeadingStyleColumns), d.FHeadingColor);
    const QImage& picture = Image321->bitmap();
    Layer* layer = NewObjectLayer(picture.width(), picture.height());
    AddNewObject(std::move(grid), layer);
}

void TfrmLumacet_Main::SelectObjectLayer(Layer* layer)
{
    if (layer == FSelectedLayer)
        return;
    if (FRubberBand) {
        FRubberBand->setChildLayer(nullptr);
        FRubberBand->setVisible(false);
        FRubberBand->setMouseEvents(false);
        Image321->invalidate();
    }
    FSelectedLayer = layer;
    if (!layer)
        return;
    AttachRubberBand(layer);
    if (TImageObject* object = ObjectOfLayer(layer)) {
        ShowPropertiesTab(TabOfKind(object->FKind));
        Btn_DeleteObject->setEnabled(true);
        Btn_DeleteObject->setText(QStringLiteral("Delete %1...").arg(object->FKindName));
        LoadPanelFromObject(*object);
        FRubberBand->setHandles(HandleSet(*object));
        if (object->FKind == okText) {
            const auto& text = static_cast<const TImageText&>(*object);
            if (text.FTextWidth > 0 && text.FTextHeight > 0) {
                const QRectF r = FRubberBand->location();
                FRubberBand->setLocation(QRectF(r.left(), r.top(), text.FTextWidth, text.FTextHeight));
            }
        }
    }
    Btn_MoveToFront->setEnabled(Btn_DeleteObject->isEnabled());
    Btn_MoveToBack->setEnabled(Btn_DeleteObject->isEnabled());
}

void TfrmLumacet_Main::AttachRubberBand(Layer* layer)
{
    if (FRubberBand) {
        Image321->layers().bringToFront(FRubberBand);
    } else {
        FRubberBand = Image321->layers().add<RubberBandLayer>();
        FRubberBand->setMinWidth(2);
        FRubberBand->setMinHeight(2);
    }
    FRubberBand->setChildLayer(layer);
    FRubberBand->setVisible(true);
    FRubberBand->setMouseEvents(true);
    FRubberBand->setOnResizing([this](const QRectF& s, QRectF& n, RubberBandLayer::DragState d, Qt::KeyboardModifiers k) {
        RubberBandResizing(s, n, d, k);
    });
    FRubberBand->setOnHitTest([this] { RubberBandHitTest(); });
}

void TfrmLumacet_Main::RubberBandResizing(const QRectF& start, QRectF& proposed, RubberBandLayer::DragState state,
                                          Qt::KeyboardModifiers shift)
{
    if (state == RubberBandLayer::DragState::Move || !(shift & Qt::ControlModifier))
        return;
    proposed = ResizeAboutCentre(start, proposed, state);
}

void TfrmLumacet_Main::RubberBandHitTest()
{
    // Show the drag cursor while the frame is moved by its inside.
    if (!QApplication::overrideCursor() && Image321->cursor().shape() == Qt::ArrowCursor)
        Image321->setCursor(Qt::SizeAllCursor);
}

void TfrmLumacet_Main::LayerMouseDown(Layer& layer, Qt::MouseButton, Qt::KeyboardModifiers, QPointF)
{
    SelectObjectLayer(&layer);
}

void TfrmLumacet_Main::ClearSelectionCommands()
{
    Btn_DeleteObject->setEnabled(false);
    Btn_DeleteObject->setText(QStringLiteral("Delete Object..."));
    Btn_MoveToFront->setEnabled(false);
    Btn_MoveToBack->setEnabled(false);
}

void TfrmLumacet_Main::ShowNothingSelected()
{
    ClearSelectionCommands();
    ShowPropertiesTab(SpBtn_ArrowUR->isEnabled() ? TabSheet_Image : nullptr);
}

void TfrmLumacet_Main::Image321MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF, Layer* layer)
{
    if (!layer) {
        SelectObjectLayer(nullptr);
        ShowNothingSelected();
    } else if (FSelectedLayer && FRubberBand) {
        // The frame stays hidden while the button is held; a drag still moves the object.
        FRubberBand->setVisible(false);
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Image321MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPointF, Layer* layer)
{
    if (layer && FSelectedLayer && FRubberBand) {
        FRubberBand->setVisible(true);
        Image321->invalidate();
    }
}

void TfrmLumacet_Main::Btn_DeleteObjectClick()
{
    TImageObject* object = SelectedObject();
    if (!object)
        return;
    if (msg::show(msg::Type::Confirmation,
                  QStringLiteral("Are you sure you want to delete the selected %1?").arg(object->FKindName),
                  msg::Yes | msg::No) != msg::Yes)
        return;
    const int i = FSelectedLayer->index();
    FImageObjects.Delete(i);
    Image321->layers().deleteAt(i); // the frame forgets its child
    SelectObjectLayer(nullptr);      // compares the old pointer only; the layer is gone
    ShowPropertiesTab(TabSheet_Image);
    ClearSelectionCommands();
    if (changeCounter() > 0)
        setChangeCounter(changeCounter() - 1);
    // An unsaved adjustment keeps Apply enabled even when no object is left to save.
    btnApply->setEnabled(changeCounter() > 0 || FAdjustmentUnsaved);
}

void TfrmLumacet_Main::Btn_MoveToFrontClick()
{
    if (!FSelectedLayer)
        return;
    const int i = FSelectedLayer->index();
    Image321->layers().bringToFront(FSelectedLayer);
    Image321->layers().bringToFront(FRubberBand);
    FImageObjects.Move(i, FSelectedLayer->index());
}

void TfrmLumacet_Main::Btn_MoveToBackClick()
{
    if (!FSelectedLayer)
        return;
    const int i = FSelectedLayer->index();
    Image321->layers().sendToBack(FSelectedLayer);
    FImageObjects.Move(i, 0);
}
