#include "framework/processor_features.h"

#include <cpuid.h>
#include <x86intrin.h>

#include "framework/text.h"

namespace {

ProcessorFeatures gFeatures;
bool gMMXCopiesWanted = true;
bool gUseMMX = false;

const int kSectionDepth = 32;

struct MMXSections {
    int32_t level;
    int32_t counts[kSectionDepth];
    uint32_t emmsCount;
};

thread_local MMXSections tSections;

// Whether a bit of EFLAGS can be toggled (the flags are restored after).
bool CanToggleFlag(uint32_t bit)
{
    auto original = __readeflags();
    __writeeflags(original ^ bit);
    auto toggled = __readeflags();
    __writeeflags(original);
    return ((original ^ toggled) & bit) != 0;
}

void ExecuteEMMS()
{
    ++tSections.emmsCount;
    if (gFeatures.hasMMX)
        asm volatile("emms" ::: "memory");
}

void UpdateCopyMode() { gUseMMX = gFeatures.hasMMX && gMMXCopiesWanted; }

inline bool UsingMMX()
{
    if (!gFeatures.detected)
        DetectProcessorFeatures();
    return gUseMMX;
}

inline bool IsAligned8(const void* p) { return (reinterpret_cast<uintptr_t>(p) & 7) == 0; }

void Copy64Bytes(uint8_t* d, const uint8_t* s)
{
    asm volatile(
        "movq   (%0), %%mm0\n\t"
        "movq  8(%0), %%mm1\n\t"
        "movq 16(%0), %%mm2\n\t"
        "movq 24(%0), %%mm3\n\t"
        "movq 32(%0), %%mm4\n\t"
        "movq 40(%0), %%mm5\n\t"
        "movq 48(%0), %%mm6\n\t"
        "movq 56(%0), %%mm7\n\t"
        "movq %%mm0,   (%1)\n\t"
        "movq %%mm1,  8(%1)\n\t"
        "movq %%mm2, 16(%1)\n\t"
        "movq %%mm3, 24(%1)\n\t"
        "movq %%mm4, 32(%1)\n\t"
        "movq %%mm5, 40(%1)\n\t"
        "movq %%mm6, 48(%1)\n\t"
        "movq %%mm7, 56(%1)\n\t"
        :
        : "r"(s), "r"(d)
        : "memory", "mm0", "mm1", "mm2", "mm3", "mm4", "mm5", "mm6", "mm7");
}

// 16 bytes: destination AND (mask of zero source bytes), OR source.
void CopyNonZero16Bytes(uint8_t* d, const uint8_t* s)
{
    asm volatile(
        "movq  (%0), %%mm0\n\t"
        "movq 8(%0), %%mm3\n\t"
        "pxor %%mm1, %%mm1\n\t"
        "pxor %%mm4, %%mm4\n\t"
        "pcmpeqb %%mm0, %%mm1\n\t"
        "pcmpeqb %%mm3, %%mm4\n\t"
        "pand  (%1), %%mm1\n\t"
        "pand 8(%1), %%mm4\n\t"
        "por %%mm0, %%mm1\n\t"
        "por %%mm3, %%mm4\n\t"
        "movq %%mm1,  (%1)\n\t"
        "movq %%mm4, 8(%1)\n\t"
        :
        : "r"(s), "r"(d)
        : "memory", "mm0", "mm1", "mm3", "mm4");
}

const uint64_t kTopByteKey = 0x000000FF000000FFull;

// 4 pixels: a pixel whose top byte is 255 keeps the destination.
void CopyOpaque4Longs(uint32_t* d, const uint32_t* s)
{
    asm volatile(
        "movq %2, %%mm7\n\t"
        "movq  (%0), %%mm0\n\t"
        "movq 8(%0), %%mm3\n\t"
        "movq %%mm0, %%mm1\n\t"
        "movq %%mm3, %%mm4\n\t"
        "psrld $24, %%mm1\n\t"
        "psrld $24, %%mm4\n\t"
        "pcmpeqd %%mm7, %%mm1\n\t"
        "pcmpeqd %%mm7, %%mm4\n\t"
        "movq %%mm1, %%mm2\n\t"
        "movq %%mm4, %%mm5\n\t"
        "pand  (%1), %%mm2\n\t"
        "pand 8(%1), %%mm5\n\t"
        "pandn %%mm0, %%mm1\n\t"
        "pandn %%mm3, %%mm4\n\t"
        "por %%mm2, %%mm1\n\t"
        "por %%mm5, %%mm4\n\t"
        "movq %%mm1,  (%1)\n\t"
        "movq %%mm4, 8(%1)\n\t"
        :
        : "r"(s), "r"(d), "m"(kTopByteKey)
        : "memory", "mm0", "mm1", "mm2", "mm3", "mm4", "mm5", "mm7");
}

inline void CopyOpaqueLong(uint32_t* d, const uint32_t* s)
{
    if ((*s >> 24) != 0xFF)
        *d = *s;
}

}  // namespace

void DetectProcessorFeatures()
{
    if (gFeatures.detected)
        return;
    ProcessorFeatures found = {};
    found.is486OrLater = CanToggleFlag(0x40000);
    if (CanToggleFlag(0x200000)) {
        unsigned eax, ebx, ecx, edx;
        __cpuid(0, eax, ebx, ecx, edx);
        if (eax >= 1) {
            __cpuid(1, eax, ebx, ecx, edx);
            found.isPentiumOrLater = ((eax >> 8) & 0xF) >= 5;
            found.hasMMX = (edx & (1u << 23)) != 0;
        }
    }
    found.detected = true;
    gFeatures = found;
    UpdateCopyMode();
}

const ProcessorFeatures& GetProcessorFeatures()
{
    DetectProcessorFeatures();
    return gFeatures;
}

void SetMMXCopiesEnabled(bool enabled)
{
    DetectProcessorFeatures();
    gMMXCopiesWanted = enabled;
    UpdateCopyMode();
}

bool MMXCopiesEnabled() { return UsingMMX(); }

void EnterMMX()
{
    MMXSections& s = tSections;
    if ((s.level & 1) || s.level + 1 >= kSectionDepth) {
        ++s.counts[s.level];
        return;
    }
    s.counts[++s.level] = 0;
}

void LeaveMMX()
{
    MMXSections& s = tSections;
    if (!(s.level & 1))
        return;  // not in an MMX section
    if (s.counts[s.level] > 0) {
        --s.counts[s.level];
        return;
    }
    --s.level;
    ExecuteEMMS();
}

void EnterFloat()
{
    MMXSections& s = tSections;
    if (!(s.level & 1) || s.level + 1 >= kSectionDepth) {
        ++s.counts[s.level];
        return;
    }
    s.counts[++s.level] = 0;
    ExecuteEMMS();
}

void LeaveFloat()
{
    MMXSections& s = tSections;
    if (s.level & 1)
        return;  // not in a floating-point section
    if (s.counts[s.level] > 0) {
        --s.counts[s.level];
        return;
    }
    if (s.level > 0)
        --s.level;
}

int32_t MMXSectionLevel() { return tSections.level; }
uint32_t EMMSCount() { return tSections.emmsCount; }

void CopyBytesInBlocks(void* destination, const void* source, int32_t n)
{
    if (n <= 0)
        return;
    uint8_t* d = static_cast<uint8_t*>(destination);
    const uint8_t* s = static_cast<const uint8_t*>(source);
    if (UsingMMX()) {
        for (; n > 0 && !IsAligned8(d); --n)
            *d++ = *s++;
        for (; n >= 64; n -= 64, d += 64, s += 64)
            Copy64Bytes(d, s);
    }
    CopyBytes(d, s, n);
}

void CopyNonZeroBytes(void* destination, const void* source, int32_t n)
{
    if (n <= 0)
        return;
    uint8_t* d = static_cast<uint8_t*>(destination);
    const uint8_t* s = static_cast<const uint8_t*>(source);
    if (UsingMMX()) {
        for (; n > 0 && !IsAligned8(d); --n, ++d, ++s) {
            if (*s)
                *d = *s;
        }
        for (; n >= 16; n -= 16, d += 16, s += 16)
            CopyNonZero16Bytes(d, s);
    }
    for (; n > 0; --n, ++d, ++s) {
        if (*s)
            *d = *s;
    }
}

void CopyOpaqueLongs(void* destination, const void* source, int32_t n)
{
    if (n <= 0)
        return;
    uint32_t* d = static_cast<uint32_t*>(destination);
    const uint32_t* s = static_cast<const uint32_t*>(source);
    if (UsingMMX()) {
        if (!IsAligned8(d)) {
            CopyOpaqueLong(d++, s++);
            --n;
        }
        for (; n >= 4; n -= 4, d += 4, s += 4)
            CopyOpaque4Longs(d, s);
    }
    for (; n > 0; --n)
        CopyOpaqueLong(d++, s++);
}
