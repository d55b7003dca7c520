#include "selection/rope_interpreters.h"

#include <algorithm>
#include <cmath>

#include "brushes/hsv.h"
#include "canvas/canvas_visual.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/color.h"
#include "framework/heap.h"
#include "framework/random.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "media/surface.h"
#include "selection/pixel_kernels.h"
#include "selection/shape_visuals.h"
#include "canvas/point_array.h"
#include "trays/sub_scene.h"

namespace {

const int16_t kScaleHandleTable = 1000;
const int16_t kMoveHandleTable = 998;
const int16_t kFlipYTable = 999;
const int16_t kFlipXTable = 997;
const int16_t kDabMaskTable = 546;
const int32_t kSelectionCursor = 4;
const int32_t kOutlineSteps = 16;

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
        Box shown = box;
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
        surface->DrawPolyline(outline.data(), int32_t(outline.size()), colour, 1);
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
        dragging = true;
        selection.MakeTranslucent();
        rope->ShowSelectionControls(true);
        return true;
    }
    rope->MoveSelectionTo({e.x - grab.x, e.y - grab.y});
    if (!Released(e))
        return true;
    dragging = false;
    selection.MakeOpaque();
    rope->Visual()->Follow();
    rope->ShowSelectionControls(false);
    if (!selection.MeetsCanvas()) {
        rope->RemoveSelectionControls();
        rope->EndSelection(false);
    }
    return false;
}

KVXRopeHandleInterpreter::KVXRopeHandleInterpreter(KVXBaseRopeToolInterpreter* rope, bool scale)
    : MMStandardMouseInterpreter(rope->Stage()), rope(rope), scale(scale)
{
}

bool KVXRopeHandleInterpreter::Interpret(const MMStageEvent& e)
{
    const Box& box = rope->Selection().GetBox();
    if (!dragging) {
        if (!IsPress(e))
            return false;
        kept = box;
        offset = scale ? Pair{e.x - box.right, e.y - box.top} : Pair{e.x - box.left, e.y - box.top};
        dragging = true;
        return true;
    }
    bool done = Released(e);
    if (scale) {
        Box next = {kept.left, e.y - offset.y, e.x - offset.x, kept.bottom};
        if (next.Width() < 3)
            next.right = next.left + 3;
        if (next.Height() < 3)
            next.top = next.bottom - 3;
        next.Intersect(rope->CanvasArea());
        if (!next.IsEmpty())
            rope->ScaleSelectionTo(next, done);
    } else {
        rope->MoveSelectionByHandle({e.x - offset.x, e.y - offset.y});
    }
    if (done)
        dragging = false;
    return !done;
}

KVXBaseRopeToolInterpreter::KVXBaseRopeToolInterpreter(KVXCreationHost* host, MMStage* stage,
                                                       KVXCanvasVisual* canvas, MMCursor* cursor,
                                                       MMResourceId)
    : KVXShapeInterpreter(host, stage, canvas, nullptr, cursor, kShapeSoundId),
      area(canvas ? canvas->GetBounds() : Box{0, 0, 640, 480}), selection(area)
{
}

KVXBaseRopeToolInterpreter::~KVXBaseRopeToolInterpreter()
{
    RemoveSelectionControls();
    EndSelection(true);
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
    selection.Place(*canvas->Plane());
    RefreshCanvas(selection.GetBox());
}

void KVXBaseRopeToolInterpreter::EndSelection(bool apply)
{
    if (!selection.IsActive())
        return;
    if (apply)
        PlaceSelection();
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
        selection.Resize(next, rebuild);
        visual->Follow();
        PlaceSelectionControls();
    }
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
        handleInterpreters[i] = new KVXRopeHandleInterpreter(this, i == 0);
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
        if (AddRopePoint(points, {e.x, e.y}, area))
            if (auto* band = static_cast<KVXPolyLineShapeVisual*>(feedbackVisual))
                band->AddPoint(points.back().x, points.back().y);
        return true;
    }
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
    if (box.IsEmpty())
        return false;
    PointArray outline;
    outline.AssignRect(circle ? kPointArrayEllipse : kPointArrayRectangle, box);
    std::vector<Pair> points(outline.Points(), outline.Points() + outline.Count());
    if (MakeSelection(points))
        CreateSelectionControls();
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
