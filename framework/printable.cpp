#include "framework/printable.h"

#include <cstring>

#include "framework/print_session.h"
#include "framework/text.h"

AFPrintableBox::AFPrintableBox(const Box& box, const MMColor& color)
    : AFPrintable(box), color(color)
{
}

bool AFPrintableBox::Print(AFPrintSession& session)
{
    HDC dc = session.DeviceContext();
    HBRUSH brush = CreateSolidBrush(MMColorToColorRef(color));
    SelectObject(dc, brush);
    PatBlt(dc, box.left, box.top, box.Width(), box.Height(), PATCOPY);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    DeleteObject(brush);
    return true;
}

AFPrintableFrame::AFPrintableFrame(const Box& box, const MMColor& color, int16_t penWidth)
    : AFPrintable(box), color(color), penWidth(penWidth)
{
    this->color.spare = 0;
}

bool AFPrintableFrame::Print(AFPrintSession& session)
{
    HDC dc = session.DeviceContext();
    HPEN pen = CreatePen(PS_INSIDEFRAME, penWidth, MMColorToColorRef(color));
    SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    DeleteObject(pen);
    return true;
}

AFPrintableText::AFPrintableText(const Pair& position, const char* text, const char* faceName,
                                 int32_t height, const MMColor& color, int32_t weight)
    : AFPrintable(Box{position.x, position.y, position.x, position.y}), color(color)
{
    StringCopyBounded(text != nullptr ? text : "", this->text, kTextSize);
    LOGFONTA description = {};
    description.lfHeight = -height;
    description.lfWeight = weight;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_TT_PRECIS;
    description.lfQuality = PROOF_QUALITY;
    StringCopyBounded(faceName != nullptr ? faceName : "", description.lfFaceName,
                      LF_FACESIZE);
    font = CreateFontIndirectA(&description);
}

AFPrintableText::~AFPrintableText()
{
    if (font != nullptr)
        DeleteObject(font);
}

bool AFPrintableText::Print(AFPrintSession& session)
{
    HDC dc = session.DeviceContext();
    SelectObject(dc, font);
    SetTextColor(dc, MMColorToColorRef(color));
    SetTextAlign(dc, TA_BASELINE);
    TextOutA(dc, box.left, box.top, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, GetStockObject(DEVICE_DEFAULT_FONT));
    return true;
}
