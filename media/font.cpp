#include "media/font.h"

#include <cstring>
#include "framework/text.h"
#include "media/surface.h"

namespace {

int32_t LengthOf(const char* text, int32_t length)
{
    return length == 0 ? static_cast<int32_t>(std::strlen(text)) : length;
}

}  // namespace

MMSystemFont::MMSystemFont(const char* faceName, int32_t height, int32_t weight, bool italic,
                           bool underline)
{
    LOGFONTA description = {};
    description.lfHeight = -height;
    description.lfWeight = weight;
    description.lfItalic = italic ? 1 : 0;
    description.lfUnderline = underline ? 1 : 0;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_TT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = PROOF_QUALITY;
    description.lfPitchAndFamily = 0;
    if (faceName != nullptr) {
        StringCopyBounded(faceName, description.lfFaceName, LF_FACESIZE);
    }
    font = CreateFontIndirectA(&description);
}

MMSystemFont::~MMSystemFont()
{
    if (font != nullptr) {
        DeleteObject(font);
    }
}

HDC MMSystemFont::DC() const
{
    return surface->GetDC();
}

void MMSystemFont::Select(MMSurface* target)
{
    surface = target;
    HDC dc = DC();
    SelectObject(dc, font);
    if (metricsValid) {
        return;
    }
    TEXTMETRICA metrics = {};
    if (!GetTextMetricsA(dc, &metrics)) {
        return;
    }
    capHeight = metrics.tmAscent - metrics.tmInternalLeading;
    ascent = metrics.tmAscent;
    descent = metrics.tmDescent;
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    metricsValid = true;
}

void MMSystemFont::Deselect()
{
    SelectObject(DC(), GetStockObject(DEVICE_DEFAULT_FONT));
    surface = nullptr;
}

int32_t MMSystemFont::GetTextWidth(const char* text, int32_t length)
{
    length = LengthOf(text, length);
    if (length == 0) {
        return 0;
    }
    SIZE size = {0, 0};
    GetTextExtentPointA(DC(), text, length, &size);
    return size.cx;
}

void MMSystemFont::GetCharOffsets(int16_t* offsets, const char* text, int32_t length)
{
    length = LengthOf(text, length);
    INT widths[256] = {};
    GetCharWidthA(DC(), 0, 255, widths);
    offsets[0] = 0;
    for (int32_t i = 0; i < length; ++i) {
        offsets[i + 1] =
            static_cast<int16_t>(offsets[i] + widths[static_cast<unsigned char>(text[i])]);
    }
}

bool MMSystemFont::GetCharABC(const char* character, ABC& widths)
{
    int bytes = IsLeadByte(static_cast<unsigned char>(character[0])) && character[1] != 0 ? 2 : 1;
    WCHAR wide[2] = {0, 0};
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, character, bytes, wide, 2) != 1) {
        return false;
    }
    return GetCharABCWidthsW(DC(), wide[0], wide[0], &widths) != 0;
}

int32_t MMSystemFont::GetLeftOverhang(const char* character)
{
    ABC widths;
    return GetCharABC(character, widths) && widths.abcA < 0 ? -widths.abcA : 0;
}

int32_t MMSystemFont::GetRightOverhang(const char* character)
{
    ABC widths;
    return GetCharABC(character, widths) && widths.abcC < 0 ? -widths.abcC : 0;
}

void MMSystemFont::MovePen(int32_t x, int32_t y)
{
    MoveToEx(DC(), x, y, nullptr);
}

Pair MMSystemFont::GetPenPosition()
{
    POINT position = {0, 0};
    GetCurrentPositionEx(DC(), &position);
    return {position.x, position.y};
}

void MMSystemFont::DrawText(MMColor color, const char* text, int32_t length)
{
    length = LengthOf(text, length);
    HDC dc = DC();
    SetTextColor(dc, MMColorToColorRef(color));
    TextOutA(dc, 0, 0, text, length);
}
