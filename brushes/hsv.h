#pragma once
// Hue, saturation and value (0 to 1) of the program's blue, green, red
// colours and back; every channel is truncated, not rounded.
#include <cstdint>

void RgbToHsv(const uint8_t* colour, double* hue, double* saturation, double* value);
void HsvToRgb(const double* hue, const double* saturation, const double* value, uint8_t* colour);
