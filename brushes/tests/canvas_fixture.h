#pragma once
// A canvas visual on a stage driven from the test, for the brushes that
// need the canvas visual: its bounds, its draw method, its work surface.
#include <gtest/gtest.h>

#include "brush_test_support.h"
#include "canvas/canvas_visual.h"
#include "engine/tests/stage_fixture.h"
#include "fake_canvas_scene.h"

class CanvasVisualFixture : public ::testing::Test {
protected:
    explicit CanvasVisualFixture(int32_t width = 40, int32_t height = 20)
        : bare(false), scene(&bare.stage, &calls), plane(width, height), undo(plane),
          canvas(&scene, &host, {10, 10, 10 + width, 10 + height}, 10, &plane, &undo)
    {
        bare.stage.StartClock();
    }

    BareStage bare;
    CallLog calls;
    RecordingScene scene;
    FakeCanvasScene host;
    BlankCanvas plane;
    UndoSnapshot undo;
    KVXCanvasVisual canvas;
};
