#include "gallery/drag_button.h"

#include <cstdlib>

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "gallery/drag_scene.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "shell/app.h"

namespace {

constexpr int32_t kCursorDraggable = 4;
constexpr int32_t kCursorDragging = 5;
// A drag begins once the pointer is more than this far from the press.
constexpr int32_t kDragThreshold = 1;

}  // namespace

MpDragButtonVisual::MpDragButtonVisual(const MMPictureReference& normal,
                                       const MMPictureReference& highlighted,
                                       const Pair& position, MMMouseInterpreter* interpreter,
                                       int16_t layer)
    : normalPicture(normal), highlightPicture(highlighted)
{
    ConstructWithPictureAt(normal, position.x, position.y, layer, false, false);
    SetMouseInterpreter(interpreter);
}

void MpDragButtonVisual::ShowCurrent()
{
    SetPicture(highlighted ? highlightPicture : normalPicture);
}

void MpDragButtonVisual::SetHighlighted(bool flag)
{
    if ((highlighted != 0) == flag)
        return;
    highlighted = flag ? 1 : 0;
    ShowCurrent();
}

void MpDragButtonVisual::SetNormalPicture(const MMPictureReference& reference)
{
    normalPicture = reference;
    if (!highlighted)
        ShowCurrent();
}

void MpDragButtonVisual::SetHighlightPicture(const MMPictureReference& reference)
{
    highlightPicture = reference;
    if (highlighted)
        ShowCurrent();
}

MpDragButtonInterpreter::MpDragButtonInterpreter(int32_t kind, MpDragScene* scene,
                                                 MMCommand* click, MpDragButtonVisual* visual,
                                                 MMCursor* cursor, MMCommand* doubleClick,
                                                 int32_t soundId)
    : MMStandardMouseInterpreter(scene ? scene->Stage() : nullptr, click, cursor),
      scene(scene),
      kind(kind),
      doubleClick(doubleClick),
      visual(visual),
      soundId(soundId)
{
}

MpDragButtonInterpreter::~MpDragButtonInterpreter()
{
    delete doubleClick;
}

bool MpDragButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return visual != nullptr && !visual->IsHidden() &&
           visual->GetBounds().Contains(Pair{event.x, event.y});
}

void MpDragButtonInterpreter::UseAppCursor(int32_t n)
{
    if (gApp != nullptr && stage_ != nullptr && stage_->Cursors() != nullptr)
        stage_->Cursors()->SetCursor(gApp->GetCursor(n));
}

bool MpDragButtonInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return IsPressed();
    bool busy = scene == nullptr || scene->IsBusy();
    Pair point = {event.x, event.y};
    if (!IsPressed()) {
        if (!(event.data & kPointerPressed) || !Inside(event))
            return false;
        if (event.data & kPointerDoubleClick) {
            if (doubleClick != nullptr)
                doubleClick->Post();
            return false;
        }
        if (!Matches(event))
            return false;
        if (!busy)
            UseAppCursor(kCursorDragging);
        visual->SetHighlighted(true);
        visual->SetPressed(true);
        Pair at = visual->GetPosition();
        if (scene != nullptr)
            scene->SetGrabOffset({point.x - at.x, point.y - at.y});
        pressPoint = point;
        if (soundId != -1 && !busy && scene->Channel() != nullptr) {
            MMSoundReference sound;
            sound.Load(soundId);
            scene->Channel()->Play(sound, false);
        }
        return true;
    }
    if (event.data & kPointerReleased) {
        if (Inside(event))
            PostCommand();
        else if (!busy)
            scene->Drop(entry, kind, point);
        if (!busy)
            UseAppCursor(kCursorDraggable);
        if (dragging && scene != nullptr)
            scene->HideDragImage();
        dragging = 0;
        visual->SetPressed(false);
        visual->SetHighlighted(false);
        pressPoint = {-100, -100};
        return false;
    }
    visual->SetHighlighted(Inside(event));
    bool moved = std::abs(point.x - pressPoint.x) > kDragThreshold ||
                 std::abs(point.y - pressPoint.y) > kDragThreshold;
    if (moved && !dragging && !busy) {
        scene->DragStarted(entry, kind);
        dragging = 1;
        scene->SetDragImage(visual->DragPicture());
    }
    if (dragging && !busy) {
        scene->MoveDragImage(point);
        scene->DragOver(kind, point, entry);
    }
    return true;
}

void MpDragButtonInterpreter::CurrentCursor()
{
    if (visual != nullptr)
        visual->SetHighlighted(true);
    MMStandardMouseInterpreter::CurrentCursor();
}

void MpDragButtonInterpreter::CaptureLost()
{
    if (visual != nullptr)
        visual->SetHighlighted(false);
    MMStandardMouseInterpreter::CaptureLost();
}

MpDragButton::MpDragButton(int16_t entry, MpDragScene* scene, MpDragButtonVisual* visual,
                           MMCommand* click, MMCursor* cursor,
                           MpDragButtonInterpreter* interpreter)
    : MMMolecule(scene), entry(entry), dragScene(scene), visual(visual), interpreter(interpreter)
{
    if (this->interpreter == nullptr)
        this->interpreter = new MpDragButtonInterpreter(kDragViewerPage, scene, click, visual,
                                                        cursor, nullptr, -1);
    this->interpreter->SetVisual(visual);
    this->interpreter->SetEntry(entry);
    visual->SetMouseInterpreter(this->interpreter);
    if (scene != nullptr && scene->TopEnclosure() != nullptr)
        scene->TopEnclosure()->AddVisual(visual);
}

MpDragButton::~MpDragButton()
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

void MpDragButton::Show()
{
    MMMolecule::Show();
    visual->SetHidden(false);
}

void MpDragButton::Hide()
{
    MMMolecule::Hide();
    visual->SetHidden(true);
}

void MpDragButton::SetEntry(int16_t value)
{
    entry = value;
    interpreter->SetEntry(value);
}
