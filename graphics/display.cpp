#include "graphics/display.h"

#include <algorithm>
#include <new>

#include "graphics/blit.h"
#include "platform/platform.h"

namespace gfx {
namespace {

uint32_t ClientDimension(int32_t v) { return v > 0 ? static_cast<uint32_t>(v) : 0u; }

}  // namespace

DisplaySurface::DisplaySurface(uint32_t w, uint32_t h) {
    const uint32_t rowPitch = (2 * w + 3) & ~3u;
    const size_t count = static_cast<size_t>(rowPitch / 2) * h;
    memory_.reset(count != 0 ? new (std::nothrow) uint16_t[count]() : nullptr);
    if (memory_ == nullptr) return;  // no memory: an empty surface
    pixels = memory_.get();
    width = w;
    height = h;
    pitch = rowPitch;
}

Display::Display()
    : surface_(ClientDimension(plat::ClientSize().width), ClientDimension(plat::ClientSize().height)) {
    copies_.reserve(kReservedCopies);
}

void Display::PresentAll() {
    const plat::CopyRect all{0, 0, static_cast<int32_t>(surface_.width), static_cast<int32_t>(surface_.height), 0, 0};
    plat::Present(surface_.pixels, surface_.pitch, surface_.width, surface_.height, &all, 1);
    Mirror(&all, 1);
}

void Display::PresentRects(const Rect* rects, uint16_t count) {
    // Rectangles come from callers as well as from clipped drawing: cut each
    // to the surface so the platform is never asked to read outside it.
    copies_.clear();
    const auto w = static_cast<int32_t>(surface_.width);
    const auto h = static_cast<int32_t>(surface_.height);
    for (uint16_t i = 0; i < count; ++i) {
        const int32_t l = std::max(rects[i].left, 0);
        const int32_t t = std::max(rects[i].top, 0);
        const int32_t r = std::min(rects[i].right, w);
        const int32_t b = std::min(rects[i].bottom, h);
        if (l < r && t < b) copies_.push_back(plat::CopyRect{l, t, r - l, b - t, l, t});
    }
    plat::Present(surface_.pixels, surface_.pitch, surface_.width, surface_.height, copies_.data(),
                  static_cast<uint32_t>(copies_.size()));
    Mirror(copies_.data(), static_cast<uint32_t>(copies_.size()));
}

void Display::PresentOffset(int32_t dx, int32_t dy) {
    int32_t w = static_cast<int32_t>(surface_.width);
    int32_t h = static_cast<int32_t>(surface_.height);
    int32_t toX = dx;
    int32_t toY = dy;
    if (dx < 0) {
        w += dx;
        toX = 0;
    }
    if (dy < 0) {
        h += dy;
        toY = 0;
    }
    if (w + toX > kScreenWidth) w = kScreenWidth - toX;
    if (h + toY > kScreenHeight) h = kScreenHeight - toY;
    const plat::CopyRect shifted{std::max(-dx, 0), std::max(-dy, 0), w, h, toX, toY};
    // A shift by a whole screen or more leaves nothing to copy.
    const uint32_t n = (w > 0 && h > 0) ? 1u : 0u;
    plat::Present(surface_.pixels, surface_.pitch, surface_.width, surface_.height, &shifted, n);
    Mirror(&shifted, n);
}

void Display::Mirror(const plat::CopyRect* copies, uint32_t count) {
    if (mirror_ == nullptr || mirror_->pixels == nullptr || surface_.pixels == nullptr) return;
    for (uint32_t i = 0; i < count; ++i) {
        const plat::CopyRect& c = copies[i];
        // Cut to both surfaces, as the window cuts a present.
        const int32_t w = std::min({c.width, static_cast<int32_t>(surface_.width) - c.srcX,
                                    static_cast<int32_t>(mirror_->width) - c.dstX});
        const int32_t h = std::min({c.height, static_cast<int32_t>(surface_.height) - c.srcY,
                                    static_cast<int32_t>(mirror_->height) - c.dstY});
        if (w <= 0 || h <= 0 || c.srcX < 0 || c.srcY < 0 || c.dstX < 0 || c.dstY < 0) continue;
        BlitCopy(surface_, *mirror_, Point{c.dstX, c.dstY}, Rect{c.srcX, c.srcY, c.srcX + w, c.srcY + h});
    }
}

}  // namespace gfx
