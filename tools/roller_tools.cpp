#include "tools/roller_tools.h"

#include "brushes/path_generator.h"
#include "brushes/sprayer_brushes.h"
#include "canvas/canvas_visual.h"
#include "tools/interpreter_with_brush.h"

KVXToolImageRoller::KVXToolImageRoller(KVXCreationHost* scene, const uint8_t* colour,
                                       MMResourceId tableId, int32_t sizeType, Quiet)
    : KVXToolAnim(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(kRollerCursorKey, cursorIndex);
    soundId = kRollerSound;
}

KVXToolImageRoller::KVXToolImageRoller(KVXCreationHost* scene, const uint8_t* colour,
                                       MMResourceId tableId, int32_t sizeType)
    : KVXToolImageRoller(scene, colour, tableId, sizeType, Quiet{})
{
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void KVXToolImageRoller::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value >= 256;
}

void KVXToolImageRoller::SetSlider2(int16_t value)
{
    slider2 = value;
    bool full = value >= 256;
    slider2Full = full;
    heightMax = int16_t(full ? value - 255 : 255 - value);
    ChooseDrawMethod();
    if (heightMax < 0)
        heightMax = 0;
    heightMin = int16_t(heightMax * heightRatio);
    if (brush) {
        EndInterpreterStroke();
        delete brush;
        brush = nullptr;
        MakeBrush();
        MakeGenerator();
        if (interpreter)
            interpreter->SetBrushes(brush, nullptr);
    }
    if (interpreter) {
        KVXCanvasVisual* canvas = GetCreationCanvas();
        DropToolInterpreter(canvas, interpreter);
        MakeInterpreter();
        if (canvas)
            canvas->SetMouseInterpreter(interpreter);
    }
}

void KVXToolImageRoller::MakeGenerator()
{
    AttachGenerator(new (gDefaultHeap) DirectionalPathGenerator);
}

template <class PT>
void KVXToolImageRoller::BuildSprayer()
{
    double path[4] = {spacingMin / 255.0, spacingMax / 255.0, double(diameter), double(diameter)};
    uint8_t heights[3] = {uint8_t(heightMin), uint8_t(heightMax), uint8_t(heightMax - heightMin)};
    double opacity[4] = {80 / 255.0, 80 / 255.0, 255.0, 255.0};
    std::vector<int32_t> pictures = ReadDirectionPictures(tableId, sizeType, gDefaultHeap);
    BrushBase* sprayer;
    if (slider2Full)
        sprayer = new (gDefaultHeap) KVXBrushDirectionalSprayer<KVXCoverTransfer, PT, KVXHeightTransfer>(
            path, heights, GetCanvasComponentPlane(), GetCanvasBytePlane(), colour, opacity, pictures);
    else
        sprayer = new (gDefaultHeap) KVXBrushDirectionalSprayer<KVXCoverTransfer, PT, KVXHeightCarve>(
            path, heights, GetCanvasComponentPlane(), GetCanvasBytePlane(), colour, opacity, pictures);
    auto* generator = new (gDefaultHeap) DirectionalPathGenerator;
    generator->SetParameters(path);
    sprayer->SetPathGenerator(generator);
    SetBrush(sprayer);
}

void KVXToolImageRoller::MakeBrush() { BuildSprayer<KVXImageRollerPixelTypeTransfer>(); }

KVXToolInvisibleImageRoller::KVXToolInvisibleImageRoller(KVXCreationHost* scene,
                                                         const uint8_t* colour,
                                                         MMResourceId tableId, int32_t sizeType)
    : KVXToolImageRoller(scene, colour, tableId, sizeType, Quiet{})
{
    ChooseDrawMethod();
}

void KVXToolInvisibleImageRoller::MakeBrush() { BuildSprayer<KVXInvisibleInkPixelTypeTransfer>(); }
