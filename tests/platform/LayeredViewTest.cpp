#include "platform/LayeredView.h"

#include "TestPictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using DragState = RubberBandLayer::DragState;

void sendMouse(QWidget& widget, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void press(QWidget& w, QPointF pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, mods);
}

void dragTo(QWidget& w, QPointF pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, mods);
}

void release(QWidget& w, QPointF pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, mods);
}

void hoverAt(QWidget& w, QPointF pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

std::vector<Layer*> stack(const LayerCollection& layers)
{
    std::vector<Layer*> order;
    for (int i = 0; i < layers.count(); ++i)
        order.push_back(layers.at(i));
    return order;
}

QRectF rect(double l, double t, double r, double b)
{
    return QRectF(QPointF(l, t), QPointF(r, b));
}

Layer::PaintHandler fillWith(QRgb colour)
{
    return [colour](Layer&, QImage& buffer, const QRectF& location) {
        QPainter(&buffer).fillRect(location, QColor::fromRgb(colour));
    };
}

constexpr QRgb Red = 0xFFFF0000u, Blue = 0xFF0000FFu, Green = 0xFF00FF00u;

} // namespace

// ---------------------------------------------------------------- collection

TEST(LayeredViewTest, TakesTheSizeOfItsPicture)
{
    LayeredView view;
    view.setBitmap(testpics::gradient(300, 200, QImage::Format_ARGB32));
    EXPECT_EQ(view.size(), QSize(300, 200));
    EXPECT_EQ(view.clientRect(), QRect(0, 0, 300, 200));
    EXPECT_EQ(view.bitmap().format(), QImage::Format_RGB32);

    view.setBitmap(QImage());
    EXPECT_EQ(view.size(), QSize(0, 0));
}

TEST(LayerCollectionTest, StackingMovesOneLayerAndShiftsTheOthers)
{
    LayeredView view;
    LayerCollection& layers = view.layers();
    Layer* a = layers.add<PositionedLayer>();
    Layer* b = layers.add<PositionedLayer>();
    Layer* c = layers.add<PositionedLayer>();
    ASSERT_EQ(stack(layers), (std::vector<Layer*>{a, b, c}));

    struct Step {
        void (LayerCollection::*op)(Layer*);
        Layer* layer;
        std::vector<Layer*> expected;
    };
    const Step steps[] = {
        {&LayerCollection::bringToFront, a, {b, c, a}},
        {&LayerCollection::sendToBack, c, {c, b, a}},
        {&LayerCollection::bringToFront, a, {c, b, a}}, // already on top
        {&LayerCollection::sendToBack, a, {a, c, b}},
        {&LayerCollection::bringToFront, c, {a, b, c}},
    };
    for (const Step& step : steps) {
        (layers.*step.op)(step.layer);
        EXPECT_EQ(stack(layers), step.expected);
        for (int i = 0; i < layers.count(); ++i)
            EXPECT_EQ(layers.at(i)->index(), i);
    }
}

TEST(LayerCollectionTest, DeletingDestroysTheLayer)
{
    LayeredView view;
    LayerCollection& layers = view.layers();
    auto alive = std::make_shared<int>(0);
    std::vector<Layer*> made;
    for (int i = 0; i < 3; ++i) {
        made.push_back(layers.add<PositionedLayer>());
        made.back()->setOnPaint([alive](Layer&, QImage&, const QRectF&) {});
    }
    ASSERT_EQ(alive.use_count(), 4);

    layers.deleteAt(1);
    EXPECT_EQ(stack(layers), (std::vector<Layer*>{made[0], made[2]}));
    EXPECT_EQ(made[2]->index(), 1);
    EXPECT_EQ(alive.use_count(), 3);

    layers.clear();
    EXPECT_EQ(layers.count(), 0);
    EXPECT_EQ(alive.use_count(), 1);
}

TEST(LayerCollectionTest, IndexOutsideThrowsAndChangesNothing)
{
    LayeredView view, other;
    LayerCollection& layers = view.layers();
    Layer* a = layers.add<PositionedLayer>();
    Layer* b = layers.add<PositionedLayer>();
    Layer* c = layers.add<PositionedLayer>();
    Layer* stranger = other.layers().add<PositionedLayer>();

    const std::map<std::string, std::function<void()>> calls = {
        {"at(-1)", [&] { layers.at(-1); }},
        {"at(3)", [&] { layers.at(3); }},
        {"deleteAt(-1)", [&] { layers.deleteAt(-1); }},
        {"deleteAt(3)", [&] { layers.deleteAt(3); }},
        {"bringToFront(stranger)", [&] { layers.bringToFront(stranger); }},
        {"sendToBack(nullptr)", [&] { layers.sendToBack(nullptr); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_THROW(call(), std::out_of_range) << name;
        EXPECT_EQ(stack(layers), (std::vector<Layer*>{a, b, c})) << name;
    }
    EXPECT_EQ(stack(other.layers()), std::vector<Layer*>{stranger});
}

TEST(LayerCollectionTest, FrameForgetsItsDeletedChild)
{
    LayeredView view;
    LayerCollection& layers = view.layers();
    layers.add<PositionedLayer>(); // below the child, deleted first
    Layer* child = layers.add<PositionedLayer>();
    child->setLocation(rect(10, 10, 50, 40));
    auto* frame = layers.add<RubberBandLayer>();
    frame->setChildLayer(child);
    EXPECT_EQ(frame->location(), rect(10, 10, 50, 40));

    layers.deleteAt(0); // not its child
    EXPECT_EQ(frame->childLayer(), child);

    layers.deleteAt(child->index());
    EXPECT_EQ(frame->childLayer(), nullptr);
    EXPECT_EQ(frame->location(), rect(10, 10, 50, 40));
    frame->setLocation(rect(0, 0, 20, 20)); // must not reach the destroyed child
    EXPECT_EQ(frame->location(), rect(0, 0, 20, 20));
}

TEST(LayeredViewTest, ChangesRepaintTheViewAndNonChangesDoNot)
{
    QWidget window;
    auto* view = new LayeredView(&window);
    view->setBitmap(testpics::gradient(100, 80));
    window.resize(120, 100);
    window.show();
    Layer* layer = view->layers().add<PositionedLayer>();
    layer->setLocation(rect(10, 10, 40, 40));
    auto* frame = view->layers().add<RubberBandLayer>();

    int paints = 0;
    layer->setOnPaint([&](Layer&, QImage&, const QRectF&) { ++paints; });
    const auto repaints = [&](const std::function<void()>& change) {
        QApplication::processEvents();
        paints = 0;
        change();
        QApplication::processEvents();
        return paints > 0;
    };

    EXPECT_TRUE(repaints([&] { layer->setLocation(rect(12, 10, 40, 40)); }));
    EXPECT_TRUE(repaints([&] { frame->setVisible(false); }));
    EXPECT_TRUE(repaints([&] { view->layers().sendToBack(frame); }));
    EXPECT_TRUE(repaints([&] { frame->setHandles(9); }));
    // Painters set these on every paint; a repaint each time would never stop.
    EXPECT_FALSE(repaints([&] { frame->setHandles(9); }));
    EXPECT_FALSE(repaints([&] { layer->setLocation(rect(12, 10, 40, 40)); }));
    EXPECT_TRUE(repaints([&] { view->layers().deleteAt(frame->index()); }));
}

// ---------------------------------------------------------------- mouse

namespace {

class LayeredViewMouseTest : public testing::Test {
protected:
    LayeredViewMouseTest()
    {
        view.setBitmap(testpics::gradient(300, 200));
        view.setOnMouseDown([this](Qt::MouseButton, Qt::KeyboardModifiers, QPointF, Layer* layer) {
            calls.push_back("view down " + nameOf(layer));
            if (onViewDown)
                onViewDown(layer);
        });
        view.setOnMouseUp([this](Qt::MouseButton, Qt::KeyboardModifiers, QPointF, Layer* layer) {
            calls.push_back("view up " + nameOf(layer));
            if (onViewUp)
                onViewUp(layer);
        });
    }

    PositionedLayer* addLayer(const std::string& name, QRectF location)
    {
        auto* layer = view.layers().add<PositionedLayer>();
        layer->setLocation(location);
        layer->setOnMouseDown([this, name](Layer&, Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {
            calls.push_back(name + " down");
        });
        names[layer] = name;
        return layer;
    }

    std::string nameOf(Layer* layer) const
    {
        if (!layer)
            return "none";
        const auto it = names.find(layer);
        return it == names.end() ? "?" : it->second;
    }

    LayeredView view;
    std::map<Layer*, std::string> names;
    std::vector<std::string> calls;
    std::function<void(Layer*)> onViewDown, onViewUp;
};

} // namespace

TEST_F(LayeredViewMouseTest, PressGoesToTheTopmostVisibleListeningLayer)
{
    PositionedLayer* bottom = addLayer("bottom", rect(0, 0, 100, 100));
    addLayer("middle", rect(20, 20, 80, 80));
    PositionedLayer* top = addLayer("top", rect(40, 40, 60, 60));

    struct Case {
        const char* name;
        QPointF at;
        bool topVisible, topListens, bottomVisible;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"all three under the point", {50, 50}, true, true, true, {"top down", "view down top"}},
        {"top hidden", {50, 50}, false, true, true, {"middle down", "view down middle"}},
        {"top deaf to the mouse", {50, 50}, true, false, true, {"middle down", "view down middle"}},
        {"only the bottom", {10, 10}, true, true, true, {"bottom down", "view down bottom"}},
        {"bottom hidden", {10, 10}, true, true, false, {"view down none"}},
        {"bare picture", {150, 150}, true, true, true, {"view down none"}},
    };
    for (const Case& c : cases) {
        top->setVisible(c.topVisible);
        top->setMouseEvents(c.topListens);
        bottom->setVisible(c.bottomVisible);
        calls.clear();
        press(view, c.at);
        EXPECT_EQ(calls, c.expected) << c.name;
        release(view, c.at);
    }
}

TEST_F(LayeredViewMouseTest, ReleaseGoesToThePressedLayerEvenWhenHidden)
{
    addLayer("bottom", rect(0, 0, 100, 100));
    PositionedLayer* top = addLayer("top", rect(40, 40, 60, 60));
    onViewDown = [](Layer* layer) { layer->setVisible(false); };

    press(view, {50, 50});
    dragTo(view, {10, 10});
    release(view, {10, 10});
    EXPECT_EQ(calls, (std::vector<std::string>{"top down", "view down top", "view up top"}));
    EXPECT_FALSE(top->visible());
}

TEST_F(LayeredViewMouseTest, LayerDeletedDuringThePressIsForgotten)
{
    addLayer("object", rect(40, 40, 100, 100));
    auto* frame = view.layers().add<RubberBandLayer>();
    frame->setLocation(rect(150, 100, 250, 180));
    names[frame] = "frame";
    onViewDown = [this](Layer* layer) { view.layers().deleteAt(layer->index()); };

    for (const QPointF at : {QPointF(60, 60), QPointF(200, 140)}) {
        calls.clear();
        press(view, at);
        dragTo(view, at + QPointF(10, 10));
        release(view, at + QPointF(10, 10));
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "view up none");
    }
    EXPECT_EQ(view.layers().count(), 0);
}

TEST_F(LayeredViewMouseTest, PressingAnObjectSelectsAndDragsItInOneGesture)
{
    // The editor's own wiring: a press on an object puts the frame on it, the view's
    // handler hides the frame while the button is held, the release shows it again.
    PositionedLayer* object = addLayer("object", rect(40, 40, 100, 90));
    auto* frame = view.layers().add<RubberBandLayer>();
    frame->setVisible(false);
    frame->setMouseEvents(false);
    names[frame] = "frame";
    object->setOnMouseDown([&](Layer& layer, Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {
        calls.push_back("object down");
        frame->setChildLayer(&layer);
        frame->setVisible(true);
        frame->setMouseEvents(true);
    });
    onViewDown = [&](Layer* layer) {
        if (layer)
            frame->setVisible(false);
    };
    onViewUp = [&](Layer* layer) {
        if (layer)
            frame->setVisible(true);
    };

    press(view, {60, 60});
    dragTo(view, {75, 50});
    EXPECT_EQ(object->location(), rect(55, 30, 115, 80));
    EXPECT_FALSE(frame->visible());
    dragTo(view, {50, 70});
    release(view, {50, 70});

    EXPECT_EQ(object->location(), rect(30, 50, 90, 100));
    EXPECT_EQ(frame->location(), object->location());
    EXPECT_TRUE(frame->visible());
    EXPECT_EQ(calls, (std::vector<std::string>{"object down", "view down object", "view up frame"}));
}

// ---------------------------------------------------------------- selection frame

namespace {

class RubberBandTest : public testing::Test {
protected:
    RubberBandTest()
    {
        view.setBitmap(testpics::gradient(300, 200));
        child = view.layers().add<PositionedLayer>();
        child->setLocation(Start);
        frame = view.layers().add<RubberBandLayer>();
        frame->setChildLayer(child);
    }

    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        press(view, from, mods);
        dragTo(view, to, mods);
        stateDuringDrag = frame->dragState();
        release(view, to, mods);
    }

    // Edge pixels: columns 100 and 199, rows 50 and 129; side middles at x 149, y 89.
    static inline const QRectF Start = rect(100, 50, 200, 130);
    LayeredView view;
    PositionedLayer* child = nullptr;
    RubberBandLayer* frame = nullptr;
    DragState stateDuringDrag = DragState::None;
};

} // namespace

TEST_F(RubberBandTest, DraggingTheInsideMovesFrameAndChild)
{
    press(view, {130, 70});
    dragTo(view, {150, 60});
    EXPECT_EQ(frame->location(), rect(120, 40, 220, 120));
    dragTo(view, {125, 75}); // measured from the press, not from the last move
    EXPECT_EQ(frame->location(), rect(95, 55, 195, 135));
    EXPECT_EQ(child->location(), frame->location());
    release(view, {125, 75});

    hoverAt(view, {140, 90});
    EXPECT_EQ(frame->location(), rect(95, 55, 195, 135));
    EXPECT_EQ(frame->dragState(), DragState::None);
}

TEST_F(RubberBandTest, DraggingAHandleResizesAndKeepsTheMinimumSize)
{
    struct Case {
        const char* name;
        QPointF from, to;
        DragState state;
        QRectF expected;
    };
    const Case cases[] = {
        {"bottom-right corner", {199, 129}, {219, 139}, DragState::BottomRight, rect(100, 50, 220, 140)},
        {"corner handle outside the frame", {202, 132}, {222, 142}, DragState::BottomRight, rect(100, 50, 220, 140)},
        {"top-right corner", {199, 50}, {209, 60}, DragState::TopRight, rect(100, 60, 210, 130)},
        {"left side", {100, 89}, {80, 95}, DragState::Left, rect(80, 50, 200, 130)},
        {"top side", {149, 50}, {149, 30}, DragState::Top, rect(100, 30, 200, 130)},
        {"right side past the left", {199, 89}, {0, 89}, DragState::Right, rect(100, 50, 110, 130)},
        {"top-left corner past the other", {100, 50}, {290, 190}, DragState::TopLeft, rect(190, 120, 200, 130)},
    };
    for (const Case& c : cases) {
        frame->setLocation(Start);
        drag(c.from, c.to);
        EXPECT_EQ(stateDuringDrag, c.state) << c.name;
        EXPECT_EQ(frame->location(), c.expected) << c.name;
        EXPECT_EQ(child->location(), c.expected) << c.name;
    }
}

TEST_F(RubberBandTest, ResizingHandlerSeesTheDragAndHasTheLastWord)
{
    struct Seen {
        QRectF start, proposed;
        DragState state;
        Qt::KeyboardModifiers modifiers;
    };
    std::vector<Seen> seen;
    // With Ctrl, resize about the centre of the frame at the start of the drag.
    frame->setOnResizing([&](const QRectF& s, QRectF& n, DragState state, Qt::KeyboardModifiers mods) {
        seen.push_back({s, n, state, mods});
        if (state == DragState::Move || !(mods & Qt::ControlModifier))
            return;
        const QPointF c = s.center();
        const double hw = n.right() - c.x(), hh = n.bottom() - c.y();
        n = rect(c.x() - hw, c.y() - hh, c.x() + hw, c.y() + hh);
    });

    drag({199, 129}, {219, 139}, Qt::ControlModifier);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].start, Start);
    EXPECT_EQ(seen[0].proposed, rect(100, 50, 220, 140));
    EXPECT_EQ(seen[0].state, DragState::BottomRight);
    EXPECT_EQ(seen[0].modifiers, Qt::ControlModifier);
    EXPECT_EQ(frame->location(), rect(80, 40, 220, 140));
    EXPECT_EQ(child->location(), rect(80, 40, 220, 140));

    frame->setLocation(Start);
    drag({199, 129}, {219, 139});
    EXPECT_EQ(frame->location(), rect(100, 50, 220, 140));
}

TEST_F(RubberBandTest, HandleSetDecidesWhichHandlesExist)
{
    using enum DragState;
    // Points just outside the frame, where only a handle can catch them.
    const QPointF topLeft(97, 47), bottomRight(202, 132), left(97, 89), right(202, 89), top(149, 47),
        bottom(149, 132), inside(130, 70), away(250, 180);
    const std::vector<QPointF> points{topLeft, bottomRight, left, right, top, bottom, inside, away};
    const std::map<unsigned, std::vector<DragState>> expected = {
        {15, {TopLeft, BottomRight, Left, Right, Top, Bottom, Move, None}},
        {9, {None, None, None, None, None, None, Move, None}},
        {203, {None, None, Left, Right, None, None, Move, None}},
        {59, {None, None, None, None, Top, Bottom, Move, None}},
    };
    for (const auto& [handles, parts] : expected) {
        frame->setHandles(handles);
        for (size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(frame->partAt(points[i]), parts[i]) << "handles " << handles << ", point " << i;
    }
}

TEST_F(RubberBandTest, WithoutResizeHandlesAPressOnTheEdgeMoves)
{
    struct Case {
        unsigned handles;
        QPointF from;
    };
    // The bottom-right corner pixel for a frame with no corners, the top middle for
    // a horizontal line's frame.
    for (const Case& c : {Case{9, {199, 129}}, Case{203, {149, 50}}}) {
        frame->setHandles(c.handles);
        frame->setLocation(Start);
        drag(c.from, c.from + QPointF(10, 20));
        EXPECT_EQ(stateDuringDrag, DragState::Move) << c.handles;
        EXPECT_EQ(frame->location(), Start.translated(10, 20)) << c.handles;
    }
}

TEST_F(RubberBandTest, CursorFollowsThePartAndTheHitTestHandlerRuns)
{
    int hitTests = 0;
    frame->setOnHitTest([&] {
        ++hitTests;
        view.setCursor(Qt::ClosedHandCursor); // the editor's drag cursor
    });

    struct Case {
        unsigned handles;
        QPointF at;
        Qt::CursorShape shape;
    };
    const Case cases[] = {
        {15, {199, 129}, Qt::SizeFDiagCursor}, {15, {100, 129}, Qt::SizeBDiagCursor},
        {15, {100, 89}, Qt::SizeHorCursor},    {15, {149, 129}, Qt::SizeVerCursor},
        {15, {130, 70}, Qt::SizeAllCursor},    {15, {250, 180}, Qt::ArrowCursor},
        {9, {199, 129}, Qt::SizeAllCursor},    {14, {130, 70}, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        frame->setHandles(c.handles);
        const int before = hitTests;
        hoverAt(view, c.at);
        EXPECT_GT(hitTests, before);
        EXPECT_EQ(view.cursor().shape(), c.shape) << c.handles << " at " << c.at.x() << ", " << c.at.y();
    }

    // While the frame is dragged the handler's cursor stays; the release ends it.
    frame->setHandles(15);
    press(view, {130, 70});
    dragTo(view, {140, 80});
    EXPECT_EQ(view.cursor().shape(), Qt::ClosedHandCursor);
    release(view, {140, 80});
    EXPECT_EQ(view.cursor().shape(), Qt::SizeAllCursor);
}

// ---------------------------------------------------------------- painting

TEST(LayeredViewPaintTest, LayersPaintInStackingOrderAndHiddenOnesNot)
{
    LayeredView view;
    const QImage picture = testpics::gradient(80, 60);
    view.setBitmap(picture);
    Layer* a = view.layers().add<PositionedLayer>();
    a->setLocation(rect(10, 10, 40, 40));
    a->setOnPaint(fillWith(Red));
    Layer* b = view.layers().add<PositionedLayer>();
    b->setLocation(rect(30, 30, 60, 50));
    b->setOnPaint(fillWith(Blue));

    struct Case {
        const char* name;
        std::function<void()> change;
        std::vector<std::pair<QRect, QRgb>> expectedFills; // in painting order
    };
    const QRect ra(10, 10, 30, 30), rb(30, 30, 30, 20);
    const Case cases[] = {
        {"second added is on top", [] {}, {{ra, Red}, {rb, Blue}}},
        {"first brought to front", [&] { view.layers().bringToFront(a); }, {{rb, Blue}, {ra, Red}}},
        {"bottom one hidden", [&] { b->setVisible(false); }, {{ra, Red}}},
        {"both hidden", [&] { a->setVisible(false); }, {}},
    };
    for (const Case& c : cases) {
        c.change();
        QImage expected = picture.copy();
        for (const auto& [r, colour] : c.expectedFills)
            QPainter(&expected).fillRect(r, QColor::fromRgb(colour));
        QImage buffer(80, 60, QImage::Format_RGB32);
        view.paintInto(buffer, QRect(0, 0, 80, 60));
        EXPECT_TRUE(testpics::samePixels(buffer, expected)) << c.name;
    }
}

TEST(LayeredViewPaintTest, HandlerPaintsInBufferCoordinatesWithoutClipToItsLayer)
{
    LayeredView view;
    const QImage picture = testpics::gradient(300, 200);
    view.setBitmap(picture);
    Layer* layer = view.layers().add<PositionedLayer>();
    layer->setLocation(rect(250, 170, 290, 190));
    QRectF seen;
    layer->setOnPaint([&](Layer&, QImage& buffer, const QRectF& location) {
        seen = location;
        // One pixel left of the layer, as an arrow's tail may reach.
        const QPoint p = location.topLeft().toPoint() - QPoint(3, 0);
        if (buffer.rect().contains(p))
            buffer.setPixel(p, Green);
    });

    struct Case {
        QRect area;
        QRect insidePicture; // of the buffer
    };
    const Case cases[] = {
        {{240, 160, 40, 30}, {0, 0, 40, 30}},
        {{270, 180, 50, 40}, {0, 0, 30, 20}}, // past the bottom-right corner
        {{-10, -5, 40, 30}, {10, 5, 30, 25}}, // before the top-left corner
    };
    for (const Case& c : cases) {
        QImage buffer(c.area.size(), QImage::Format_RGB32);
        view.paintInto(buffer, c.area);
        EXPECT_EQ(seen, layer->location().translated(-c.area.topLeft()));

        QImage expected = picture.copy(c.insidePicture.translated(c.area.topLeft()));
        const QPoint tail = QPoint(247, 170) - c.area.topLeft() - c.insidePicture.topLeft();
        if (expected.rect().contains(tail))
            expected.setPixel(tail, Green);
        EXPECT_TRUE(testpics::samePixels(buffer.copy(c.insidePicture), expected)) << c.area.x();
    }
}

TEST(LayeredViewPaintTest, BitmapLayerStretchesNearestAndSkipsTransparentPixels)
{
    LayeredView view;
    const QImage picture = testpics::gradient(30, 30);
    view.setBitmap(picture);
    QImage bitmap(2, 2, QImage::Format_ARGB32);
    bitmap.setPixel(0, 0, Red);
    bitmap.setPixel(1, 0, qRgba(0, 255, 0, 0)); // fully transparent
    bitmap.setPixel(0, 1, Green);
    bitmap.setPixel(1, 1, qRgba(0, 0, 255, 128)); // half transparent still covers
    auto* layer = view.layers().add<BitmapLayer>();
    layer->setBitmap(bitmap);
    layer->setLocation(rect(10, 10, 14, 14));

    QImage expected = picture.copy();
    {
        QPainter p(&expected);
        p.fillRect(10, 10, 2, 2, QColor::fromRgb(Red));
        p.fillRect(10, 12, 2, 2, QColor::fromRgb(Green));
        p.fillRect(12, 12, 2, 2, QColor::fromRgb(Blue));
    }
    // The whole picture, an offset view, and one that cuts the layer at its top-left.
    for (const QRect area : {QRect(0, 0, 30, 30), QRect(5, 5, 20, 20), QRect(11, 11, 10, 10)}) {
        QImage buffer(area.size(), QImage::Format_RGB32);
        view.paintInto(buffer, area);
        EXPECT_TRUE(testpics::samePixels(buffer, expected.copy(area))) << area.x();
    }
}

TEST(LayeredViewPaintTest, ScreenPaintsOnlyTheExposedPartThroughTheSamePath)
{
    LayeredView view;
    view.setBitmap(testpics::gradient(300, 200));
    Layer* layer = view.layers().add<PositionedLayer>();
    layer->setLocation(rect(40, 30, 120, 90));
    QSize bufferSize;
    QRectF seen;
    Layer* spy = view.layers().add<PositionedLayer>();
    spy->setOnPaint([&](Layer&, QImage& buffer, const QRectF&) { bufferSize = buffer.size(); });
    layer->setOnPaint([&](Layer& l, QImage& buffer, const QRectF& location) {
        seen = location;
        fillWith(Red)(l, buffer, location);
    });

    const QRect exposed(30, 20, 60, 50);
    QImage screen(view.size(), QImage::Format_RGB32);
    screen.fill(Qt::black);
    view.render(&screen, exposed.topLeft(), QRegion(exposed));

    EXPECT_EQ(bufferSize, exposed.size());
    EXPECT_EQ(seen, layer->location().translated(-exposed.topLeft()));
    QImage expected(exposed.size(), QImage::Format_RGB32);
    view.paintInto(expected, exposed);
    EXPECT_TRUE(testpics::samePixels(screen.copy(exposed), expected));
}

TEST(LayeredViewPaintTest, FrameDrawsOnlyWhenVisibleAndLeavesItsInside)
{
    LayeredView view;
    const QImage picture = testpics::gradient(100, 80);
    view.setBitmap(picture);
    auto* frame = view.layers().add<RubberBandLayer>();
    frame->setLocation(rect(20, 20, 60, 50));
    const auto paint = [&] {
        QImage buffer(100, 80, QImage::Format_RGB32);
        view.paintInto(buffer, QRect(0, 0, 100, 80));
        return buffer;
    };
    const auto changedAlong = [&](const QImage& buffer, int y, int x0, int x1) {
        for (int x = x0; x <= x1; ++x)
            if (buffer.pixel(x, y) != picture.pixel(x, y))
                return true;
        return false;
    };

    struct Case {
        unsigned handles;
        bool frameLine, cornerHandle;
    };
    for (const Case& c : {Case{15, true, true}, Case{9, true, false}, Case{2, false, false}}) {
        frame->setHandles(c.handles);
        const QImage buffer = paint();
        EXPECT_EQ(changedAlong(buffer, 20, 25, 33), c.frameLine) << c.handles; // top edge between handles
        EXPECT_EQ(buffer.pixel(17, 17) != picture.pixel(17, 17), c.cornerHandle) << c.handles;
        EXPECT_TRUE(testpics::samePixels(buffer.copy(25, 25, 30, 20), picture.copy(25, 25, 30, 20))) << c.handles;
    }
    frame->setHandles(15);
    frame->setVisible(false);
    EXPECT_TRUE(testpics::samePixels(paint(), picture));
}
