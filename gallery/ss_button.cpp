#include "gallery/ss_button.h"

#include "engine/enclosure.h"
#include "engine/scene.h"
#include "framework/color.h"
#include "media/font.h"
#include "media/surface.h"

MpUTHssButtonVisual::MpUTHssButtonVisual(const MMPictureReference& normal,
                                         const MMPictureReference& highlighted,
                                         const Pair& position, int16_t layer)
    : normalPicture(normal), highlightPicture(highlighted)
{
    ConstructWithPictureAt(normal, position.x, position.y, layer, false, false);
}

void MpUTHssButtonVisual::SetHighlighted(bool on)
{
    if ((highlighted != 0) == on)
        return;
    highlighted = on ? 1 : 0;
    SetPicture(on ? highlightPicture : normalPicture);
    Invalidate();
}

void MpUTHssButtonVisual::SetPictures(const MMPictureReference& normal,
                                      const MMPictureReference& highlighted)
{
    normalPicture = normal;
    highlightPicture = highlighted;
    SetPicture(this->highlighted ? highlightPicture : normalPicture);
    Invalidate();
}

void MpUTHssButtonVisual::SetLabel(const char* text, MMFont* labelFont)
{
    label = text != nullptr ? text : "";
    font = labelFont;
    Invalidate();
}

void MpUTHssButtonVisual::Draw(MMSurface* surface)
{
    MMPictureVisual::Draw(surface);
    if (label.empty() || font == nullptr)
        return;
    surface->SelectFont(font);
    surface->MoveTextTo(x + kLabelX, y + kLabelY + surface->FontAscent());
    surface->DrawTextRun(MakeMMColorFromRgb(0x000000), label.c_str(), 0);
    surface->ReleaseFont();
}

MpUTHssButtonInterpreter::MpUTHssButtonInterpreter(MMStage* stage, int32_t value,
                                                   MpUTHssButtonListener* listener,
                                                   MMCommand* command,
                                                   MpUTHssButtonVisual* visual, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, command, cursor),
      listener(listener),
      value(value),
      visual(visual)
{
}

bool MpUTHssButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return visual != nullptr && !visual->IsHidden() &&
           visual->GetBounds().Contains(Pair{event.x, event.y});
}

bool MpUTHssButtonInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return IsPressed();
    if (!IsPressed()) {
        if (!(event.data & kPointerPressed) || !Matches(event) || !Inside(event))
            return false;
        visual->SetHighlighted(true);
        pressPoint = {event.x, event.y};
        if (listener != nullptr)
            listener->Press(value);
        return true;
    }
    if (event.data & kPointerReleased) {
        if (listener != nullptr)
            listener->Release();
        if (Inside(event))
            PostCommand();
        visual->SetHighlighted(false);
        pressPoint = {-100, -100};
        return false;
    }
    visual->SetHighlighted(Inside(event));
    if (listener != nullptr)
        listener->Move(Pair{event.x, event.y});
    return true;
}

void MpUTHssButtonInterpreter::CaptureLost()
{
    if (visual != nullptr)
        visual->SetHighlighted(false);
    pressPoint = {-100, -100};
    MMStandardMouseInterpreter::CaptureLost();
}

MpUTHssButton::MpUTHssButton(MMBaseScene* scene, MpUTHssButtonVisual* visual,
                             MpUTHssButtonInterpreter* interpreter)
    : MMMolecule(scene), visual(visual), interpreter(interpreter)
{
    interpreter->SetVisual(visual);
    visual->SetMouseInterpreter(interpreter);
    if (scene != nullptr && scene->TopEnclosure() != nullptr)
        scene->TopEnclosure()->AddVisual(visual);
}

MpUTHssButton::~MpUTHssButton()
{
    // The stage must not keep the pointer's interpreter past its button
    // (a scene change under the pointer deletes the button).
    if (interpreter != nullptr)
        interpreter->ReleaseCapture();
    if (visual->Enclosure() != nullptr)
        visual->Enclosure()->RemoveVisual(visual);
    delete visual;
    delete interpreter;
}

void MpUTHssButton::Show()
{
    MMMolecule::Show();
    visual->SetHidden(false);
}

void MpUTHssButton::Hide()
{
    MMMolecule::Hide();
    visual->SetHidden(true);
}
