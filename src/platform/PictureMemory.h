#pragma once
#include <QImage>

// Buffers for new large pictures.
// An uninitialised picture of the given size and format; throws std::bad_alloc
// when it cannot be had. A large picture's buffer is marked for transparent
// huge pages before anything touches it: the first write to a fresh 4 KiB page
// costs a page fault, and on some machines (virtual ones above all) those
// faults make filling a new 100 MB buffer many times slower than copying into
// an old one. With 2 MiB pages there are 512 times fewer of them.
QImage NewPicture(int width, int height, QImage::Format format);

