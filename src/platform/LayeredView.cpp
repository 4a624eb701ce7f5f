// The picture view: paints the visible part of the picture and its layers, and
// hands the mouse to the layer under it.
#include "platform/LayeredView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <stdexcept>

LayeredView::LayeredView(QWidget* parent) : QWidget(parent), m_layers(this)
{
    // Hover shows the frame's cursors and lets the frame's hit-test handler run.
    setMouseTracking(true);
    // Every repaint covers its whole area with the picture; nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(0, 0);
}

LayeredView::~LayeredView() = default;

void LayeredView::setBitmap(QImage bitmap)
{
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    m_bitmap = std::move(bitmap);
    setFixedSize(m_bitmap.size());
    update();
}

// ---------------------------------------------------------------- painting

void LayeredView::paintInto(QImage& buffer, const QRect& area)
{
    if (buffer.isNull() || area.isEmpty())
        return;
    const QImage::Format f = buffer.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        throw std::invalid_argument("LayeredView::paintInto: the buffer must hold 32-bit pixels");

    const QRect target(area.topLeft(), area.size().boundedTo(buffer.size()));
    const QRect picturePart = target & m_bitmap.rect();
    // Beyond the picture's edge the view shows its background.
    const QRgb background = palette().color(QPalette::Window).rgb() | 0xFF000000u;
    const int gapLeft = picturePart.isEmpty() ? target.width() : picturePart.left() - target.left();
    const int gapRight = picturePart.isEmpty() ? 0 : target.right() - picturePart.right();
    for (int y = 0; y < target.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(buffer.scanLine(y));
        const int pictureY = area.top() + y;
        if (picturePart.isEmpty() || pictureY < picturePart.top() || pictureY > picturePart.bottom()) {
            std::fill_n(row, target.width(), background);
            continue;
        }
        std::fill_n(row, gapLeft, background);
        std::memcpy(row + gapLeft, reinterpret_cast<const QRgb*>(m_bitmap.constScanLine(pictureY)) + picturePart.left(),
                    size_t(picturePart.width()) * sizeof(QRgb));
        std::fill_n(row + gapLeft + picturePart.width(), gapRight, background);
    }

    paintLayers(buffer, area.topLeft());
}

void LayeredView::paintLayers(QImage& buffer, QPoint offset)
{
    // Every visible layer is painted, also one that lies outside the buffer: painters
    // may draw beyond their location, and they note the size of what they painted.
    for (int i = 0; i < m_layers.count(); ++i) {
        Layer* layer = m_layers.at(i);
        if (!layer->visible())
            continue;
        layer->paint(buffer, offset);
        if (layer->m_onPaint)
            layer->m_onPaint(*layer, buffer, layer->location().translated(-QPointF(offset)));
    }
}

QImage& LayeredView::screenBuffer(QSize size)
{
    // Scrolling exposes strips of every size; one store that only grows serves them
    // all without an allocation per repaint.
    if (m_screenStore.width() < size.width() || m_screenStore.height() < size.height())
        m_screenStore = QImage(size.expandedTo(m_screenStore.size()), QImage::Format_RGB32);
    if (m_screenBuffer.size() != size || m_screenBuffer.constBits() != m_screenStore.constBits())
        m_screenBuffer = QImage(m_screenStore.bits(), size.width(), size.height(), m_screenStore.bytesPerLine(),
                                QImage::Format_RGB32);
    return m_screenBuffer;
}

void LayeredView::paintEvent(QPaintEvent* event)
{
    // Inside the scroll area Qt asks only for the exposed part, so the cost follows
    // the screen and not the picture.
    const QRect exposed = event->rect() & rect();
    if (exposed.isEmpty())
        return;
    QImage& buffer = screenBuffer(exposed.size());
    paintInto(buffer, exposed);
    QPainter painter(this);
    painter.drawImage(exposed.topLeft(), buffer);
}

// ---------------------------------------------------------------- hit testing and mouse

Layer* LayeredView::layerAt(QPointF picturePoint) const
{
    // A frame's hit-test handler is caller code; recheck the count in case it changed the stack.
    for (int i = m_layers.count() - 1; i >= 0; --i) {
        if (i >= m_layers.count())
            continue;
        Layer* layer = m_layers.at(i);
        if (layer->visible() && layer->mouseEvents() && layer->hitTest(picturePoint))
            return layer;
    }
    return nullptr;
}

RubberBandLayer* LayeredView::frameOf(const Layer* layer) const
{
    for (int i = 0; i < m_layers.count(); ++i) {
        Layer* candidate = m_layers.at(i);
        if (candidate->type() == Layer::Type::RubberBand
            && static_cast<RubberBandLayer*>(candidate)->childLayer() == layer)
            return static_cast<RubberBandLayer*>(candidate);
    }
    return nullptr;
}

void LayeredView::layerDestroying(Layer* layer)
{
    if (m_mouseLayer == layer)
        m_mouseLayer = nullptr;
}

void LayeredView::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = controlToBitmap(event->position());
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers shift = event->modifiers();

    // A further button during a gesture belongs to the layer that holds the mouse.
    const bool held = m_pressed;
    Layer* const hit = held ? m_mouseLayer : layerAt(p);
    if (!held)
        m_pressButton = button;
    m_pressed = true;
    m_mouseLayer = hit;

    if (hit) {
        hit->mouseDown(button, shift, p);
        // Handlers run on copies: a handler may replace itself or delete its layer.
        if (m_mouseLayer == hit && hit->m_onMouseDown) {
            const Layer::MouseDownHandler handler = hit->m_onMouseDown;
            handler(*hit, button, shift, p);
        }
    }
    if (m_onMouseDown) {
        const MouseHandler handler = m_onMouseDown;
        handler(button, shift, p, m_mouseLayer);
    }

    // The press may have just selected the object under it: its frame takes the
    // gesture over, so the object can be pressed and dragged in one go.
    if (!held && button == Qt::LeftButton && m_mouseLayer && m_mouseLayer->type() != Layer::Type::RubberBand) {
        if (RubberBandLayer* frame = frameOf(m_mouseLayer)) {
            frame->beginMove(p);
            if (frame->dragState() != RubberBandLayer::DragState::None)
                m_mouseLayer = frame;
        }
    }
}

void LayeredView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = controlToBitmap(event->position());
    if (m_pressed && event->buttons() == Qt::NoButton) {
        // The release went elsewhere (a dialog opened by a press handler took it):
        // end the gesture here, so the frame neither stays hidden nor drags on.
        finishPress(m_pressButton, event->modifiers(), p);
    }
    if (m_pressed) {
        if (m_mouseLayer)
            m_mouseLayer->mouseMove(event->modifiers(), p);
        return;
    }
    hover(p);
}

void LayeredView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = controlToBitmap(event->position());
    if (!m_pressed) {
        // The press went elsewhere; nobody holds the mouse.
        if (m_onMouseUp) {
            const MouseHandler handler = m_onMouseUp;
            handler(event->button(), event->modifiers(), p, nullptr);
        }
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        finishPress(event->button(), event->modifiers(), p);
        hover(p);
        return;
    }
    // Another button is still held: the gesture goes on with the same layer.
    if (m_mouseLayer)
        m_mouseLayer->mouseUp(event->button(), event->modifiers(), p);
    if (m_onMouseUp) {
        const MouseHandler handler = m_onMouseUp;
        handler(event->button(), event->modifiers(), p, m_mouseLayer);
    }
}

void LayeredView::finishPress(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF p)
{
    if (m_mouseLayer)
        m_mouseLayer->mouseUp(button, shift, p);
    Layer* const layer = m_mouseLayer; // none if mouseUp somehow deleted it
    m_pressed = false;
    m_mouseLayer = nullptr;
    m_pressButton = Qt::NoButton;
    if (m_onMouseUp) {
        const MouseHandler handler = m_onMouseUp;
        handler(button, shift, p, layer);
    }
}

void LayeredView::hover(QPointF p)
{
    // Set after the hit test on purpose: a hit-test handler may have put up its own
    // cursor, and a move that drags nothing shows what lies under the mouse again.
    const Layer* layer = layerAt(p);
    const Qt::CursorShape shape = layer ? layer->cursorAt(p) : Qt::ArrowCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
}
