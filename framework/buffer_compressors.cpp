#include "framework/buffer_compressors.h"

#include <lzo/lzo1x.h>
#include <cstring>
#include <new>
#include "framework/heap.h"

namespace {

const int kWindow = 1024;          // N
const int kLongest = 66;           // F
const int kLiteralUpTo = 2;        // matches this short go out as literals
const int kEmpty = kWindow;        // an empty tree link
const int kStart = kWindow - kLongest;

// The search trees of the encoder: one binary tree per first byte over the
// window positions, so the longest earlier match is found while inserting.
struct LzssTrees {
    uint8_t text[kWindow + kLongest - 1];
    int left[kWindow + 1];
    int right[kWindow + 257];
    int parent[kWindow + 1];
    int matchPosition = 0;
    int matchLength = 0;

    LzssTrees()
    {
        std::memset(text, 0, sizeof text);
        for (int i = kWindow + 1; i <= kWindow + 256; ++i) right[i] = kEmpty;
        for (int i = 0; i < kWindow; ++i) parent[i] = kEmpty;
    }

    void Insert(int r)
    {
        int cmp = 1;
        const uint8_t* key = &text[r];
        int p = kWindow + 1 + key[0];
        right[r] = left[r] = kEmpty;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (right[p] == kEmpty) { right[p] = r; parent[r] = p; return; }
                p = right[p];
            } else {
                if (left[p] == kEmpty) { left[p] = r; parent[r] = p; return; }
                p = left[p];
            }
            int i = 1;
            for (; i < kLongest; ++i)
                if ((cmp = key[i] - text[p + i]) != 0) break;
            if (i > matchLength) {
                matchPosition = p;
                if ((matchLength = i) >= kLongest) break;
            }
        }
        // A full-length match: the new position takes the old one's place.
        parent[r] = parent[p];
        left[r] = left[p];
        right[r] = right[p];
        parent[left[p]] = r;
        parent[right[p]] = r;
        if (right[parent[p]] == p) right[parent[p]] = r;
        else left[parent[p]] = r;
        parent[p] = kEmpty;
    }

    void Delete(int p)
    {
        if (parent[p] == kEmpty) return;
        int q;
        if (right[p] == kEmpty) q = left[p];
        else if (left[p] == kEmpty) q = right[p];
        else {
            q = left[p];
            if (right[q] != kEmpty) {
                do q = right[q]; while (right[q] != kEmpty);
                right[parent[q]] = left[q];
                parent[left[q]] = parent[q];
                left[q] = left[p];
                parent[left[p]] = q;
            }
            right[q] = right[p];
            parent[right[p]] = q;
        }
        parent[q] = parent[p];
        if (right[parent[p]] == p) right[parent[p]] = q;
        else left[parent[p]] = q;
        parent[p] = kEmpty;
    }
};

// Writes what fits and counts everything.
struct CountingOutput {
    uint8_t* destination;
    int32_t capacity;
    int32_t count = 0;
    void Put(const uint8_t* bytes, int n)
    {
        for (int i = 0; i < n; ++i, ++count)
            if (count < capacity) destination[count] = bytes[i];
    }
};

int32_t Encode(uint8_t* destination, const uint8_t* source, int32_t length, int32_t capacity)
{
    if (length <= 0) return 0;
    LzssTrees* trees = new (std::nothrow) LzssTrees;
    if (!trees) return 0;
    CountingOutput out{destination, capacity};
    uint8_t group[1 + 2 * 8];
    int groupSize = 1;
    uint8_t mask = 1;
    group[0] = 0;
    int s = 0;
    int r = kStart;
    int32_t next = 0;
    int len = 0;
    for (; len < kLongest && next < length; ++len) trees->text[r + len] = source[next++];
    for (int i = 1; i <= kLongest; ++i) trees->Insert(r - i);
    trees->Insert(r);
    do {
        int matchLength = trees->matchLength > len ? len : trees->matchLength;
        if (matchLength <= kLiteralUpTo) {
            matchLength = 1;
            group[0] |= mask;
            group[groupSize++] = trees->text[r];
        } else {
            int position = trees->matchPosition;
            group[groupSize++] = uint8_t(((matchLength - (kLiteralUpTo + 1)) << 2) | (position >> 8));
            group[groupSize++] = uint8_t(position & 0xFF);
        }
        mask = uint8_t(mask << 1);
        if (mask == 0) {
            out.Put(group, groupSize);
            group[0] = 0;
            groupSize = 1;
            mask = 1;
        }
        int i = 0;
        for (; i < matchLength && next < length; ++i) {
            trees->Delete(s);
            uint8_t c = source[next++];
            trees->text[s] = c;
            if (s < kLongest - 1) trees->text[s + kWindow] = c;
            s = (s + 1) & (kWindow - 1);
            r = (r + 1) & (kWindow - 1);
            trees->Insert(r);
        }
        for (; i < matchLength; ++i) {
            trees->Delete(s);
            s = (s + 1) & (kWindow - 1);
            r = (r + 1) & (kWindow - 1);
            if (--len) trees->Insert(r);
        }
    } while (len > 0);
    if (groupSize > 1) out.Put(group, groupSize);
    delete trees;
    return out.count;
}

}  // namespace

int32_t LzssCompress(uint8_t* destination, const uint8_t* source, int32_t length,
                     int32_t capacity)
{
    if (capacity < 0) capacity = 0;
    if (capacity >= 32) return Encode(destination, source, length, capacity);
    uint8_t work[32];
    int32_t size = Encode(work, source, length, sizeof work);
    if (size <= capacity) std::memcpy(destination, work, size);
    return size;
}

int32_t LzssExpand(uint8_t* destination, const uint8_t* source, int32_t sourceLength,
                   int32_t expandedLength)
{
    uint8_t ring[kWindow] = {};
    int r = kStart;
    int32_t in = 0;
    int32_t out = 0;
    unsigned flags = 0;
    while (out < expandedLength) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in >= sourceLength) break;
            flags = source[in++] | 0xFF00u;
        }
        if (flags & 1) {
            if (in >= sourceLength) break;
            uint8_t c = source[in++];
            destination[out++] = c;
            ring[r] = c;
            r = (r + 1) & (kWindow - 1);
            continue;
        }
        if (sourceLength - in < 2) break;
        int position = ((source[in] & 3) << 8) | source[in + 1];
        int count = (source[in] >> 2) + kLiteralUpTo + 1;
        in += 2;
        for (int k = 0; k < count && out < expandedLength; ++k) {
            uint8_t c = ring[(position + k) & (kWindow - 1)];
            destination[out++] = c;
            ring[r] = c;
            r = (r + 1) & (kWindow - 1);
        }
    }
    return out;
}

bool CompressBuffer(const uint8_t* source, int32_t length, uint8_t* destination,
                    int32_t capacity, int32_t* outSize, Heap* heap)
{
    if (outSize) *outSize = 0;
    if (length < 0 || lzo_init() != LZO_E_OK) return false;
    // LZO1X's own bound for incompressible input.
    size_t workSize = size_t(length) + size_t(length) / 16 + 64 + 3;
    uint8_t* work = static_cast<uint8_t*>(HeapAllocate(workSize, heap));
    void* memory = HeapAllocate(LZO1X_999_MEM_COMPRESS, heap);
    // The optimisation pass decompresses into a buffer of its own; the
    // caller's source is never written.
    uint8_t* scratch = static_cast<uint8_t*>(HeapAllocate(length > 0 ? length : 1, heap));
    bool ok = false;
    if (work && memory && scratch) {
        lzo_uint packed = workSize;
        if (lzo1x_999_compress(source, lzo_uint(length), work, &packed, memory) == LZO_E_OK) {
            if (outSize) *outSize = int32_t(packed);
            if (int64_t(packed) <= capacity) {
                std::memcpy(destination, work, packed);
                lzo_uint unpacked = lzo_uint(length);
                ok = lzo1x_optimize(destination, packed, scratch, &unpacked, nullptr) == LZO_E_OK;
            }
        }
    }
    ::operator delete(scratch);
    ::operator delete(memory);
    ::operator delete(work);
    return ok;
}
