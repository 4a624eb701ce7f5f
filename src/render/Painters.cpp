// The painters of the object layers: each finds its object through the layer's
// index, remembers the painted size for the next new object of its kind, and
// draws the shape through the shared drawing routines.
#include "app/Lumacet_Main.h"

#include "render/Rounding.h"
#include "render/ShapePainters.h"

#include <QPainter>

namespace {
constexpr unsigned HandlesHorizontalLine = 203;
constexpr unsigned HandlesVerticalLine = 59;
constexpr unsigned HandlesAll = 15;

template <class T>
T* ObjectAt(TImageObjectList& objects, const Layer& layer, TImageObjectKind kind)
{
    const int index = layer.index();
    if (index < 0 || index >= objects.Count())
        return nullptr;
    TImageObject* object = objects.Items(index);
    return object->FKind == kind ? static_cast<T*>(object) : nullptr;
}

bool IsPositioned(const Layer& layer) { return layer.type() != Layer::Type::RubberBand; }

// Shapes are rounded in picture coordinates and then moved by the whole pixels
// between the picture and the buffer, so the screen (which paints any visible part)
// and the merge put every shape on the same pixels.
QPoint BufferOffset(const Layer& layer, const QRectF& location)
{
    const QPointF d = location.topLeft() - layer.location().topLeft();
    return QPoint(qRound(d.x()), qRound(d.y()));
}
} // namespace

void TfrmLumacet_Main::PaintArrow(Layer& layer, QImage& buffer, const QRectF& location, int direction)
{
    if (!IsPositioned(layer))
        return;
    auto* arrow = ObjectAt<TImageArrow>(FImageObjects, layer, okArrow);
    if (!arrow)
        return;
    FArrowDefaults->FDimW = int(nearest(location.width()));
    FArrowDefaults->FDimH = int(nearest(location.height()));
    DrawArrow(buffer, layer.location(), direction, arrow->FWidth, arrow->FHeadSize, colorToARGB(arrow->FEdgeColor),
              colorToARGB(arrow->FFillColor), BufferOffset(layer, location));
}

void TfrmLumacet_Main::PaintArrowUpRight(Layer& l, QImage& b, const QRectF& r) { PaintArrow(l, b, r, 0); }
void TfrmLumacet_Main::PaintArrowUpLeft(Layer& l, QImage& b, const QRectF& r) { PaintArrow(l, b, r, 1); }
void TfrmLumacet_Main::PaintArrowDownLeft(Layer& l, QImage& b, const QRectF& r) { PaintArrow(l, b, r, 2); }
void TfrmLumacet_Main::PaintArrowDownRight(Layer& l, QImage& b, const QRectF& r) { PaintArrow(l, b, r, 3); }

void TfrmLumacet_Main::PaintLine(Layer& layer, QImage& buffer, const QRectF& location, int direction)
{
    if (!IsPositioned(layer))
        return;
    auto* line = ObjectAt<TImageLine>(FImageObjects, layer, okLine);
    if (!line)
        return;
    if (direction != 1)
        FLineDefaults->FDimW = int(nearest(location.width()));
    if (direction != 0)
        FLineDefaults->FDimH = int(nearest(location.height()));
    DrawLine(buffer, layer.location(), direction, line->FWidth, colorToARGB(line->FEdgeColor),
             colorToARGB(line->FFillColor), BufferOffset(layer, location));

    // The selected line's frame fits the band (2w pixels plus the outline) and offers
    // only the handles that make sense for its direction.
    if (&layer != FSelectedLayer || !FRubberBand)
        return;
    const double band = 2.0 * line->FWidth + 1;
    const QRectF own = layer.location();
    const QRectF frame = FRubberBand->location();
    if (direction == 0) {
        if (own.height() != band)
            FRubberBand->setLocation(QRectF(QPointF(frame.left(), frame.top()), QPointF(frame.right(), frame.top() + band)));
        FRubberBand->setHandles(HandlesHorizontalLine);
    } else if (direction == 1) {
        if (own.width() != band)
            FRubberBand->setLocation(QRectF(QPointF(frame.left(), frame.top()), QPointF(frame.left() + band, frame.bottom())));
        FRubberBand->setHandles(HandlesVerticalLine);
    } else {
        FRubberBand->setHandles(HandlesAll);
    }
}

void TfrmLumacet_Main::PaintLineHorizontal(Layer& l, QImage& b, const QRectF& r) { PaintLine(l, b, r, 0); }
void TfrmLumacet_Main::PaintLineVertical(Layer& l, QImage& b, const QRectF& r) { PaintLine(l, b, r, 1); }
void TfrmLumacet_Main::PaintLineDiagonalUp(Layer& l, QImage& b, const QRectF& r) { PaintLine(l, b, r, 2); }
void TfrmLumacet_Main::PaintLineDiagonalDown(Layer& l, QImage& b, const QRectF& r) { PaintLine(l, b, r, 3); }

void TfrmLumacet_Main::PaintShape(Layer& layer, QImage& buffer, const QRectF& location, TImageObjectKind kind,
                                  TImageShape& defaults)
{
    if (!IsPositioned(layer))
        return;
    auto* shape = ObjectAt<TImageShape>(FImageObjects, layer, kind);
    if (!shape)
        return;
    defaults.FDimW = int(nearest(location.width()));
    defaults.FDimH = int(nearest(location.height()));
    const QRgb edge = colorToARGB(shape->FEdgeColor), fill = colorToARGB(shape->FFillColor);
    if (kind == okBox)
        DrawBox(buffer, layer.location(), shape->FWidth, edge, fill, BufferOffset(layer, location));
    else
        DrawCircle(buffer, layer.location(), shape->FWidth, edge, fill, BufferOffset(layer, location));
}

void TfrmLumacet_Main::PaintBox(Layer& l, QImage& b, const QRectF& r) { PaintShape(l, b, r, okBox, *FBoxDefaults); }
void TfrmLumacet_Main::PaintCircle(Layer& l, QImage& b, const QRectF& r) { PaintShape(l, b, r, okCircle, *FCircleDefaults); }

void TfrmLumacet_Main::PaintText(Layer& layer, QImage& buffer, const QRectF& location)
{
    // Plain text until the full text painter arrives: font, size, style and colour.
    auto* text = ObjectAt<TImageText>(FImageObjects, layer, okText);
    if (!text)
        return;
    QPainter p(&buffer);
    QFont font(text->FFontName);
    font.setPointSize(qMax(1, text->FSize));
    font.setBold(text->FStyle & 1);
    font.setItalic(text->FStyle & 2);
    font.setUnderline(text->FStyle & 4);
    font.setStrikeOut(text->FStyle & 8);
    p.setFont(font);
    p.setPen(QColor::fromRgb(colorToARGB(text->FColor)));
    p.drawText(location, Qt::AlignLeft | Qt::AlignTop, text->FText);
}

void TfrmLumacet_Main::PaintGrid(Layer& layer, QImage& buffer, const QRectF& location)
{
    // Plain grid lines until the full grid painter arrives.
    auto* grid = ObjectAt<TImageGrid>(FImageObjects, layer, okGrid);
    if (!grid || grid->FDimensions <= 0)
        return;
    QPainter p(&buffer);
    p.setPen(QPen(QColor::fromRgb(colorToARGB(grid->FLineColor)), grid->FLineWidth));
    const int n = grid->FDimensions;
    for (int i = 0; i <= n; ++i) {
        const double x = location.left() + location.width() * i / n;
        const double y = location.top() + location.height() * i / n;
        p.drawLine(QPointF(x, location.top()), QPointF(x, location.bottom()));
        p.drawLine(QPointF(location.left(), y), QPointF(location.right(), y));
    }
}

void TfrmLumacet_Main::PaintPictureLayer(Layer&, QImage&, const QRectF&)
{
    // Picture objects draw their own bitmap; nothing to add yet.
}
