#include "stamps/stamp_base.h"

#include <cstring>
#include <memory>

#include "canvas/bitmap_ops.h"
#include "canvas/resample.h"
#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "shell/widgets/animation_thread.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamp_scaling.h"
#include "stamps/stamp_selector.h"
#include "stamps/stamp_visual.h"

namespace {

const int16_t kStampLayer = 78;
const int16_t kTopLayer = 9999;
const int16_t kCursorCarry = 5;
const int16_t kCursorDrop = 4;

MMResourceId TableItem(const MMRecordTable& table, int16_t key)
{
    int32_t row = table.FindRowByKey(key);
    return row < 0 ? MMResourceId(-1) : table.ItemIdAt(row, 2);
}

int32_t TableLong(const MMRecordTable& table, int16_t key)
{
    int32_t row = table.FindRowByKey(key);
    return row < 0 ? -1 : table.LongAt(row, 2);
}

}  // namespace

KVXStampValues StampValuesFromTable(const MMRecordTable& table)
{
    KVXStampValues values;
    int32_t row = table.FindRowByKey(0);
    values.depth = row < 0 ? int16_t(0) : table.ShortAt(row, 2);
    values.kind = TableLong(table, 1);
    values.bwPicture = TableLong(table, 2);
    values.colourPicture = TableLong(table, 3);
    values.animationTable = TableItem(table, 4);
    return values;
}

MMResourceId StampAnimationScript(MMResourceId animationTable, int16_t sizeStep)
{
    if (animationTable == -1)
        return -1;
    MMRecordTable steps;
    steps.Load(animationTable, 2, gDefaultHeap);
    MMResourceId script = sizeStep < steps.RowCount() ? steps.ItemIdAt(sizeStep, 0) : -1;
    steps.Free();
    return script;
}

KVXStampBase::KVXStampBase(MMBaseScene* scene, KVXBaseStampManager* manager,
                           const KVXStampValues& values, MMPictureVisual* visual)
    : KVXPictureMolecule(scene, visual, kStampLayer), manager(manager),
      picture(visual->GetPicture().Id()), depth(values.depth), kind(values.kind),
      bwPicture(values.bwPicture), colourPicture(values.colourPicture),
      animationTable(values.animationTable)
{
    animationScript = StampAnimationScript(animationTable, 0);
}

KVXStampBase::~KVXStampBase()
{
    if (manager && manager->Selected() == this)
        manager->SetSelectedStamp(nullptr);
    DeleteAnimation();
    if (interpreter) {
        interpreter->ReleaseCapture();
        Visual()->SetMouseInterpreter(nullptr);
        delete interpreter;
    }
    delete removeCommand;
}

void KVXStampBase::SetInterpreter(MMStandardMouseInterpreter* value)
{
    if (interpreter) {
        interpreter->ReleaseCapture();
        delete interpreter;
    }
    interpreter = value;
    Visual()->SetMouseInterpreter(value);
}

void KVXStampBase::SetRemoveCommand(MMCommand* command)
{
    delete removeCommand;
    removeCommand = command;
}

Pair KVXStampBase::NaturalSize() const
{
    MMPictureReference reference;
    reference.Load(picture);
    Pair size = reference.IsEmpty() ? Pair{0, 0} : reference.GetSize();
    reference.Clear();
    return size;
}

Box KVXStampBase::CanvasBox() const
{
    return manager ? manager->CanvasBox() : Box{0, 0, 0, 0};
}

void KVXStampBase::ShowPicture(const MMPictureReference& reference)
{
    Visual()->SetPicture(reference);
    Visual()->Invalidate();
}

void KVXStampBase::ShowPicture(MMPictureID id)
{
    MMPictureReference reference;
    reference.Load(id);
    ShowPicture(reference);
    reference.Clear();
}

void KVXStampBase::TintColour(bool selected, uint8_t bgr[3]) const
{
    bgr[0] = 0x07;
    bgr[1] = 0x98;
    bgr[2] = 0x1B;
}

void KVXStampBase::ShowTinted(MMPictureID id)
{
    uint8_t bgr[3];
    bool isSelected = selector != nullptr;
    TintColour(isSelected, bgr);
    MMPictureReference tinted;
    if (manager && manager->Pictures())
        TintPicture(tinted, manager->Pictures(), id, bgr, TintFactor(isSelected));
    // Without a tint the stamp still shows, untinted.
    if (tinted.IsEmpty())
        ShowPicture(id);
    else
        ShowPicture(tinted);
    tinted.Clear();
}

MMPictureID KVXStampBase::RenderPicture(MMPictureID id)
{
    MMPictureReference source;
    source.Load(id == -1 ? picture : id);
    Pair size = GetSize();
    MMBitmapPictureCollection* collection = manager ? manager->Pictures() : nullptr;
    MMBitmap locked;
    int16_t slot = collection ? collection->FreeSlot() : int16_t(-1);
    if (source.IsEmpty() || size.x <= 0 || size.y <= 0 || slot < 0 || source.BitsPerPixel() != 32 ||
        !source.LockBitmap(locked)) {
        source.Clear();
        return Visual()->GetPicture().Id();
    }
    Box box = {0, 0, size.x, size.y};
    std::unique_ptr<MMBitmapWithPixels> scaled(
        MMBitmap::CreateWithPixels(box, kPixelBGRA, gDefaultHeap));
    std::unique_ptr<MMBitmapWithPixels> mirrored;
    if (scaled) {
        for (int32_t y = 0; y < size.y; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(scaled->PixelAddress(0, y));
            for (int32_t x = 0; x < size.x; ++x)
                row[x] = 0xFF000000u;
        }
        scaled->transparencyKind = kTransparencyStraight;
        ResampleBitmap(locked, *scaled);
    }
    source.Unlock();
    source.Clear();
    if (!scaled)
        return Visual()->GetPicture().Id();
    MMBitmapWithPixels* result = scaled.get();
    if (mirroredX || mirroredY) {
        mirrored.reset(MMBitmap::CreateWithPixels(box, kPixelBGRA, gDefaultHeap));
        if (!mirrored)
            return Visual()->GetPicture().Id();
        mirrored->transparencyKind = kTransparencyStraight;
        MirrorBitmap(*scaled, *mirrored, mirroredX, mirroredY);
        result = mirrored.get();
    }
    ClearColorWhereAlpha(*result);
    MMPictureReference rendered;
    collection->BindPicture(rendered, slot, *result, nullptr);
    if (rendered.IsEmpty())
        return Visual()->GetPicture().Id();
    // The mirror is in the pixels now.
    Visual()->SetMirror(false, false);
    ShowPicture(rendered);
    MMPictureID renderedId = rendered.Id();
    rendered.Clear();
    return renderedId;
}

void KVXStampBase::RenderLook(bool tinted)
{
    MMPictureID rendered = RenderPicture(picture);
    if (tinted)
        ShowTinted(rendered);
}

void KVXStampBase::ShowPlaced(bool keepSize)
{
    ShowTinted(picture);
}

Pair KVXStampBase::GetSize() const
{
    if (auto* visual = dynamic_cast<MMStampPictureBasedVisual*>(Visual()))
        return visual->DisplaySize();
    Box bounds = Visual()->GetBounds();
    return {bounds.Width(), bounds.Height()};
}

void KVXStampBase::SetSize(int32_t w, int32_t h)
{
    if (auto* visual = dynamic_cast<MMStampPictureBasedVisual*>(Visual()))
        visual->SetDisplaySize(w, h);
}

Box KVXStampBase::GetBox() const
{
    Pair at = Visual()->GetPosition();
    Pair size = GetSize();
    return {at.x, at.y, at.x + size.x, at.y + size.y};
}

void KVXStampBase::SetBox(const Box& box)
{
    Visual()->Invalidate();
    Visual()->SetPosition(box.left, box.top);
    SetSize(box.Width(), box.Height());
    Visual()->Invalidate();
    if (selector)
        selector->SetFrame(box);
}

Pair KVXStampBase::HandlePositionAt(KVXHandleCorner corner, const Pair& handleSize) const
{
    if (!selector)
        return {0, 0};
    return HandlePosition(corner, selector->GetBounds(), CanvasBox(), handleSize, false);
}

void KVXStampBase::Select(KVXStampSelector* value)
{
    selector = value;
    selector->AttachStamp(this);
    if (MMEnclosure* enclosure = Enclosure())
        selector->AddToEnclosure(enclosure);
    selector->HideHandles();
    Visual()->SetLayer(kTopLayer);
    SetDepth(depth);
}

void KVXStampBase::Deselect()
{
    if (!selector)
        return;
    KVXStampSelector* old = selector;
    selector = nullptr;
    old->HideHandles();
    if (MMEnclosure* enclosure = Enclosure())
        old->RemoveFromEnclosure(enclosure);
    old->DetachStamp();
}

void KVXStampBase::SetAnimationLayer(int16_t layer)
{
    // Every frame of the script puts its visual back at the script's layer
    // plus the molecule's offset: a layer set on the visuals alone lasted one
    // frame, and the playing stamp went under the canvas.
    if (animation)
        animation->SetLayerOffset(layer);
}

void KVXStampBase::SetDepth(int16_t d)
{
    depth = d;
    Visual()->SetLayer(kTopLayer);
    Visual()->SetLayer(int16_t(kStampLayer + d));
    SetAnimationLayer(kTopLayer);
    SetAnimationLayer(int16_t(kStampLayer + d));
}

void KVXStampBase::PlaceHandles()
{
    if (selector)
        selector->PlaceHandles();
}

void KVXStampBase::HideHandles()
{
    if (selector)
        selector->HideHandles();
}

void KVXStampBase::ShowHandles()
{
    if (selector)
        selector->ShowHandles();
}

void KVXStampBase::AdvanceChangeState()
{
    if (manager)
        manager->AdvanceChangeState();
}

void KVXStampBase::Replay()
{
    if (!IsAnimated())
        return;
    if (!IsHidden())
        Hide();
    StopAndRestore();
    Play(true);
    SetAnimationLayer(int16_t(kStampLayer + depth));
}

void KVXStampBase::Play(bool withStopCommand)
{
    if (animation) {
        animation->Restart(1);
        return;
    }
    if (animationScript == -1 || !MakeAnimation())
        return;
    if (withStopCommand)
        animation->SetDoneCommand(new MMClassCommand<KVXStampBase>(
            "Stop Anim Command", Stage(), this, &KVXStampBase::AnimationEnded));
    Pair at = Visual()->GetPosition();
    animation->SetOffset(at.x, at.y);
    if (auto* anchored = dynamic_cast<MMAnchoredAnimationThread*>(animation->Thread())) {
        Pair size = GetSize();
        Pair offset = manager ? Pair{manager->OffsetX(), manager->OffsetY()} : Pair{0, 0};
        Pair anchorAt = {at.x + offset.x + (mirroredX ? size.x : 0),
                         at.y + offset.y + (mirroredY ? size.y : 0)};
        anchored->SetAnchor(anchored->Anchor(), anchorAt);
        anchored->SetFlip(mirroredX, mirroredY);
    }
    animation->Run(1);
    SetDepth(depth);
    Hide();
    HideHandles();
}

MMAnimationMolecule* KVXStampBase::MakeAnimation()
{
    if (animation || animationScript == -1)
        return animation;
    MMStage* stage = Stage();
    if (!stage)
        return nullptr;
    animation = new KVXAnimationMolecule(scene_, animationScript,
                                         MMAnimationResourceUsage::kResourcesWhileAttached,
                                         new MMAnchoredAnimationThread(stage));
    if (animation->VisualCount() == 0) {
        delete animation;
        animation = nullptr;
    }
    return animation;
}

void KVXStampBase::AnimationEnded()
{
    if (!manager)
        return;
    manager->RefreshStamp(this);
    manager->SetSelectedStamp(this);
    manager->UpdatePlayButtons();
}

void KVXStampBase::StopAndRestore()
{
    if (!IsAnimated())
        return;
    DeleteAnimation();
    Show();
    PlaceHandles();
}

void KVXStampBase::StopAnimation(bool show)
{
    if (animation && animation->IsRunning())
        animation->Stop();
    if (show && Visual()->IsHidden())
        Show();
}

void KVXStampBase::DeleteAnimation()
{
    if (!animation)
        return;
    animation->Stop();
    delete animation;
    animation = nullptr;
}

void KVXStampBase::BeginMove()
{
    HideHandles();
}

void KVXStampBase::MoveTo(int32_t x, int32_t y)
{
    Pair to = {x - grabDx, y - grabDy};
    Visual()->Invalidate();
    Visual()->SetPosition(to.x, to.y);
    Visual()->Invalidate();
    if (selector && !IsHidden())
        selector->MoveFrameTo(to.x, to.y);
    else if (selector)
        selector->MoveFrameTo(x - selector->GetBounds().Width() / 2,
                              y - selector->GetBounds().Height() / 2);
}

void KVXStampBase::PlaceCentredAt(int32_t x, int32_t y)
{
    Pair size = GetSize();
    Visual()->Invalidate();
    Visual()->SetPosition(x - size.x / 2, y - size.y / 2);
    Visual()->Invalidate();
    if (selector)
        selector->MoveFrameTo(x - size.x / 2, y - size.y / 2);
}

void KVXStampBase::EndMove()
{
    if (selector) {
        Pair at = Visual()->GetPosition();
        selector->SetFrame(GetBox());
        selector->MoveFrameTo(at.x, at.y);
    }
    ShowHandles();
    grabDx = 0;
    grabDy = 0;
    AdvanceChangeState();
}

void KVXStampBase::FlipX()
{
    if (!CanFlipX())
        return;
    mirroredX = !mirroredX;
    Visual()->SetMirror(mirroredX, Visual()->MirrorsVertically());
    RenderLook(true);
    AdvanceChangeState();
}

void KVXStampBase::FlipY()
{
    if (!CanFlipY())
        return;
    mirroredY = !mirroredY;
    Visual()->SetMirror(Visual()->MirrorsHorizontally(), mirroredY);
    RenderLook(true);
    AdvanceChangeState();
}

void KVXStampBase::BeginScale(const Pair& point)
{
    PlaceHandles();
    ShowTinted(picture);
    Visual()->SetMirror(mirroredX, mirroredY);
}

void KVXStampBase::DragScale(const Pair& point)
{
    Box frame = selector ? selector->GetBounds() : GetBox();
    Box scaled;
    if (!ScaleStampBox(frame, NaturalSize(), point, CanvasBox(), &scaled))
        return;
    if (!(scaled == frame)) {
        SetBox(scaled);
        Visual()->Invalidate();
    }
    SetSize(scaled.Width(), scaled.Height());
}

void KVXStampBase::EndScale(const Pair& point)
{
    if (manager)
        manager->EndScaleSound();
    sizeStep = SizeStepFor(GetSize(), NaturalSize());
    animationScript = StampAnimationScript(animationTable, sizeStep);
    RenderLook(true);
}

Pair KVXStampBase::ColourPictureSize() const
{
    MMPictureReference reference;
    reference.Load(colourPicture);
    Pair size = reference.IsEmpty() ? Pair{0, 0} : reference.GetSize();
    reference.Clear();
    return size;
}

Pair KVXStampBase::BWPictureSize() const
{
    MMPictureReference reference;
    reference.Load(bwPicture);
    Pair size = reference.IsEmpty() ? Pair{0, 0} : reference.GetSize();
    reference.Clear();
    return size;
}

MMPictureID KVXStampBase::RenderColour()
{
    return RenderPicture(colourPicture);
}

MMPictureID KVXStampBase::RenderPlain()
{
    RenderLook(false);
    return Visual()->GetPicture().Id();
}

void KVXStampBase::ApplyVisibilityRule(const Pair& point)
{
    bool inside = CanvasBox().Contains(point);
    MMEnclosure* enclosure = Enclosure();
    if (inside && IsHidden()) {
        if (selector && enclosure) {
            selector->AddToEnclosure(enclosure);
            selector->SetFrame(Visual()->GetBounds());
            selector->SetLayer(95);
        }
        Show();
        HideHandles();
    } else if (!inside && !IsHidden()) {
        Hide();
        if (selector && enclosure) {
            selector->RemoveFromEnclosure(enclosure);
            // A small frame follows the pointer while the stamp is off the
            // canvas.
            Box box = GetBox();
            int32_t dx = 2 * (box.Width() / 5);
            int32_t dy = 2 * (box.Height() / 5);
            Box small = {0, 0, box.Width() - 2 * dx, box.Height() - 2 * dy};
            small.Offset({point.x - small.Width() / 2, point.y - small.Height() / 2});
            selector->SetBox(small);
            selector->SetLayer(999);
            enclosure->AddVisual(selector);
        }
    }
}

bool KVXStampBase::HandleMouse(const MMStageEvent& event)
{
    if (event.type != kStageEventPointer)
        return dragging;
    Pair point = {event.x, event.y};
    if (!dragging) {
        hit = Visual()->ContainsPoint(event.x, event.y);
        if (!hit)
            return false;
        if (!(event.data & kPointerPressed))
            return dragging;
        Pair at = Visual()->GetPosition();
        grabDx = point.x - at.x;
        grabDy = point.y - at.y;
        if (manager)
            manager->SetSelectedStamp(this);
        ApplyVisibilityRule(point);
        BeginMove();
        dragging = true;
        if (interpreter)
            interpreter->SetCursor(KVXAppCursor(kCursorCarry));
        if (manager)
            manager->StartDragSound();
        return true;
    }
    bool released = event.data & kPointerReleased;
    if ((event.data & kPointerHeld) && !released) {
        ApplyVisibilityRule(point);
        MoveTo(point.x, point.y);
        return true;
    }
    if (released) {
        if (interpreter)
            interpreter->SetCursor(KVXAppCursor(kCursorDrop));
        ApplyVisibilityRule(point);
        MoveTo(point.x, point.y);
        EndMove();
        if (manager)
            manager->EndDragSound();
        if (!CanvasBox().Contains(point)) {
            if (selector && Enclosure())
                selector->AddToEnclosure(Enclosure());
            if (removeCommand)
                removeCommand->Post();
        }
    } else {
        if (!hit && removeCommand)
            removeCommand->Post();
        if (manager)
            manager->EndDragSound();
    }
    grabDx = -1;
    grabDy = -1;
    dragging = false;
    return false;
}
