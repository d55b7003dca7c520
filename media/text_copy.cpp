#include "media/text_copy.h"

#include <cstring>
#include <new>

namespace {

char* NewBlock(int32_t capacity)
{
    char* block = new (std::nothrow) char[sizeof(int32_t) + capacity + 1];
    if (block == nullptr) {
        return nullptr;
    }
    int32_t count = capacity + 1;
    std::memcpy(block, &count, sizeof(count));
    std::memset(block + sizeof(int32_t), 0, capacity + 1);
    return block + sizeof(int32_t);
}

}  // namespace

char* NewTextCopy(const char* text, int32_t length)
{
    if (text == nullptr) {
        return nullptr;
    }
    if (length < 1) {
        length = static_cast<int32_t>(std::strlen(text));
    }
    char* copy = NewBlock(length);
    if (copy != nullptr) {
        // Never past the text's own terminator.
        std::memcpy(copy, text, strnlen(text, length));
    }
    return copy;
}

char* NewTextBuffer(int32_t capacity)
{
    return NewBlock(capacity < 0 ? 0 : capacity);
}

void FreeTextCopy(char* copy)
{
    if (copy != nullptr) {
        delete[] (copy - sizeof(int32_t));
    }
}
