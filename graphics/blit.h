// Blit primitives. None of them clips: the caller passes a source rect
// inside the source and a destination that fits in the destination.
// Source and destination are different surfaces except for BlitCopy.
#pragma once

#include "graphics/geometry.h"
#include "graphics/surface.h"

namespace gfx {

// Channels as 8-bit values with their low bits zero.
constexpr uint32_t Red8(Colour c) { return (c >> 8) & 0xF8u; }
constexpr uint32_t Green8(Colour c) { return (c >> 3) & 0xFCu; }
constexpr uint32_t Blue8(Colour c) { return (uint32_t{c} << 3) & 0xFFu; }
constexpr Colour FromChannels(uint32_t r8, uint32_t g8, uint32_t b8) {
    return static_cast<Colour>(((r8 & 0xF8u) << 8) | ((g8 & 0xFCu) << 3) | ((b8 & 0xFFu) >> 3));
}

// 50 % blend: each channel the floor of the mean.
Colour Half(Colour a, Colour b);
// s x a + d x (1 - a) per channel, truncated; a in 0..1.
Colour Alpha(Colour s, Colour d, float a);

void BlitCopy(const Surface& src, Surface& dst, Point to, const Rect& from);
void BlitCopyWhole(const Surface& src, Surface& dst, Point to);
void BlitHalf(const Surface& src, Surface& dst, Point to, const Rect& from);
void BlitKeyed(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key);
void BlitKeyedHalf(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key);
void BlitKeyedAlpha(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, float alpha);
// The sprite blit: keyed, with the top edge of every opaque run half
// blended and the key colour half blended under its bottom edge. With
// `kept`, what it covers is first copied there at `keptAt` (a third
// surface, large enough), in the same pass.
void BlitKeyedSoft(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, Surface* kept = nullptr,
                   Point keptAt = {});
void FillSurface(Surface& surface, Colour colour);

}  // namespace gfx
