#pragma once
// Processor feature detection and the row-copy primitives of the blitters,
// with per-thread MMX sections so that EMMS runs only when the outermost
// MMX section ends.

#include <cstdint>

struct ProcessorFeatures {
    bool detected;
    bool is486OrLater;
    bool isPentiumOrLater;
    bool hasMMX;
};

// The first call fills the features; later calls do nothing.
void DetectProcessorFeatures();
const ProcessorFeatures& GetProcessorFeatures();

// The copies use MMX when the processor has it and it is not switched off
// here; both ways give the same bytes.
void SetMMXCopiesEnabled(bool enabled);
bool MMXCopiesEnabled();

// Section stack of the calling thread: odd levels are MMX sections, even
// levels floating-point ones; level 0 is the thread's initial state.
void EnterMMX();
void LeaveMMX();
void EnterFloat();
void LeaveFloat();
int32_t MMXSectionLevel();
// How many times EMMS ran on the calling thread.
uint32_t EMMSCount();

// All three do nothing for n <= 0 and must run inside EnterMMX/LeaveMMX.
void CopyBytesInBlocks(void* destination, const void* source, int32_t n);
// Zero source bytes leave the destination byte as it was.
void CopyNonZeroBytes(void* destination, const void* source, int32_t n);
// n 32-bit pixels; pixels whose top byte is 255 are skipped.
void CopyOpaqueLongs(void* destination, const void* source, int32_t n);
