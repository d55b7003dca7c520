#include "tools/shape_interpreter.h"

#include <typeinfo>

#include "brushes/brush_base.h"
#include "brushes/text_brush.h"
#include "canvas/canvas_visual.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "framework/random.h"
#include "selection/shape_visuals.h"
#include "tools/shape_sound.h"
#include "trays/sub_scene.h"

namespace {
const int16_t kFullPressure = 255;
const int32_t kTopSizeIndex = 19;

bool IsPress(const MMStageEvent& e)
{
    return e.type == kStageEventPointer && (e.data & kPointerPressed) &&
           !(e.data & kPointerDoubleClick);
}

bool IsHeld(const MMStageEvent& e) { return e.type == kStageEventPointer && (e.data & kPointerHeld); }
}  // namespace

KVXShapeInterpreter::KVXShapeInterpreter(KVXCreationHost* host, MMStage* stage,
                                         KVXCanvasVisual* canvas, BrushBase* brush,
                                         MMCursor* cursor, MMResourceId soundId)
    : KVXInterpreterWithBrush(host, stage, canvas, brush, nullptr, cursor)
{
    shapeSound = new (gDefaultHeap) KVXShapeSound(stage, soundId);
}

KVXShapeInterpreter::~KVXShapeInterpreter()
{
    HideFeedback();
    delete shapeSound;
}

void KVXShapeInterpreter::ShowFeedback()
{
    if (feedbackShown)
        return;
    feedbackVisual = MakeFeedbackVisual();
    if (feedbackVisual) {
        feedbackVisual->SetConstrain(feedbackStyle);
        MMBaseScene* scene = host ? host->HostScene() : (stage_ ? stage_->Scene() : nullptr);
        feedbackMolecule = new (gDefaultHeap) MMVisualMolecule(scene, feedbackVisual);
    }
    feedbackShown = 1;
}

void KVXShapeInterpreter::HideFeedback()
{
    if (feedbackMolecule)
        delete feedbackMolecule;
    else
        delete feedbackVisual;
    feedbackMolecule = nullptr;
    feedbackVisual = nullptr;
    feedbackShown = 0;
}

MMPointerSample KVXShapeInterpreter::SampleAt(int32_t x, int32_t y) const
{
    Pair at = canvas ? canvas->GetPosition() : Pair{0, 0};
    return MMPointerSample{x - at.x, y - at.y, kMouseCursor, kFullPressure};
}

Box KVXShapeInterpreter::FeedbackBoxOnCanvas() const
{
    if (!feedbackVisual || !canvas)
        return Box{0, 0, 0, 0};
    Box b = feedbackVisual->GetBounds();
    Pair at = canvas->GetPosition();
    int32_t v[4] = {b.left - at.x, b.top - at.y, b.right - at.x, b.bottom - at.y};
    if (canvas->IsZoomed()) {
        Pair scroll = canvas->Scroll();
        for (int32_t i = 0; i < 4; ++i)
            v[i] = (i % 2 == 0 ? scroll.x : scroll.y) + v[i] / 2;
    }
    return Box{v[0], v[1], v[2], v[3]};
}

bool KVXShapeInterpreter::HandleDrag(const MMStageEvent& e, bool snapshot)
{
    if (IsPress(e) && !dragging && canvas && canvas->ContainsPoint(e.x, e.y)) {
        if (snapshot)
            canvas->SnapshotForUndo(false);
        startPoint = {e.x, e.y};
        ShowFeedback();
        shapeSound->Start(e.x, e.y);
        dragging = 1;
        return true;
    }
    if (!dragging || e.type != kStageEventPointer)
        return false;
    if (IsHeld(e)) {
        shapeSound->Update(e.x, e.y);
        if (feedbackVisual)
            feedbackVisual->TrackPoint(e.x, e.y);
    } else {
        shapeSound->Stop();
        shapeBox = FeedbackBoxOnCanvas();
        HideFeedback();
        endPoint = {e.x, e.y};
        DrawShape();
        dragging = 0;
    }
    return false;
}

bool KVXShapeInterpreter::Interpret(const MMStageEvent& e)
{
    if (HandlePicking(e, dragging != 0))
        return picking != 0;
    HandleDrag(e, true);
    return dragging != 0;
}

void KVXShapeInterpreter::BeginStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeBegin, s);
}

void KVXShapeInterpreter::ContinueStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeContinue, s);
}

void KVXShapeInterpreter::EndStroke(const MMPointerSample& s)
{
    StrokeBrush(kStrokeEnd, s);
}

void KVXShapeInterpreter::StrokePoints(const Pair* points, int32_t count)
{
    if (count <= 0)
        return;
    BeginStroke(SampleAt(points[0].x, points[0].y));
    for (int32_t i = 1; i < count; ++i)
        ContinueStroke(SampleAt(points[i].x, points[i].y));
    EndStroke(SampleAt(points[count - 1].x, points[count - 1].y));
}

// Lines.

int32_t LinePointCount(const Pair& start, const Pair& end)
{
    int16_t dx = int16_t(end.x - start.x);
    int16_t dy = int16_t(end.y - start.y);
    float square = float(int32_t(dx) * dx + int32_t(dy) * dy);
    return int32_t(FastSqrt(square) * 0.2f);
}

void LinePoints(const Pair& start, const Pair& end, int32_t count, Pair* out)
{
    if (count <= 0)
        return;
    if (count == 1) {
        out[0] = end;
        return;
    }
    out[0] = start;
    double stepX = double(end.x - start.x) / count;
    double stepY = double(end.y - start.y) / count;
    double x = start.x;
    double y = start.y;
    for (int32_t k = 1; k <= count - 2; ++k) {
        x += stepX;
        y += stepY;
        out[k] = {int32_t(x), int32_t(y)};
    }
    out[count - 1] = end;
}

KVXStraightLineToolInterpreter::KVXStraightLineToolInterpreter(KVXCreationHost* host,
                                                               MMStage* stage,
                                                               KVXCanvasVisual* canvas,
                                                               BrushBase* brush, MMCursor* cursor)
    : KVXShapeInterpreter(host, stage, canvas, brush, cursor, kShapeSoundId)
{
}

KVXShapeVisual* KVXStraightLineToolInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap) KVXLineShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

void KVXStraightLineToolInterpreter::DrawShape()
{
    int32_t n = LinePointCount(startPoint, endPoint);
    if (n <= 0)
        return;
    Pair* points = new (gDefaultHeap) Pair[n];
    LinePoints(startPoint, endPoint, n, points);
    StrokePoints(points, n);
    delete[] points;
}

// Curves.

KVXCurvedLineToolInterpreter::KVXCurvedLineToolInterpreter(KVXCreationHost* host, MMStage* stage,
                                                           KVXCanvasVisual* canvas,
                                                           BrushBase* brush, MMCursor* cursor)
    : KVXStraightLineToolInterpreter(host, stage, canvas, brush, cursor)
{
}

KVXShapeVisual* KVXCurvedLineToolInterpreter::MakeFeedbackVisual()
{
    curveVisual = new (gDefaultHeap)
        KVXCurveLineShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
    return curveVisual;
}

bool KVXCurvedLineToolInterpreter::Interpret(const MMStageEvent& e)
{
    if (HandlePicking(e, dragging != 0))
        return picking != 0;
    if (e.type != kStageEventPointer)
        return dragging != 0;
    if (IsPress(e)) {
        if (canvas)
            canvas->SnapshotForUndo(false);
        if (phase == 0 && !dragging && canvas && canvas->ContainsPoint(e.x, e.y)) {
            startPoint = {e.x, e.y};
            ShowFeedback();
            shapeSound->Start(e.x, e.y);
            phase = 1;
            dragging = 1;
        } else if (phase == 2) {
            shapeSound->Stop();
            DrawShape();
            HideFeedback();
            curveVisual = nullptr;
            phase = 0;
            dragging = 0;
        }
    } else if (IsHeld(e) && dragging && phase == 1) {
        shapeSound->Update(e.x, e.y);
        if (curveVisual)
            curveVisual->TrackPoint(e.x, e.y);
    } else if (dragging && phase == 1) {
        if (e.x == startPoint.x && e.y == startPoint.y) {
            shapeSound->Stop();
            HideFeedback();
            curveVisual = nullptr;
            dragging = 0;
            phase = 0;
        } else {
            if (curveVisual) {
                curveVisual->TrackPoint(e.x, e.y);
                curveVisual->StartBend();
            }
            shapeSound->Stop();
            shapeSound->Start(e.x, e.y);
            phase = 2;
        }
    } else if (dragging && !IsHeld(e) && e.x > 0 && e.y > 0) {
        shapeSound->Update(e.x, e.y);
        if (phase == 2 && curveVisual)
            curveVisual->SetControlPoint(e.x, e.y);
    }
    return picking || dragging;
}

void KVXCurvedLineToolInterpreter::DrawShape()
{
    if (curveVisual)
        StrokePoints(curveVisual->Points(), curveVisual->PointCount());
}

// The text box's rectangle.

KVXTextRectangleShapeToolInterpreter::KVXTextRectangleShapeToolInterpreter(
    KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas, BrushBase* brush,
    MMCursor* cursor)
    : KVXShapeInterpreter(host, stage, canvas, brush, cursor, kShapeSoundId)
{
}

KVXShapeVisual* KVXTextRectangleShapeToolInterpreter::MakeFeedbackVisual()
{
    return new (gDefaultHeap)
        KVXRectangularShapeVisual(canvas, startPoint.x, startPoint.y, kFeedbackLayer);
}

bool KVXTextRectangleShapeToolInterpreter::Interpret(const MMStageEvent& e)
{
    if (HandlePicking(e, dragging != 0))
        return picking != 0;
    if (HandleDrag(e, false) && brush) {
        BrushDab dab;
        dab.Set(SampleCoordinate(e.x), SampleCoordinate(e.y), kTopSizeIndex, 0, 0);
        brush->BeginStroke(&dab);
    }
    return dragging != 0;
}

void KVXTextRectangleShapeToolInterpreter::DrawShape()
{
    if (auto* text = dynamic_cast<KVXBrushText*>(brush))
        text->PlaceTextBox(shapeBox.left, shapeBox.top, shapeBox.right, shapeBox.bottom);
}
