#include "tools/tool_base.h"

#include <algorithm>
#include <cstring>

#include "brushes/path_generator.h"
#include "brushes/std_brush.h"
#include "canvas/canvas_visual.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "framework/registry_key.h"
#include "framework/text.h"
#include "tools/freehand_interpreter.h"
#include "tools/shape_interpreter.h"

namespace {
const int16_t kTopPressure = 255;
const int16_t kTopSlider = 510;

struct ValueName {
    const char* name;
    bool shortPrefix;  // named after the prefix without its last character
};

// The sixteen values in the order they are read and written.
const ValueName kValueNames[16] = {
    {"saturationPressureMin", false}, {"saturationPressureMax", false},
    {"bleedPressureMin", false},      {"bleedPressureMax", false},
    {"opacityPressureMin", false},    {"opacityPressureMax", false},
    {"texturePressureMin", false},    {"texturePressureMax", false},
    {"diameterPressureMin", false},   {"diameterPressureMax", false},
    {"spacingPressureMin", false},    {"spacingPressureMax", false},
    {"slider1value", true},           {"slider2value", true},
    {"heightPressureMin", true},      {"heightPressureMax", true},
};

int16_t Clamp(int32_t v, int16_t top) { return int16_t(std::clamp<int32_t>(v, 0, top)); }
}  // namespace

void DropToolInterpreter(KVXCanvasVisual* canvas, KVXInterpreterWithBrush*& interpreter)
{
    if (!interpreter)
        return;
    interpreter->EndBegunStroke();
    interpreter->ReleaseCapture();
    if (canvas && canvas->GetMouseInterpreter() == interpreter)
        canvas->SetMouseInterpreter(nullptr);
    delete interpreter;
    interpreter = nullptr;
}


void KVXToolPressures::ReadRow(const MMRecordTable& table, int32_t row)
{
    int16_t* pairs[14] = {&saturationMin, &saturationMax, &bleedMin,    &bleedMax,
                          &opacityMin,    &opacityMax,    &textureMin,  &textureMax,
                          &diameterMin,   &diameterMax,   &spacingMin,  &spacingMax,
                          &heightMin,     &heightMax};
    for (int32_t i = 0; i < 14; ++i)
        *pairs[i] = table.ShortAt(row, 2 * i);
    pictureId = table.LongAt(row, 40);
}

KVXStdBrushArgs::KVXStdBrushArgs(const KVXToolPressures& p, KVXPlaneComponent* plane,
                                 KVXPlaneUChar* texture)
    : path{p.spacingMin / 255.0, p.spacingMax / 255.0, double(p.diameterMin), double(p.diameterMax)},
      ramp{uint8_t(p.saturationMax), uint8_t(p.saturationMin), uint8_t(p.bleedMin),
           uint8_t(p.bleedMax)},
      opacity{double(p.textureMax), double(p.opacityMax), double(p.textureMin),
              double(p.opacityMin)},
      heights{uint8_t(p.heightMin), uint8_t(p.heightMax), uint8_t(p.heightMax - p.heightMin)},
      plane(plane),
      texture(texture)
{
    MMPictureReference picture;
    picture.Load(p.pictureId);
    Pair size = picture.GetSize();
    if (size.x > 0 && size.y > 0) {
        nib = new (gDefaultHeap) KVXPlaneUCharTop(size);
        nib->Fill(0);
        nib->LoadFromPicture(picture, {0, 0});
    }
}

KVXStdBrushArgs::~KVXStdBrushArgs() { delete nib; }

int32_t ToolCursorIndex(int16_t key, int32_t fallback)
{
    MMRecordTable table;
    table.Load(kCursorTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(key);
    int32_t index = row >= 0 ? table.LongAt(row, 2) : fallback;
    table.Free();
    return index;
}

int32_t LineStyleOf(int32_t slider1)
{
    double x = slider1 / 510.0;
    if (x != 0)
        x -= 0.01;
    return int32_t(x * 7);
}

MMCursor* KVXToolBase::AppCursor(int32_t n) const
{
    return creationScene ? creationScene->AppCursor(n) : nullptr;
}

// The standard tool.

KVXToolStd::KVXToolStd(KVXCreationHost* creationScene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour)
    : KVXToolBase(creationScene), tableId(tableId), colour(colour), sizeType(sizeType)
{
    LoadTableDefaults();
    LoadWriteAllBrushTable();
    LoadPressureSettings();
}

KVXToolStd::~KVXToolStd()
{
    SavePressureSettings();
    DropToolInterpreter(GetCreationCanvas(), interpreter);
    delete brush;
    delete writeAllBrush;
}

KVXPlaneComponent* KVXToolStd::TargetPlane() const { return GetCanvasComponentPlane(); }

void KVXToolStd::RecomputeRatios()
{
    if (pressures.heightMax != 0)
        heightRatio = double(pressures.heightMin / pressures.heightMax);
    if (pressures.opacityMax != 0)
        opacityRatio = double(pressures.opacityMin / pressures.opacityMax);
}

void KVXToolStd::LoadTableDefaults()
{
    MMRecordTable table;
    table.Load(tableId, kToolRowSize, gDefaultHeap);
    pressures.ReadRow(table, sizeType);
    slider1 = table.ShortAt(sizeType, 36);
    slider2 = table.ShortAt(sizeType, 38);
    slider1Full = slider1 >= 255;
    slider2Full = slider2 >= 255;
    RecomputeRatios();
    table.Free();
}

void KVXToolStd::LoadWriteAllBrushTable()
{
    MMRecordTable table;
    table.Load(kWriteAllTable, kToolRowSize, gDefaultHeap);
    writeAll.ReadRow(table, sizeType);
    table.Free();
}

namespace {
// The fields behind the sixteen names, in their order.
void ValueFields(KVXToolPressures& p, int16_t& slider1, int16_t& slider2, int16_t* out[16])
{
    int16_t* fields[16] = {&p.saturationMin, &p.saturationMax, &p.bleedMin,    &p.bleedMax,
                           &p.opacityMin,    &p.opacityMax,    &p.textureMin,  &p.textureMax,
                           &p.diameterMin,   &p.diameterMax,   &p.spacingMin,  &p.spacingMax,
                           &slider1,         &slider2,         &p.heightMin,   &p.heightMax};
    std::copy(fields, fields + 16, out);
}

void BuildValueName(const char* prefix, const ValueName& value, char* name)
{
    char shortPrefix[256];
    StringCopyBounded(prefix, shortPrefix, sizeof shortPrefix);
    size_t length = std::strlen(shortPrefix);
    if (length > 0)
        shortPrefix[length - 1] = 0;
    StringCopyBounded(value.shortPrefix ? shortPrefix : prefix, name, 256);
    StringAppendBounded(value.name, name, 256);
}
}  // namespace

void KVXToolStd::LoadPressureSettings()
{
    prefix[0] = 0;
    MMRecordTable table;
    table.Load(tableId, kToolRowSize, gDefaultHeap);
    StringAppendBounded(table.StringAt(sizeType, 44), prefix, sizeof prefix);
    table.Free();

    int16_t* fields[16];
    ValueFields(pressures, slider1, slider2, fields);
    UURegistryKey* key = creationScene ? creationScene->SettingsKey() : nullptr;
    bool read[16] = {false};
    for (int32_t i = 0; key && i < 16; ++i) {
        char name[256];
        BuildValueName(prefix, kValueNames[i], name);
        int32_t value = *fields[i];
        read[i] = key->ReadLong(name, value, value);
        // Registry values are untrusted: pressures stay within 0-255 and the
        // sliders within 0-510.
        if (read[i])
            *fields[i] = Clamp(value, (i == 12 || i == 13) ? kTopSlider : kTopPressure);
    }
    for (int32_t i = 0; i < 16; i += 2) {
        if (i != 12 && (read[i] || read[i + 1]) && *fields[i] > *fields[i + 1])
            *fields[i] = *fields[i + 1];
    }
    RecomputeRatios();
}

void KVXToolStd::SavePressureSettings()
{
    int16_t* fields[16];
    ValueFields(pressures, slider1, slider2, fields);
    for (int32_t i = 0; i < 16; i += 2) {
        if (i != 12)
            *fields[i] = std::min(*fields[i], *fields[i + 1]);
    }
    UURegistryKey* key = creationScene ? creationScene->SettingsKey() : nullptr;
    for (int32_t i = 0; key && i < 16; ++i) {
        char name[256];
        BuildValueName(prefix, kValueNames[i], name);
        key->WriteLong(name, *fields[i]);
    }
}

void KVXToolStd::BuildWriteAllBrush()
{
    delete writeAllBrush;
    writeAllBrush = nullptr;
    typedef KVXBrushWriteAll<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightEraser,
                             KVXColorGeneratorColor, KVXOpacityGeneratorNib>
        EraserBrush;
    writeAllBrush = MakeStdBrush<EraserBrush>(writeAll, eraserColour);
    KVXStdBrushArgs args(writeAll, nullptr, nullptr);
    PathGeneratorBase* generator = new (gDefaultHeap) IteratingPathGenerator;
    generator->SetParameters(args.path);
    writeAllBrush->SetPathGenerator(generator);
}

void KVXToolStd::AttachGenerator(PathGeneratorBase* generator)
{
    if (!generator)
        return;
    double p[4] = {pressures.spacingMin / 255.0, pressures.spacingMax / 255.0,
                   double(pressures.diameterMax), double(pressures.diameterMax)};
    generator->SetParameters(p);
    if (brush)
        brush->SetPathGenerator(generator);
    else
        delete generator;
}

void KVXToolStd::MakeGenerator() { AttachGenerator(new (gDefaultHeap) IteratingPathGenerator); }

void KVXToolStd::ChooseDrawMethod() { drawMethodKind = 3; }

void KVXToolStd::MakeInterpreter()
{
    auto* freehand = new (gDefaultHeap) KVXFreeHandToolInterpreter(
        creationScene, Stage(), GetCreationCanvas(), brush, writeAllBrush,
        AppCursor(cursorIndex), soundId);
    freehand->SetPending(creationScene ? creationScene->ColorPickerOwner() : nullptr);
    interpreter = freehand;
}

void KVXToolStd::EndInterpreterStroke()
{
    if (interpreter)
        interpreter->EndBegunStroke();
}

void KVXToolStd::HandBrushesToInterpreter()
{
    if (interpreter)
        interpreter->SetBrushes(brush, writeAllBrush);
}

void KVXToolStd::SetBrush(BrushBase* newBrush)
{
    EndInterpreterStroke();
    delete brush;
    brush = newBrush;
    HandBrushesToInterpreter();
}

void KVXToolStd::ReplaceInterpreter()
{
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    MakeInterpreter();
    if (canvas)
        canvas->SetMouseInterpreter(interpreter);
}

void KVXToolStd::SwapInterpreter(KVXInterpreterWithBrush* made)
{
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    made->SetPending(creationScene ? creationScene->ColorPickerOwner() : nullptr);
    interpreter = made;
    if (canvas)
        canvas->SetMouseInterpreter(interpreter);
}

namespace {
const int32_t kLineCursor = 22;
}

void KVXToolStd::UseFreeHandInterpreter()
{
    if (interpreter)
        SwapInterpreter(new (gDefaultHeap) KVXFreeHandToolInterpreter(
            creationScene, Stage(), GetCreationCanvas(), brush, writeAllBrush,
            AppCursor(cursorIndex), soundId));
}

void KVXToolStd::UseStraightLineInterpreter()
{
    if (interpreter)
        SwapInterpreter(new (gDefaultHeap) KVXStraightLineToolInterpreter(
            creationScene, Stage(), GetCreationCanvas(), brush, AppCursor(kLineCursor)));
}

void KVXToolStd::UseCurvedLineInterpreter()
{
    if (interpreter)
        SwapInterpreter(new (gDefaultHeap) KVXCurvedLineToolInterpreter(
            creationScene, Stage(), GetCreationCanvas(), brush, AppCursor(kLineCursor)));
}

void KVXToolStd::RebuildBrushAndInterpreter()
{
    if (brush) {
        EndInterpreterStroke();
        delete brush;
        brush = nullptr;
        MakeBrush();
        MakeGenerator();
        HandBrushesToInterpreter();
    }
    if (interpreter)
        ReplaceInterpreter();
}

bool KVXToolStd::HeightsFromSlider2(int16_t v, int16_t threshold)
{
    slider2 = v;
    bool full = v >= threshold;
    slider2Full = full;
    pressures.heightMax = int16_t(full ? v - 255 : 255 - v);
    if (pressures.heightMax < 0)
        pressures.heightMax = 0;
    pressures.heightMin = int16_t(pressures.heightMax * heightRatio);
    return full;
}

void KVXToolStd::Begin()
{
    if (!brush)
        MakeBrush();
    MakeGenerator();
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    MakeInterpreter();
    if (canvas) {
        canvas->SetMouseInterpreter(interpreter);
        canvas->SetDrawMethod(drawMethodKind, slider1, slider2, sizeType);
    }
}

void KVXToolStd::DeleteMolecules()
{
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    if (canvas)
        canvas->SetMouseInterpreter(nullptr);
    delete brush;
    brush = nullptr;
    MMBaseScene::DeleteMolecules();
}

void KVXToolStd::SetSizeType(int32_t type)
{
    if (type == sizeType)
        return;
    SavePressureSettings();
    sizeType = type;
    LoadTableDefaults();
    LoadWriteAllBrushTable();
    LoadPressureSettings();
    if (brush) {
        EndInterpreterStroke();
        delete brush;
        brush = nullptr;
        MMBaseScene::DeleteMolecules();
        MakeBrush();
        MakeGenerator();
        HandBrushesToInterpreter();
    }
    SetSlider1(slider1);
    SetSlider2(slider2);
}

// The picture tool.

KVXToolAnim::KVXToolAnim(KVXCreationHost* creationScene, MMResourceId tableId, int32_t sizeType,
                         const uint8_t* colour)
    : KVXToolBase(creationScene), tableId(tableId), colour(colour), sizeType(sizeType)
{
    LoadTable();
}

KVXToolAnim::~KVXToolAnim()
{
    DropToolInterpreter(GetCreationCanvas(), interpreter);
    delete brush;
}

void KVXToolAnim::LoadTable()
{
    // The table is opened and nothing of it is read.
    MMRecordTable table;
    table.Load(tableId, 8, gDefaultHeap);
    table.Free();
}

void KVXToolAnim::EndInterpreterStroke()
{
    if (interpreter)
        interpreter->EndBegunStroke();
}

void KVXToolAnim::SetBrush(BrushBase* newBrush)
{
    EndInterpreterStroke();
    delete brush;
    brush = newBrush;
    if (interpreter)
        interpreter->SetBrushes(brush, nullptr);
}

void KVXToolAnim::Begin()
{
    if (!brush)
        MakeBrush();
    MakeGenerator();
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    MakeInterpreter();
    if (canvas) {
        canvas->SetMouseInterpreter(interpreter);
        canvas->SetDrawMethod(drawMethodKind, 0, 0, 2);
    }
}

void KVXToolAnim::DeleteMolecules()
{
    KVXCanvasVisual* canvas = GetCreationCanvas();
    DropToolInterpreter(canvas, interpreter);
    if (canvas)
        canvas->SetMouseInterpreter(nullptr);
    delete brush;
    brush = nullptr;
    MMBaseScene::DeleteMolecules();
}

void KVXToolAnim::SetSizeType(int32_t type)
{
    if (type == sizeType)
        return;
    EndInterpreterStroke();
    delete brush;
    brush = nullptr;
    sizeType = type;
    LoadTable();
    MakeBrush();
    MakeGenerator();
    if (interpreter)
        interpreter->SetBrushes(brush, nullptr);
}

void KVXToolAnim::AttachGenerator(PathGeneratorBase* generator)
{
    if (!generator)
        return;
    double p[4] = {spacingMin / 255.0, spacingMax / 255.0, double(diameter), double(diameter)};
    generator->SetParameters(p);
    if (brush)
        brush->SetPathGenerator(generator);
    else
        delete generator;
}

void KVXToolAnim::MakeGenerator() { AttachGenerator(new (gDefaultHeap) IteratingPathGenerator); }

void KVXToolAnim::MakeInterpreter()
{
    interpreter = new (gDefaultHeap) KVXFreeHandToolInterpreter(
        creationScene, Stage(), GetCreationCanvas(), brush, nullptr, AppCursor(cursorIndex),
        soundId);
}
