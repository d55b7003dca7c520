#include "framework/files.h"

#include <cstring>

// FSMemory

FSMemory::FSMemory(void* buffer, uint32_t size)
    : buffer(static_cast<uint8_t*>(buffer)), size(size), position(0)
{
}

bool FSMemory::Seek(int32_t distance, int origin, int32_t* out)
{
    if (out)
        *out = -1;
    if (GetError() != 0)
        return false;
    int64_t target;
    switch (origin) {
    case FS_SEEK_FROM_START: target = distance; break;
    case FS_SEEK_FROM_CURRENT: target = int64_t(position) + distance; break;
    case FS_SEEK_FROM_END: target = int64_t(size) + distance; break;
    default: target = -1; break;
    }
    if (target < 0 || target > int64_t(size)) {
        SetError(FS_ERROR_OUT_OF_RANGE);
        return false;
    }
    position = static_cast<int32_t>(target);
    if (out)
        *out = position;
    return true;
}

bool FSMemory::ReadBytes(void* destination, int32_t count)
{
    if (GetError() != 0)
        return false;
    if (count < 0 || uint32_t(count) > size - uint32_t(position)) {
        SetError(FS_ERROR_OUT_OF_RANGE);
        return false;
    }
    if (count > 0)
        std::memcpy(destination, buffer + position, count);
    position += count;
    return true;
}

bool FSMemory::WriteBytes(const void* source, int32_t count)
{
    if (GetError() != 0)
        return false;
    if (count < 0 || uint32_t(count) > size - uint32_t(position)) {
        SetError(FS_ERROR_OUT_OF_RANGE);
        return false;
    }
    if (count > 0)
        std::memcpy(buffer + position, source, count);
    position += count;
    return true;
}
