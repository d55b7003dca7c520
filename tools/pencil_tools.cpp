#include "tools/pencil_tools.h"

#include <cstring>

#include "brushes/multi_brush.h"
#include "brushes/path_generator.h"
#include "brushes/std_brush.h"
#include "tools/slider_modes.h"

namespace {
const int16_t kPencilCursorKey = 1;
const int16_t kBundleCursorKey = 2;
const MMResourceId kPencilSound = 472;
}  // namespace

PencilTool::PencilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour)
    : KVXLineModeTool<KVXToolStd>(scene, tableId, sizeType, colour)
{
    cursorIndex = ToolCursorIndex(kPencilCursorKey, cursorIndex);
    soundId = kPencilSound;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

void PencilTool::SetSlider1(int16_t value)
{
    slider1 = value;
    if (brush)
        MakeGenerator();
}

void PencilTool::SetSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
    if (brush) {
        SetBrush(nullptr);
        MakeBrush();
        MakeGenerator();
    }
    HandBrushesToInterpreter();
}

void PencilTool::ChooseDrawMethod() { drawMethodKind = HeightDrawKind(slider2); }

void PencilTool::MakeGenerator()
{
    if (IteratingPathGenerator* generator = MakeLineStyleGenerator(LineStyleOf(slider1)))
        AttachGenerator(generator);
}

void PencilTool::MakeBrush()
{
    if (TargetPlane() == GetCanvasComponentPlane())
        BuildWriteAllBrush();
    KVXStdBrushArgs args(pressures, TargetPlane(), GetCanvasBytePlane());
    SetBrush(NewRaisingOrCarving<KVXBrushStdTransfer, KVXCoverTransfer, KVXPlainPixelTransfer,
                                 KVXColorGeneratorSaturation, KVXOpacityGeneratorTexture>(
        slider2Full != 0, args, colour));
}

void ModifierPencilTool::MakeGenerator()
{
    AttachGenerator(new (gDefaultHeap) IteratingPathGenerator);
}

MMResourceId BundleOffsetTable(int32_t sizeType)
{
    return sizeType >= 0 && sizeType <= 4 ? 509 + sizeType : 511;
}

BundlePencilTool::BundlePencilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                   const uint8_t* colour)
    : KVXToolStd(scene, tableId, sizeType, colour)
{
    std::memset(bristleColours, 255, sizeof bristleColours);
    cursorIndex = ToolCursorIndex(kBundleCursorKey, cursorIndex);
    soundId = kPencilSound;
    SetSlider1(slider1);
    SetSlider2(slider2);
    ChooseDrawMethod();
}

KVXBrushMultiBundle* BundlePencilTool::Bundle() const
{
    return dynamic_cast<KVXBrushMultiBundle*>(brush);
}

void BundlePencilTool::Begin()
{
    KVXToolStd::Begin();
    BuildBristles();
}

void BundlePencilTool::SetSizeType(int32_t type)
{
    if (type == sizeType)
        return;
    KVXToolStd::SetSizeType(type);
    BuildBristles();
}

void BundlePencilTool::SetSlider1(int16_t value)
{
    slider1 = value;
    MakeGenerator();
}

void BundlePencilTool::SetSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    ChooseDrawMethod();
    if (Bundle()) {
        SetBrush(nullptr);
        MakeBrush();
        BuildBristles();
        MakeGenerator();
    }
    if (interpreter)
        ReplaceInterpreter();
}

void BundlePencilTool::ChooseDrawMethod() { drawMethodKind = HeightDrawKind(slider2); }

void BundlePencilTool::MakeGenerator()
{
    if (IteratingPathGenerator* generator = MakeLineStyleGenerator(LineStyleOf(slider1)))
        AttachGenerator(generator);
}

void BundlePencilTool::MakeBrush()
{
    BuildWriteAllBrush();
    int16_t a = SettingsColumn(tableId, sizeType, 30);
    int16_t b = SettingsColumn(tableId, sizeType, 32);
    auto* bundle = new (gDefaultHeap) KVXBrushMultiBundle(GetCanvasComponentPlane());
    auto* own = new (gDefaultHeap) IteratingPathGenerator;
    const double path[4] = {a / 255.0, a / 255.0, double(b), double(b)};
    own->SetParameters(path);
    bundle->SetPathGenerator(own);
    SetBrush(bundle);
}

void BundlePencilTool::BuildBristles()
{
    KVXBrushMultiBundle* bundle = Bundle();
    // Bristles go into a fresh bundle only, however often this is asked.
    if (!bundle || bundle->BristleCount() > 0)
        return;
    int16_t n = SettingsColumn(tableId, sizeType, 28);
    MMRecordTable offsets;
    offsets.Load(BundleOffsetTable(sizeType), 10, gDefaultHeap);
    int32_t placed = offsets.CountRows(0, 0, 0);
    for (int32_t j = 0; j < kMaxColours; ++j) {
        int32_t row = offsets.FindRow(0, 0, j, 2);
        if (row < 0)
            break;
        for (int32_t c = 0; c < 3; ++c)
            bristleColours[j][c] = uint8_t(offsets.ShortAt(row, 2 + 2 * c));
    }
    Pair offset = {0, 0};
    for (int32_t j = 0; j < n; ++j) {
        if (j < placed) {
            offset.x = offsets.ShortAt(offsets.FindRow(0, 0, j, 0), 2);
            offset.y = offsets.ShortAt(offsets.FindRow(0, 0, j, 1), 2);
        }
        KVXStdBrushArgs args(pressures, GetCanvasComponentPlane(), GetCanvasBytePlane());
        BrushBase* bristle =
            NewRaisingOrCarving<KVXBrushStdTransfer, KVXCoverTransfer, KVXPlainPixelTransfer,
                                KVXColorGeneratorOffsetSatBundle, KVXOpacityGeneratorTexture>(
                slider2Full != 0, args, colour);
        bundle->AddBrushAt(bristle, offset);
        delete bristle;
    }
}
