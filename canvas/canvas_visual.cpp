#include "canvas/canvas_visual.h"

#include <algorithm>

#include "canvas/canvas_scene.h"
#include "canvas/drippy_draw_methods.h"
#include "canvas/effect_draw_methods.h"
#include "canvas/gloppy_draw_methods.h"
#include "canvas/shading.h"
#include "canvas/slate_recording.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/picture_molecule.h"
#include "engine/scene.h"
#include "engine/scroll_bar.h"
#include "engine/stage.h"
#include "media/surface.h"

Box CanvasBox = {0, 0, 0, 0};

namespace {

constexpr int32_t kLayoutTable = 734;
constexpr int32_t kLayoutRowSize = 10;
constexpr int32_t kIdleStep = 41;
constexpr int32_t kWipeStep = 1;
constexpr int32_t kWipeTime = 3000;
constexpr int16_t kWipeBlockerLayer = 9999;
constexpr int16_t kCornerLayer = 101;

// Layout keys of the zoom controls.
enum ZoomKey : int16_t {
    kXTableA = 21,
    kXTableB = 22,
    kYTableA = 23,
    kYTableB = 24,
    kYSliderPicture = 25,
    kXSliderPicture = 26,
    kYThickness = 27,
    kXThickness = 28,
    kCornerPicture = 29,
};

MMResourceId LayoutId(const MMRecordTable& layout, int16_t key)
{
    int32_t row = layout.FindRowByKey(key);
    return row < 0 ? MM_NO_RESOURCE : layout.LongAt(row, 2);
}

Pair PictureSize(MMResourceId id)
{
    MMPictureReference picture;
    picture.Load(id);
    Pair size = picture.Collection() ? picture.GetSize() : Pair{0, 0};
    picture.Clear();
    return size;
}

bool SceneHolds(MMBaseScene* scene, MMMolecule* molecule)
{
    const std::vector<MMMolecule*>& list = scene->Molecules();
    return std::find(list.begin(), list.end(), molecule) != list.end();
}

}  // namespace

KVXDrawMethod* MakeDrawMethod(int32_t kind, int32_t a, int32_t b, int32_t c, KVXCanvasScene* host)
{
    switch (kind) {
    case kDrawNothing: return new (gDefaultHeap) KVXDrawMethod;
    case kDrawStatic: return new (gDefaultHeap) KVXDrawMethodStatic;
    case kDrawUpdateableStatic: return new (gDefaultHeap) KVXDrawMethodUpdateableStatic;
    case kDrawPlain: return new (gDefaultHeap) KVXDrawMethodPlain;
    case kDrawAddHeight: return new (gDefaultHeap) KVXDrawMethodAddHeight;
    case kDrawRemoveHeight: return new (gDefaultHeap) KVXDrawMethodRemoveHeight;
    case kDrawDrippyPlain: return new (gDefaultHeap) KVXDrawMethodDrippyPlain(a);
    case kDrawDrippyAddHeight: return new (gDefaultHeap) KVXDrawMethodDrippyAddHeight(a);
    case kDrawDrippyRemoveHeight: return new (gDefaultHeap) KVXDrawMethodDrippyRemoveHeight(a);
    case kDrawDrippyWater: return new (gDefaultHeap) KVXDrawMethodDrippyWater(a);
    case kDrawGloppy: return new (gDefaultHeap) KVXDrawMethodGloppy(b);
    case kDrawTransparentGloppy: return new (gDefaultHeap) KVXDrawMethodTrasparentGloppy(b);
    case kDrawGrainyTransparentGloppy:
        return new (gDefaultHeap)
            KVXDrawMethodGrainyTrasparentGloppy(b, host ? host->TexturePlane() : nullptr);
    case kDrawPhaser: return new (gDefaultHeap) KVXDrawMethodPhaser(c, host);
    case kDrawInvisible: return new (gDefaultHeap) KVXDrawMethodInvisible;
    case kDrawInvisibleReveal: return new (gDefaultHeap) KVXDrawMethodInvisibleReveal;
    case kDrawImageRoller: return new (gDefaultHeap) KVXDrawMethodImageRoller;
    default: return nullptr;
    }
}

KVXCanvasVisual::KVXCanvasVisual(MMBaseScene* scene, KVXCanvasScene* host, const Box& box,
                                 int16_t layer, KVXPlaneComponentTop* plane, UndoSnapshot* undo)
    : MMOpaqueBoxVisual(box),
      MMLightweightThread("Canvas Visual Thread", scene ? scene->Stage() : nullptr),
      scene(scene),
      host(host),
      plane(plane),
      undo(undo),
      workSurface(Box{0, 0, box.Width(), box.Height()})
{
    SetLayer(layer);
    layout.Load(kLayoutTable, kLayoutRowSize, gDefaultHeap);
    workSurface.EnsureSurface();
    if (host != nullptr)
        slate = host->MakeSlateRecording();
    if (slate != nullptr)
        slate->Init();
    BuildZoomControls();
}

void KVXCanvasVisual::BuildZoomControls()
{
    if (scene == nullptr || host == nullptr)
        return;
    MMStage* stage = scene->Stage();
    int32_t h = PictureSize(LayoutId(layout, kXThickness)).y;
    Box strip = {box.left, box.bottom - h - 1, box.right, box.bottom};
    if (MMScrollBarVisual* visual = host->MakeZoomScrollBarVisual(
            LayoutId(layout, kXSliderPicture), LayoutId(layout, kXTableA),
            LayoutId(layout, kXTableB), strip)) {
        xSlider = new (gDefaultHeap) MMScrollBarMolecule(
            scene, visual, int16_t((box.right - box.left - 1) / 2), 1, int16_t(layer + 1), nullptr);
        xSlider->SetCommand(new (gDefaultHeap) MMClassCommand<KVXCanvasVisual>(
            "x zoom Slider Command", stage, this, &KVXCanvasVisual::OnXZoomSlider));
        xSlider->Hide();
    }
    int32_t w = PictureSize(LayoutId(layout, kYThickness)).x;
    strip = {box.right - w - 1, box.top, box.right, box.bottom};
    if (MMScrollBarVisual* visual = host->MakeZoomScrollBarVisual(
            LayoutId(layout, kYSliderPicture), LayoutId(layout, kYTableA),
            LayoutId(layout, kYTableB), strip)) {
        ySlider = new (gDefaultHeap) MMScrollBarMolecule(
            scene, visual, int16_t((box.bottom - box.top - 1) / 2), 1, int16_t(layer + 1), nullptr);
        ySlider->SetCommand(new (gDefaultHeap) MMClassCommand<KVXCanvasVisual>(
            "y zoom Slider Command", stage, this, &KVXCanvasVisual::OnYZoomSlider));
        ySlider->Hide();
    }
    MMResourceId corner = LayoutId(layout, kCornerPicture);
    Pair size = PictureSize(corner);
    if (size.x > 0 && size.y > 0) {
        cornerPicture = new (gDefaultHeap) MMPictureMolecule(
            scene, corner, Pair{CanvasBox.right - size.x - 1, CanvasBox.bottom - size.y - 1},
            kCornerLayer);
        cornerPicture->Hide();
    }
}

KVXCanvasVisual::~KVXCanvasVisual()
{
    DeleteMethod(DetachMethod());
    DeleteMethod(wipeSavedMethod);
    DeleteMethod(dragSavedMethod);
    if (wipeBlocker != nullptr) {
        if (MMEnclosure* top = wipeBlocker->Enclosure())
            top->RemoveVisual(wipeBlocker);
        delete wipeBlocker;
    }
    if (slate != nullptr) {
        slate->Release();
        delete slate;
    }
    // The scene may have deleted the controls already with its other molecules.
    for (MMMolecule* molecule : {static_cast<MMMolecule*>(xSlider),
                                 static_cast<MMMolecule*>(ySlider),
                                 static_cast<MMMolecule*>(cornerPicture)}) {
        if (molecule != nullptr && scene != nullptr && SceneHolds(scene, molecule))
            delete molecule;
    }
}

int32_t KVXCanvasVisual::Now() const
{
    MMStage* stage = MMLightweightThread::Stage();
    return stage != nullptr ? int32_t(stage->Now()) : 0;
}

// Mapping between stage and canvas coordinates.

int32_t KVXCanvasVisual::ViewToCanvasX(int32_t v) const
{
    int32_t d = v - box.left;
    return zoomed ? scrollX + d / 2 : d;
}

int32_t KVXCanvasVisual::ViewToCanvasY(int32_t v) const
{
    int32_t d = v - box.top;
    return zoomed ? scrollY + d / 2 : d;
}

int32_t KVXCanvasVisual::CanvasToStageX(int32_t c) const
{
    return zoomed ? (c - scrollX) * 2 + box.left : c + box.left;
}

int32_t KVXCanvasVisual::CanvasToStageY(int32_t c) const
{
    return zoomed ? (c - scrollY) * 2 + box.top : c + box.top;
}

// Drawing.

void KVXCanvasVisual::Draw(MMSurface* surface)
{
    if (IsHidden() || plane == nullptr || plane->bits == nullptr)
        return;
    surface->Lock();
    MMBitmap target;
    if (surface->GetClippedBitmap(target) && target.bitsPerPixel == 32) {
        int32_t x0 = ViewToCanvasX(target.box.left);
        int32_t y0 = ViewToCanvasY(target.box.top);
        target.box.Offset({-box.left, -box.top});
        if (x0 >= 0 && y0 >= 0 && x0 < plane->width && y0 < plane->height) {
            KVXPlaneComponent view;
            view.MakeSubView(*plane, {x0, y0, plane->width, plane->height});
            if (drawMethod != nullptr) {
                drawMethod->Render(view, target, zoomed);
                DrawLastColumnAndRow(target);
            }
        }
    }
    if (slateOverlay && slate != nullptr)
        slate->DrawPlaybackStep(surface);
    surface->Unlock();
}

// The shading reads each pixel's right and lower neighbours, so the draw
// methods leave the plane's last column and row out; nothing else covers
// them, and what was on the screen there would stay. They are drawn lit as
// flat paint, the pixel being its own neighbour. The target's box is
// relative to the visual.
void KVXCanvasVisual::DrawLastColumnAndRow(const MMBitmap& target) const
{
    int32_t scale = zoomed ? 2 : 1;
    int32_t column = CanvasToStageX(plane->width - 1) - box.left;
    int32_t row = CanvasToStageY(plane->height - 1) - box.top;
    const Box edges[2] = {{column, target.box.top, column + scale, target.box.bottom},
                          {target.box.left, row, target.box.right, row + scale}};
    for (Box edge : edges) {
        edge.Intersect(target.box);
        for (int32_t y = edge.top; y < edge.bottom; ++y) {
            int32_t cy = ViewToCanvasY(y + box.top);
            if (cy < 0 || cy >= plane->height)
                continue;
            uint32_t* out = reinterpret_cast<uint32_t*>(target.PixelAddress(edge.left, y));
            for (int32_t x = edge.left; x < edge.right; ++x) {
                int32_t cx = ViewToCanvasX(x + box.left);
                if (cx < 0 || cx >= plane->width)
                    continue;
                KVXComponentPixel row[2] = {*plane->PixelAt(cx, cy), *plane->PixelAt(cx, cy)};
                KVXComponentPixel below[2] = {row[0], row[0]};
                out[x - edge.left] = ShadePixel(row, below);
            }
        }
    }
}

void KVXCanvasVisual::InvalidateBox(const Box& area)
{
    if (enclosure != nullptr && !IsHidden())
        enclosure->Invalidate(area);
}

void KVXCanvasVisual::InvalidateBounds() { InvalidateBox(GetBounds()); }

void KVXCanvasVisual::Invalidate()
{
    if (plane == nullptr || plane->DirtyBox().IsEmpty())
        return;
    if (drawMethod != nullptr)
        drawMethod->Prepare(*plane);
    const Box& dirty = plane->DirtyBox();
    InvalidateBox({CanvasToStageX(dirty.left), CanvasToStageY(dirty.top),
                   CanvasToStageX(dirty.right), CanvasToStageY(dirty.bottom)});
    plane->SetDirtyFlag(1);
}

// Coming and going redraw the whole visual, not only what changed.
void KVXCanvasVisual::SetEnclosure(MMEnclosure* newEnclosure)
{
    InvalidateBounds();
    enclosure = newEnclosure;
    InvalidateBounds();
}

void KVXCanvasVisual::SetHidden(bool flag)
{
    if (IsHidden() == flag)
        return;
    InvalidateBounds();
    hidden = flag ? 1 : 0;
    InvalidateBounds();
}

// Zoom.

void KVXCanvasVisual::SetZoom(bool on)
{
    zoomed = on;
    for (MMMolecule* molecule : {static_cast<MMMolecule*>(xSlider),
                                 static_cast<MMMolecule*>(ySlider),
                                 static_cast<MMMolecule*>(cornerPicture)}) {
        if (molecule == nullptr)
            continue;
        if (on)
            molecule->Show();
        else
            molecule->Hide();
    }
    InvalidateBounds();
}

void KVXCanvasVisual::OnXZoomSlider()
{
    if (xSlider != nullptr)
        scrollX = xSlider->Position();
    InvalidateBounds();
}

void KVXCanvasVisual::OnYZoomSlider()
{
    if (ySlider != nullptr)
        scrollY = ySlider->Position();
    InvalidateBounds();
}

void KVXCanvasVisual::SetScroll(int32_t x, int32_t y)
{
    scrollX = x;
    scrollY = y;
    InvalidateBounds();
}

// Draw methods.

void KVXCanvasVisual::AttachMethod(KVXDrawMethod* method)
{
    drawMethod = method;
    if (method != nullptr && plane != nullptr)
        method->Attach(&workSurface, *plane);
}

KVXDrawMethod* KVXCanvasVisual::DetachMethod()
{
    KVXDrawMethod* method = drawMethod;
    if (method != nullptr && plane != nullptr)
        method->Detach(*plane);
    drawMethod = nullptr;
    return method;
}

void KVXCanvasVisual::DeleteMethod(KVXDrawMethod* method) { delete method; }

void KVXCanvasVisual::SetDrawMethod(int32_t kind, int32_t a, int32_t b, int32_t c)
{
    DeleteMethod(DetachMethod());
    AttachMethod(MakeDrawMethod(kind, a, b, c, host));
}

void KVXCanvasVisual::BeginTemporaryRemoveHeight()
{
    KVXDrawMethod* current = DetachMethod();
    if (dragSavedMethod == nullptr)
        dragSavedMethod = current;
    else
        DeleteMethod(current);
    AttachMethod(new (gDefaultHeap) KVXDrawMethodRemoveHeight);
}

void KVXCanvasVisual::EndTemporaryDrawMethod()
{
    if (dragSavedMethod == nullptr)
        return;
    DeleteMethod(DetachMethod());
    KVXDrawMethod* saved = dragSavedMethod;
    dragSavedMethod = nullptr;
    AttachMethod(saved);
}

void KVXCanvasVisual::RefreshDrawMethodRect(const Box& area)
{
    if (drawMethod == nullptr || plane == nullptr)
        return;
    Box clipped = area;
    clipped.Intersect(plane->Bounds());
    drawMethod->UpdateRect(*plane, clipped.left, clipped.top, clipped.right, clipped.bottom);
}

// Clearing, the wipe and undo.

void KVXCanvasVisual::Clear()
{
    if (plane != nullptr)
        plane->Fill(kBlankPixel);
}

void KVXCanvasVisual::ClearBand(const Box& band)
{
    plane->FillElements(band, kBlankPixel);
}

void KVXCanvasVisual::StartWipe()
{
    if (wiping || plane == nullptr)
        return;
    wipeSavedMethod = DetachMethod();
    AttachMethod(new (gDefaultHeap) KVXDrawMethodPlain);
    SnapshotForUndo(false);
    if (slate != nullptr) {
        slate->ClearAll();
        slate->SelectChannel(0);
        slate->SelectFrame(0);
    }
    wiping = true;
    wipeBand = {0, 0, plane->width, 2};
    MMEnclosure* top = scene != nullptr ? scene->TopEnclosure() : nullptr;
    if (top != nullptr) {
        wipeBlocker = new (gDefaultHeap) MMBoxVisual(top->GetBounds(), kWipeBlockerLayer);
        top->AddVisual(wipeBlocker);
    }
    wipeStart = Now();
    wipeEnd = wipeStart + kWipeTime;
}

void KVXCanvasVisual::WipeStep()
{
    if (Now() > wipeEnd) {
        wipeBand.bottom = plane->height;
        ClearBand(wipeBand);
        wipeStart = wipeEnd = -1;
    } else {
        ClearBand(wipeBand);
        plane->AddDirtyRect(wipeBand);
        Box onStage = wipeBand;
        onStage.Offset({CanvasBox.left, CanvasBox.top});
        InvalidateBox(onStage);
        int32_t h = wipeBand.Height();
        wipeBand.top = wipeBand.bottom - 1;
        wipeBand.bottom += h - 1;
    }
    if (wipeBand.bottom < plane->height)
        return;
    // The band has just moved onto the last rows: they are cleared too.
    ClearBand(wipeBand);
    FinishWipe();
}

void KVXCanvasVisual::FinishWipe()
{
    wiping = false;
    if (drawMethod != nullptr)
        drawMethod->Attach(&workSurface, *plane);
    if (wipeBlocker != nullptr) {
        MMEnclosure* top = scene != nullptr ? scene->TopEnclosure() : nullptr;
        if (top != nullptr) {
            const std::vector<MMVisual*>& visuals = top->Visuals();
            if (std::find(visuals.begin(), visuals.end(), wipeBlocker) != visuals.end())
                top->RemoveVisual(wipeBlocker);
        }
        delete wipeBlocker;
        wipeBlocker = nullptr;
    }
    DeleteMethod(DetachMethod());
    KVXDrawMethod* saved = wipeSavedMethod;
    wipeSavedMethod = nullptr;
    AttachMethod(saved);
    plane->MarkAllDirty();
    Invalidate();
}

void KVXCanvasVisual::SnapshotForUndo(bool advance)
{
    drawnBox = Box{0, 0, 0, 0};
    if (undo != nullptr && plane != nullptr)
        undo->Checkpoint(*plane);
    if (advance && plane != nullptr)
        plane->changeState.Advance();
}

void KVXCanvasVisual::SwapWithUndo()
{
    if (undo == nullptr || plane == nullptr)
        return;
    KVXDrawMethod* method = DetachMethod();
    undo->Swap(*plane);
    InvalidateBounds();
    plane->changeState.AfterUndo();
    AttachMethod(method);
}

// The thread step.

bool KVXCanvasVisual::Run()
{
    if (State() == kMMThreadTerminating)
        return false;
    Wait(wiping ? kWipeStep : kIdleStep);
    if (State() != kMMThreadRunning || plane == nullptr)
        return true;
    if (wiping) {
        WipeStep();
        return true;
    }
    if (drawMethod != nullptr)
        drawMethod->Tick(*plane);
    if (slate != nullptr && slate->IsRunning()) {
        slate->SetStepFlag(true);
        Box bounds = slate->GetBounds();
        InvalidateBox(bounds);
        plane->AddDirtyRect({ViewToCanvasX(bounds.left), ViewToCanvasY(bounds.top),
                             ViewToCanvasX(bounds.right), ViewToCanvasY(bounds.bottom)});
    }
    Invalidate();
    return true;
}

// The slate recording.

void KVXCanvasVisual::StoreSlateStroke(int32_t channel, int32_t frame, const Pair* points,
                                       int32_t count, int32_t width, uint32_t color)
{
    if (slate != nullptr)
        slate->StoreFrame(channel, frame, points, count, color, width);
}

void KVXCanvasVisual::StopSlatePlayback()
{
    if (slate == nullptr)
        return;
    slate->Stop();
    InvalidateBox(slate->GetBounds());
}

void KVXCanvasVisual::StartSlatePlayback()
{
    if (slate != nullptr)
        slate->Start();
}

bool KVXCanvasVisual::IsSlatePlaying() const { return slate != nullptr && slate->IsRunning(); }

void KVXCanvasVisual::PauseSlatePlayback()
{
    if (slate != nullptr)
        slate->SetPaused(true);
}

void KVXCanvasVisual::ResumeSlatePlayback()
{
    if (slate != nullptr)
        slate->SetPaused(false);
}

bool KVXCanvasVisual::IsSlatePlaybackPaused() const { return slate != nullptr && slate->IsPaused(); }

void KVXCanvasVisual::SetSlateLoop(bool on)
{
    if (slate != nullptr)
        slate->SetLooping(on);
}

void KVXCanvasVisual::ToggleSlateLoop()
{
    if (slate != nullptr)
        slate->SetLooping(!slate->IsLooping());
}

bool KVXCanvasVisual::IsSlateLooping() const { return slate != nullptr && slate->IsLooping(); }

void KVXCanvasVisual::SelectSlateChannel(int32_t n)
{
    if (slate == nullptr)
        return;
    InvalidateBox(slate->GetBounds());
    slate->SelectChannel(n);
    InvalidateBox(slate->GetBounds());
}

void KVXCanvasVisual::SelectSlateFrame(int32_t n)
{
    if (slate == nullptr)
        return;
    InvalidateBox(slate->GetBounds());
    slate->SelectFrame(n);
    InvalidateBox(slate->GetBounds());
}

void KVXCanvasVisual::SetSlateOwner(KVXMagicSlateToolCollection* collection)
{
    if (slate != nullptr)
        slate->SetOwner(collection);
}

void KVXCanvasVisual::CopySlateFrame(int32_t channel, int32_t from, int32_t to)
{
    if (slate != nullptr)
        slate->CopyFrame(channel, from, to);
}

bool KVXCanvasVisual::SlateFrameHasContent(int32_t channel, int32_t frame) const
{
    return slate != nullptr && slate->FrameState(channel, frame) == 1;
}

void KVXCanvasVisual::ClearSlateFrame(int32_t channel, int32_t frame)
{
    if (slate != nullptr)
        slate->ClearFrame(channel, frame);
}

uint32_t KVXCanvasVisual::SlateFrameColor(int32_t channel, int32_t frame) const
{
    return slate != nullptr ? slate->FrameColour(channel, frame) : 0;
}
