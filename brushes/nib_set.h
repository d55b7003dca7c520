#pragma once
// The dab shapes of a brush: square 8-bit nibs shrunk from one master, from
// the smallest to the largest diameter setting, picked by size index.
#include <cstdint>
#include <vector>

#include "canvas/plane.h"

class NibSet {
public:
    NibSet() = default;
    ~NibSet() { Clear(); }
    NibSet(const NibSet&) = delete;
    NibSet& operator=(const NibSet&) = delete;

    // a and b: diameter settings on the 0..255 scale of the master's width.
    void Build(const KVXPlaneUChar& master, int16_t a, int16_t b);
    void Clear();

    int32_t IndexFor(int32_t sizeIndex) const { return int32_t(sizeIndex * indexScale); }
    int16_t SizeFor(int32_t sizeIndex) const { return sizes[IndexFor(sizeIndex)]; }
    int16_t OffsetFor(int32_t sizeIndex) const { return offsets[IndexFor(sizeIndex)]; }
    const KVXPlaneUCharTop& NibFor(int32_t sizeIndex) const { return *planes[IndexFor(sizeIndex)]; }
    int16_t Count() const { return count; }
    bool IsEmpty() const { return planes.empty(); }

private:
    void AddNib(const KVXPlaneUChar& master, int32_t side);

    std::vector<KVXPlaneUCharTop*> planes;
    std::vector<int16_t> sizes;
    std::vector<int16_t> offsets;
    double indexScale = 0.0;
    int16_t count = 0;
};
