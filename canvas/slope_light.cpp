#include "canvas/slope_light.h"

#include <cmath>

uint8_t SlopeLightTable[4][128 * 128];

namespace slope_detail {
uint8_t gLight[255 * 256];
uint8_t gFoldedLight[kFoldedLights];
const uint8_t* gKeepRow[256];
uint8_t gKeep[256];
uint8_t gAdd[256];
}  // namespace slope_detail

namespace {

int Quadrant(int sx, int sy) { return (sx < 0 ? 2 : 0) + (sy < 0 ? 1 : 0); }

void BuildQuadrants()
{
    for (int sx = 1; sx >= -1; sx -= 2) {
        for (int sy = 1; sy >= -1; sy -= 2) {
            uint8_t* quadrant = SlopeLightTable[Quadrant(sx, sy)];
            for (int i = 0; i < 128; ++i) {
                for (int j = 0; j < 128; ++j) {
                    double x = sx * i / 32.0;
                    double y = sy * j / 32.0;
                    double light = 255.0 * (1.0 + x + y) / std::sqrt(3.0 * (x * x + y * y + 1.0));
                    light = light < 0.0 ? 0.0 : (light > 255.0 ? 255.0 : light);
                    int v = static_cast<int>(light);
                    quadrant[i * 128 + j] = static_cast<uint8_t>(163 + (92 * v + 128) / 255);
                }
            }
        }
    }
}

void BuildDirectTable()
{
    for (int dy = -127; dy <= 127; ++dy) {
        for (int dx = -127; dx <= 127; ++dx) {
            int ax = dx < 0 ? -dx : dx;
            int ay = dy < 0 ? -dy : dy;
            slope_detail::gLight[(dy + 127) * 256 + dx + 127] =
                SlopeLightTable[Quadrant(dx, dy)][ax * 128 + ay];
            slope_detail::gFoldedLight[slope_detail::FoldedLightIndex(dx + 127, dy + 127)] =
                SlopeLightTable[Quadrant(dx, dy)][ax * 128 + ay];
        }
    }
}

// Lighter than flat: BlendRgb toward white with weight BlendTable[f][153];
// darker: each channel times g / 255. Both fold into one keep row and an add.
void BuildColorSteps()
{
    const int flat = kFlatLight;
    for (int w = 0; w < 256; ++w) {
        int lit = w < kDarkestLight ? kDarkestLight : w;
        if (lit > flat) {
            int f = (lit - flat) * 255 / (255 - flat);
            int weight = BlendTable[f][153];
            slope_detail::gKeep[w] = static_cast<uint8_t>(255 - weight);
            slope_detail::gAdd[w] = BlendTable[255][weight];
        } else if (lit < flat) {
            slope_detail::gKeep[w] = static_cast<uint8_t>(255 - (flat - lit) * 92 / (flat - 163));
            slope_detail::gAdd[w] = 0;
        } else {
            slope_detail::gKeep[w] = 255;
            slope_detail::gAdd[w] = 0;
        }
        slope_detail::gKeepRow[w] = BlendTable[slope_detail::gKeep[w]];
    }
}

struct TablesAtStart {
    TablesAtStart() { ShadingTableInit(); }
} gTablesAtStart;

}  // namespace

void ShadingTableInit()
{
    BuildQuadrants();
    BuildDirectTable();
    BuildColorSteps();
}
