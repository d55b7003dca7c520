#include "selection/rope_interpreters.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "brushes/hsv.h"
#include "canvas/canvas_visual.h"
#include "canvas/point_array.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "framework/color.h"
#include "framework/heap.h"
#include "framework/random.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"
#include "selection/shape_visuals.h"
#include "shell/alert_box.h"
#include "shell/widgets/animation_thread.h"
#include "tools/tool_sound.h"
#include "trays/sub_scene.h"

namespace {

const int16_t kScaleHandleTable = 1000;
const int16_t kMoveHandleTable = 998;
const int16_t kFlipYTable = 999;
const int16_t kFlipXTable = 997;
const int16_t kDabMaskTable = 546;
const int32_t kSelectionCursor = 4;
const int16_t kHandleCursor = 29;
const int32_t kOutlineSteps = 16;
const MMResourceId kSelectionSoundsTable = 497;
const MMResourceId kHandleSoundsTable = 1008;
const MMResourceId kMessageTable = 0;
enum : int16_t { kGrabSoundKey = 0, kDragSoundKey = 1 };
enum : int16_t { kScaleSoundKey = 3, kMoveSoundKey = 4, kHandleDropKey = 5, kTooBigText = 22 };
const int32_t kFullVolume = 1024;
const int32_t kHeldVolume = 896;
const int32_t kNormalPitch = 0x10000;

bool IsPress(const MMStageEvent& e)
{
    return e.type == kStageEventPointer && (e.data & kPointerPressed) && !(e.data & kPointerDoubleClick);
}

bool Released(const MMStageEvent& e)
{
    return e.type != kStageEventPointer || (e.data & kPointerReleased) || !(e.data & kPointerHeld);
}

MMBaseScene* SceneOf(KVXCreationHost* host, MMStage* stage)
{
    return host ? host->HostScene() : (stage ? stage->Scene() : nullptr);
}

// The control's two pictures: row 0 normal, row 1 highlighted.
void ControlPictures(int16_t table, MMPictureReference& normal, MMPictureReference& highlight)
{
    MMRecordTable t;
    t.Load(table, 8, gDefaultHeap);
    if (t.RowCount() > 0)
        normal.Load(t.LongAt(0, 4));
    if (t.RowCount() > 1)
        highlight.Load(t.LongAt(1, 4));
}

// The dab picture's grey levels averaged into 8 x 8 weights; a round dab
// when the picture is missing.
std::vector<uint8_t> LoadDabMask(MMResourceId id)
{
    std::vector<uint8_t> mask(kDabMaskSize * kDabMaskSize, 0);
    MMPictureReference picture;
    MMBitmap bitmap;
    if (id != -1)
        picture.Load(id);
    bool locked = picture.Collection() && picture.LockBitmap(bitmap);
    if (locked && bitmap.bitsPerPixel != 8) {
        picture.Unlock();
        locked = false;
    }
    if (locked) {
        int32_t w = bitmap.box.Width(), h = bitmap.box.Height();
        for (int32_t my = 0; my < kDabMaskSize; ++my)
            for (int32_t mx = 0; mx < kDabMaskSize; ++mx) {
                int32_t x0 = mx * w / kDabMaskSize, x1 = std::max(x0 + 1, (mx + 1) * w / kDabMaskSize);
                int32_t y0 = my * h / kDabMaskSize, y1 = std::max(y0 + 1, (my + 1) * h / kDabMaskSize);
                int32_t sum = 0, n = 0;
                for (int32_t y = y0; y < y1 && y < h; ++y)
                    for (int32_t x = x0; x < x1 && x < w; ++x, ++n)
                        sum += *bitmap.PixelAddress(bitmap.box.left + x, bitmap.box.top + y);
                mask[my * kDabMaskSize + mx] = uint8_t(n ? sum / n : 0);
            }
        picture.Unlock();
        return mask;
    }
    for (int32_t i = 0; i < kDabMaskSize * kDabMaskSize; ++i) {
        int32_t dx = 2 * (i % kDabMaskSize) - 7, dy = 2 * (i / kDabMaskSize) - 7;
        mask[i] = uint8_t(std::max(0, 255 - 4 * (dx * dx + dy * dy)));
    }
    return mask;
}

}  // namespace

KVXRopeSelectionVisual::KVXRopeSelectionVisual(MMStage* stage, KVXRopeSelection* selection,
                                               const Box& canvasArea)
    : MMBoxBasedVisual(selection->GetBox()), MMLightweightThread("Rope Selection Visual Thread", stage),
      selection(selection), area(canvasArea)
{
    layer = kRopeSelectionLayer;
}

void KVXRopeSelectionVisual::Follow()
{
    MMVisual::Invalidate();
    box = selection->GetBox();
    MMVisual::Invalidate();
}

bool KVXRopeSelectionVisual::ContainsPoint(int32_t x, int32_t y) { return selection->ContainsPoint({x, y}); }

bool KVXRopeSelectionVisual::Run()
{
    if (State() == kMMThreadTerminating)
        return false;
    Wait(100);
    MMVisual::Invalidate();
    return true;
}

void KVXRopeSelectionVisual::Draw(MMSurface* surface)
{
    MMBitmap target, pixels;
    MMSurface* source = selection->Surface();
    if (source && surface->GetBitmap(target) && target.bitsPerPixel == 32 && source->GetBitmap(pixels)) {
        // While the scale handle drags, the box runs ahead of the pixels,
        // which are made at its size only on the release.
        Box shown = {box.left + pixels.box.left, box.top + pixels.box.top,
                     box.left + pixels.box.right, box.top + pixels.box.bottom};
        shown.Intersect(box);
        shown.Intersect(area);
        shown.Intersect(target.box);
        for (int32_t y = shown.top; y < shown.bottom; ++y) {
            const uint8_t* s = pixels.PixelAddress(shown.left - box.left, y - box.top);
            uint8_t* d = target.PixelAddress(shown.left, y);
            for (int32_t x = shown.left; x < shown.right; ++x, s += 4, d += 4) {
                uint8_t t = s[3];
                if (t == 0) {
                    d[0] = s[0], d[1] = s[1], d[2] = s[2];
                } else if (t != 255) {
                    for (int k = 0; k < 3; ++k)
                        d[k] = uint8_t((s[k] * (255 - t) + d[k] * t) / 255);
                }
            }
        }
    }
    const std::vector<Pair>& outline = selection->Outline();
    if (outline.size() > 1) {
        double saturation = 0.5, value = 0.75;
        uint8_t rgb[3];
        HsvToRgb(&hue, &saturation, &value, rgb);
        MMColor colour = {-1, rgb[0], rgb[1], rgb[2], 0};
        // A selection dragged partly off the canvas keeps its outline on it,
        // off the trays around.
        Box clip = surface->GetClipBox();
        Box onCanvas = clip;
        onCanvas.Intersect(area);
        surface->SetClipBox(onCanvas);
        if (!onCanvas.IsEmpty())
            surface->DrawPolyline(outline.data(), int32_t(outline.size()), colour, 1);
        surface->SetClipBox(clip);
        hue += 1.0 / kOutlineSteps;
        if (hue >= 1.0)
            hue = 0;
    }
    ++redraws;
}

KVXRopeSelectionMouseInterpreter::KVXRopeSelectionMouseInterpreter(KVXBaseRopeToolInterpreter* rope,
                                                                   MMCursor* cursor)
    : MMStandardMouseInterpreter(rope->Stage()), rope(rope)
{
    SetCursor(cursor);
    MMRecordTable pairs;
    pairs.Load(kSelectionSoundsTable, 2, gDefaultHeap);
    if (pairs.RowCount() > 0) {
        int32_t row = ProgramRandom().Range(0, pairs.RowCount() - 1);
        sounds.Load(pairs.ItemIdAt(row, 0), 10, gDefaultHeap);
    }
    if (stage_ && stage_->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage_->SoundManager());
}

KVXRopeSelectionMouseInterpreter::~KVXRopeSelectionMouseInterpreter()
{
    if (channel) {
        channel->Stop();
        delete channel;
    }
}

MMResourceId KVXRopeSelectionMouseInterpreter::SoundOf(int16_t key) const
{
    int32_t row = sounds.IsLoaded() ? sounds.FindRowByKey(key) : -1;
    return row < 0 ? MM_NO_RESOURCE : sounds.LongAt(row, 2);
}

void KVXRopeSelectionMouseInterpreter::Play(int16_t key)
{
    MMResourceId id = SoundOf(key);
    if (!channel || id == MM_NO_RESOURCE)
        return;
    MMSoundReference sound;
    sound.Load(id);
    channel->Play(sound, false);
}

bool KVXRopeSelectionMouseInterpreter::Interpret(const MMStageEvent& e)
{
    KVXRopeSelection& selection = rope->Selection();
    if (!dragging) {
        if (!IsPress(e) || !selection.ContainsPoint({e.x, e.y}))
            return false;
        if (e.data & kPointerControl)
            rope->PlaceSelection();
        grab = {e.x - selection.GetBox().left, e.y - selection.GetBox().top};
        Play(kGrabSoundKey);
        dragging = true;
        selection.MakeTranslucent();
        rope->ShowSelectionControls(true);
        return true;
    }
    rope->MoveSelectionTo({e.x - grab.x, e.y - grab.y});
    if (!Released(e)) {
        if (!IsChannelPlaying(channel))
            Play(kDragSoundKey);
        return true;
    }
    dragging = false;
    selection.MakeOpaque();
    rope->Visual()->Follow();
    rope->ShowSelectionControls(false);
    if (IsChannelPlaying(channel))
        channel->Stop();
    if (!selection.MeetsCanvas()) {
        rope->RemoveSelectionControls();
        rope->EndSelection(false);
    }
    return false;
}

KVXRopeManipulatorInterpreter::KVXRopeManipulatorInterpreter(KVXBaseRopeToolInterpreter* rope)
    : MMStandardMouseInterpreter(rope->Stage()), rope(rope)
{
}

KVXRopeManipulatorInterpreter::~KVXRopeManipulatorInterpreter()
{
    if (dragging && stage_ && stage_->Cursors())
        stage_->Cursors()->SetCursor(savedCursor);
}

void KVXRopeManipulatorInterpreter::Light(bool on)
{
    for (int i = 0; i < 2; ++i)
        if (rope->Control(i) && rope->Control(i)->GetMouseInterpreter() == this)
            if (auto* button = dynamic_cast<MMPictureButtonVisual*>(rope->Control(i)))
                button->SetHighlighted(on);
}

bool KVXRopeManipulatorInterpreter::Interpret(const MMStageEvent& e)
{
    Pair point = {e.x, e.y};
    if (!dragging) {
        if (!IsPress(e))
            return false;
        MMStageCursorSet* cursors = stage_ ? stage_->Cursors() : nullptr;
        if (cursors) {
            savedCursor = cursors->Requested();
            KVXCreationHost* host = rope->Host();
            cursors->SetCursor(host ? host->AppCursor(kHandleCursor) : KVXAppCursor(kHandleCursor));
        }
        PressStep(point);
        Light(true);
        dragging = true;
        return true;
    }
    if (!Released(e)) {
        DragStep(point);
        return true;
    }
    EndStep(point);
    if (stage_ && stage_->Cursors())
        stage_->Cursors()->SetCursor(savedCursor);
    Light(false);
    dragging = false;
    return false;
}

Box KVXRopeScaleManipulatorInterpreter::BoxAt(const Pair& point) const
{
    Box next = {kept.left, point.y - offset.y, point.x - offset.x, kept.bottom};
    if (next.Width() < 3)
        next.right = next.left + 3;
    if (next.Height() < 3)
        next.top = next.bottom - 3;
    next.Intersect(rope->CanvasArea());
    return next;
}

void KVXRopeScaleManipulatorInterpreter::PressStep(const Pair& point)
{
    kept = rope->Selection().GetBox();
    offset = {point.x - kept.right, point.y - kept.top};
    rope->StartHandleSound(kScaleSoundKey, point);
}

void KVXRopeScaleManipulatorInterpreter::DragStep(const Pair& point)
{
    Box next = BoxAt(point);
    if (!next.IsEmpty())
        rope->ScaleSelectionTo(next, false);
    rope->FollowHandleSound(point);
}

void KVXRopeScaleManipulatorInterpreter::EndStep(const Pair& point)
{
    Box next = BoxAt(point);
    rope->EndHandleSound();
    if (!next.IsEmpty())
        rope->ScaleSelectionTo(next, true);
}

void KVXRopeMoveManipulatorInterpreter::PressStep(const Pair& point)
{
    const Box& box = rope->Selection().GetBox();
    offset = {point.x - box.left, point.y - box.top};
    rope->StartHandleSound(kMoveSoundKey, point);
}

void KVXRopeMoveManipulatorInterpreter::DragStep(const Pair& point)
{
    rope->MoveSelectionByHandle({point.x - offset.x, point.y - offset.y});
}

void KVXRopeMoveManipulatorInterpreter::EndStep(const Pair& point)
{
    DragStep(point);
    rope->EndHandleSound();
}

KVXBaseRopeToolInterpreter::KVXBaseRopeToolInterpreter(KVXCreationHost* host, MMStage* stage,
                                                       KVXCanvasVisual* canvas, MMCursor* cursor,
                                                       MMResourceId ropeSoundId)
    : KVXShapeInterpreter(host, stage, canvas, nullptr, cursor, kShapeSoundId),
      area(canvas ? canvas->GetBounds() : Box{0, 0, 640, 480}), selection(area),
      ropeSound(new KVXRopeSound(stage, ropeSoundId))
{
}

KVXBaseRopeToolInterpreter::~KVXBaseRopeToolInterpreter()
{
    RemoveSelectionControls();
    EndSelection(true);
    if (handleChannel) {
        handleChannel->Stop();
        delete handleChannel;
    }
}

void KVXBaseRopeToolInterpreter::StartHandleSound(int16_t key, const Pair& press)
{
    handlePress = press;
    referenceDistance = int32_t(std::sqrt(double(press.x) * press.x + double(press.y) * press.y));
    lastDistance = 0;
    if (!handleChannel && stage_ && stage_->SoundManager())
        handleChannel = new (std::nothrow) MMGenericSoundChannel(stage_->SoundManager());
    if (!handleChannel)
        return;
    MMRecordTable rows;
    rows.Load(kHandleSoundsTable, 10, gDefaultHeap);
    int32_t row = rows.FindRowByKey(key);
    if (row < 0)
        return;
    MMSoundReference sound;
    sound.Load(rows.LongAt(row, 2));
    handleChannel->SetVolume(kFullVolume);
    handleChannel->SetPan(0);
    handleChannel->SetFrequency(kNormalPitch);
    handleChannel->Play(sound, true);
    handleChannel->SetVolume(kHeldVolume);
}

void KVXBaseRopeToolInterpreter::FollowHandleSound(const Pair& point)
{
    double dx = point.x - handlePress.x, dy = point.y - handlePress.y;
    lastDistance = int32_t(std::sqrt(dx * dx + dy * dy));
    if (handleChannel)
        handleChannel->SetFrequency(ScaleHandleFrequency(lastDistance, referenceDistance));
}

void KVXBaseRopeToolInterpreter::EndHandleSound()
{
    if (!handleChannel)
        return;
    handleChannel->Stop();
    handleChannel->SetVolume(kFullVolume);
    handleChannel->SetPan(0);
    handleChannel->SetFrequency(kNormalPitch);
    MMRecordTable rows;
    rows.Load(kHandleSoundsTable, 10, gDefaultHeap);
    int32_t row = rows.FindRowByKey(kHandleDropKey);
    if (row < 0)
        return;
    MMSoundReference sound;
    sound.Load(rows.LongAt(row, 2));
    handleChannel->Play(sound, false);
}

void KVXBaseRopeToolInterpreter::FinishRope(int32_t)
{
    RemoveSelectionControls();
    EndSelection(true);
}

MMVisual* KVXBaseRopeToolInterpreter::Control(int i) const
{
    if (i < 2)
        return handles[i] ? handles[i]->Visual() : nullptr;
    return flips[i - 2] ? static_cast<MMVisual*>(flips[i - 2]->Visual()) : nullptr;
}

bool KVXBaseRopeToolInterpreter::MakeSelection(const std::vector<Pair>& outline)
{
    if (!canvas || !canvas->Plane())
        return false;
    canvas->SnapshotForUndo(false);
    if (!selection.Make(outline.data(), int32_t(outline.size()), *canvas->Plane(), true))
        return false;
    beforeCutInUndo = canvas->Plane()->bits;
    RefreshCanvas(selection.GetBox());
    visual = new KVXRopeSelectionVisual(stage_, &selection, area);
    visualMolecule = new MMVisualMolecule(SceneOf(host, stage_), visual);
    visual->Activate();
    selectionInterpreter = new KVXRopeSelectionMouseInterpreter(this, host ? host->AppCursor(kSelectionCursor) : nullptr);
    visual->SetMouseInterpreter(selectionInterpreter);
    return true;
}

bool KVXBaseRopeToolInterpreter::TakeSurfaceAsSelection(const MMBitmap& picture)
{
    RemoveSelectionControls();
    EndSelection(true);
    if (!selection.TakePicture(picture))
        return false;
    visual = new KVXRopeSelectionVisual(stage_, &selection, area);
    visualMolecule = new MMVisualMolecule(SceneOf(host, stage_), visual);
    visual->Activate();
    selectionInterpreter = new KVXRopeSelectionMouseInterpreter(this, host ? host->AppCursor(kSelectionCursor) : nullptr);
    visual->SetMouseInterpreter(selectionInterpreter);
    return CreateSelectionControls();
}

void KVXBaseRopeToolInterpreter::RefreshCanvas(const Box& stageBox)
{
    Box changed = stageBox;
    changed.Inflate(1);
    changed.Intersect(area);
    Box onCanvas = {changed.left - area.left, changed.top - area.top, changed.right - area.left,
                    changed.bottom - area.top};
    canvas->Plane()->AddDirtyRect(onCanvas);
    canvas->RefreshDrawMethodRect(onCanvas);
    canvas->InvalidateBox(changed);
    canvas->Invalidate();
    canvas->Plane()->changeState.Advance();
}

void KVXBaseRopeToolInterpreter::PlaceSelection()
{
    if (!selection.IsActive() || !canvas || !canvas->Plane())
        return;
    canvas->SnapshotForUndo(false);
    beforeCutInUndo = nullptr;
    CompositeSelection();
}

void KVXBaseRopeToolInterpreter::CompositeSelection()
{
    selection.Place(*canvas->Plane());
    RefreshCanvas(selection.GetBox());
}

void KVXBaseRopeToolInterpreter::EndSelection(bool apply)
{
    if (!selection.IsActive())
        return;
    // Put down while the undo copy still holds the picture from before the
    // cut, the selection keeps it there: a checkpoint now would keep only
    // the hole, and an undo would make the lifted part vanish.
    if (apply && canvas && canvas->Plane() && canvas->Plane()->bits == beforeCutInUndo)
        CompositeSelection();
    else if (apply)
        PlaceSelection();
    beforeCutInUndo = nullptr;
    if (visual) {
        visual->Terminate();
        visual->SetMouseInterpreter(nullptr);
    }
    if (selectionInterpreter) {
        selectionInterpreter->ReleaseCapture();
        delete selectionInterpreter;
        selectionInterpreter = nullptr;
    }
    delete visualMolecule;
    visualMolecule = nullptr;
    visual = nullptr;
    selection.Drop();
}

void KVXBaseRopeToolInterpreter::MoveSelectionTo(const Pair& topLeft)
{
    if (!visual)
        return;
    selection.MoveTo(topLeft);
    visual->Follow();
    PlaceSelectionControls();
}

void KVXBaseRopeToolInterpreter::MoveSelectionByHandle(const Pair& wanted)
{
    const Box& box = selection.GetBox();
    Pair at = {std::clamp(wanted.x, area.left, std::max(area.left, area.right - box.Width())),
               std::clamp(wanted.y, area.top, std::max(area.top, area.bottom - box.Height()))};
    if (at.x != box.left || at.y != box.top)
        MoveSelectionTo(at);
}

void KVXBaseRopeToolInterpreter::ScaleSelectionTo(const Box& next, bool rebuild)
{
    if (!visual)
        return;
    if (next.left != selection.GetBox().left || next.top != selection.GetBox().top ||
        next.right != selection.GetBox().right || next.bottom != selection.GetBox().bottom || rebuild) {
        visual->Invalidate();
        if (rebuild)
            visual->SetHidden(true);
        bool made = selection.Resize(next, rebuild);
        if (rebuild)
            visual->SetHidden(false);
        visual->Follow();
        PlaceSelectionControls();
        if (!made && rebuild)
            TellTooBig();
    }
}

void KVXBaseRopeToolInterpreter::TellTooBig()
{
    MMRecordTable texts;
    texts.Load(kMessageTable, 10, gDefaultHeap);
    int32_t row = texts.FindRowByKey(kTooBigText);
    const char* text = row < 0 ? nullptr : texts.StringAt(row, 2);
    std::string shown = text ? text : "";
    texts.Free();
    AlertBox(shown.c_str(), kAlertInformation).Show();
}

void KVXBaseRopeToolInterpreter::FlipSelectionX()
{
    selection.FlipX();
    if (visual)
        visual->Follow();
}

void KVXBaseRopeToolInterpreter::FlipSelectionY()
{
    selection.FlipY();
    if (visual)
        visual->Follow();
}

void KVXBaseRopeToolInterpreter::ApplyEffect(int32_t kind, int32_t strength)
{
    MMRecordTable dab;
    dab.Load(kDabMaskTable, 4, gDefaultHeap);
    std::vector<uint8_t> mask = LoadDabMask(dab.RowCount() > 0 ? dab.LongAt(0, 0) : -1);
    if (selection.IsActive()) {
        selection.ApplyEffect(kind, strength, mask.data(), ProgramRandom());
        if (visual)
            visual->Follow();
        return;
    }
    if (!canvas || !canvas->Plane())
        return;
    canvas->SnapshotForUndo(false);
    ApplyPictureEffect(kind, *canvas->Plane(), strength, mask.data(), ProgramRandom());
    canvas->Plane()->AddDirtyRect(canvas->Plane()->Bounds());
    canvas->RefreshDrawMethodRect(canvas->Plane()->Bounds());
    canvas->Invalidate();
    canvas->Plane()->changeState.Advance();
}

bool KVXBaseRopeToolInterpreter::CreateSelectionControls()
{
    if (!visual)
        return false;
    MMBaseScene* scene = SceneOf(host, stage_);
    const int16_t handleTables[2] = {kScaleHandleTable, kMoveHandleTable};
    for (int i = 0; i < 2; ++i) {
        if (handles[i])
            continue;
        handleInterpreters[i] = i == 0 ? static_cast<KVXRopeManipulatorInterpreter*>(
                                            new KVXRopeScaleManipulatorInterpreter(this))
                                      : new KVXRopeMoveManipulatorInterpreter(this);
        MMPictureButtonVisual::Parameters p;
        ControlPictures(handleTables[i], p.normal, p.highlight);
        p.position = {0, 0};
        p.interpreter = handleInterpreters[i];
        p.layer = kRopeHandleLayer;
        auto* button = new MMPictureButtonVisual;
        button->ConstructWithPictures(p);
        handles[i] = new MMVisualMolecule(scene, button);
    }
    const int16_t flipTables[2] = {kFlipYTable, kFlipXTable};
    for (int i = 0; i < 2; ++i) {
        if (flips[i])
            continue;
        MMCommand* command =
            i == 0 ? static_cast<MMCommand*>(new MMClassCommand<KVXBaseRopeToolInterpreter>(
                         "FlipY Command", stage_, this, &KVXBaseRopeToolInterpreter::FlipSelectionY))
                   : new MMClassCommand<KVXBaseRopeToolInterpreter>("FlipX Command", stage_, this,
                                                                    &KVXBaseRopeToolInterpreter::FlipSelectionX);
        MMPictureButtonVisual::Parameters p;
        ControlPictures(flipTables[i], p.normal, p.highlight);
        p.position = {0, 0};
        p.interpreter = nullptr;
        p.layer = kRopeHandleLayer;
        auto* button = new MMPictureButtonVisual;
        button->ConstructWithPictures(p);
        flips[i] = new MMPictureButtonMolecule(scene, button, command, host ? host->AppCursor(0) : nullptr);
    }
    PlaceSelectionControls();
    return true;
}

bool KVXBaseRopeToolInterpreter::PlaceSelectionControls()
{
    Box box = selection.GetBox();
    box.Intersect(area);
    if (box.IsEmpty())
        return false;
    const Pair corners[4] = {{box.right, box.top}, {box.left, box.top}, {box.right, box.bottom},
                             {box.left, box.bottom}};
    for (int i = 0; i < 4; ++i) {
        MMVisual* control = Control(i);
        if (!control)
            continue;
        Box b = control->GetBounds();
        control->SetPosition(corners[i].x - b.Width() / 2, corners[i].y - b.Height() / 2);
    }
    return true;
}

void KVXBaseRopeToolInterpreter::ShowSelectionControls(bool hide)
{
    for (int i = 0; i < 4; ++i)
        if (MMVisual* control = Control(i))
            control->SetHidden(hide);
}

void KVXBaseRopeToolInterpreter::RemoveSelectionControls()
{
    for (int i = 0; i < 2; ++i) {
        delete handles[i];
        handles[i] = nullptr;
        delete handleInterpreters[i];
        handleInterpreters[i] = nullptr;
        delete flips[i];
        flips[i] = nullptr;
    }
}

bool KVXBaseRopeToolInterpreter::IsRopePress(const MMStageEvent& e) const
{
    return !laying && IsPress(e) && canvas && canvas->ContainsPoint(e.x, e.y);
}

bool KVXBaseRopeToolInterpreter::StartRope(const MMStageEvent& e)
{
    RemoveSelectionControls();
    EndSelection(true);
    ropeSound->PlayLoop(e.x, e.y);
    startPoint = {e.x, e.y};
    ShowFeedback();
    laying = true;
    return true;
}

bool KVXRopeToolPolylineInterpreter::Interpret(const MMStageEvent& e)
{
    if (!laying) {
        if (!IsRopePress(e))
            return false;
        StartRope(e);
        points.clear();
        points.push_back({e.x, e.y});
        if (auto* band = static_cast<KVXPolyLineShapeVisual*>(feedbackVisual))
            band->AddPoint(e.x, e.y);
        return true;
    }
    if (!Released(e)) {
        if (AddRopePoint(points, {e.x, e.y}, area)) {
            if (auto* band = static_cast<KVXPolyLineShapeVisual*>(feedbackVisual))
                band->AddPoint(points.back().x, points.back().y);
            ropeSound->Track(e.x, e.y);
        }
        return true;
    }
    ropeSound->PlayEndVariant();
    CloseRope(points);
    HideFeedback();
    laying = false;
    if (MakeSelection(points))
        CreateSelectionControls();
    return false;
}

KVXShapeVisual* KVXRopeToolPolylineInterpreter::MakeFeedbackVisual()
{
    return new KVXPolyLineShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXRopeToolBoxInterpreter::KVXRopeToolBoxInterpreter(KVXCreationHost* host, MMStage* stage,
                                                     KVXCanvasVisual* canvas, MMCursor* cursor,
                                                     MMResourceId ropeSound, bool circle)
    : KVXBaseRopeToolInterpreter(host, stage, canvas, cursor, ropeSound), circle(circle)
{
}

bool KVXRopeToolBoxInterpreter::Interpret(const MMStageEvent& e)
{
    if (!laying) {
        if (!IsRopePress(e))
            return false;
        return StartRope(e);
    }
    Pair at = {std::clamp(e.x, area.left, area.right - 1), std::clamp(e.y, area.top, area.bottom - 1)};
    if (feedbackVisual)
        feedbackVisual->TrackPoint(at.x, at.y);
    if (!Released(e))
        return true;
    Box box = feedbackVisual ? feedbackVisual->GetBounds() : Box{0, 0, 0, 0};
    HideFeedback();
    laying = false;
    if (!box.IsEmpty()) {
        PointArray outline;
        outline.AssignRect(circle ? kPointArrayEllipse : kPointArrayRectangle, box);
        std::vector<Pair> points(outline.Points(), outline.Points() + outline.Count());
        if (MakeSelection(points))
            CreateSelectionControls();
    }
    ropeSound->PlayEndVariant();
    return false;
}

KVXShapeVisual* KVXRopeToolBoxInterpreter::MakeFeedbackVisual()
{
    if (circle)
        return new KVXEllipticalShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
    return new KVXRectangularShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

KVXShapeInterpreter* MakeRopeInterpreter(KVXRopeShape shape, KVXCreationHost* host, MMStage* stage,
                                         KVXCanvasVisual* canvas, BrushBase*, MMCursor* cursor,
                                         MMResourceId soundId)
{
    if (shape == kRopePolyline)
        return new KVXRopeToolPolylineInterpreter(host, stage, canvas, cursor, soundId);
    return new KVXRopeToolBoxInterpreter(host, stage, canvas, cursor, soundId, shape == kRopeCircle);
}

void RegisterRopeInterpreters() { SetRopeInterpreterFactory(MakeRopeInterpreter); }
