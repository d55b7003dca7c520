#include "framework/async_file_input.h"

#include <algorithm>
#include "framework/byte_order_streams.h"

AFBufferedInputFromAsyncFile::AFBufferedInputFromAsyncFile(
    AFPulseTaskManager* manager, uint8_t* ring, int32_t ringSize, int32_t maxRead,
    FSRandomAccessStream* stream, int32_t start, int32_t total, Lock* fileLock,
    bool alreadyFilled)
    : ring(ring), ringSize(std::max(ringSize, int32_t(1))), maxRead(std::max(maxRead, int32_t(1))),
      stream(stream), start(start), total(std::max(total, int32_t(0))), readPosition(0),
      fillPosition(0), fileLock(fileLock)
{
    if (alreadyFilled) fillPosition = std::min(this->ringSize, int32_t(this->total));
    InitLock(&lock);
    if (manager) manager->Add(this);
}

AFBufferedInputFromAsyncFile::~AFBufferedInputFromAsyncFile()
{
    Close();
    DeleteLock(&lock);
}

bool AFBufferedInputFromAsyncFile::SwapsBytes() { return stream && stream->SwapsBytes(); }

void AFBufferedInputFromAsyncFile::Close()
{
    if (manager) manager->Remove(this);
}

void AFBufferedInputFromAsyncFile::Seek(int32_t position)
{
    LockHolder hold(&lock);
    position = std::clamp(position, int32_t(0), int32_t(total));
    if (position < readPosition || position >= fillPosition) {
        readPosition = position;
        fillPosition = position;
        Schedule(0);
    } else {
        readPosition = position;
    }
}

void AFBufferedInputFromAsyncFile::FillNow()
{
    LockHolder hold(&lock);
    while (fillPosition < total && fillPosition < readPosition + ringSize)
        if (!Fill()) break;
}

int32_t AFBufferedInputFromAsyncFile::Peek(const uint8_t** out)
{
    int32_t read = readPosition;
    int32_t fill = fillPosition;
    int32_t at = read % ringSize;
    *out = ring + at;
    if (fill <= read) return 0;
    return std::min(fill - read, ringSize - at);
}

void AFBufferedInputFromAsyncFile::Consume(int32_t n)
{
    readPosition = readPosition + std::clamp(n, int32_t(0), fillPosition - readPosition);
    Schedule(0);
}

bool AFBufferedInputFromAsyncFile::Fill()
{
    int32_t fill = fillPosition;
    int32_t n = std::min({readPosition + ringSize - fill, total - fill,
                          ringSize - fill % ringSize, maxRead});
    if (n <= 0) return true;
    bool ok = false;
    if (stream) {
        if (fileLock) EnterLock(fileLock);
        // Another reader's failure must not stop this one.
        stream->SetError(0);
        ok = stream->Seek(start + fill, FS_SEEK_FROM_START, nullptr) &&
             stream->ReadBytes(ring + fill % ringSize, n);
        if (fileLock) LeaveLock(fileLock);
    }
    if (!ok) {
        total = fill;
        return false;
    }
    fillPosition = fill + n;
    return true;
}

int32_t AFBufferedInputFromAsyncFile::Pulse()
{
    LockHolder hold(&lock);
    Fill();
    if (fillPosition >= total) return kNever;
    if (fillPosition >= readPosition + ringSize) return 250;
    return 0;
}
