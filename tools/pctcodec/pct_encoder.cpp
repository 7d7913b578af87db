// Optimal parse over the lz77 format: every literal costs 9 bits and every
// match 15 bits whatever its length or distance, so the cheapest stream
// follows from the longest match at each position alone.
#include "tools/pctcodec/pct_encoder.h"

#include <algorithm>
#include <limits>

namespace pctcodec {
namespace {

constexpr size_t kHistory = 512;  // the decoder's history, zero at the start
constexpr size_t kMaxMatch = 32;
constexpr uint32_t kLiteralBits = 9;
constexpr uint32_t kMatchBits = 15;
// Long enough to find near-best matches in dithered art, short enough that a
// few hundred full-screen pictures encode in seconds.
constexpr int kMaxChain = 96;
constexpr int32_t kNone = -1;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Put(uint32_t value, int count) {
        for (int bit = count - 1; bit >= 0; --bit) {
            current_ = static_cast<uint8_t>((current_ << 1) | ((value >> bit) & 1u));
            if (++filled_ == 8) {
                out_.push_back(current_);
                current_ = 0;
                filled_ = 0;
            }
        }
    }

    // Completes the last byte with zero bits.
    void Flush() {
        if (filled_ != 0) Put(0, 8 - filled_);
    }

private:
    std::vector<uint8_t>& out_;
    uint8_t current_ = 0;
    int filled_ = 0;
};

struct Match {
    uint16_t length;    // 1 means no useful match
    uint16_t distance;  // 1..512 bytes back
};

// Longest match at every position of `data` from kHistory on; data begins
// with the kHistory zero bytes the decoder's history starts with.
std::vector<Match> LongestMatches(const std::vector<uint8_t>& data) {
    const size_t n = data.size();
    std::vector<Match> best(n, Match{1, 0});
    std::vector<int32_t> head(1u << 16, kNone);
    std::vector<int32_t> prev(n, kNone);
    for (size_t i = 0; i + 1 < n; ++i) {
        const uint32_t key = data[i] | (uint32_t{data[i + 1]} << 8);
        if (i >= kHistory) {
            const size_t limit = std::min(kMaxMatch, n - i);
            int chain = kMaxChain;
            for (int32_t c = head[key]; c != kNone && i - static_cast<size_t>(c) <= kHistory && chain > 0;
                 c = prev[static_cast<size_t>(c)], --chain) {
                const size_t from = static_cast<size_t>(c);
                size_t len = 2;
                while (len < limit && data[from + len] == data[i + len]) ++len;
                if (len > best[i].length) {
                    best[i] = Match{static_cast<uint16_t>(len), static_cast<uint16_t>(i - from)};
                    if (len == limit) break;
                }
            }
        }
        prev[i] = head[key];
        head[key] = static_cast<int32_t>(i);
    }
    return best;
}

}  // namespace

std::vector<uint8_t> EncodePct(const uint8_t* raw, size_t size) {
    std::vector<uint8_t> resource(4, 0);
    if (size == 0) return resource;

    std::vector<uint8_t> data(kHistory, 0);
    data.insert(data.end(), raw, raw + size);
    const std::vector<Match> matches = LongestMatches(data);

    // cost[i]: fewest bits that encode data[i..]; step[i]: bytes taken there.
    const size_t n = data.size();
    std::vector<uint32_t> cost(n + 1, 0);
    std::vector<uint16_t> step(n, 1);
    for (size_t i = n; i-- > kHistory;) {
        cost[i] = cost[i + 1] + kLiteralBits;
        for (size_t len = 2; len <= matches[i].length; ++len) {
            const uint32_t viaMatch = cost[i + len] + kMatchBits;
            if (viaMatch < cost[i]) {
                cost[i] = viaMatch;
                step[i] = static_cast<uint16_t>(len);
            }
        }
    }

    BitWriter bits(resource);
    for (size_t i = kHistory; i < n; i += step[i]) {
        if (step[i] == 1) {
            bits.Put(1, 1);
            bits.Put(data[i], 8);
        } else {
            bits.Put(0, 1);
            bits.Put(step[i] - 1u, 5);
            bits.Put(static_cast<uint32_t>(kHistory - matches[i].distance), 9);
        }
    }
    bits.Flush();
    // The decoder stops once the final byte is fetched, finishing only the
    // token in progress; a spare zero byte lets every real token complete.
    resource.push_back(0);

    const uint64_t length = resource.size() - 4;
    if (length > std::numeric_limits<uint32_t>::max()) return std::vector<uint8_t>(4, 0);
    for (int b = 0; b < 4; ++b) resource[static_cast<size_t>(b)] = static_cast<uint8_t>(length >> (8 * b));
    return resource;
}

uint32_t StreamLength(const std::vector<uint8_t>& resource) {
    if (resource.size() < 4) return 0;
    return uint32_t{resource[0]} | (uint32_t{resource[1]} << 8) | (uint32_t{resource[2]} << 16) |
           (uint32_t{resource[3]} << 24);
}

}  // namespace pctcodec
