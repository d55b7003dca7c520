#include "brushes/hsv.h"

#include <algorithm>

void RgbToHsv(const uint8_t* colour, double* hue, double* saturation, double* value)
{
    const double k = 0.00392156862745098;
    double r = colour[2] * k;
    double g = colour[1] * k;
    double b = colour[0] * k;
    double most = std::max({r, g, b});
    double least = std::min({r, g, b});
    double delta = most - least;
    *value = most;
    *saturation = most != 0 ? delta / most : 0;
    double h = 0;
    if (*saturation != 0) {
        if (r == most)
            h = (g - b) / delta;
        else if (g == most)
            h = (b - r) / delta + 2;
        else
            h = (r - g) / delta + 4;
    }
    h *= 60;
    if (h < 0)
        h += 360;
    *hue = h * 0.002777777777777778;
}

void HsvToRgb(const double* hue, const double* saturation, const double* value, uint8_t* colour)
{
    double v = *value;
    double s = *saturation;
    if (s == 0) {
        colour[0] = colour[1] = colour[2] = uint8_t(int32_t(v * 255));
        return;
    }
    double h = *hue * 360;
    if (h >= 360)
        h = 0;
    h *= 0.016666666666666666;
    int32_t i = int32_t(h);
    double f = h - i;
    double p = v * (1 - s);
    double q = v * (1 - s * f);
    double t = v * (1 - s * (1 - f));
    double rgb[3];
    switch (i) {
    case 0: rgb[0] = v; rgb[1] = t; rgb[2] = p; break;
    case 1: rgb[0] = q; rgb[1] = v; rgb[2] = p; break;
    case 2: rgb[0] = p; rgb[1] = v; rgb[2] = t; break;
    case 3: rgb[0] = p; rgb[1] = q; rgb[2] = v; break;
    case 4: rgb[0] = t; rgb[1] = p; rgb[2] = v; break;
    case 5: rgb[0] = v; rgb[1] = p; rgb[2] = q; break;
    default: return;  // a negative hue
    }
    colour[2] = uint8_t(int32_t(rgb[0] * 255));
    colour[1] = uint8_t(int32_t(rgb[1] * 255));
    colour[0] = uint8_t(int32_t(rgb[2] * 255));
}
