#pragma once
// Sizes and places of new object layers, and the frame's resizing about its centre.
#include "platform/LayeredView.h"

#include <QRectF>

// A new drawn object: the requested size, or a fifth of the view capped at 256 when
// none was requested; never under 64; never over the view.
QRectF NewObjectLayerRect(int requestedW, int requestedH, int clientW, int clientH, QPointF origin);
// A new picture object, centred; a height of 0 means as high as wide.
QRectF NewPictureLayerRect(int requestedW, int requestedH, int clientW, int clientH, QPointF centre);
// With Ctrl held a handle drag resizes about the centre of the start location;
// the half sizes never fall under 2.
QRectF ResizeAboutCentre(const QRectF& start, const QRectF& proposed, RubberBandLayer::DragState state);
