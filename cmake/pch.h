// Headers nearly every file of the program includes, parsed once per target:
// <windows.h> alone is about half of a typical file's compile time.
#pragma once
#include <windows.h>
#ifdef __cplusplus
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#endif
