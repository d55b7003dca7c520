#include "framework/byte_order_streams.h"

#include <climits>
#include <cstring>

#include "framework/geometry.h"

namespace {

const int32_t kChunk = 100;  // values per chunk of bools and Pairs

inline void SwapInPlace(uint8_t* bytes, int size)
{
    for (int i = 0, j = size - 1; i < j; ++i, --j) {
        uint8_t t = bytes[i];
        bytes[i] = bytes[j];
        bytes[j] = t;
    }
}

void SwapEach(void* values, int32_t n, int size)
{
    uint8_t* p = static_cast<uint8_t*>(values);
    for (int32_t i = 0; i < n; ++i, p += size)
        SwapInPlace(p, size);
}

// The bytes of n values of `size` bytes each. A negative count, or one whose
// bytes do not fit 32 bits, is an error: a wrapped product would move fewer
// bytes than the caller's n values and report success.
bool ValuesByteCount(FSError& stream, int32_t n, int32_t size, int32_t* bytes)
{
    if (n < 0 || n > INT32_MAX / size) {
        stream.SetError(FS_ERROR_BAD_COUNT);
        return false;
    }
    *bytes = n * size;
    return true;
}

Pair UnpackPair(uint32_t v)
{
    return Pair{static_cast<int16_t>(v & 0xFFFF), static_cast<int16_t>(v >> 16)};
}

uint32_t PackPair(const Pair& p)
{
    return (static_cast<uint32_t>(p.x) & 0xFFFF) | (static_cast<uint32_t>(p.y) << 16);
}

}  // namespace

void SwapShortBytes(void* values, int32_t n) { SwapEach(values, n, 2); }
void SwapLongBytes(void* values, int32_t n) { SwapEach(values, n, 4); }
void SwapDoubleBytes(void* values, int32_t n) { SwapEach(values, n, 8); }

void CopySwappedShorts(void* destination, const void* source, int32_t byteCount)
{
    uint8_t* d = static_cast<uint8_t*>(destination);
    const uint8_t* s = static_cast<const uint8_t*>(source);
    int32_t i = 0;
    for (; i + 1 < byteCount; i += 2) {
        uint8_t a = s[i];
        d[i] = s[i + 1];
        d[i + 1] = a;
    }
    if (i < byteCount)
        d[i] = s[i];
}

void CopySwappedLongs(void* destination, const void* source, int32_t byteCount)
{
    uint8_t* d = static_cast<uint8_t*>(destination);
    const uint8_t* s = static_cast<const uint8_t*>(source);
    int32_t i = 0;
    for (; i + 3 < byteCount; i += 4) {
        uint8_t v[4] = {s[i], s[i + 1], s[i + 2], s[i + 3]};
        d[i] = v[3];
        d[i + 1] = v[2];
        d[i + 2] = v[1];
        d[i + 3] = v[0];
    }
    if (i < byteCount) {
        // The tail is swapped as one 32-bit value whose missing bytes are 0;
        // nothing outside the two buffers is touched.
        uint8_t v[4] = {0, 0, 0, 0};
        std::memcpy(v, s + i, byteCount - i);
        SwapInPlace(v, 4);
        std::memcpy(d + i, v, byteCount - i);
    }
}

// Reader

FSReader::FSReader() : swapsBytes(false) {}
FSReader::~FSReader() = default;

void FSReader::SetSwapsBytes(bool swaps) { swapsBytes = swaps; }
bool FSReader::SwapsBytes() { return swapsBytes; }

bool FSReader::ReadByteOrderMark()
{
    uint16_t mark = 0;
    if (!ReadShorts(&mark, 1))
        return false;
    if (mark == FS_MARK_LITTLE_ENDIAN)
        SetSwapsBytes(false);
    else if (mark == FS_MARK_BIG_ENDIAN)
        SetSwapsBytes(true);
    else
        SetError(FS_ERROR_BAD_FORMAT);
    return GetError() == 0;
}

bool FSReader::ReadShorts(int16_t* destination, int32_t n)
{
    return ReadShorts(reinterpret_cast<uint16_t*>(destination), n);
}

bool FSReader::ReadShorts(uint16_t* destination, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 2, &bytes))
        return false;
    if (ReadBytes(destination, bytes) && swapsBytes)
        SwapShortBytes(destination, n);
    return GetError() == 0;
}

bool FSReader::ReadLongs(int32_t* destination, int32_t n)
{
    return ReadLongs(reinterpret_cast<uint32_t*>(destination), n);
}

bool FSReader::ReadLongs(uint32_t* destination, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 4, &bytes))
        return false;
    if (ReadBytes(destination, bytes) && swapsBytes)
        SwapLongBytes(destination, n);
    return GetError() == 0;
}

bool FSReader::ReadDoubles(double* destination, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 8, &bytes))
        return false;
    if (ReadBytes(destination, bytes) && swapsBytes)
        SwapDoubleBytes(destination, n);
    return GetError() == 0;
}

bool FSReader::ReadBools(bool* destination, int32_t n)
{
    uint8_t work[kChunk];
    if (n < 0)
        SetError(FS_ERROR_BAD_COUNT);
    while (n > 0 && GetError() == 0) {
        int32_t chunk = n < kChunk ? n : kChunk;
        if (!ReadBytes(work, chunk))
            break;
        for (int32_t i = 0; i < chunk; ++i)
            destination[i] = work[i] != 0;
        destination += chunk;
        n -= chunk;
    }
    return GetError() == 0;
}

bool FSReader::ReadPairs(Pair* destination, int32_t n)
{
    uint32_t work[kChunk];
    if (n < 0)
        SetError(FS_ERROR_BAD_COUNT);
    while (n > 0 && GetError() == 0) {
        int32_t chunk = n < kChunk ? n : kChunk;
        if (!ReadLongs(work, chunk))
            break;
        for (int32_t i = 0; i < chunk; ++i)
            destination[i] = UnpackPair(work[i]);
        destination += chunk;
        n -= chunk;
    }
    return GetError() == 0;
}

bool FSReader::ReadBoxes(Box* destination, int32_t n)
{
    static_assert(sizeof(Box) == 2 * sizeof(Pair), "a Box is two Pairs");
    int32_t pairs = 0;
    return GetError() == 0 && ValuesByteCount(*this, n, 2, &pairs) &&
           ReadPairs(reinterpret_cast<Pair*>(destination), pairs);
}

// Writer

FSWriter::~FSWriter() = default;

bool FSWriter::WriteByteOrderMark()
{
    uint16_t mark = FS_MARK_LITTLE_ENDIAN;
    return WriteShorts(&mark, 1);
}

bool FSWriter::WriteShorts(const int16_t* source, int32_t n)
{
    return WriteShorts(reinterpret_cast<const uint16_t*>(source), n);
}

bool FSWriter::WriteShorts(const uint16_t* source, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 2, &bytes))
        return false;
    return WriteBytes(source, bytes) && GetError() == 0;
}

bool FSWriter::WriteLongs(const int32_t* source, int32_t n)
{
    return WriteLongs(reinterpret_cast<const uint32_t*>(source), n);
}

bool FSWriter::WriteLongs(const uint32_t* source, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 4, &bytes))
        return false;
    return WriteBytes(source, bytes) && GetError() == 0;
}

bool FSWriter::WriteDoubles(const double* source, int32_t n)
{
    int32_t bytes = 0;
    if (GetError() != 0 || !ValuesByteCount(*this, n, 8, &bytes))
        return false;
    return WriteBytes(source, bytes) && GetError() == 0;
}

bool FSWriter::WriteBools(const bool* source, int32_t n)
{
    uint8_t work[kChunk];
    if (n < 0)
        SetError(FS_ERROR_BAD_COUNT);
    while (n > 0 && GetError() == 0) {
        int32_t chunk = n < kChunk ? n : kChunk;
        for (int32_t i = 0; i < chunk; ++i)
            work[i] = source[i] ? 1 : 0;
        if (!WriteBytes(work, chunk))
            break;
        source += chunk;
        n -= chunk;
    }
    return GetError() == 0;
}

bool FSWriter::WritePairs(const Pair* source, int32_t n)
{
    uint32_t work[kChunk];
    if (n < 0)
        SetError(FS_ERROR_BAD_COUNT);
    while (n > 0 && GetError() == 0) {
        int32_t chunk = n < kChunk ? n : kChunk;
        for (int32_t i = 0; i < chunk; ++i)
            work[i] = PackPair(source[i]);
        if (!WriteLongs(work, chunk))
            break;
        source += chunk;
        n -= chunk;
    }
    return GetError() == 0;
}

bool FSWriter::WriteBoxes(const Box* source, int32_t n)
{
    int32_t pairs = 0;
    return GetError() == 0 && ValuesByteCount(*this, n, 2, &pairs) &&
           WritePairs(reinterpret_cast<const Pair*>(source), pairs);
}

// Seeker

int32_t FSSeeker::Tell()
{
    int32_t position = -1;
    Seek(0, FS_SEEK_FROM_CURRENT, &position);
    return position;
}

// Random-access stream

FSRandomAccessStream::FSRandomAccessStream() : errorWord(0), errorTarget(&errorWord) {}

int32_t FSRandomAccessStream::GetError() { return *errorTarget; }
void FSRandomAccessStream::SetError(int32_t error) { *errorTarget = error; }

void FSRandomAccessStream::UseErrorWord(int32_t* word)
{
    errorTarget = word ? word : &errorWord;
}
