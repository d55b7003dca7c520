#pragma once
// Owned copies of texts: one block holding the character count plus 1 in a
// 32-bit word, then the characters and a terminating zero.
#include <cstdint>

// Copies length bytes (length below 1: the whole zero-terminated text); null
// for no text or when memory runs out.
char* NewTextCopy(const char* text, int32_t length);
// An empty text with room for capacity bytes, zero-filled.
char* NewTextBuffer(int32_t capacity);
void FreeTextCopy(char* copy);
