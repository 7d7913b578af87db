// Rows are walked top to bottom and each row left to right: source and
// destination never alias for the per-pixel blits, so the result is that
// of a column-by-column walk, at memory speed.
#include "graphics/blit.h"

#include <algorithm>
#include <cstring>

namespace gfx {
namespace {

// Calls op(source row, destination row, y) for each row of the region.
template <typename RowOp>
void ForEachRow(const Surface& src, Surface& dst, Point to, const Rect& from, RowOp op) {
    for (int32_t y = 0; y < from.Height(); ++y) {
        op(src.Row(from.top + y) + from.left, dst.Row(to.y + y) + to.x, y);
    }
}

}  // namespace

Colour Half(Colour a, Colour b) {
    // Per channel (a + b) >> 1 without unpacking: drop each channel's low
    // bit before halving so no bit crosses into its neighbour.
    return static_cast<Colour>((a & b) + (((a ^ b) & 0xF7DEu) >> 1));
}

Colour Alpha(Colour s, Colour d, float a) {
    const double rest = 1.0 - static_cast<double>(a);
    // Clamped so an alpha outside 0..1 cannot overflow a channel.
    auto mix = [&](uint32_t sc, uint32_t dc) {
        const double v = static_cast<double>(static_cast<float>(sc) * a) + static_cast<double>(dc) * rest;
        return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
    };
    return FromChannels(mix(Red8(s), Red8(d)), mix(Green8(s), Green8(d)), mix(Blue8(s), Blue8(d)));
}

void BlitCopy(const Surface& src, Surface& dst, Point to, const Rect& from) {
    const size_t bytes = static_cast<size_t>(from.Width()) * 2;
    if (bytes == 0) return;
    ForEachRow(src, dst, to, from, [bytes](const uint16_t* s, uint16_t* d, int32_t) { std::memmove(d, s, bytes); });
}

void BlitCopyWhole(const Surface& src, Surface& dst, Point to) {
    BlitCopy(src, dst, to, Rect{0, 0, static_cast<int32_t>(src.width), static_cast<int32_t>(src.height)});
}

void BlitHalf(const Surface& src, Surface& dst, Point to, const Rect& from) {
    const int32_t w = from.Width();
    ForEachRow(src, dst, to, from, [w](const uint16_t* s, uint16_t* d, int32_t) {
        for (int32_t x = 0; x < w; ++x) d[x] = Half(s[x], d[x]);
    });
}

void BlitKeyed(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key) {
    const int32_t w = from.Width();
    ForEachRow(src, dst, to, from, [w, key](const uint16_t* s, uint16_t* d, int32_t) {
        for (int32_t x = 0; x < w; ++x) d[x] = s[x] != key ? s[x] : d[x];
    });
}

void BlitKeyedHalf(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key) {
    const int32_t w = from.Width();
    ForEachRow(src, dst, to, from, [w, key](const uint16_t* s, uint16_t* d, int32_t) {
        for (int32_t x = 0; x < w; ++x) d[x] = s[x] != key ? Half(s[x], d[x]) : d[x];
    });
}

void BlitKeyedAlpha(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, float alpha) {
    const int32_t w = from.Width();
    ForEachRow(src, dst, to, from, [w, key, alpha](const uint16_t* s, uint16_t* d, int32_t) {
        for (int32_t x = 0; x < w; ++x) {
            if (s[x] != key) d[x] = Alpha(s[x], d[x], alpha);
        }
    });
}

void BlitKeyedSoft(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key) {
    const int32_t w = from.Width();
    const uint32_t pitch = src.pitch;
    ForEachRow(src, dst, to, from, [w, key, pitch](const uint16_t* s, uint16_t* d, int32_t y) {
        if (y == 0) {
            for (int32_t x = 0; x < w; ++x) d[x] = s[x] != key ? s[x] : d[x];
            return;
        }
        // The source pixel directly above, in the same column.
        const auto* above = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(s) - pitch);
        // Written as selects so the loop runs without branches.
        for (int32_t x = 0; x < w; ++x) {
            const bool opaque = s[x] != key;
            const bool opaqueAbove = above[x] != key;
            const Colour edge = Half(s[x], d[x]);  // s is the key under a run
            const Colour inside = opaque ? s[x] : d[x];
            d[x] = opaque != opaqueAbove ? edge : inside;
        }
    });
}

void FillSurface(Surface& surface, Colour colour) {
    if (surface.pixels == nullptr) return;
    const auto lo = static_cast<uint8_t>(colour);
    if (lo == static_cast<uint8_t>(colour >> 8)) {
        std::memset(surface.pixels, lo, static_cast<size_t>(surface.pitch) * surface.height);
        return;
    }
    const int32_t w = static_cast<int32_t>(surface.width);
    for (int32_t y = 0; y < static_cast<int32_t>(surface.height); ++y) {
        uint16_t* row = surface.Row(y);
        if (w % 8 == 0) {
            const uint32_t pair = colour | (uint32_t{colour} << 16);
            for (int32_t x = 0; x < w; x += 2) std::memcpy(row + x, &pair, sizeof pair);
        } else {
            for (int32_t x = 0; x < w; ++x) row[x] = colour;
        }
    }
}

}  // namespace gfx
