#include "canvas/plane.h"

#include <utility>

namespace {

KVXComponentPixel* AllocateCleared(const Pair& size)
{
    if (size.x <= 0 || size.y <= 0)
        return nullptr;
    size_t count = size_t(size.x) * size_t(size.y);
    KVXComponentPixel* bits = new (gDefaultHeap) KVXComponentPixel[count];
    if (bits)
        std::memset(static_cast<void*>(bits), 0, count * sizeof(KVXComponentPixel));
    return bits;
}

}  // namespace

KVXPlaneComponentTop::KVXPlaneComponentTop(const Pair& size)
    : KVXPlaneComponent(size, size.x, AllocateCleared(size), &ownDirtyBox, &ownDirtyFlag),
      ownDirtyBox{0, 0, size.x, size.y}
{
}

KVXPlaneComponentTop::~KVXPlaneComponentTop() { delete[] bits; }

void KVXPlaneComponentTop::SwapPixels(KVXPlaneComponentTop& other)
{
    std::swap(bits, other.bits);
}
