#include "resources/picture_pack.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "resources/range_coder.h"

namespace resources {

namespace {

constexpr size_t kHeader = 2;
constexpr size_t kPerPicture = 8;  // id, width, decoded size
constexpr uint32_t kLevels = 5;    // how busy the neighbourhood is

struct Model {
    Model() {
        std::fill_n(&same[0][0], sizeof same / sizeof(Probability), kEven);
        std::fill_n(&red[0][0], sizeof red / sizeof(Probability), kEven);
        std::fill_n(&green[0][0], sizeof green / sizeof(Probability), kEven);
        std::fill_n(&blue[0][0], sizeof blue / sizeof(Probability), kEven);
        std::fill_n(odd, 256, kEven);
        std::fill_n(frame, 4096, kEven);
    }
    Probability same[4][1024];           // equal to the left, above, above right, above left pixel
    Probability red[kLevels][32];
    Probability green[kLevels * 32][64];  // also by red's difference
    Probability blue[kLevels * 64][32];   // also by green's difference
    Probability odd[256];                // a picture's odd last byte
    Probability frame[4096];             // equal to the pixel in the same place of the picture before
};

struct Encoding {
    RangeEncoder& coder;
    uint32_t Bit(Probability& p, uint32_t bit) {
        coder.Encode(p, bit);
        return bit;
    }
    uint32_t Tree(Probability* tree, uint32_t value, uint32_t bits) {
        coder.EncodeTree(tree, value, bits);
        return value;
    }
};

// The same calls as Encoding: the values passed in are not known yet and are
// read from the stream instead.
struct Decoding {
    RangeDecoder& coder;
    uint32_t Bit(Probability& p, uint32_t) { return coder.Decode(p); }
    uint32_t Tree(Probability* tree, uint32_t, uint32_t bits) { return coder.DecodeTree(tree, bits); }
};

int32_t Median(int32_t a, int32_t b, int32_t c) {
    const int32_t high = std::max(a, b), low = std::min(a, b);
    return c >= high ? low : c <= low ? high : a + b - c;
}

int32_t Red(uint32_t c) { return static_cast<int32_t>(c >> 11); }
int32_t Green(uint32_t c) { return static_cast<int32_t>((c >> 5) & 63); }
int32_t Blue(uint32_t c) { return static_cast<int32_t>(c & 31); }

// A pixel unlike its neighbours: red, then green and blue by what red did,
// each as its difference from the neighbours' median.
template <class Coder>
uint32_t CodeColour(Coder& coder, Model& m, uint32_t c, uint32_t w, uint32_t n, uint32_t nw, uint32_t ne) {
    const int32_t pr = Median(Red(w), Red(n), Red(nw));
    const int32_t pg = Median(Green(w), Green(n), Green(nw));
    const int32_t pb = Median(Blue(w), Blue(n), Blue(nw));
    const int32_t busy =
        std::abs(Green(w) - Green(nw)) + std::abs(Green(n) - Green(nw)) + std::abs(Green(n) - Green(ne));
    const uint32_t level = busy == 0 ? 0 : busy < 3 ? 1 : busy < 8 ? 2 : busy < 20 ? 3 : 4;
    const uint32_t er = coder.Tree(m.red[level], static_cast<uint32_t>(Red(c) - pr) & 31, 5);
    const int32_t r = (pr + static_cast<int32_t>(er)) & 31;
    const int32_t dr = r - pr;
    const uint32_t eg = coder.Tree(m.green[level * 32 + er], static_cast<uint32_t>(Green(c) - pg - 2 * dr) & 63, 6);
    const int32_t g = (pg + 2 * dr + static_cast<int32_t>(eg)) & 63;
    const uint32_t eb = coder.Tree(m.blue[level * 64 + eg], static_cast<uint32_t>(Blue(c) - pb - dr) & 31, 5);
    const int32_t b = (pb + dr + static_cast<int32_t>(eb)) & 31;
    return static_cast<uint32_t>(r << 11 | g << 5 | b);
}

// Codes (or, decoding, fills in) the `size` bytes of one picture, little-endian
// 5-6-5 pixels in rows of `width`. `frame`: the picture before, when it has the
// same size (the frames of an animation follow one another).
template <class Coder>
void CodePicture(Coder& coder, Model& m, uint8_t* bytes, size_t size, uint32_t width, const uint8_t* frame) {
    const size_t count = size / 2;
    auto pixelAt = [bytes](size_t k) { return bytes[2 * k] | static_cast<uint32_t>(bytes[2 * k + 1]) << 8; };
    auto framePixelAt = [frame](size_t k) { return frame[2 * k] | static_cast<uint32_t>(frame[2 * k + 1]) << 8; };
    uint32_t history = 0;
    for (size_t i = 0, x = 0; i < count; ++i, x = x + 1 == width ? 0 : x + 1) {
        const uint32_t c = pixelAt(i);
        // Outside the picture is black.
        const bool left = x > 0, up = i >= width, right = x + 1 < width;
        const uint32_t w = left ? pixelAt(i - 1) : 0, n = up ? pixelAt(i - width) : 0;
        const uint32_t nw = left && up ? pixelAt(i - width - 1) : 0, ne = right && up ? pixelAt(i - width + 1) : 0;
        const uint32_t ww = x > 1 ? pixelAt(i - 2) : 0, nn = i >= 2 * size_t{width} ? pixelAt(i - 2 * width) : 0;
        const uint32_t context = (w == n) | (w == nw) << 1 | (n == ne) << 2 | (n == nw) << 3 | (w == ww) << 4 |
                                 (n == nn) << 5 | (history & 15) << 6;
        uint32_t pixel = w;
        if (frame != nullptr) {
            const uint32_t f = framePixelAt(i), fw = i > 0 ? framePixelAt(i - 1) : 0;
            const uint32_t asBefore = coder.Bit(
                m.frame[(context & 63) | (f == w) << 6 | (f == n) << 7 | (fw == w) << 8 | (history & 7) << 9], c == f);
            history = history << 1 | asBefore;
            if (asBefore != 0) {
                bytes[2 * i] = static_cast<uint8_t>(f);
                bytes[2 * i + 1] = static_cast<uint8_t>(f >> 8);
                continue;
            }
        }
        const uint32_t onLeft = coder.Bit(m.same[0][context], c == w);
        history = history << 1 | onLeft;
        if (onLeft == 0) {
            uint32_t onAbove = 0;
            if (n != w) {
                onAbove = coder.Bit(m.same[1][context], c == n);
                history = history << 1 | onAbove;
            }
            if (onAbove != 0) {
                pixel = n;
            } else if (ne != w && ne != n && coder.Bit(m.same[2][context], c == ne) != 0) {
                pixel = ne;
            } else if (nw != w && nw != n && nw != ne && coder.Bit(m.same[3][context], c == nw) != 0) {
                pixel = nw;
            } else {
                pixel = CodeColour(coder, m, c, w, n, nw, ne);
            }
        }
        bytes[2 * i] = static_cast<uint8_t>(pixel);
        bytes[2 * i + 1] = static_cast<uint8_t>(pixel >> 8);
    }
    if (size % 2 != 0) bytes[size - 1] = static_cast<uint8_t>(coder.Tree(m.odd, bytes[size - 1], 8));
}

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t Get(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes; i-- > 0;) value = value << 8 | at[i];
    return value;
}

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(uint32_t value, uint32_t bits) {
        held_ = held_ << bits | (value & ((1u << bits) - 1));
        count_ += bits;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<uint8_t>(held_ >> count_));
        }
    }
    // Completes the last byte with zero bits; false when there was none to complete.
    bool Pad() {
        if (count_ == 0) return false;
        Put(0, 8 - count_);
        return true;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t held_ = 0;
    uint32_t count_ = 0;
};

}  // namespace

std::vector<uint8_t> PackPictures(const std::vector<PictureBytes>& pictures) {
    std::vector<uint8_t> out;
    Put(out, static_cast<uint32_t>(pictures.size()), kHeader);
    for (const PictureBytes& p : pictures) {
        Put(out, p.id, 2);
        Put(out, p.width, 2);
        Put(out, static_cast<uint32_t>(p.bytes.size()), 4);
    }
    RangeEncoder encoder;
    Encoding coding{encoder};
    auto model = std::make_unique<Model>();
    const PictureBytes* before = nullptr;
    for (const PictureBytes& p : pictures) {
        std::vector<uint8_t> bytes = p.bytes;
        const bool sameSize = before != nullptr && before->width == p.width && before->bytes.size() == p.bytes.size();
        CodePicture(coding, *model, bytes.data(), bytes.size(), std::max<uint32_t>(p.width, 1),
                    sameSize ? before->bytes.data() : nullptr);
        before = &p;
    }
    const std::vector<uint8_t> body = encoder.Finish();
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool UnpackPictures(const uint8_t* packed, size_t size, std::vector<PictureBytes>& out) {
    if (size < kHeader) return false;
    const size_t count = Get(packed, kHeader);
    const size_t start = kHeader + count * kPerPicture;
    if (size < start) return false;
    RangeDecoder decoder(packed + start, size - start);
    Decoding coding{decoder};
    auto model = std::make_unique<Model>();
    std::vector<uint8_t> bytes, before;
    uint16_t widthBefore = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* fields = packed + kHeader + i * kPerPicture;
        const auto width = static_cast<uint16_t>(Get(fields + 2, 2));
        bytes.assign(Get(fields + 4, 4), 0);
        const bool sameSize = i > 0 && widthBefore == width && before.size() == bytes.size();
        CodePicture(coding, *model, bytes.data(), bytes.size(), std::max<uint32_t>(width, 1),
                    sameSize ? before.data() : nullptr);
        if (!decoder.Intact()) return false;
        before = bytes;
        widthBefore = width;
        out.push_back({static_cast<uint16_t>(Get(fields, 2)), width, EncodeRuns(bytes.data(), bytes.size(), width)});
    }
    return true;
}

// The decoder finishes the token in progress when it fetches the stream's
// last byte, and starts none after: so the stream ends one byte after the
// last whole byte of tokens, whatever the padding.
std::vector<uint8_t> EncodeRuns(const uint8_t* bytes, size_t size, uint32_t width) {
    constexpr size_t kHistory = 512, kLongest = 32;
    std::vector<uint8_t> out(4, 0);
    BitWriter writer(out);
    const size_t distances[] = {2, size_t{width} * 2};
    auto byteAt = [&](size_t i, size_t back) { return i >= back ? bytes[i - back] : uint8_t{0}; };
    for (size_t i = 0; i < size;) {
        size_t length = 1, distance = 0;
        for (size_t back : distances) {
            if (back == 0 || back > kHistory) continue;
            size_t n = 0;
            while (n < kLongest && i + n < size && byteAt(i + n, back) == bytes[i + n]) ++n;
            if (n > length) {
                length = n;
                distance = back;
            }
        }
        if (distance == 0) {
            writer.Put(1, 1);
            writer.Put(bytes[i], 8);
        } else {
            writer.Put(0, 1);
            writer.Put(static_cast<uint32_t>(length - 1), 5);
            writer.Put(static_cast<uint32_t>(kHistory - distance), 9);
        }
        i += length;
    }
    if (!writer.Pad()) out.push_back(0);
    const auto length = static_cast<uint32_t>(out.size() - 4);
    for (int b = 0; b < 4; ++b) out[static_cast<size_t>(b)] = static_cast<uint8_t>(length >> (8 * b));
    return out;
}

}  // namespace resources
