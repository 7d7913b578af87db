// Pictures loaded from PCT resources, the holder sprites keep them in, and
// the render target all picture drawing goes to.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/surface.h"

namespace gfx {

struct Picture {
    Picture() = default;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Surface* surface = nullptr;  // owned unless shared; null before the first load
    uint16_t width = 0;
    uint16_t height = 0;
    bool shared = false;  // the surface is the picture cache's, never written
};

// Where every Draw* below goes. Redirect it only around one drawing job,
// restoring it afterwards.
Surface* GetRenderTarget();
void SetRenderTarget(Surface* target);

void InitPicture(Picture& picture);
// Replaces the surface by a black one of this size and decodes resource `id`
// into it; a missing resource leaves the picture black.
void LoadPicture(Picture& picture, uint16_t id, uint16_t width, uint16_t height);
// As LoadPicture, but the pixels are the kept decoded ones when the size
// matches: nothing is allocated or copied. For pictures that are only drawn;
// one that is drawn into later gets its own copy first.
void LoadSharedPicture(Picture& picture, uint16_t id, uint16_t width, uint16_t height);
void CreateBlankPicture(Picture& picture, uint16_t width, uint16_t height);
void FreePicture(Picture& picture);

// Drawing onto the render target; nothing while there is none.
void DrawPicture(const Picture& picture, int32_t x, int32_t y);
void DrawPictureRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from);
void DrawPictureHalf(const Picture& picture, int32_t x, int32_t y);
void DrawPictureHalfRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from);
void DrawPictureKeyed(const Picture& picture, int32_t x, int32_t y, Colour key);
void DrawPictureKeyedRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key);
void DrawPictureKeyedAtPixel(const Picture& picture, int32_t x, int32_t y, int32_t keyX, int32_t keyY);
void DrawPictureKeyedHalf(const Picture& picture, int32_t x, int32_t y, Colour key);
void DrawPictureKeyedHalfRegion(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key);

// As GrabTargetRegion of the area it covers into `kept` (at the same place
// as `from` in the picture), then DrawPictureKeyedRegion, in one pass.
void DrawPictureKeyedKeeping(const Picture& picture, int32_t x, int32_t y, const Rect& from, Colour key,
                             Picture& kept);

// Copies from the render target into the picture.
void GrabTarget(Picture& picture, int32_t x, int32_t y);
void GrabTargetRegion(Picture& picture, Point to, const Rect& from);

// Draws `source` into `destination` at (x, y), clipped to the destination.
void ComposePicture(const Picture& source, Picture& destination, int32_t x, int32_t y, bool keyed, Colour key,
                    bool blend);

// One owned picture that can be reloaded under whoever refers to it. Its
// pictures are shared (see LoadSharedPicture).
struct PictureHolder {
    PictureHolder() = default;
    PictureHolder(uint16_t id, uint16_t width, uint16_t height);
    ~PictureHolder();
    PictureHolder(const PictureHolder&) = delete;
    PictureHolder& operator=(const PictureHolder&) = delete;

    Picture* picture = nullptr;  // &held once loaded
    Picture held;
};

void LoadHeldPicture(PictureHolder& holder, uint16_t id, uint16_t width, uint16_t height);
void FreeHeldPicture(PictureHolder& holder);

}  // namespace gfx
