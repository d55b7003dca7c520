#include "framework/checksum.h"

#include "framework/byte_order_streams.h"
#include "framework/heap.h"

namespace {

const uint32_t kPolynomial = 0x04C11DB7;
const uint32_t kStackChunk = 512;
const uint32_t kLargestBuffer = 10240;

}  // namespace

UUChecksum::UUChecksum() : value(0)
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t entry = 0;
        for (int bit = 0; bit < 8; ++bit) {
            if (i & (1u << bit))
                entry ^= kPolynomial << bit;
        }
        table[i] = entry;
    }
}

uint32_t UUChecksum::Update(const void* bytes, uint32_t count, bool restart)
{
    uint32_t h = restart ? 0 : value;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    for (uint32_t i = 0; i < count; ++i)
        h = (h << 8) ^ table[(h >> 24) ^ p[i]];
    value = h;
    return h;
}

uint32_t UUChecksum::Compute(FSReader& reader, uint32_t count, bool restart)
{
    uint8_t stackBuffer[kStackChunk];
    uint8_t* buffer = nullptr;
    uint32_t chunk = kStackChunk;
    if (count > kStackChunk) {
        for (uint32_t size = kLargestBuffer; size > kStackChunk && buffer == nullptr; size /= 2) {
            buffer = static_cast<uint8_t*>(HeapAllocateDefault(size));
            chunk = size / 2;
        }
    }
    if (buffer == nullptr)
        chunk = kStackChunk;
    uint8_t* work = buffer ? buffer : stackBuffer;
    if (restart)
        value = 0;
    while (count > 0) {
        uint32_t n = count < chunk ? count : chunk;
        // What a failed read left in the buffer is not the file: stop, and
        // leave the reader's error for the caller.
        if (!reader.ReadBytes(work, static_cast<int32_t>(n)))
            break;
        Update(work, n, restart);
        restart = false;
        count -= n;
    }
    if (buffer)
        operator delete(buffer);
    return value;
}
