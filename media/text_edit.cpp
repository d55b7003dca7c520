#include "media/text_edit.h"

#include <algorithm>
#include <climits>
#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "engine/scene.h"
#include "framework/text.h"
#include "media/text_copy.h"

namespace {

MMSurface* SurfaceOf(const MMVisual* visual)
{
    MMEnclosure* enclosure = visual->Enclosure();
    return enclosure != nullptr ? enclosure->Surface() : nullptr;
}

}  // namespace

// --- text visual ------------------------------------------------------------

bool MMTEditTextVisual::ContainsPoint(int32_t px, int32_t py)
{
    return GetBounds().Contains({px, py});
}

MMStandardTEditTextVisual::MMStandardTEditTextVisual(int32_t x, int32_t y, int16_t width,
                                                     int32_t verticalAlignment,
                                                     MMColor textColor, MMFont* font)
    : MMTEditTextVisual(x, y), verticalAlignment(verticalAlignment), textColor(textColor),
      font(font), width(width)
{
}

void MMStandardTEditTextVisual::SetPosition(int32_t newX, int32_t newY)
{
    Invalidate();
    x = newX;
    y = newY;
    boundsStale = true;
    Invalidate();
}

int32_t MMStandardTEditTextVisual::Baseline(MMSurface* surface) const
{
    return surface->AlignBaseline(y, verticalAlignment, 0);
}

Box MMStandardTEditTextVisual::GetBounds() const
{
    if (!boundsStale) {
        return bounds;
    }
    MMSurface* surface = SurfaceOf(this);
    if (surface == nullptr || font == nullptr) {
        return {x, y, x, y};
    }
    surface->SelectFont(font);
    int32_t baseline = Baseline(surface);
    bounds = {x, baseline - surface->FontAscent(), x + width, baseline + surface->FontDescent()};
    surface->ReleaseFont();
    boundsStale = false;
    return bounds;
}

void MMStandardTEditTextVisual::Draw(MMSurface* surface)
{
    if (molecule == nullptr) {
        return;
    }
    surface->DrawStyledText(molecule->Text(), {x, y},
                            {font, textColor, kAlignLeft, verticalAlignment});
}

Pair MMStandardTEditTextVisual::CaretPosition()
{
    MMSurface* surface = SurfaceOf(this);
    if (surface == nullptr || font == nullptr) {
        return {x, y};
    }
    surface->SelectFont(font);
    int32_t textWidth = molecule != nullptr ? surface->TextWidth(molecule->Text(), 0) : 0;
    Pair caret = {x + std::min<int32_t>(textWidth, width), Baseline(surface)};
    surface->ReleaseFont();
    return caret;
}

void MMStandardTEditTextVisual::SetColor(MMColor color)
{
    textColor = color;
    Invalidate();
}

void MMStandardTEditTextVisual::SetFont(MMFont* newFont)
{
    Invalidate();
    font = newFont;
    boundsStale = true;
    Invalidate();
}

// --- caret --------------------------------------------------------------------

MMStandardTEditCursorVisual::MMStandardTEditCursorVisual(MMColor caretColor, MMFont* font)
    : caretColor(caretColor), font(font)
{
    hidden = 1;
}

void MMStandardTEditCursorVisual::SetPosition(int32_t newX, int32_t newY)
{
    Invalidate();
    x = newX;
    y = newY;
    Invalidate();
}

Box MMStandardTEditCursorVisual::GetBounds() const
{
    MMSurface* surface = SurfaceOf(this);
    if (surface == nullptr || font == nullptr) {
        return {x, y, x, y};
    }
    surface->SelectFont(font);
    Box bar = {x, y - surface->FontAscent(), x + 2, y + surface->FontDescent()};
    surface->ReleaseFont();
    return bar;
}

void MMStandardTEditCursorVisual::Draw(MMSurface* surface)
{
    surface->FillBox(GetBounds(), caretColor);
}

void MMStandardTEditCursorVisual::SetColor(MMColor color)
{
    caretColor = color;
    Invalidate();
}

void MMStandardTEditCursorVisual::SetFont(MMFont* newFont)
{
    Invalidate();
    font = newFont;
    Invalidate();
}

MMTEditCursorThread::MMTEditCursorThread(MMStage* stage, MMTEditCursorVisual* caret)
    : MMLightweightThread("cursor thread", stage), caret(caret)
{
}

bool MMTEditCursorThread::Run()
{
    if (state_ == kMMThreadTerminating) {
        return false;
    }
    caret->ToggleBlink();
    Wait(200);
    return true;
}

// --- molecule -------------------------------------------------------------------

MMTextEditMolecule::MMTextEditMolecule(const Parameters& p)
    : MMMolecule(p.scene), bufferSize(p.bufferSize),
      textVisual(new MMStandardTEditTextVisual(p.position.x, p.position.y, p.width,
                                               p.verticalAlignment, p.textColor, p.font)),
      caretVisual(new MMStandardTEditCursorVisual(p.caretColor, p.font))
{
    SetUp();
}

MMTextEditMolecule::MMTextEditMolecule(MMBaseScene* scene, int16_t bufferSize,
                                       MMTEditTextVisual* textVisual,
                                       MMTEditCursorVisual* caretVisual)
    : MMMolecule(scene), bufferSize(bufferSize), textVisual(textVisual), caretVisual(caretVisual)
{
    SetUp();
}

void MMTextEditMolecule::SetUp()
{
    if (bufferSize < 0) {
        bufferSize = 0;
    }
    caretThread = new MMTEditCursorThread(Stage(), caretVisual);
    interpreter = new MMHotSpotInterpreter(Stage(), nullptr, nullptr, nullptr);
    caretThread->Activate();
    caretThread->SleepUntil(INT_MAX);
    // A click on the text gives the field the keyboard focus.
    interpreter->SetCommand(MakeFocusCommand());
    interpreter->SetHotSpot(textVisual);
    textVisual->SetMolecule(this);
    textVisual->SetMouseInterpreter(interpreter);
    buffer = NewTextBuffer(bufferSize);
    SetLayer(2);
    if (MMEnclosure* enclosure = Enclosure()) {
        enclosure->AddVisual(textVisual);
        enclosure->AddVisual(caretVisual);
    }
    Pair caret = textVisual->CaretPosition();
    caretVisual->SetPosition(caret.x, caret.y);
}

MMTextEditMolecule::~MMTextEditMolecule()
{
    interpreter->ReleaseCapture();
    caretThread->Terminate();
    if (MMEnclosure* enclosure = Enclosure()) {
        enclosure->RemoveVisual(textVisual);
        enclosure->RemoveVisual(caretVisual);
    }
    delete textVisual;
    delete caretVisual;
    delete caretThread;
    delete interpreter;
    FreeTextCopy(buffer);
}

void MMTextEditMolecule::Show()
{
    MMMolecule::Show();
    textVisual->SetHidden(false);
}

void MMTextEditMolecule::Hide()
{
    interpreter->ReleaseCapture();
    MMMolecule::Hide();
    if (scene_ != nullptr && scene_->Focus() == this) {
        scene_->SetFocus(nullptr);
    }
    textVisual->SetHidden(true);
}

void MMTextEditMolecule::GainFocus()
{
    MMMolecule::GainFocus();
    caretThread->SleepFor(0);
}

void MMTextEditMolecule::LoseFocus()
{
    caretThread->SleepUntil(INT_MAX);
    caretVisual->SetHidden(true);
    MMMolecule::LoseFocus();
}

bool MMTextEditMolecule::HandleKey(uint32_t keyData)
{
    uint16_t code = static_cast<uint16_t>(keyData & 0xFFFF);
    // The character's bytes are unsigned: 0xE9 is a letter, not a control.
    uint8_t character = static_cast<uint8_t>(keyData >> 16);
    uint8_t trail = static_cast<uint8_t>(keyData >> 24);
    if (code == kBackspaceKey) {
        if (length > 0) {
            length = static_cast<int16_t>(PreviousChar(buffer, buffer + length) - buffer);
            buffer[length] = 0;
            TextChanged();
        }
        return true;
    }
    if (code != 0) {
        return false;
    }
    if (character < 32) {
        return false;
    }
    int32_t needed = trail != 0 ? 2 : 1;
    if (bufferSize >= length + needed) {
        buffer[length++] = static_cast<char>(character);
        if (trail != 0) {
            buffer[length++] = static_cast<char>(trail);
        }
        buffer[length] = 0;
        TextChanged();
    }
    return true;
}

void MMTextEditMolecule::TextChanged()
{
    textVisual->Invalidate();
    Pair caret = textVisual->CaretPosition();
    caretVisual->SetPosition(caret.x, caret.y);
}

void MMTextEditMolecule::SetText(const char* newText)
{
    bool fitted = false;
    int32_t count = newText != nullptr ? FitLength(newText, bufferSize + 1, &fitted) : 0;
    std::copy(newText, newText + count, buffer);
    buffer[count] = 0;
    length = static_cast<int16_t>(count);
    TextChanged();
}

void MMTextEditMolecule::SetLayer(int16_t layer)
{
    textVisual->SetLayer(layer);
    caretVisual->SetLayer(static_cast<int16_t>(layer + 1));
}

int16_t MMTextEditMolecule::Layer() const
{
    return textVisual->Layer();
}
