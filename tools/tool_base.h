#pragma once
// The drawing tools: each is a small scene that a tray begins while the tool
// is current. A current tool owns a brush (which owns its path generator)
// and the mouse interpreter it installs on the canvas visual. KVXToolStd
// paints with a pressure-driven brush and keeps per-tool pressure settings
// in its record table and the registry; KVXToolAnim sprays or rolls
// pictures and keeps none.
#include <cstdint>

#include "engine/resource_collection.h"
#include "framework/geometry.h"
#include "framework/heap.h"
#include "brushes/brush_base.h"
#include "canvas/plane.h"
#include "trays/sub_scene.h"

class KVXInterpreterWithBrush;
class MMCursor;
class MMRecordTable;
class PathGeneratorBase;

// Rows of a tool's settings table are 48 bytes; of table 760, 10 bytes.
constexpr int32_t kToolRowSize = 48;
constexpr MMResourceId kWriteAllTable = 524;
constexpr MMResourceId kCursorTable = 760;
// The cursor shown while the stylus's eraser end paints.
constexpr int32_t kEraserEndCursor = 15;

// One set of pressure pairs (min, max; 255 is full scale) and the picture of
// its nib or texture, as a settings row holds them.
struct KVXToolPressures {
    int16_t saturationMin = 0, saturationMax = 0;
    int16_t bleedMin = 0, bleedMax = 0;
    int16_t opacityMin = 0, opacityMax = 0;
    int16_t textureMin = 0, textureMax = 0;
    int16_t diameterMin = 0, diameterMax = 0;
    int16_t spacingMin = 0, spacingMax = 0;
    int16_t heightMin = 0, heightMax = 0;
    MMResourceId pictureId = MM_NO_RESOURCE;

    // Columns 0-26 and 40 of a 48-byte row.
    void ReadRow(const MMRecordTable& table, int32_t row);
};

// The argument list of every standard brush, built from one set of
// pressures: the path parameters, the ramp bytes, the opacity numbers, the
// height range, the plane painted, the nib plane (owned here; the brush
// keeps what it needs of it) and the texture plane.
struct KVXStdBrushArgs {
    double path[4];
    uint8_t ramp[4];
    double opacity[4];
    uint8_t heights[3];
    KVXPlaneComponent* plane = nullptr;
    KVXPlaneUCharTop* nib = nullptr;
    KVXPlaneUChar* texture = nullptr;

    KVXStdBrushArgs(const KVXToolPressures& p, KVXPlaneComponent* plane, KVXPlaneUChar* texture);
    ~KVXStdBrushArgs();
    KVXStdBrushArgs(const KVXStdBrushArgs&) = delete;
    KVXStdBrushArgs& operator=(const KVXStdBrushArgs&) = delete;
};

// The int32 at offset 2 of the row of table 760 keyed key; fallback when the
// table or the row is missing.
int32_t ToolCursorIndex(int16_t key, int32_t fallback);

// The line style of slider 1 (0 to 510), for MakeLineStyleGenerator.
int32_t LineStyleOf(int32_t slider1);

class KVXCanvasVisual;

// Ends the interpreter's begun stroke, lets go of its capture and of the
// canvas that holds it, deletes it and clears the pointer.
void DropToolInterpreter(KVXCanvasVisual* canvas, KVXInterpreterWithBrush*& interpreter);

class KVXToolBase : public KVXSubScene {
public:
    explicit KVXToolBase(KVXCreationHost* creationScene) : KVXSubScene(creationScene) {}

    virtual void SetSizeType(int32_t type) = 0;  // 13
    virtual void Finish(int32_t value) {}        // 14
    // The positions (0 to 510) of the tray's two sliders.
    virtual void SetSlider1(int16_t value) {}    // 15
    virtual void SetSlider2(int16_t value) {}    // 16

    // The interpreter installed on the canvas while the tool is current.
    virtual KVXInterpreterWithBrush* Interpreter() const = 0;
    virtual BrushBase* Brush() const = 0;

    // Cursor n of the application's cursor set.
    MMCursor* AppCursor(int32_t n) const;
};

class KVXToolStd : public KVXToolBase {
public:
    // colour: the tray's colour record (blue, green, red), which must live
    // as long as the tool; null for tools that paint no colour of it.
    KVXToolStd(KVXCreationHost* creationScene, MMResourceId tableId, int32_t sizeType,
               const uint8_t* colour = nullptr);
    ~KVXToolStd() override;

    void Begin() override;                                   // 1
    void DeleteMolecules() override;                         // 2
    void SetSizeType(int32_t type) override;                 // 13
    virtual void AttachGenerator(PathGeneratorBase* generator);  // 17
    virtual void MakeGenerator();                            // 18
    virtual void ChooseDrawMethod();                         // 19
    virtual void MakeBrush() = 0;                            // 20
    virtual void MakeInterpreter();                          // 21

    KVXInterpreterWithBrush* Interpreter() const override { return interpreter; }
    BrushBase* Brush() const override { return brush; }
    BrushBase* WriteAllBrush() const { return writeAllBrush; }

    // The drawing modes of the pencils, chalks and crayons; nothing while
    // the tool is not current. The lines show cursor 22.
    void UseFreeHandInterpreter();
    void UseStraightLineInterpreter();
    void UseCurvedLineInterpreter();

    // Settings.
    void LoadTableDefaults();
    void LoadWriteAllBrushTable();
    void LoadPressureSettings();
    void SavePressureSettings();
    // Deletes the old write-all brush and builds the eraser end's brush with
    // its own path generator.
    void BuildWriteAllBrush();

    MMResourceId TableId() const { return tableId; }
    int32_t SizeType() const { return sizeType; }
    int32_t CursorIndex() const { return cursorIndex; }
    MMResourceId SoundId() const { return soundId; }
    int32_t DrawMethodKind() const { return drawMethodKind; }
    int16_t Slider1() const { return slider1; }
    int16_t Slider2() const { return slider2; }
    bool Slider1Full() const { return slider1Full != 0; }
    bool Slider2Full() const { return slider2Full != 0; }
    const KVXToolPressures& Pressures() const { return pressures; }
    const KVXToolPressures& WriteAllPressures() const { return writeAll; }
    double OpacityRatio() const { return opacityRatio; }
    double HeightRatio() const { return heightRatio; }
    const char* Prefix() const { return prefix; }
    MMResourceId PictureId() const { return pressures.pictureId; }

    // The plane the brushes paint: the canvas, or a twin's preview.
    virtual KVXPlaneComponent* TargetPlane() const;

protected:
    // A standard brush of the pressures given (the tool's own unless told),
    // painting the target plane; extra follows the standard arguments.
    template <class B, class... Extra>
    B* MakeStdBrush(const KVXToolPressures& p, Extra... extra) const
    {
        KVXStdBrushArgs a(p, TargetPlane(), GetCanvasBytePlane());
        return new (gDefaultHeap)
            B(a.path, a.ramp, a.opacity, a.heights, a.plane, a.nib, a.texture, extra...);
    }
    // Replaces the brush (the old one deleted) and gives the interpreter,
    // if any, the new brushes.
    void SetBrush(BrushBase* newBrush);
    void HandBrushesToInterpreter();
    // After a slider changed what the tool paints with: a new brush and
    // generator when there is a brush, a new interpreter on the canvas when
    // there is one.
    void RebuildBrushAndInterpreter();
    void ReplaceInterpreter();
    // Puts made in the current interpreter's place (deleted, its stroke
    // ended) with the colour-picker owner; nothing while none is current.
    void SwapInterpreter(KVXInterpreterWithBrush* made);
    // The height pair from slider 2 (0 to 510): above the threshold it
    // builds up by v - 255, else carves by 255 - v; the min follows the
    // height ratio. Answers whether slider 2 is full.
    bool HeightsFromSlider2(int16_t v, int16_t threshold);
    // Ends the stroke in progress on the interpreter before its brush goes.
    void EndInterpreterStroke();
    void RecomputeRatios();

    MMResourceId tableId;
    const uint8_t* colour;
    KVXInterpreterWithBrush* interpreter = nullptr;
    BrushBase* brush = nullptr;
    BrushBase* writeAllBrush = nullptr;
    uint8_t eraserColour[3] = {255, 255, 255};
    KVXToolPressures writeAll;
    int32_t sizeType;
    int32_t cursorIndex = 6;
    MMResourceId soundId = 472;
    uint8_t slider1Full = 0;
    uint8_t slider2Full = 0;
    int16_t slider1 = 0;
    int16_t slider2 = 0;
    char prefix[256] = {0};
    KVXToolPressures pressures;
    double opacityRatio = 1.0;
    double heightRatio = 1.0;
    int32_t drawMethodKind = 3;
};

class KVXToolAnim : public KVXToolBase {
public:
    KVXToolAnim(KVXCreationHost* creationScene, MMResourceId tableId, int32_t sizeType,
                const uint8_t* colour = nullptr);
    ~KVXToolAnim() override;

    void Begin() override;                                   // 1
    void DeleteMolecules() override;                         // 2
    void SetSizeType(int32_t type) override;                 // 13
    virtual void AttachGenerator(PathGeneratorBase* generator);  // 17
    virtual void MakeGenerator();                            // 18
    virtual void MakeInterpreter();                          // 19
    virtual void MakeBrush() = 0;                            // 20

    KVXInterpreterWithBrush* Interpreter() const override { return interpreter; }
    BrushBase* Brush() const override { return brush; }
    MMResourceId TableId() const { return tableId; }
    int32_t SizeType() const { return sizeType; }
    int32_t CursorIndex() const { return cursorIndex; }
    MMResourceId SoundId() const { return soundId; }
    int16_t Slider1() const { return slider1; }
    int16_t Slider2() const { return slider2; }

protected:
    void LoadTable();
    void SetBrush(BrushBase* newBrush);
    void EndInterpreterStroke();

    int32_t reserved = -1;
    BrushBase* brush = nullptr;
    int32_t cursorIndex = 6;
    MMResourceId soundId = 456;
    MMResourceId tableId;
    const uint8_t* colour;
    int32_t sizeType;
    KVXInterpreterWithBrush* interpreter = nullptr;
    int32_t drawMethodKind = 3;
    int16_t reservedValue = 255;
    int16_t diameter = 255;
    int16_t spacingMin = 255;
    int16_t spacingMax = 255;
    uint8_t slider1Full = 1;
    uint8_t slider2Full = 1;
    int16_t slider1 = 0;
    int16_t slider2 = 255;
};

// The modifier palette's twin of a standard tool: the same brush painting
// the palette's preview plane, no interpreter and no draw method; ending it
// deletes only the brush.
template <class Tool>
class KVXModifierTwin : public Tool {
public:
    template <class... Args>
    explicit KVXModifierTwin(KVXPlaneComponent* preview, Args... args)
        : Tool(args...), preview(preview)
    {
    }
    void Begin() override
    {
        if (!this->brush)
            this->MakeBrush();
        this->MakeGenerator();
    }
    void DeleteMolecules() override
    {
        delete this->brush;
        this->brush = nullptr;
    }
    void MakeInterpreter() override {}
    KVXPlaneComponent* TargetPlane() const override { return preview; }

private:
    KVXPlaneComponent* preview;
};
