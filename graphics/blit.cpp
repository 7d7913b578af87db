// Rows are walked top to bottom and each row left to right: source and
// destination never alias for the per-pixel blits, so the result is that
// of a column-by-column walk. The per-pixel rules are written once, for one
// pixel and for a vector of eight, and a row runs eight pixels at a time.
#include "graphics/blit.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace gfx {
namespace {

using Lanes = uint16_t __attribute__((vector_size(16)));
// Sixteen pixels at once, where the processor has 256-bit integer vectors.
// They never cross a call (the build does not warn of their calling
// convention): all that works on them is inlined into the one function
// built for those processors.
using WideLanes = uint16_t __attribute__((vector_size(32)));

template <typename V>
V Load(const uint16_t* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename V>
void Store(uint16_t* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// Inlined even unoptimised: it is called outside the per-pixel loop too,
// where a wide vector must not come back through a call.
template <typename T>
[[gnu::always_inline]] inline T Splat(Colour c) {
    if constexpr (std::is_same_v<T, Colour>) {
        return c;
    } else {
        return T{} + c;
    }
}

// All bits set where a equals b, for one pixel or a vector of them.
Colour Same(Colour a, Colour b) { return a == b ? 0xFFFF : 0; }
template <typename V>
V Same(V a, V b) {
    return (V)(a == b);
}

// Per lane, yes where the mask is all ones and no where it is zero; on the
// wide vectors one blend instruction.
template <typename T>
T Select(T mask, T yes, T no) {
    if constexpr (std::is_same_v<T, WideLanes>) {
        return mask ? yes : no;
    } else {
        return static_cast<T>((yes & mask) | (no & static_cast<T>(~mask)));
    }
}

// Per channel (a + b) >> 1 without unpacking: drop each channel's low bit
// before halving so no bit crosses into its neighbour.
template <typename T>
T HalfOf(T a, T b) {
    const T low = static_cast<T>((a ^ b) & Splat<T>(0xF7DE));
    return static_cast<T>((a & b) + (low >> 1));
}

// Calls op(source row, destination row, y) for each row of the region. All
// it needs is read first: the rows' stores could otherwise reach the surfaces.
template <typename RowOp>
[[gnu::always_inline]] inline void ForEachRow(const Surface& src, Surface& dst, Point to, const Rect& from, RowOp op) {
    dst.BeforeWrite();
    const auto* s = reinterpret_cast<const uint8_t*>(src.Row(from.top) + from.left);
    auto* d = reinterpret_cast<uint8_t*>(dst.Row(to.y) + to.x);
    const size_t sourcePitch = src.pitch;
    const size_t destinationPitch = dst.pitch;
    const int32_t h = from.Height();
    for (int32_t y = 0; y < h; ++y, s += sourcePitch, d += destinationPitch) {
        op(reinterpret_cast<const uint16_t*>(s), reinterpret_cast<uint16_t*>(d), y);
    }
}

// d[x] = op(s[x], above[x], d[x], key) along a row of w pixels, a vector V
// at a time, first keeping d[x] in keep[x] when there is a keep row. A row
// that is no multiple of the vector ends with one overlapping the pixels
// before, worked out from the destination as it was before the row; a row
// narrower than the vector takes a narrower one.
// `keys` is the key in every lane, made once per blit rather than per row.
template <typename V = Lanes, typename PixelOp>
[[gnu::always_inline]] inline void ForEachPixel(const uint16_t* s, const uint16_t* above, uint16_t* d, int32_t w,
                                                Colour key, V keys, PixelOp op, uint16_t* keep = nullptr) {
    constexpr auto lanes = static_cast<int32_t>(sizeof(V) / sizeof(uint16_t));
    if (w < lanes) {
        if constexpr (std::is_same_v<V, WideLanes>) {
            ForEachPixel<Lanes>(s, above, d, w, key, __builtin_shufflevector(keys, keys, 0, 1, 2, 3, 4, 5, 6, 7), op,
                                keep);
        } else {
            for (int32_t x = 0; x < w; ++x) {
                if (keep != nullptr) keep[x] = d[x];
                d[x] = op(s[x], above[x], d[x], key);
            }
        }
        return;
    }
    const int32_t last = w - lanes;
    const V lastBefore = Load<V>(d + last);
    for (int32_t x = 0; x < last; x += lanes) {
        const V q = Load<V>(d + x);
        if (keep != nullptr) Store(keep + x, q);
        Store(d + x, op(Load<V>(s + x), Load<V>(above + x), q, keys));
    }
    if (keep != nullptr) Store(keep + last, lastBefore);
    Store(d + last, op(Load<V>(s + last), Load<V>(above + last), lastBefore, keys));
}

template <typename PixelOp>
void BlitPixels(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, PixelOp op) {
    const int32_t w = from.Width();
    const Lanes keys = Splat<Lanes>(key);
    ForEachRow(src, dst, to, from,
               [w, key, keys, op](const uint16_t* s, uint16_t* d, int32_t) { ForEachPixel(s, s, d, w, key, keys, op); });
}

// The keyed copy: d = s where s is not the key.
constexpr auto kKeyedCopy = [](auto s, auto, auto d, auto key) { return Select(Same(s, key), d, s); };

}  // namespace

Colour Half(Colour a, Colour b) { return HalfOf(a, b); }

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
    BlitPixels(src, dst, to, from, 0, [](auto s, auto, auto d, auto) { return HalfOf(s, d); });
}

void BlitKeyed(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key) {
    BlitPixels(src, dst, to, from, key, kKeyedCopy);
}

void BlitKeyedHalf(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key) {
    BlitPixels(src, dst, to, from, key,
               [](auto s, auto, auto d, auto k) { return Select(Same(s, k), d, HalfOf(s, d)); });
}

void BlitKeyedAlpha(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, float alpha) {
    const int32_t w = from.Width();
    ForEachRow(src, dst, to, from, [w, key, alpha](const uint16_t* s, uint16_t* d, int32_t) {
        for (int32_t x = 0; x < w; ++x) {
            if (s[x] != key) d[x] = Alpha(s[x], d[x], alpha);
        }
    });
}

namespace {

template <typename V>
[[gnu::always_inline]] inline void KeyedSoft(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key,
                                             Surface* kept, Point keptAt) {
    const int32_t w = from.Width();
    const uint32_t pitch = src.pitch;
    // As a read of the destination into `kept` would, before the blit writes.
    if (kept != nullptr) {
        dst.BeforeRead();
        kept->BeforeWrite();
    }
    const V keys = Splat<V>(key);
    ForEachRow(src, dst, to, from, [w, key, keys, pitch, kept, keptAt](const uint16_t* s, uint16_t* d, int32_t y) {
        uint16_t* keep = kept != nullptr ? kept->Row(keptAt.y + y) + keptAt.x : nullptr;
        if (y == 0) {
            ForEachPixel<V>(s, s, d, w, key, keys, kKeyedCopy, keep);
            return;
        }
        // The source pixel directly above, in the same column.
        const auto* above = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(s) - pitch);
        ForEachPixel<V>(
            s, above, d, w, key, keys,
            [](auto p, auto a, auto q, auto k) {
                const auto transparent = Same(p, k);
                // An edge either way blends: p is the key under a run.
                return Select(static_cast<decltype(p)>(transparent ^ Same(a, k)), HalfOf(p, q),
                              Select(transparent, q, p));
            },
            keep);
    });
}

#if defined(__x86_64__)
// Every sprite goes through this blit: twice the pixels per instruction pays.
[[gnu::target("avx2")]] void KeyedSoftWide(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key,
                                           Surface* kept, Point keptAt) {
    KeyedSoft<WideLanes>(src, dst, to, from, key, kept, keptAt);
}

bool HasWideLanes() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

void BlitKeyedSoft(const Surface& src, Surface& dst, Point to, const Rect& from, Colour key, Surface* kept,
                   Point keptAt) {
#if defined(__x86_64__)
    if (HasWideLanes()) {
        KeyedSoftWide(src, dst, to, from, key, kept, keptAt);
        return;
    }
#endif
    KeyedSoft<Lanes>(src, dst, to, from, key, kept, keptAt);
}

void FillSurface(Surface& surface, Colour colour) {
    if (surface.pixels == nullptr) return;
    surface.BeforeWrite();
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
