#include "media/word_wrapper.h"

#include "engine/enclosure.h"
#include "media/surface.h"
#include "media/text_copy.h"
#include "media/text_visual.h"

namespace {

bool EndsWord(char c)
{
    return c == ' ' || c == '\n' || c == 0;
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ') {
        ++p;
    }
    return p;
}

int32_t Width16(MMSurface* surface, const char* start, const char* end)
{
    return static_cast<int16_t>(surface->TextWidth(start, static_cast<int32_t>(end - start)));
}

}  // namespace

MMWordWrapper::MMWordWrapper(int32_t frameCount)
    : frames(frameCount > 0 ? frameCount : 0, Box{0, 0, 0, 0})
{
}

void MMWordWrapper::WrapAll(MMSurface* surface, const char* text)
{
    framesUsed = 0;
    wordBroken = false;
    allTextPlaced = true;
    while (*text != 0) {
        if (framesUsed == FrameCount()) {
            allTextPlaced = false;
            return;
        }
        text = WrapFrame(framesUsed, surface, text);
        ++framesUsed;
    }
}

const char* MMWordWrapper::WrapFrame(int32_t index, MMSurface* surface, const char* text)
{
    BeginFrame(index, text);
    const Box& frame = frames[index];
    Pair pen = {frame.left, frame.top + surface->FontAscent()};
    int32_t width = static_cast<int16_t>(frame.right - frame.left);
    int32_t descent = surface->FontDescent();
    // A line that advances nothing would hold the pen forever.
    int32_t lineHeight = surface->FontLineHeight() > 0 ? surface->FontLineHeight() : 1;
    while (*text != 0 && pen.y + descent <= frame.bottom) {
        text = BreakLine(index, surface, text, pen, width);
        pen.y += lineHeight;
    }
    EndFrame(index, text);
    return text;
}

const char* MMWordWrapper::BreakLine(int32_t index, MMSurface* surface, const char* start,
                                     const Pair& pen, int32_t width)
{
    const char* acceptedEnd = start;
    int32_t acceptedWidth = 0;
    const char* p = start;
    for (;;) {
        p = SkipBlanks(p);
        if (*p == 0 || *p == '\n') {
            break;
        }
        while (!EndsWord(*p)) {
            ++p;
        }
        int32_t w = Width16(surface, start, p);
        if (w > width) {
            if (acceptedWidth > 0) {
                break;
            }
            // The first word alone is too wide: the longest prefix that fits,
            // cut inside the word.
            for (const char* q = p - 1; q > start && *(q - 1) != ' '; --q) {
                if (Width16(surface, start, q) <= width) {
                    acceptedEnd = q;
                    wordBroken = true;
                    break;
                }
            }
            break;
        }
        acceptedEnd = p;
        acceptedWidth = w;
        if (w == width) {
            break;
        }
    }
    EmitLine(index, start, static_cast<int32_t>(acceptedEnd - start), pen.x, pen.y);
    const char* next = SkipBlanks(acceptedEnd);
    return *next == '\n' ? next + 1 : next;
}

MMWordWrapMolecule::MMWordWrapMolecule(MMBaseScene* scene, int32_t frameCount)
    : MMMolecule(scene), MMWordWrapper(frameCount), states(frames.size())
{
}

MMWordWrapMolecule::MMWordWrapMolecule(MMBaseScene* scene, int32_t frameCount, MMColor color,
                                       MMFont* font, int16_t layer, const char* newText)
    : MMMolecule(scene), MMWordWrapper(frameCount), states(frames.size()),
      text(NewTextCopy(newText, 0)), font(font), color(color), layer(layer)
{
}

MMWordWrapMolecule* MMWordWrapMolecule::ConstructInBox(MMBaseScene* scene, const Box& frame,
                                                       MMColor color, MMFont* font,
                                                       int16_t layer, const char* text)
{
    MMWordWrapMolecule* molecule = new MMWordWrapMolecule(scene, 1, color, font, layer, text);
    molecule->frames[0] = frame;
    return molecule;
}

MMWordWrapMolecule::~MMWordWrapMolecule()
{
    DropLines();
    FreeTextCopy(text);
}

void MMWordWrapMolecule::DropLines()
{
    MMEnclosure* enclosure = Enclosure();
    for (MMPointTextVisual* line : lines) {
        if (enclosure != nullptr) {
            enclosure->RemoveVisual(line);
        }
        delete line;
    }
    lines.clear();
}

void MMWordWrapMolecule::Show()
{
    MMMolecule::Show();
    Rewrap();
}

void MMWordWrapMolecule::Hide()
{
    MMMolecule::Hide();
    DropLines();
}

void MMWordWrapMolecule::SetText(const char* newText)
{
    needsFullWrap = true;
    FreeTextCopy(text);
    text = NewTextCopy(newText, 0);
    Rewrap();
}

void MMWordWrapMolecule::SetFrameBox(int32_t index, const Box& box)
{
    needsFullWrap = true;
    frames[index] = box;
    Rewrap();
}

void MMWordWrapMolecule::SetFont(MMFont* newFont)
{
    needsFullWrap = true;
    font = newFont;
    Rewrap();
}

void MMWordWrapMolecule::SetFrameVisible(int32_t index, bool flag)
{
    states[index].visible = flag;
    Rewrap();
}

void MMWordWrapMolecule::SetLayer(int16_t newLayer)
{
    layer = newLayer;
    for (MMPointTextVisual* line : lines) {
        line->SetLayer(newLayer);
    }
}

void MMWordWrapMolecule::SetColor(MMColor newColor)
{
    color = newColor;
    for (MMPointTextVisual* line : lines) {
        line->SetColor(newColor);
    }
}

void MMWordWrapMolecule::ReleaseLayout()
{
    --holdCount;
    Rewrap();
}

void MMWordWrapMolecule::Rewrap()
{
    MMEnclosure* enclosure = Enclosure();
    if (holdCount > 0 || enclosure == nullptr) {
        return;
    }
    DropLines();
    MMSurface* surface = enclosure->Surface();
    if (text != nullptr && !hidden_ && font != nullptr && surface != nullptr) {
        surface->SelectFont(font);
        if (needsFullWrap) {
            needsFullWrap = false;
            for (FrameState& state : states) {
                state.textStart = nullptr;
                state.textEnd = nullptr;
            }
            WrapAll(surface, text);
        } else {
            for (int32_t i = 0; i < FrameCount(); ++i) {
                if (states[i].visible && states[i].textStart != nullptr) {
                    WrapFrame(i, surface, states[i].textStart);
                }
            }
        }
        surface->ReleaseFont();
    }
    for (MMPointTextVisual* line : lines) {
        enclosure->AddVisual(line);
    }
}

void MMWordWrapMolecule::BeginFrame(int32_t index, const char* position)
{
    states[index].textStart = position;
}

void MMWordWrapMolecule::EndFrame(int32_t index, const char* position)
{
    states[index].textEnd = position;
}

void MMWordWrapMolecule::EmitLine(int32_t index, const char* start, int32_t length, int32_t x,
                                  int32_t y)
{
    if (!states[index].visible || length == 0) {
        return;
    }
    MMPointTextVisual* line = new MMPointTextVisual;
    line->ConstructAt(x, y, start, length);
    line->SetStyleFields(font, color, kAlignBaseline, kAlignLeft);
    line->SetLayer(layer);
    lines.push_back(line);
}
