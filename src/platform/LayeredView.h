#pragma once
// The layered picture view: a 32-bit picture shown at scale 1, top-left aligned,
// with a collection of layers above it (annotation objects and the selection
// frame). It paints only what is visible, and can paint the picture and every
// visible layer into any 32-bit image (the merge uses that path).
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class LayeredView;
class LayerCollection;

class Layer {
public:
    using MouseDownHandler =
        std::function<void(Layer& layer, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position)>;
    // buffer: the 32-bit image being painted; location: the layer's location in
    // that image's coordinates (for the screen, shifted by the scroll position).
    using PaintHandler = std::function<void(Layer& layer, QImage& buffer, const QRectF& location)>;

    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    enum class Type { Positioned, Bitmap, RubberBand };
    Type type() const { return m_type; }

    int index() const; // position in the collection, 0 = bottom
    LayerCollection* collection() const { return m_collection; }

    // Location in picture pixels (floats: left, top, right, bottom).
    QRectF location() const { return m_location; }
    virtual void setLocation(const QRectF& location);
    bool scaled() const { return m_scaled; }
    void setScaled(bool scaled) { m_scaled = scaled; }
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool mouseEvents() const { return m_mouseEvents; }
    void setMouseEvents(bool on) { m_mouseEvents = on; }

    void setOnMouseDown(MouseDownHandler handler) { m_onMouseDown = std::move(handler); }
    void setOnPaint(PaintHandler handler) { m_onPaint = std::move(handler); }
    const PaintHandler& onPaint() const { return m_onPaint; }

protected:
    Layer(LayerCollection* owner, Type type);
    void changed(); // asks the view to repaint
    static int nearestPixel(double v); // picture coordinate to whole pixel, halves to even

private:
    friend class LayerCollection;
    friend class LayeredView;
    virtual bool hitTest(QPointF picturePoint) const;
    // Draws the layer into buffer; offset is the picture point at the buffer's (0, 0).
    virtual void paint(QImage& buffer, QPointF offset);
    virtual void mouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {}
    virtual void mouseMove(Qt::KeyboardModifiers, QPointF) {}
    virtual void mouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {}
    virtual Qt::CursorShape cursorAt(QPointF) const { return Qt::ArrowCursor; }

    LayerCollection* m_collection;
    Type m_type;
    QRectF m_location;
    bool m_scaled = true;
    bool m_visible = true;
    bool m_mouseEvents = true;
    MouseDownHandler m_onMouseDown;
    PaintHandler m_onPaint;
};

class PositionedLayer : public Layer {
public:
    explicit PositionedLayer(LayerCollection* owner) : Layer(owner, Type::Positioned) {}

protected:
    PositionedLayer(LayerCollection* owner, Type type) : Layer(owner, type) {}
};

// A positioned layer that shows its own 32-bit bitmap stretched (nearest neighbour)
// to its location; fully transparent pixels are skipped. The paint handler runs
// after the bitmap has been drawn.
class BitmapLayer : public PositionedLayer {
public:
    explicit BitmapLayer(LayerCollection* owner) : PositionedLayer(owner, Type::Bitmap) {}
    QImage& bitmap() { return m_bitmap; }
    void setBitmap(const QImage& bitmap);

private:
    void paint(QImage& buffer, QPointF offset) override;
    QImage m_bitmap;
};

// The selection frame: it frames a child layer and moves or resizes it with the mouse.
class RubberBandLayer : public Layer {
public:
    enum class DragState { None, Move, Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
    // Handle-set bits.
    enum : unsigned {
        HandleMove = 1, HandleSides = 2, HandleCorners = 4, HandleFrame = 8,
        NoLeftHandle = 16, NoRightHandle = 32, NoTopHandle = 64, NoBottomHandle = 128
    };
    // start: the location when the drag began; proposed: the new location, which
    // the handler may change.
    using ResizingHandler = std::function<void(const QRectF& start, QRectF& proposed, DragState state,
                                               Qt::KeyboardModifiers shift)>;
    using HitTestHandler = std::function<void()>;

    explicit RubberBandLayer(LayerCollection* owner);
    ~RubberBandLayer() override;

    Layer* childLayer() const { return m_child; }
    void setChildLayer(Layer* child); // takes the child's location
    void setLocation(const QRectF& location) override; // moves the child too
    unsigned handles() const { return m_handles; }
    void setHandles(unsigned handles);
    double minWidth() const { return m_minWidth; }
    double minHeight() const { return m_minHeight; }
    void setMinWidth(double w) { m_minWidth = w; }
    void setMinHeight(double h) { m_minHeight = h; }
    void setOnResizing(ResizingHandler handler) { m_onResizing = std::move(handler); }
    void setOnHitTest(HitTestHandler handler) { m_onHitTest = std::move(handler); }
    DragState dragState() const { return m_dragState; }

    // Which part of the frame lies under a picture point (None: outside).
    DragState partAt(QPointF picturePoint) const;
    // Starts a drag as if the inside had been pressed at picturePoint; the view uses
    // it so that a press on an object can move it in the same gesture.
    void beginMove(QPointF picturePoint);

private:
    friend class LayerCollection;
    bool hitTest(QPointF picturePoint) const override;
    void paint(QImage& buffer, QPointF offset) override;
    void mouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) override;
    void mouseMove(Qt::KeyboardModifiers, QPointF) override;
    void mouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) override;
    Qt::CursorShape cursorAt(QPointF) const override;
    void forgetChild(Layer* layer);

    Layer* m_child = nullptr;
    unsigned m_handles = HandleMove | HandleSides | HandleCorners | HandleFrame;
    double m_minWidth = 10, m_minHeight = 10;
    ResizingHandler m_onResizing;
    HitTestHandler m_onHitTest;
    DragState m_dragState = DragState::None;
    QRectF m_dragStartLocation;
    QPointF m_dragStartPoint;
};

class LayerCollection {
public:
    explicit LayerCollection(LayeredView* view) : m_view(view) {}
    ~LayerCollection();
    LayerCollection(const LayerCollection&) = delete;
    LayerCollection& operator=(const LayerCollection&) = delete;

    // Appends a new layer at the top and returns it; the collection owns it.
    template <class T>
    T* add()
    {
        auto layer = std::make_unique<T>(this);
        T* raw = layer.get();
        m_layers.push_back(std::move(layer));
        changed();
        return raw;
    }
    int count() const { return int(m_layers.size()); }
    Layer* at(int index) const;
    int indexOf(const Layer* layer) const;
    void bringToFront(Layer* layer); // to the top index
    void sendToBack(Layer* layer);   // to index 0
    void deleteAt(int index);        // destroys the layer
    void clear();                    // destroys every layer
    LayeredView* view() const { return m_view; }

private:
    friend class Layer;
    void changed();
    void destroying(Layer* layer);
    LayeredView* m_view;
    std::vector<std::unique_ptr<Layer>> m_layers;
};

class LayeredView : public QWidget {
    Q_OBJECT
public:
    using MouseHandler =
        std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position, Layer* layer)>;

    explicit LayeredView(QWidget* parent = nullptr);
    ~LayeredView() override;

    // The displayed picture; the view takes its size (auto size, scale 1).
    const QImage& bitmap() const { return m_bitmap; }
    void setBitmap(QImage bitmap);
    // Hands the picture's buffer to the caller, who gives it back with setBitmap; lets
    // a derive reuse the buffer instead of allocating a new one.
    QImage takeBitmap() { return std::exchange(m_bitmap, QImage()); }

    LayerCollection& layers() { return m_layers; }
    QRect clientRect() const { return QRect(0, 0, m_bitmap.width(), m_bitmap.height()); }
    QPointF controlToBitmap(QPointF viewPoint) const { return viewPoint; }
    void invalidate() { update(); }

    // Paints the picture, then every visible layer in stacking order through its
    // paint handler, into buffer; buffer's (0, 0) shows the picture point area.topLeft().
    void paintInto(QImage& buffer, const QRect& area);

    // Hit test from the top: the topmost visible layer that receives mouse events
    // and contains the point, or none.
    Layer* layerAt(QPointF picturePoint) const;

    void setOnMouseDown(MouseHandler handler) { m_onMouseDown = std::move(handler); }
    void setOnMouseUp(MouseHandler handler) { m_onMouseUp = std::move(handler); }

    QSize sizeHint() const override { return m_bitmap.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class LayerCollection;
    void layerDestroying(Layer* layer);
    void paintLayers(QImage& buffer, QPoint offset);
    RubberBandLayer* frameOf(const Layer* layer) const;
    void finishPress(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF picturePoint);
    void hover(QPointF picturePoint);
    QImage& screenBuffer(QSize size);

    QImage m_bitmap;
    LayerCollection m_layers;
    Layer* m_mouseLayer = nullptr; // the layer that got the press
    bool m_pressed = false;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    QImage m_screenStore;  // grows to the largest exposed area seen, never shrinks
    QImage m_screenBuffer; // the part of m_screenStore that the current repaint uses
    MouseHandler m_onMouseDown;
    MouseHandler m_onMouseUp;
};
