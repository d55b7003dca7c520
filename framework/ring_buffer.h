#pragma once
#include <cstdint>

// A ring of fixed-size records over the caller's storage. It holds at most
// capacity - 1 records (empty when the indexes meet).
class UURingBuffer {
public:
    UURingBuffer(int32_t recordSize, int32_t capacity, void* storage)
        : recordSize(recordSize), capacity(capacity), storage(static_cast<uint8_t*>(storage)),
          readIndex(0), writeIndex(0)
    {
    }

    bool Push(const void* record);
    void* Front() const;
    void* Back() const;
    void Pop();
    bool IsEmpty() const { return readIndex == writeIndex; }
    bool IsFull() const { return (writeIndex + 1) % capacity == readIndex; }

    int32_t recordSize;
    int32_t capacity;
    uint8_t* storage;
    volatile int32_t readIndex;
    volatile int32_t writeIndex;
};
