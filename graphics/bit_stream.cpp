#include "graphics/bit_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace gfx {
namespace {

struct StreamSlot {
    const uint8_t* readData = nullptr;
    uint8_t* writeData = nullptr;
    bool open = false;
    char mode = 0;
    uint32_t position = 0;
    uint32_t end = 0;  // end position (read) or capacity (write)
};

StreamSlot g_slots[kStreamSlots];
uint8_t* g_outputBuffer = nullptr;
uint32_t g_outputCapacity = 0;

int TakeSlot() {
    for (int i = 0; i < kStreamSlots; ++i) {
        if (!g_slots[i].open) return i;
    }
    return -1;
}

uint32_t ReadBytes(StreamSlot& slot, uint8_t* to, uint32_t count) {
    const uint32_t n = std::min(count, slot.end - slot.position);
    if (n != 0) std::memcpy(to, slot.readData + slot.position, n);
    slot.position += n;
    return n;
}

void WriteBytes(StreamSlot& slot, const uint8_t* from, uint32_t count) {
    const uint32_t n = std::min(count, slot.end - slot.position);
    if (n != 0) std::memcpy(slot.writeData + slot.position, from, n);
    slot.position += n;
}

void RefillBlock(BitStream& s) {
    s.valid = ReadBytes(g_slots[s.slot], s.block, kBitBlockSize);
    s.index = 0;
    if (s.valid == 0) s.atEnd = true;
}

// The next byte becomes current; the flag rises as the final one does.
void FetchByte(BitStream& s) {
    s.current = s.index < s.valid ? s.block[s.index] : 0;
    ++s.index;
    if (s.index >= s.valid) RefillBlock(s);
}

BitStream* NewStream(int slot, char mode) {
    if (slot < 0) return nullptr;
    BitStream* s = new (std::nothrow) BitStream;
    if (s == nullptr) return nullptr;
    s->slot = slot;
    s->mode = mode;
    g_slots[slot].open = true;
    g_slots[slot].mode = mode;
    return s;
}

}  // namespace

void ResetStreams() {
    for (StreamSlot& slot : g_slots) slot = StreamSlot{};
}

void SetOutputBuffer(uint8_t* buffer, uint32_t capacity) {
    g_outputBuffer = buffer;
    g_outputCapacity = capacity;
}

BitStream* OpenReadStream(const plat::ResourceData& resource) {
    BitStream* s = NewStream(TakeSlot(), 'r');
    if (s == nullptr) return nullptr;
    StreamSlot& slot = g_slots[s->slot];
    slot.readData = resource.bytes;
    slot.position = 0;
    slot.end = 0;
    if (resource.bytes != nullptr && resource.size >= 4) {
        const uint8_t* b = resource.bytes;
        const uint32_t length = b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
        slot.position = 4;
        slot.end = 4 + std::min(length, resource.size - 4);
    }
    // A stream of one byte (or none) has its final byte current at once, so
    // the flag must rise here rather than after reading past the block.
    s->valid = ReadBytes(slot, s->block, kBitBlockSize);
    s->current = s->valid != 0 ? s->block[0] : 0;
    s->index = 1;
    s->bitCounter = 7;
    if (s->index >= s->valid) RefillBlock(*s);
    return s;
}

BitStream* OpenWriteStream() {
    BitStream* s = NewStream(TakeSlot(), 'w');
    if (s == nullptr) return nullptr;
    StreamSlot& slot = g_slots[s->slot];
    slot.writeData = g_outputBuffer;
    slot.position = 0;
    slot.end = g_outputBuffer != nullptr ? g_outputCapacity : 0;
    return s;
}

uint32_t ReadBits(uint32_t count, BitStream* stream) {
    if (stream == nullptr || stream->mode != 'r') return 0;
    BitStream& s = *stream;
    uint32_t value = 0;
    for (uint32_t i = 0, n = std::min(count, 32u); i < n; ++i) {
        const int32_t c = s.bitCounter;
        const uint32_t bit = (c >= 0 && c <= 31) ? (uint32_t{s.current} >> c) & 1u : 0u;
        value = (value << 1) | bit;
        if (c == 0 && !s.atEnd) {
            FetchByte(s);
            s.bitCounter = 7;
        } else if (c >= 0) {
            s.bitCounter = c - 1;
        }
    }
    return value;
}

void WriteBits(uint32_t value, uint32_t count, BitStream* stream) {
    if (stream == nullptr || stream->mode != 'w') return;
    BitStream& s = *stream;
    // The decoder writes whole bytes to a byte-aligned stream: no bit loop.
    if (count == 8 && s.bitCounter == 0) {
        s.block[s.index++] = static_cast<uint8_t>(value);
        if (s.index == kBitBlockSize) {
            WriteBytes(g_slots[s.slot], s.block, kBitBlockSize);
            s.index = 0;
        }
        return;
    }
    for (uint32_t i = std::min(count, 32u); i-- > 0;) {
        s.current = static_cast<uint8_t>((s.current << 1) | ((value >> i) & 1u));
        if (++s.bitCounter == 8) {
            s.block[s.index++] = s.current;
            if (s.index == kBitBlockSize) {
                WriteBytes(g_slots[s.slot], s.block, kBitBlockSize);
                s.index = 0;
            }
            s.current = 0;
            s.bitCounter = 0;
        }
    }
}

bool StreamFull(const BitStream* stream) {
    if (stream == nullptr || stream->mode != 'w') return true;
    const StreamSlot& slot = g_slots[stream->slot];
    return uint64_t{slot.position} + stream->index >= slot.end;
}

uint32_t CloseBitStream(BitStream* stream) {
    if (stream == nullptr) return 0;
    if (stream->mode == 'w') {
        if (stream->bitCounter != 0) WriteBits(0, static_cast<uint32_t>(8 - stream->bitCounter), stream);
        if (stream->index != 0) WriteBytes(g_slots[stream->slot], stream->block, stream->index);
    }
    const uint32_t position = g_slots[stream->slot].position;
    g_slots[stream->slot] = StreamSlot{};
    delete stream;
    return position;
}

}  // namespace gfx
