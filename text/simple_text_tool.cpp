#include "text/simple_text_tool.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "media/bitmap.h"
#include "media/surface.h"
#include "text/smart_font.h"
#include "text/text_edits.h"
#include "text/text_renderer.h"

namespace {

void ClearAlpha(MMSurface* surface, const Box& drawn)
{
    MMBitmap bitmap;
    if (drawn.IsEmpty() || !surface->GetBitmap(bitmap) || bitmap.bitsPerPixel != 32)
        return;
    Box box = drawn;
    box.Intersect(bitmap.box);
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            bitmap.PixelAddress(x, y)[3] = 0;
}

void AddDirty(CTextTarget* target, const Box& box)
{
    if (box.IsEmpty())
        return;
    if (target->dirty.IsEmpty())
        target->dirty = box;
    else
        target->dirty.Union(box);
}

}  // namespace

CTextTool::CTextTool(MMBaseScene* scene, const uint8_t* colour) : scene(scene), colour(colour) {}

CTextTool::~CTextTool()
{
    delete edit;
    delete font;
}

void CTextTool::RebuildFont()
{
    delete font;
    font = new (std::nothrow) MPSmartFont(face, size, style[2] ? 700 : 400, style[1] != 0,
                                          style[3] != 0);
}

void CTextTool::Activate()
{
    RebuildFont();
    CTool::Activate();
}

void CTextTool::Deactivate()
{
    Commit();
    delete edit;
    edit = nullptr;
    delete font;
    font = nullptr;
    CTool::Deactivate();
}

void CTextTool::OpenEdit(const std::string& text)
{
    delete edit;
    edit = nullptr;
    if (font == nullptr || scene == nullptr)
        return;
    MMColor ink = MakeMMColorFromRgb(colour ? (colour[2] << 16 | colour[1] << 8 | colour[0]) : 0);
    edit = new (std::nothrow) MPTextEdit(
        {scene, 256, position, room, kAlignBaseline, ink, font, ink});
    if (edit == nullptr)
        return;
    edit->SetLayer(96);
    edit->SetText(text.c_str());
    edit->Show();
    edit->TakeFocus();
}

void CTextTool::PlaceAt(double x, double y, CTextTarget* newTarget)
{
    Commit();
    target = newTarget;
    if (target == nullptr || target->surface == nullptr || font == nullptr)
        return;
    MPTextRenderer renderer(target->surface);
    renderer.SetFont(font);
    Box canvas = target->surface->GetBounds();
    position = Pair{int32_t(x), int32_t(y)};
    position.y = std::max(position.y, canvas.top + renderer.Ascent());
    position.y = std::min(position.y, canvas.bottom - renderer.Descent());
    room = int16_t(canvas.right - position.x);
    OpenEdit("");
}

void CTextTool::Commit()
{
    if (edit == nullptr || target == nullptr || target->surface == nullptr || edit->Length() == 0)
        return;
    MPTextRenderer renderer(target->surface);
    renderer.SetFont(font);
    const char* text = edit->Text();
    if (shadow) {
        int32_t offset = int32_t(size * 0.1);
        Box drawn = renderer.DrawText(text, 0, position.x + offset, position.y + offset, 0, 80);
        ClearAlpha(target->surface, drawn);
        int32_t grow = size / 4;
        AddDirty(target, Box{drawn.left - grow, drawn.top - grow, drawn.right + grow,
                             drawn.bottom + grow});
    }
    uint32_t rgb = colour ? (colour[2] << 16 | colour[1] << 8 | colour[0]) : 0;
    Box drawn = renderer.DrawText(text, 0, position.x, position.y, rgb, 255);
    ClearAlpha(target->surface, drawn);
    AddDirty(target, drawn);
    edit->SetText("");
}

void CTextTool::SetFace(const char* name)
{
    std::memset(face, 0, sizeof face);
    std::strncpy(face, name, sizeof face - 1);
    RebuildFont();
    if (edit)
        OpenEdit(edit->Text());
}

void CTextTool::SetSize(int16_t newSize)
{
    size = newSize;
    RebuildFont();
    if (edit)
        OpenEdit(edit->Text());
}

void CTextTool::SetStyle(const uint8_t newStyle[4])
{
    std::memcpy(style, newStyle, 4);
    RebuildFont();
    if (edit)
        OpenEdit(edit->Text());
}
