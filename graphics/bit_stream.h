// The small stream layer under the picture decoder: numbered memory streams
// read and written a bit at a time, most significant bit first.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace gfx {

constexpr int kStreamSlots = 10;
constexpr uint32_t kBitBlockSize = 5000;

struct BitStream {
    int slot = -1;
    uint8_t block[kBitBlockSize] = {};
    uint8_t current = 0;
    int32_t bitCounter = 0;  // next bit to take (read) or bits gathered (write)
    uint32_t index = 0;
    uint32_t valid = 0;      // bytes of the block filled by the last read
    char mode = 0;           // 'r' or 'w'
    bool atEnd = false;      // read: the final stream byte is the current byte
};

// Marks every slot free.
void ResetStreams();

// Where the next write stream goes, and how many bytes it may hold.
void SetOutputBuffer(uint8_t* buffer, uint32_t capacity);

// Opens a read stream on a PCT resource: its stream bytes follow the 4-byte
// length field, and a length beyond the resource is cut to what is there.
// Null when no slot or no memory is free.
BitStream* OpenReadStream(const plat::ResourceData& resource);

// Opens a write stream on the buffer given to SetOutputBuffer.
BitStream* OpenWriteStream();

// Up to 32 bits, the first read being the most significant; 0 for a stream
// not open for reading. Past the final byte every bit reads as 0.
uint32_t ReadBits(uint32_t count, BitStream* stream);

// The low `count` bits of value (at most 32), most significant first.
void WriteBits(uint32_t value, uint32_t count, BitStream* stream);

// True once a write stream holds as many bytes as its buffer takes: anything
// written after that is dropped.
bool StreamFull(const BitStream* stream);

// A write stream is completed with zero bits and flushed. Frees the slot
// and answers the stream's final position: the bytes written or read.
uint32_t CloseBitStream(BitStream* stream);

}  // namespace gfx
