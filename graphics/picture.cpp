#include "graphics/picture.h"

#include <algorithm>
#include <new>

#include "graphics/blit.h"
#include "graphics/picture_cache.h"

namespace gfx {
namespace {

Surface* g_renderTarget = nullptr;

Rect Whole(const Picture& picture) { return Rect{0, 0, picture.width, picture.height}; }

bool Inside(const Surface& surface, const Rect& r) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom &&
           r.right <= static_cast<int32_t>(surface.width) && r.bottom <= static_cast<int32_t>(surface.height);
}

// The blitters trust their rectangles; a call that would reach outside
// either surface draws nothing rather than corrupt memory.
bool Fits(const Surface& src, const Surface& dst, Point to, const Rect& from) {
    return Inside(src, from) && Inside(dst, Rect{to.x, to.y, to.x + from.Width(), to.y + from.Height()});
}

// A picture that was never loaded, or with no render target, draws nothing.
bool Drawable(const Picture& picture, Point to, const Rect& from) {
    return picture.surface != nullptr && g_renderTarget != nullptr &&
           Fits(*picture.surface, *g_renderTarget, to, from);
}

void ReplaceSurface(Picture& picture, uint16_t width, uint16_t height) {
    FreePicture(picture);
    picture.width = width;
    picture.height = height;
    picture.surface = new (std::nothrow) Surface(width, height);
    // Out of memory: an empty picture that draws nothing.
    if (picture.surface == nullptr || picture.surface->width != width || picture.surface->height != height) {
        picture.width = 0;
        picture.height = 0;
    }
}

// A shared picture about to be drawn into gets pixels of its own.
void Unshare(Picture& picture) {
    if (!picture.shared) return;
    const Surface& kept = *picture.surface;
    picture.surface = nullptr;
    picture.shared = false;
    const uint16_t width = picture.width;
    const uint16_t height = picture.height;
    ReplaceSurface(picture, width, height);
    if (picture.surface != nullptr && picture.width != 0) BlitCopyWhole(kept, *picture.surface, Point{0, 0});
}

}  // namespace

Picture::~Picture() { FreePicture(*this); }

Surface* GetRenderTarget() { return g_renderTarget; }
void SetRenderTarget(Surface* target) { g_renderTarget = target; }

void InitPicture(Picture& picture) {
    picture.surface = nullptr;
    picture.width = 0;
    picture.height = 0;
}

void LoadPicture(Picture& picture, uint16_t id, uint16_t width, uint16_t height) {
    ReplaceSurface(picture, width, height);
    Surface* s = picture.surface;
    if (s == nullptr || s->pixels == nullptr) return;
    s->BeforeWrite();
    LoadPictureBytes(id, reinterpret_cast<uint8_t*>(s->pixels), s->pitch * s->height);
}

void LoadSharedPicture(Picture& picture, uint16_t id, uint16_t width, uint16_t height) {
    Surface* kept = KeptSurface(id, width, height);
    if (kept == nullptr) {
        LoadPicture(picture, id, width, height);
        return;
    }
    FreePicture(picture);
    picture.surface = kept;
    picture.shared = true;
    picture.width = width;
    picture.height = height;
}

void CreateBlankPicture(Picture& picture, uint16_t width, uint16_t height) { ReplaceSurface(picture, width, height); }

void FreePicture(Picture& picture) {
    if (!picture.shared) delete picture.surface;
    picture.surface = nullptr;
    picture.shared = false;
}

void DrawPicture(const Picture& picture, int32_t x, int32_t y) {
    if (Drawable(picture, Point{x, y}, Whole(picture))) BlitCopyWhole(*picture.surface, *g_renderTarget, Point{x, y});
}

void DrawPictureRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from) {
    if (Drawable(picture, Point{x, y}, from)) BlitCopy(*picture.surface, *g_renderTarget, Point{x, y}, from);
}

void DrawPictureHalf(const Picture& picture, int32_t x, int32_t y) { DrawPictureHalfRegion(picture, x, y, Whole(picture)); }

void DrawPictureHalfRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from) {
    if (Drawable(picture, Point{x, y}, from)) BlitHalf(*picture.surface, *g_renderTarget, Point{x, y}, from);
}

void DrawPictureKeyed(const Picture& picture, int32_t x, int32_t y, Colour key) {
    DrawPictureKeyedRegion(picture, x, y, Whole(picture), key);
}

void DrawPictureKeyedRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key) {
    if (Drawable(picture, Point{x, y}, from)) BlitKeyedSoft(*picture.surface, *g_renderTarget, Point{x, y}, from, key);
}

void DrawPictureKeyedAtPixel(const Picture& picture, int32_t x, int32_t y, int32_t keyX, int32_t keyY) {
    if (picture.surface == nullptr || keyX < 0 || keyY < 0 || keyX >= picture.width || keyY >= picture.height) return;
    DrawPictureKeyed(picture, x, y, picture.surface->At(keyX, keyY));
}

void DrawPictureKeyedHalf(const Picture& picture, int32_t x, int32_t y, Colour key) {
    DrawPictureKeyedHalfRegion(picture, x, y, Whole(picture), key);
}

void DrawPictureKeyedHalfRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key) {
    if (Drawable(picture, Point{x, y}, from)) BlitKeyedHalf(*picture.surface, *g_renderTarget, Point{x, y}, from, key);
}

void DrawPictureKeyedKeeping(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key,
                             Picture& kept) {
    const Point keptAt{from.left, from.top};
    const Rect covered{x, y, x + from.Width(), y + from.Height()};
    Unshare(kept);
    if (!Drawable(picture, Point{x, y}, from) || kept.surface == nullptr ||
        !Fits(*g_renderTarget, *kept.surface, keptAt, covered)) {
        GrabTargetRegion(kept, keptAt, covered);
        DrawPictureKeyedRegion(picture, x, y, from, key);
        return;
    }
    BlitKeyedSoft(*picture.surface, *g_renderTarget, Point{x, y}, from, key, kept.surface, keptAt);
}

void GrabTarget(Picture& picture, int32_t x, int32_t y) {
    GrabTargetRegion(picture, Point{0, 0}, Rect{x, y, x + picture.width, y + picture.height});
}

void GrabTargetRegion(Picture& picture, Point to, const Rect& from) {
    Unshare(picture);
    if (g_renderTarget != nullptr && picture.surface != nullptr && Fits(*g_renderTarget, *picture.surface, to, from)) {
        g_renderTarget->BeforeRead();
        BlitCopy(*g_renderTarget, *picture.surface, to, from);
    }
}

void ComposePicture(const Picture& source, Picture& destination, int32_t x, int32_t y, bool keyed, Colour key,
                    bool blend) {
    if (source.surface == nullptr || destination.surface == nullptr) return;
    Unshare(destination);
    if (destination.surface == nullptr) return;
    const int32_t dw = destination.width;
    const int32_t dh = destination.height;
    if (x > dw || y > dh || x + source.width < 0 || y + source.height < 0) return;
    const Rect from{std::max(0, -x), std::max(0, -y), std::min<int32_t>(source.width, dw - x),
                    std::min<int32_t>(source.height, dh - y)};
    if (from.Empty()) return;
    const Point to{std::max(0, x), std::max(0, y)};
    const Surface& s = *source.surface;
    Surface& d = *destination.surface;
    if (keyed && blend) {
        BlitKeyedHalf(s, d, to, from, key);
    } else if (keyed) {
        BlitKeyed(s, d, to, from, key);
    } else if (blend) {
        BlitHalf(s, d, to, from);
    } else {
        BlitCopy(s, d, to, from);
    }
}

PictureHolder::PictureHolder(uint16_t id, uint16_t width, uint16_t height) { LoadHeldPicture(*this, id, width, height); }

PictureHolder::~PictureHolder() { FreeHeldPicture(*this); }

void LoadHeldPicture(PictureHolder& holder, uint16_t id, uint16_t width, uint16_t height) {
    FreeHeldPicture(holder);
    holder.picture = &holder.held;
    LoadSharedPicture(holder.held, id, width, height);
}

void FreeHeldPicture(PictureHolder& holder) {
    FreePicture(holder.held);
    holder.picture = nullptr;
}

}  // namespace gfx
