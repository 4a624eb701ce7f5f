#include "objects/LayerGeometry.h"

#include <algorithm>

namespace {
int objectExtent(int requested, int client)
{
    int w = requested > 0 ? requested : client / 5;
    if (requested == 0 && w > 256)
        w = 256;
    if (w < 64)
        w = 64;
    if (w > client)
        w = client; // the view has the last word
    return w;
}

int pictureExtent(int requested, int client)
{
    const int w = requested > 0 ? requested : requested == 0 ? 256 : client / 5;
    return std::min(w, client);
}
} // namespace

QRectF NewObjectLayerRect(int requestedW, int requestedH, int clientW, int clientH, QPointF origin)
{
    const int w = objectExtent(requestedW, clientW);
    const int h = objectExtent(requestedH, clientH);
    return QRectF(QPointF(origin.x(), origin.y()), QPointF(origin.x() + w, origin.y() + h));
}

QRectF NewPictureLayerRect(int requestedW, int requestedH, int clientW, int clientH, QPointF centre)
{
    if (requestedH == 0)
        requestedH = requestedW;
    const double w = pictureExtent(requestedW, clientW);
    const double h = pictureExtent(requestedH, clientH);
    return QRectF(QPointF(centre.x() - w / 2, centre.y() - h / 2), QPointF(centre.x() + w / 2, centre.y() + h / 2));
}

QRectF ResizeAboutCentre(const QRectF& s, const QRectF& n, RubberBandLayer::DragState state)
{
    using DS = RubberBandLayer::DragState;
    const double cx = (s.left() + s.right()) / 2, cy = (s.top() + s.bottom()) / 2;
    double hw = (s.right() - s.left()) / 2, hh = (s.bottom() - s.top()) / 2;
    const bool left = state == DS::Left || state == DS::TopLeft || state == DS::BottomLeft;
    const bool right = state == DS::Right || state == DS::TopRight || state == DS::BottomRight;
    const bool top = state == DS::Top || state == DS::TopLeft || state == DS::TopRight;
    const bool bottom = state == DS::Bottom || state == DS::BottomLeft || state == DS::BottomRight;
    if (left)
        hw = cx - n.left();
    if (right)
        hw = n.right() - cx;
    if (top)
        hh = cy - n.top();
    if (bottom)
        hh = n.bottom() - cy;
    hw = std::max(hw, 2.0);
    hh = std::max(hh, 2.0);
    return QRectF(QPointF(cx - hw, cy - hh), QPointF(cx + hw, cy + hh));
}
