#include "framework/buffered_input.h"

#include <algorithm>
#include <cstring>
#include "framework/byte_order_streams.h"

UUBufferedInputFromReader::UUBufferedInputFromReader(FSReader* reader, uint8_t* buffer,
                                                     int32_t blockSize, int32_t total)
    : reader(reader), buffer(buffer), blockSize(std::max(blockSize, int32_t(1))),
      total(std::max(total, int32_t(0))), fillPosition(0), readPosition(0), failed(false)
{
}

bool UUBufferedInputFromReader::SwapsBytes() { return reader && reader->SwapsBytes(); }

bool UUBufferedInputFromReader::AtEnd()
{
    return readPosition >= total || (failed && readPosition >= fillPosition);
}

void UUBufferedInputFromReader::FillNow()
{
    if (readPosition != fillPosition || fillPosition >= total || failed) return;
    int32_t n = std::min(blockSize, total - fillPosition);
    if (!reader || !reader->ReadBytes(buffer, n)) {
        failed = true;
        return;
    }
    fillPosition += n;
}

int32_t UUBufferedInputFromReader::Peek(const uint8_t** out)
{
    if (readPosition == fillPosition) FillNow();
    *out = buffer + readPosition % blockSize;
    return fillPosition - readPosition;
}

void UUBufferedInputFromReader::Consume(int32_t n)
{
    readPosition += std::clamp(n, int32_t(0), fillPosition - readPosition);
}

UUBufferedInputFromRandomAccessStream::UUBufferedInputFromRandomAccessStream(
    FSRandomAccessStream* stream, uint8_t* buffer, int32_t blockSize, int32_t start,
    int32_t total)
    : UUBufferedInputFromReader(stream, buffer, blockSize, total), stream(stream), start(start)
{
    if (stream) stream->Seek(start, FS_SEEK_FROM_START, nullptr);
}

void UUBufferedInputFromRandomAccessStream::Seek(int32_t position)
{
    position = std::clamp(position, int32_t(0), total);
    int32_t block = position - position % blockSize;
    readPosition = fillPosition = block;
    failed = false;
    if (stream) {
        // A failure of an earlier read must not stop the reads from here.
        stream->SetError(0);
        if (!stream->Seek(start + block, FS_SEEK_FROM_START, nullptr)) failed = true;
    }
    FillNow();
    Consume(position - block);
}

UUBufferedInputFromMemory::UUBufferedInputFromMemory(const void* address, int32_t size,
                                                     bool swapsBytes)
    : address(static_cast<const uint8_t*>(address)), size(std::max(size, int32_t(0))),
      swaps(swapsBytes), position(0)
{
}

void UUBufferedInputFromMemory::Seek(int32_t to) { position = std::clamp(to, int32_t(0), size); }

int32_t UUBufferedInputFromMemory::Peek(const uint8_t** out)
{
    *out = address + position;
    return size - position;
}

void UUBufferedInputFromMemory::Consume(int32_t n)
{
    position += std::clamp(n, int32_t(0), size - position);
}

UUInputFromBufferedInput::UUInputFromBufferedInput(UUBufferedInput* input) : input(input) {}

UUInputFromBufferedInput::~UUInputFromBufferedInput()
{
    if (!input) return;
    input->Close();
    delete input;
}

bool UUInputFromBufferedInput::AtEnd() { return input->AtEnd(); }

bool UUInputFromBufferedInput::SwapsBytes() { return input->SwapsBytes(); }

void UUInputFromBufferedInput::Seek(int32_t position) { input->Seek(position); }

int32_t UUInputFromBufferedInput::Read(void* destination, int32_t count, bool wait)
{
    uint8_t* out = static_cast<uint8_t*>(destination);
    int32_t delivered = 0;
    bool filled = false;
    while (count >= 1 && !input->AtEnd()) {
        const uint8_t* bytes = nullptr;
        int32_t available = input->Peek(&bytes);
        if (available > 0) {
            int32_t n = std::min(available, count);
            std::memcpy(out + delivered, bytes, size_t(n));
            input->Consume(n);
            delivered += n;
            count -= n;
            filled = false;
            continue;
        }
        // A fill that brought nothing will bring nothing next time either.
        if (!wait || filled) break;
        input->FillNow();
        filled = true;
    }
    return delivered;
}

bool UUInputFromBufferedInput::CopyTo(FSWriter& writer)
{
    uint8_t block[1024];
    while (!AtEnd()) {
        int32_t n = Read(block, sizeof block, true);
        if (n <= 0) break;
        writer.WriteBytes(block, n);
    }
    return writer.GetError() == 0;
}

int32_t UUSwapWordsFromBufferedInput::Read(void* destination, int32_t count, bool wait)
{
    int32_t delivered = UUInputFromBufferedInput::Read(destination, count & ~1, wait);
    SwapShortBytes(destination, delivered / 2);
    return delivered;
}
