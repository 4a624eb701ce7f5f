// The selection frame: it carries the selected object's layer along when the user
// drags its inside or one of its handles.
#include "platform/LayeredView.h"

#include <algorithm>
#include <cmath>

namespace {

// Handles are squares of this many pixels centred on the frame's corners and the
// middles of its sides; they stick out of the frame by half of it.
constexpr int HandleSize = 7;
constexpr int HandleReach = HandleSize / 2;

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

// The frame's edges as pixel columns and rows: the first and the last pixel inside
// the location, so the frame line lies on the object's outermost pixels.
struct Edges {
    int left, top, right, bottom;
    int midX() const { return int(std::floor((left + right) / 2.0)); }
    int midY() const { return int(std::floor((top + bottom) / 2.0)); }
};

void fillClipped(QImage& buffer, QRect r, QRgb colour)
{
    r &= buffer.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(buffer.scanLine(y)) + r.left(), r.width(), colour);
}

// Black and white dashes that show on any picture; the phase follows x + y so the
// dashes run on around the corners.
QRgb dash(int x, int y)
{
    return ((x + y) >> 2) & 1 ? Black : White;
}

void dashedRow(QImage& buffer, int y, int x0, int x1)
{
    if (y < 0 || y >= buffer.height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, buffer.width() - 1);
    auto* row = reinterpret_cast<QRgb*>(buffer.scanLine(y));
    for (int x = x0; x <= x1; ++x)
        row[x] = dash(x, y);
}

void dashedColumn(QImage& buffer, int x, int y0, int y1)
{
    if (x < 0 || x >= buffer.width())
        return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, buffer.height() - 1);
    for (int y = y0; y <= y1; ++y)
        reinterpret_cast<QRgb*>(buffer.scanLine(y))[x] = dash(x, y);
}

void drawHandle(QImage& buffer, int cx, int cy)
{
    const QRect outer(cx - HandleReach, cy - HandleReach, HandleSize, HandleSize);
    fillClipped(buffer, outer, Black);
    fillClipped(buffer, outer.adjusted(1, 1, -1, -1), White);
}

} // namespace

RubberBandLayer::RubberBandLayer(LayerCollection* owner) : Layer(owner, Type::RubberBand) {}

RubberBandLayer::~RubberBandLayer() = default;

void RubberBandLayer::setChildLayer(Layer* child)
{
    if (child == this)
        return;
    m_child = child;
    if (child)
        Layer::setLocation(child->location());
    changed();
}

void RubberBandLayer::setLocation(const QRectF& location)
{
    Layer::setLocation(location);
    if (m_child)
        m_child->setLocation(location);
}

void RubberBandLayer::setHandles(unsigned handles)
{
    // Line painters set the handles on every repaint; only a real change may repaint again.
    if (handles == m_handles)
        return;
    m_handles = handles;
    changed();
}

void RubberBandLayer::forgetChild(Layer* layer)
{
    if (m_child == layer)
        m_child = nullptr;
}

RubberBandLayer::DragState RubberBandLayer::partAt(QPointF p) const
{
    const QRectF loc = location().normalized();
    const Edges e{nearestPixel(loc.left()), nearestPixel(loc.top()), nearestPixel(loc.right()) - 1,
                  nearestPixel(loc.bottom()) - 1};
    const int px = nearestPixel(std::floor(p.x())), py = nearestPixel(std::floor(p.y()));
    const auto on = [&](int cx, int cy) { return std::abs(px - cx) <= HandleReach && std::abs(py - cy) <= HandleReach; };

    if (m_handles & HandleCorners) {
        if (on(e.left, e.top))
            return DragState::TopLeft;
        if (on(e.right, e.top))
            return DragState::TopRight;
        if (on(e.left, e.bottom))
            return DragState::BottomLeft;
        if (on(e.right, e.bottom))
            return DragState::BottomRight;
    }
    if (m_handles & HandleSides) {
        if (!(m_handles & NoLeftHandle) && on(e.left, e.midY()))
            return DragState::Left;
        if (!(m_handles & NoRightHandle) && on(e.right, e.midY()))
            return DragState::Right;
        if (!(m_handles & NoTopHandle) && on(e.midX(), e.top))
            return DragState::Top;
        if (!(m_handles & NoBottomHandle) && on(e.midX(), e.bottom))
            return DragState::Bottom;
    }
    // The inside, whether or not the handle set lets it be dragged.
    const bool inside = p.x() >= loc.left() && p.x() < loc.right() && p.y() >= loc.top() && p.y() < loc.bottom();
    return inside ? DragState::Move : DragState::None;
}

bool RubberBandLayer::hitTest(QPointF picturePoint) const
{
    if (m_onHitTest) {
        const HitTestHandler handler = m_onHitTest;
        handler();
    }
    return partAt(picturePoint) != DragState::None;
}

Qt::CursorShape RubberBandLayer::cursorAt(QPointF picturePoint) const
{
    switch (partAt(picturePoint)) {
    case DragState::Move:
        return (m_handles & HandleMove) ? Qt::SizeAllCursor : Qt::ArrowCursor;
    case DragState::Left:
    case DragState::Right:
        return Qt::SizeHorCursor;
    case DragState::Top:
    case DragState::Bottom:
        return Qt::SizeVerCursor;
    case DragState::TopLeft:
    case DragState::BottomRight:
        return Qt::SizeFDiagCursor;
    case DragState::TopRight:
    case DragState::BottomLeft:
        return Qt::SizeBDiagCursor;
    case DragState::None:
        break;
    }
    return Qt::ArrowCursor;
}

void RubberBandLayer::beginMove(QPointF picturePoint)
{
    m_dragState = (m_handles & HandleMove) ? DragState::Move : DragState::None;
    m_dragStartLocation = location();
    m_dragStartPoint = picturePoint;
}

void RubberBandLayer::mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF p)
{
    // Only the left button drags; other buttons just select what lies below.
    if (button != Qt::LeftButton)
        return;
    DragState part = partAt(p);
    if (part == DragState::Move && !(m_handles & HandleMove))
        part = DragState::None;
    m_dragState = part;
    m_dragStartLocation = location();
    m_dragStartPoint = p;
}

void RubberBandLayer::mouseMove(Qt::KeyboardModifiers shift, QPointF p)
{
    if (m_dragState == DragState::None)
        return;
    // Always from the start of the drag, so that the minimum size or the resizing
    // handler cannot make the frame drift away from the mouse.
    const double dx = p.x() - m_dragStartPoint.x(), dy = p.y() - m_dragStartPoint.y();
    double l = m_dragStartLocation.left(), t = m_dragStartLocation.top();
    double r = m_dragStartLocation.right(), b = m_dragStartLocation.bottom();

    const DragState s = m_dragState;
    if (s == DragState::Move) {
        l += dx;
        r += dx;
        t += dy;
        b += dy;
    } else {
        const bool left = s == DragState::Left || s == DragState::TopLeft || s == DragState::BottomLeft;
        const bool right = s == DragState::Right || s == DragState::TopRight || s == DragState::BottomRight;
        const bool top = s == DragState::Top || s == DragState::TopLeft || s == DragState::TopRight;
        const bool bottom = s == DragState::Bottom || s == DragState::BottomLeft || s == DragState::BottomRight;
        // The side opposite the dragged one stays where it was.
        if (left)
            l = std::min(l + dx, r - m_minWidth);
        if (right)
            r = std::max(r + dx, l + m_minWidth);
        if (top)
            t = std::min(t + dy, b - m_minHeight);
        if (bottom)
            b = std::max(b + dy, t + m_minHeight);
    }

    QRectF proposed(QPointF(l, t), QPointF(r, b));
    if (m_onResizing) {
        const ResizingHandler handler = m_onResizing;
        handler(m_dragStartLocation, proposed, s, shift);
    }
    setLocation(proposed);
}

void RubberBandLayer::mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF)
{
    if (button == Qt::LeftButton)
        m_dragState = DragState::None;
}

void RubberBandLayer::paint(QImage& buffer, QPointF offset)
{
    const QRectF loc = location().normalized().translated(-offset);
    const Edges e{nearestPixel(loc.left()), nearestPixel(loc.top()), nearestPixel(loc.right()) - 1,
                  nearestPixel(loc.bottom()) - 1};
    if (m_handles & HandleFrame) {
        dashedRow(buffer, e.top, e.left, e.right);
        dashedRow(buffer, e.bottom, e.left, e.right);
        dashedColumn(buffer, e.left, e.top, e.bottom);
        dashedColumn(buffer, e.right, e.top, e.bottom);
    }
    if (m_handles & HandleSides) {
        if (!(m_handles & NoLeftHandle))
            drawHandle(buffer, e.left, e.midY());
        if (!(m_handles & NoRightHandle))
            drawHandle(buffer, e.right, e.midY());
        if (!(m_handles & NoTopHandle))
            drawHandle(buffer, e.midX(), e.top);
        if (!(m_handles & NoBottomHandle))
            drawHandle(buffer, e.midX(), e.bottom);
    }
    if (m_handles & HandleCorners) {
        drawHandle(buffer, e.left, e.top);
        drawHandle(buffer, e.right, e.top);
        drawHandle(buffer, e.left, e.bottom);
        drawHandle(buffer, e.right, e.bottom);
    }
}
