// Layers of the picture view and their collection: stacking, ownership, and the
// drawing of bitmap layers.
#include "platform/LayeredView.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

// ---------------------------------------------------------------- Layer

Layer::Layer(LayerCollection* owner, Type type) : m_collection(owner), m_type(type) {}

Layer::~Layer() = default;

int Layer::index() const
{
    return m_collection ? m_collection->indexOf(this) : -1;
}

void Layer::setLocation(const QRectF& location)
{
    if (location == m_location)
        return;
    m_location = location;
    changed();
}

void Layer::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    changed();
}

int Layer::nearestPixel(double v)
{
    // Halves to even, like every drawing coordinate of the editor; clamped so that a
    // wild location cannot overflow the conversion.
    return int(std::nearbyint(std::clamp(v, -1e9, 1e9)));
}

void Layer::changed()
{
    if (m_collection)
        m_collection->changed();
}

bool Layer::hitTest(QPointF p) const
{
    // Half-open, like pixels: a layer from 0 to 10 covers pixels 0 to 9.
    const QRectF r = m_location.normalized();
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

void Layer::paint(QImage&, QPointF) {}

// ---------------------------------------------------------------- BitmapLayer

namespace {

bool drawableBitmapFormat(QImage::Format f)
{
    return f == QImage::Format_ARGB32 || f == QImage::Format_RGB32;
}

} // namespace

void BitmapLayer::setBitmap(const QImage& bitmap)
{
    // Straight (not premultiplied) alpha, so that a pixel that is drawn keeps its colour.
    m_bitmap = drawableBitmapFormat(bitmap.format()) ? bitmap : bitmap.convertToFormat(QImage::Format_ARGB32);
    changed();
}

void BitmapLayer::paint(QImage& buffer, QPointF offset)
{
    if (m_bitmap.isNull())
        return;
    // The caller may have drawn into bitmap() in any format; draw from a straight-alpha copy then.
    const QImage source =
        drawableBitmapFormat(m_bitmap.format()) ? m_bitmap : m_bitmap.convertToFormat(QImage::Format_ARGB32);
    const bool opaqueSource = source.format() == QImage::Format_RGB32;

    const QRectF loc = location().normalized();
    const int left = nearestPixel(loc.left() - offset.x());
    const int top = nearestPixel(loc.top() - offset.y());
    const int width = nearestPixel(loc.right() - offset.x()) - left;
    const int height = nearestPixel(loc.bottom() - offset.y()) - top;
    if (width <= 0 || height <= 0)
        return;

    const int x0 = std::max(left, 0), x1 = std::min<long long>(buffer.width(), (long long)left + width);
    const int y0 = std::max(top, 0), y1 = std::min<long long>(buffer.height(), (long long)top + height);
    if (x0 >= x1 || y0 >= y1)
        return;

    // Nearest neighbour: each target pixel takes the source pixel under its centre.
    const long long sw = source.width(), sh = source.height();
    std::vector<int> column(size_t(x1 - x0));
    for (int x = x0; x < x1; ++x)
        column[size_t(x - x0)] = int(((2LL * (x - left) + 1) * sw) / (2LL * width));

    for (int y = y0; y < y1; ++y) {
        const int sy = int(((2LL * (y - top) + 1) * sh) / (2LL * height));
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        auto* dst = reinterpret_cast<QRgb*>(buffer.scanLine(y)) + x0;
        if (opaqueSource) {
            for (size_t i = 0; i < column.size(); ++i)
                dst[i] = src[column[i]] | 0xFF000000u;
        } else {
            // No blending: a pixel is either left out (alpha 0) or replaces what lies below.
            for (size_t i = 0; i < column.size(); ++i) {
                const QRgb p = src[column[i]];
                if (qAlpha(p) != 0)
                    dst[i] = p | 0xFF000000u;
            }
        }
    }
}

// ---------------------------------------------------------------- LayerCollection

namespace {

[[noreturn]] void outside(const char* what, int index, int count)
{
    throw std::out_of_range(std::string("LayerCollection::") + what + ": index " + std::to_string(index)
                            + " outside 0.." + std::to_string(count - 1));
}

} // namespace

LayerCollection::~LayerCollection()
{
    // The view is going away with us: nobody is left to tell about the layers.
    m_view = nullptr;
    m_layers.clear();
}

Layer* LayerCollection::at(int index) const
{
    if (index < 0 || index >= count())
        outside("at", index, count());
    return m_layers[size_t(index)].get();
}

int LayerCollection::indexOf(const Layer* layer) const
{
    for (size_t i = 0; i < m_layers.size(); ++i)
        if (m_layers[i].get() == layer)
            return int(i);
    return -1;
}

void LayerCollection::bringToFront(Layer* layer)
{
    const int i = indexOf(layer);
    if (i < 0)
        outside("bringToFront", i, count());
    if (i == count() - 1)
        return;
    std::rotate(m_layers.begin() + i, m_layers.begin() + i + 1, m_layers.end());
    changed();
}

void LayerCollection::sendToBack(Layer* layer)
{
    const int i = indexOf(layer);
    if (i < 0)
        outside("sendToBack", i, count());
    if (i == 0)
        return;
    std::rotate(m_layers.begin(), m_layers.begin() + i, m_layers.begin() + i + 1);
    changed();
}

void LayerCollection::deleteAt(int index)
{
    if (index < 0 || index >= count())
        outside("deleteAt", index, count());
    // Out of the list first, so that whoever hears of it sees a consistent collection.
    std::unique_ptr<Layer> doomed = std::move(m_layers[size_t(index)]);
    m_layers.erase(m_layers.begin() + index);
    destroying(doomed.get());
    doomed.reset();
    changed();
}

void LayerCollection::clear()
{
    std::vector<std::unique_ptr<Layer>> doomed;
    doomed.swap(m_layers);
    // Every frame goes too, so only the view needs to forget what it holds.
    if (m_view)
        for (const auto& layer : doomed)
            m_view->layerDestroying(layer.get());
    doomed.clear();
    changed();
}

void LayerCollection::changed()
{
    if (m_view)
        m_view->invalidate();
}

void LayerCollection::destroying(Layer* layer)
{
    for (const auto& other : m_layers)
        if (other->type() == Layer::Type::RubberBand)
            static_cast<RubberBandLayer*>(other.get())->forgetChild(layer);
    if (m_view)
        m_view->layerDestroying(layer);
}
