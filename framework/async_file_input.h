#pragma once
// A buffered input whose ring is filled ahead from a file by a pulse task,
// so that the decoding thread rarely waits for the disk. Byte p of the input
// lives at ring[p mod ringSize]; reads never wrap and are at most maxRead
// bytes. fileLock serialises the seek-and-read pairs of every reader of the
// same file.
#include <cstdint>
#include "framework/buffered_input.h"
#include "framework/lock.h"
#include "framework/pulse_task.h"

class FSRandomAccessStream;

class AFBufferedInputFromAsyncFile : public UUBufferedInput, public AFPulseTask {
public:
    // alreadyFilled: the caller has put the first min(ringSize, total) bytes
    // into the ring. The input adds itself to the manager, due at once.
    AFBufferedInputFromAsyncFile(AFPulseTaskManager* manager, uint8_t* ring, int32_t ringSize,
                                 int32_t maxRead, FSRandomAccessStream* stream, int32_t start,
                                 int32_t total, Lock* fileLock, bool alreadyFilled);
    ~AFBufferedInputFromAsyncFile() override;

    bool SwapsBytes() override;
    bool AtEnd() override { return readPosition >= total; }
    // Positions beyond the end are taken as the end.
    void Seek(int32_t position) override;
    void FillNow() override;
    int32_t Peek(const uint8_t** out) override;
    void Consume(int32_t n) override;
    // Leaves the pulse-task manager (waiting while it is being pulsed).
    void Close() override;
    int32_t Pulse() override;

    int32_t ReadPosition() const { return readPosition; }
    int32_t FillPosition() const { return fillPosition; }
    int32_t Total() const { return total; }

private:
    // One bounded read; false when the read failed (the input then ends
    // where the read failed).
    bool Fill();

    uint8_t* ring;
    int32_t ringSize;
    int32_t maxRead;
    FSRandomAccessStream* stream;
    int32_t start;
    volatile int32_t total;
    volatile int32_t readPosition;
    volatile int32_t fillPosition;
    Lock* fileLock;
    Lock lock;
};
