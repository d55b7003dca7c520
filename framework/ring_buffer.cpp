#include "framework/ring_buffer.h"

#include <cstring>

bool UURingBuffer::Push(const void* record)
{
    if (IsFull())
        return false;
    std::memcpy(storage + writeIndex * recordSize, record, recordSize);
    writeIndex = (writeIndex + 1) % capacity;
    return true;
}

void* UURingBuffer::Front() const
{
    return IsEmpty() ? nullptr : storage + readIndex * recordSize;
}

void* UURingBuffer::Back() const
{
    return IsEmpty() ? nullptr : storage + ((writeIndex + capacity - 1) % capacity) * recordSize;
}

void UURingBuffer::Pop()
{
    if (!IsEmpty())
        readIndex = (readIndex + 1) % capacity;
}
