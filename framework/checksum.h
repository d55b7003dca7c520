#pragma once
// The 32-bit checksum stored in resource files. Its table is the plain XOR
// of the shifted polynomial for each set index bit, never reduced, so it is
// not the usual CRC-32 table; stored files depend on this exact table.

#include <cstdint>

class FSReader;

class UUChecksum {
public:
    UUChecksum();

    // Folds the bytes in, starting from 0 when restart is set, else from the
    // current value; returns the new value.
    uint32_t Update(const void* bytes, uint32_t count, bool restart);
    // Reads count bytes from the reader in chunks and folds them in; restart
    // applies to the first chunk. A failed read ends it with the bytes read
    // before it folded in, and leaves the reader's error for the caller.
    uint32_t Compute(FSReader& reader, uint32_t count, bool restart);

    uint32_t Value() const { return value; }
    uint32_t TableEntry(int index) const { return table[index]; }

private:
    uint32_t value;
    uint32_t table[256];
};
