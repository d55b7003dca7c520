#include "shell/widgets/held_buttons.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "selection/magic_slate_tool_collection.h"
#include "shell/widgets/animation_thread.h"
#include "shell/widgets/frame_visual.h"
#include "tools/shape_sound.h"

namespace {

const int16_t kDragFrameLayer = 1100;
const int16_t kDragCursor = 5;

}  // namespace

KVXHeldButtonVisual::KVXHeldButtonVisual(const MMPictureReference& normal,
                                         const MMPictureReference& highlight,
                                         const MMPictureReference& alternate,
                                         const Pair& position)
    : normalPicture(normal), highlightPicture(highlight), alternatePicture(alternate)
{
    ConstructWithPictureAt(normal, position.x, position.y, 1, false, false);
}

void KVXHeldButtonVisual::Show(const MMPictureReference& reference)
{
    if (!MMSamePicture(reference, picture))
        SetPicture(reference);
}

void KVXHeldButtonVisual::SetHighlighted(bool flag)
{
    Show(flag ? highlightPicture : normalPicture);
    highlighted = flag ? 1 : 0;
}

bool KVXHeldButtonVisual::ShowsAlternate() const
{
    return MMSamePicture(alternatePicture, picture);
}

void KVXHeldButtonVisual::ShowAlternate() { Show(alternatePicture); }

void KVXHeldButtonVisual::SetNormalPicture(const MMPictureReference& reference)
{
    normalPicture = reference;
    if (!highlighted)
        Show(normalPicture);
}

void KVXHeldButtonVisual::SetHighlightPicture(const MMPictureReference& reference)
{
    highlightPicture = reference;
    if (highlighted)
        Show(highlightPicture);
}

void KVXHeldButtonVisual::SetAlternatePicture(const MMPictureReference& reference)
{
    alternatePicture = reference;
}

bool KVXchalkButtonVisual::ContainsPoint(int32_t px, int32_t py)
{
    return GetBounds().Contains({px, py});
}

KVXHeldButtonInterpreter::KVXHeldButtonInterpreter(MMStage* stage, MMCommand* command,
                                                   KVXHeldButtonVisual* visual, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, command, cursor), visual(visual)
{
}

bool KVXHeldButtonInterpreter::Inside(const MMStageEvent& event) const
{
    return visual && visual->ContainsPoint(event.x, event.y);
}

void KVXHeldButtonInterpreter::SetHeld(bool flag)
{
    held = flag;
    if (visual)
        visual->SetHighlighted(flag);
}

void KVXHeldButtonInterpreter::ShowAlternate()
{
    if (!held && visual)
        visual->ShowAlternate();
}

void KVXHeldButtonInterpreter::ShowNormal()
{
    if (!held && visual)
        visual->SetHighlighted(visual->IsHighlighted());
}

KVXFrameTabButtonInterpreter::KVXFrameTabButtonInterpreter(
    MMStage* stage, KVXMagicSlateToolCollection* tray, int16_t frame, MMCommand* command,
    KVXHeldButtonVisual* visual, MMCursor* cursor, MMResourceId soundId)
    : KVXHeldButtonInterpreter(stage, command, visual, cursor), tray(tray), frame(frame),
      dragSound(new KVXShapeSound(stage, soundId))
{
}

KVXFrameTabButtonInterpreter::~KVXFrameTabButtonInterpreter()
{
    if (dragging)
        EndDrag();
    delete dragSound;
}

void KVXFrameTabButtonInterpreter::SetDragSize(int32_t width, int32_t height)
{
    dragWidth = width;
    dragHeight = height;
}

bool KVXFrameTabButtonInterpreter::Interpret(const MMStageEvent& event)
{
    MMStageCursorSet* cursors = stage_ ? stage_->Cursors() : nullptr;
    bool inside = Inside(event);
    bool handled = false;
    if ((event.data & kPointerPressed) && Matches(event) && inside) {
        if (cursors) {
            savedCursor = cursors->Requested();
            cursors->SetCursor(KVXAppCursor(kDragCursor));
        }
        handled = true;
    } else if (pressed && (event.data & kPointerHeld)) {
        if (!inside && !dragging)
            BeginDrag(event.x, event.y);
        else if (dragging)
            MoveDrag(event.x, event.y);
        if (tray)
            tray->TrackFrameTab(frame, event.x, event.y);
        handled = true;
    }
    if (handled && !pressed) {
        ShowAlternate();
        pressed = true;
        return true;
    }
    if (handled) {
        if (inside) {
            ShowAlternate();
        } else {
            ShowNormal();
            if (!dragging)
                BeginDrag(event.x, event.y);
        }
        return true;
    }
    if (pressed) {
        if (event.data & kPointerReleased) {
            if (cursors)
                cursors->SetCursor(savedCursor);
            if (dragging)
                EndDrag();
            if (inside)
                PostCommand();
            else if (tray)
                tray->DropFrameTab(frame, event.x, event.y);
        }
        SetHeld(true);
        pressed = false;
    }
    return pressed;
}

void KVXFrameTabButtonInterpreter::CaptureLost()
{
    if (pressed && !held)
        pressed = false;
    KVXHeldButtonInterpreter::CaptureLost();
}

void KVXFrameTabButtonInterpreter::BeginDrag(int32_t x, int32_t y)
{
    dragSound->Start(x, y);
    int32_t left = x - dragWidth / 2;
    int32_t top = y - dragHeight / 2;
    Box box = {left, top, left + dragWidth, top + dragHeight};
    box.Normalize();
    dragFrame = new KVXFrameVisual(box, kDragFrameLayer);
    if (stage_ && stage_->TopEnclosure())
        stage_->TopEnclosure()->AddVisual(dragFrame);
    dragging = true;
}

void KVXFrameTabButtonInterpreter::MoveDrag(int32_t x, int32_t y)
{
    dragSound->Update(x, y);
    dragFrame->CenterAt(x, y);
}

void KVXFrameTabButtonInterpreter::EndDrag()
{
    dragSound->Stop();
    if (dragFrame) {
        if (stage_ && stage_->TopEnclosure())
            stage_->TopEnclosure()->RemoveVisual(dragFrame);
        delete dragFrame;
        dragFrame = nullptr;
    }
    dragging = false;
}

KVXchalkButtonInterpreter::KVXchalkButtonInterpreter(MMStage* stage, int32_t value,
                                                     MMCommand* command,
                                                     KVXHeldButtonVisual* visual,
                                                     MMCursor* cursor)
    : KVXHeldButtonInterpreter(stage, command, visual, cursor), value(value)
{
}

void KVXchalkButtonInterpreter::CurrentCursor()
{
    ShowAlternate();
    KVXHeldButtonInterpreter::CurrentCursor();
}

void KVXchalkButtonInterpreter::CaptureLost()
{
    ShowNormal();
    KVXHeldButtonInterpreter::CaptureLost();
}

bool KVXchalkButtonInterpreter::Interpret(const MMStageEvent& event)
{
    bool inside = Inside(event);
    bool hit = ((event.data & kPointerPressed) && Matches(event) && inside) ||
               (pressed && (event.data & kPointerHeld));
    if (hit && !pressed) {
        ShowAlternate();
        pressed = true;
        return true;
    }
    if (hit) {
        if (inside)
            ShowAlternate();
        else
            ShowNormal();
        return true;
    }
    if (pressed && (event.data & kPointerReleased)) {
        if (inside) {
            PostCommand();
            SetHeld(true);
        }
        pressed = false;
    }
    return pressed;
}

KVXHeldButtonMolecule::KVXHeldButtonMolecule(MMBaseScene* scene, KVXHeldButtonVisual* visual,
                                             KVXHeldButtonInterpreter* interpreter, int16_t layer)
    : MMMolecule(scene), visual(visual), interpreter(interpreter)
{
    interpreter->SetVisual(visual);
    visual->SetLayer(layer);
    visual->SetMouseInterpreter(interpreter);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual);
}

KVXHeldButtonMolecule::~KVXHeldButtonMolecule()
{
    interpreter->ReleaseCapture();
    delete interpreter;
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual);
    delete visual;
}

void KVXHeldButtonMolecule::Show()
{
    visual->SetHidden(false);
    MMMolecule::Show();
}

void KVXHeldButtonMolecule::Hide()
{
    interpreter->ReleaseCapture();
    visual->SetHidden(true);
    MMMolecule::Hide();
}

void KVXHeldButtonMolecule::SetNormalPicture(const MMPictureReference& reference)
{
    visual->SetNormalPicture(reference);
}

void KVXHeldButtonMolecule::SetHighlightPicture(const MMPictureReference& reference)
{
    visual->SetHighlightPicture(reference);
}

void KVXHeldButtonMolecule::SetAlternatePicture(const MMPictureReference& reference)
{
    visual->SetAlternatePicture(reference);
}

KVXFrameTabButtonMolecule::KVXFrameTabButtonMolecule(const Parameters& p)
    : KVXHeldButtonMolecule(
          p.scene,
          new KVXFrameTabButtonVisual(MMLoadedPicture(p.normal), MMLoadedPicture(p.highlight),
                                      MMLoadedPicture(p.alternate), {p.x, p.y}),
          p.interpreter ? p.interpreter
                        : new KVXFrameTabButtonInterpreter(p.scene->Stage(), p.tray, p.frame,
                                                           p.command, nullptr, p.cursor,
                                                           MMMakeResourceId(0, 456)),
          p.layer)
{
}

KVXFrameTabButtonMolecule::KVXFrameTabButtonMolecule(MMBaseScene* scene,
                                                     KVXMagicSlateToolCollection* tray,
                                                     KVXFrameTabButtonVisual* visual,
                                                     int16_t frame, MMCommand* command,
                                                     MMCursor* cursor,
                                                     KVXFrameTabButtonInterpreter* interpreter)
    : KVXHeldButtonMolecule(scene, visual,
                            interpreter ? interpreter
                                        : new KVXFrameTabButtonInterpreter(
                                              scene->Stage(), tray, frame, command, nullptr,
                                              cursor, MMMakeResourceId(0, 456)),
                            visual->Layer())
{
}

KVXFrameTabButtonInterpreter* KVXFrameTabButtonMolecule::TabInterpreter() const
{
    return static_cast<KVXFrameTabButtonInterpreter*>(interpreter);
}

void KVXFrameTabButtonMolecule::ShowAlternatePicture()
{
    if (!visual->ShowsAlternate())
        visual->ShowAlternate();
}

void KVXFrameTabButtonMolecule::SetInterpreterPoint(int32_t width, int32_t height)
{
    TabInterpreter()->SetDragSize(width, height);
}

KVXchalkButtonMolecule::KVXchalkButtonMolecule(const Parameters& p)
    : KVXHeldButtonMolecule(
          p.scene,
          new KVXchalkButtonVisual(MMLoadedPicture(p.normal), MMLoadedPicture(p.highlight),
                                   MMLoadedPicture(p.alternate), {p.x, p.y}),
          p.interpreter ? p.interpreter
                        : new KVXchalkButtonInterpreter(p.scene->Stage(), p.value, p.command,
                                                        nullptr, p.cursor),
          p.layer)
{
}

KVXchalkButtonMolecule::KVXchalkButtonMolecule(MMBaseScene* scene, int32_t value,
                                               KVXchalkButtonVisual* visual, MMCommand* command,
                                               MMCursor* cursor,
                                               KVXchalkButtonInterpreter* interpreter)
    : KVXHeldButtonMolecule(scene, visual,
                            interpreter ? interpreter
                                        : new KVXchalkButtonInterpreter(scene->Stage(), value,
                                                                        command, nullptr, cursor),
                            visual->Layer())
{
}
