#include "render/ArrowGeometry.h"

#include "render/Rounding.h"

#include <cmath>

namespace {

struct Vec {
    double x, y;
};

QPoint rounded(double x, double y) { return {nearestPixel(x), nearestPixel(y)}; }

// The frame of a band running from tail to tip: its end points and the unit normal.
// The normal is built from the rounded size so that the band's two sides are offset
// by whole, symmetric amounts; which of the two normals each direction uses fixes the
// order of the vertices.
struct Band {
    Vec tip, tail, normal;
};

bool bandFor(int direction, double L, double T, double R, double B, Band& band)
{
    const double Wr = nearest(R - L), Hr = nearest(B - T);
    if (Wr == 0 && Hr == 0)
        return false;
    const double Dr = std::sqrt(Hr * Hr + Wr * Wr);
    const double nx = Hr / Dr, ny = Wr / Dr;
    switch (direction) {
    case ArrowUpLeft:
        band = {{L, T}, {R, B}, {-nx, ny}};
        break;
    case ArrowDownLeft:
        band = {{L, B}, {R, T}, {-nx, -ny}};
        break;
    case ArrowDownRight:
        band = {{R, B}, {L, T}, {nx, -ny}};
        break;
    default:
        band = {{R, T}, {L, B}, {nx, ny}};
        break;
    }
    return true;
}

} // namespace

std::vector<QPoint> ArrowVertices(int direction, double L, double T, double R, double B, int width,
                                  int headSize)
{
    Band band;
    if (!bandFor(direction, L, T, R, B, band))
        return {};
    const double W = R - L, H = B - T;
    const double D = std::sqrt(W * W + H * H);
    const Vec e{(band.tail.x - band.tip.x) / D, (band.tail.y - band.tip.y) / D};
    const Vec n = band.normal;
    const double w = width;

    // Head length and half-width in units of (w + 1); the shaft meets medium and large
    // heads ahead of their back corners, which sweeps the barbs back.
    const double K = headSize + 2;
    const double k = K - 0.3 * headSize;
    const double N = (w + 1) * K;
    const double neckX = nearest(band.tip.x + (w + 1) * k * e.x);
    const double neckY = nearest(band.tip.y + (w + 1) * k * e.y);
    const double baseX = nearest(band.tip.x + N * e.x);
    const double baseY = nearest(band.tip.y + N * e.y);
    const double shaftX = nearest(w * n.x), shaftY = nearest(w * n.y);
    const double headX = nearest(N * n.x), headY = nearest(N * n.y);

    return {
        rounded(band.tail.x - w * n.x, band.tail.y - w * n.y),
        rounded(band.tail.x + w * n.x, band.tail.y + w * n.y),
        rounded(neckX + shaftX, neckY + shaftY),
        rounded(baseX + headX, baseY + headY),
        rounded(band.tip.x, band.tip.y),
        rounded(baseX - headX, baseY - headY),
        rounded(neckX - shaftX, neckY - shaftY),
    };
}

std::vector<QPoint> LineVertices(int direction, double L, double T, double R, double B, int width)
{
    const double w = width;
    switch (direction) {
    case LineVertical:
        return {rounded(L, T), rounded(L + 2 * w, T), rounded(L + 2 * w, B), rounded(L, B)};
    case LineDiagonalUp:
    case LineDiagonalDown: {
        // A diagonal is an arrow's shaft without the head: up runs from the top-right
        // corner like a down-left arrow, down from the top-left like a down-right one.
        Band band;
        if (!bandFor(direction == LineDiagonalUp ? ArrowDownLeft : ArrowDownRight, L, T, R, B, band))
            return {};
        const Vec tail = band.tail, end = band.tip, n = band.normal;
        return {rounded(tail.x - w * n.x, tail.y - w * n.y), rounded(tail.x + w * n.x, tail.y + w * n.y),
                rounded(end.x + w * n.x, end.y + w * n.y), rounded(end.x - w * n.x, end.y - w * n.y)};
    }
    default:
        return {rounded(L, T), rounded(R, T), rounded(R, T + 2 * w), rounded(L, T + 2 * w)};
    }
}
