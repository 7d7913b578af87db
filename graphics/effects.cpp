#include "graphics/effects.h"

#include <algorithm>
#include <cmath>

#include "graphics/blit.h"

namespace gfx {
namespace {

constexpr int32_t kRotateSize = 180;   // the turned picture is this square
constexpr int32_t kRotateCentre = 89;
constexpr int32_t kMaxRotateWidth = 200;
constexpr double kRadiansPerDegree = -0.017453292519444445;  // turns counter-clockwise on the panel

// -1, +1 or 0 as the step from one point to the next.
uint8_t Step(int32_t from, int32_t to) { return to < from ? 1 : (to > from ? 2 : 0); }
int32_t Move(uint8_t step) { return step == 1 ? -1 : (step == 2 ? 1 : 0); }

Colour Gray(Colour c) {
    const uint32_t g = (Red8(c) + Green8(c) + Blue8(c)) >> 2;
    return FromChannels(g, g, g);
}

}  // namespace

void GrayDisplay(Surface& surface) {
    surface.BeforeWrite();
    // Whole screens are greyed inside one event: blocks of a fixed size let
    // the compiler turn the inner loop into vector code.
    constexpr uint32_t kBlock = 16;
    for (int32_t y = 0; y < static_cast<int32_t>(surface.height); ++y) {
        uint16_t* row = surface.Row(y);
        uint32_t x = 0;
        for (; x + kBlock <= surface.width; x += kBlock) {
            uint16_t* block = row + x;
            for (uint32_t i = 0; i < kBlock; ++i) block[i] = Gray(block[i]);
        }
        for (; x < surface.width; ++x) row[x] = Gray(row[x]);
    }
}

int32_t RoundHalfUp(double v) {
    const double t = std::trunc(v);
    return static_cast<int32_t>(v - t >= 0.5 ? t + 1 : t);
}

void RotatePicture(const Surface& source, Surface& destination, const Rect& to, double degrees) {
    // The rect must lie in the destination; the source is read only inside
    // both the 180 x 180 square and its own size.
    if (to.left < 0 || to.top < 0 || to.right > static_cast<int32_t>(destination.width) ||
        to.bottom > static_cast<int32_t>(destination.height)) {
        return;
    }
    const int32_t w = std::min(to.Width(), kMaxRotateWidth);
    const int32_t h = to.Height();
    if (w <= 0 || h <= 0) return;
    destination.BeforeWrite();
    const int32_t limitX = std::min(kRotateSize, static_cast<int32_t>(source.width));
    const int32_t limitY = std::min(kRotateSize, static_cast<int32_t>(source.height));

    const double a = degrees * kRadiansPerDegree;
    const double s = std::sin(a);
    const double c = std::cos(a);

    // One step pattern, taken from the middle row, serves every row.
    uint8_t stepU[kMaxRotateWidth] = {};
    uint8_t stepV[kMaxRotateWidth] = {};
    const double ym = 2 * (h / 2 - kRotateCentre) + 1;
    int32_t nextU = 0;
    int32_t nextV = 0;
    for (int32_t i = w - 1; i >= 0; --i) {
        const double x = 2 * (i - kRotateCentre) + 1;
        const int32_t u = kRotateCentre + (RoundHalfUp(x * c - ym * s) - 1) / 2;
        const int32_t v = kRotateCentre + (RoundHalfUp(x * s + ym * c) - 1) / 2;
        if (i < w - 1) {
            const int32_t k = w - 1 - i;
            stepU[k] = Step(u, nextU);
            stepV[k] = Step(v, nextV);
        }
        nextU = u;
        nextV = v;
    }

    constexpr double x0 = 2 * (0 - kRotateCentre) + 1;
    for (int32_t j = h - 1; j >= 0; --j) {
        const double y = 2 * (j - kRotateCentre) + 1;
        int32_t px = kRotateCentre + (RoundHalfUp(y * c + x0 * s) - 1) / 2;
        int32_t py = kRotateCentre + (RoundHalfUp(x0 * c - y * s) - 1) / 2;
        uint16_t* row = destination.Row(to.top + j);
        for (int32_t k = 0; k < w; ++k) {
            px += Move(stepV[k]);
            py += Move(stepU[k]);
            if (px >= 0 && px < limitX && py >= 0 && py < limitY) row[to.left + w - 1 - k] = source.At(px, py);
        }
    }
}

}  // namespace gfx
