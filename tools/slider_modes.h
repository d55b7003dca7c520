#pragma once
// The canvas draw method a painting tool's sliders choose: slider 2 above
// 255 adds height, below it removes height, 255 paints plain; drippy paint
// (slider 1 above 255) has its own two methods that add or remove height.
#include <cstdint>

inline int32_t HeightDrawKind(int32_t slider2)
{
    return slider2 > 255 ? 4 : slider2 == 255 ? 3 : 5;
}

inline int32_t DrippyHeightDrawKind(bool drippy, int32_t slider2)
{
    if (slider2 == 255)
        return 3;
    if (drippy)
        return slider2 > 255 ? 7 : 8;
    return slider2 > 255 ? 4 : 5;
}
