#pragma once
#include <QImage>

// Rotation and crop of a picture: exact pixel moves, no
// resampling; the pixel format is kept and every byte of a pixel moves with it.

// Turns the picture by angle degrees, counter-clockwise positive, in place.
// angle is taken modulo 360 with its sign kept (-90 turns like 270); 90 and 270
// swap width and height, 180 keeps them, 0 changes nothing. Angles that are not
// multiples of 90 are not used by the program and leave the picture unchanged.
// The new picture is built in a new buffer from the unchanged old one, which is
// then released. An empty picture stays empty. Throws std::bad_alloc when the
// new buffer cannot be had; the picture is then unchanged.
void RotatePicture(QImage& picture, int angle);

// Cuts the picture down, in place, to the rectangle whose corner pixels
// (x1, y1) and (x2, y2) are both kept. Nothing happens when x2 < x1 or y2 < y1,
// when the rectangle is the whole picture, or when the picture is empty (it has
// no format to give a result). Otherwise the result is (x2 - x1 + 1) x
// (y2 - y1 + 1) pixels in the same format; new (x, y) = old (x1 + x, y1 + y)
// wherever that lies in the old picture, and opaque black elsewhere.
void CropPicture(QImage& picture, int x1, int y1, int x2, int y2);
