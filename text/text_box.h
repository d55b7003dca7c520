#pragma once
// The text box on the canvas: a rich-edit proxy that remembers its format,
// is placed, scaled and moved by the child within the canvas area, paints
// its text into the canvas when committed, and leaves a snapshot of itself
// (the cloak) while something must be drawn over it.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "engine/record_table.h"
#include "media/visual.h"
#include "text/rich_text_proxy.h"
#include "text/text_commit.h"

class MMGenericSoundChannel;
class MMPictureButtonVisual;
class WinMMOffscreenSurface;

// Record tables of the box: the handle pictures and the handle sounds.
enum : MMResourceId { kTextScaleHandleTable = 765, kTextMoveHandleTable = 766 };
enum : MMResourceId { kStampSoundsTable = 1008 };
enum : int16_t { kSoundScaleStart = 3, kSoundMoveStart = 4, kSoundHandleEnd = 5 };

// A snapshot of the box standing in for it.
class KVXTextCloakVisual : public MMOpaqueBoxVisual {
public:
    // Null surface when one cannot be made: check Surface().
    explicit KVXTextCloakVisual(const Box& box);
    ~KVXTextCloakVisual() override;
    void Draw(MMSurface* surface) override;
    WinMMOffscreenSurface* Surface() const { return snapshot; }

private:
    WinMMOffscreenSurface* snapshot;
};

class KVXTextEditWrapper : public MMRichTextProxyMolecule, public KVXTextDrawing {
public:
    // Hidden, 100 x 100 at (0, 0); loads the rich-edit library first. The
    // canvas is not owned; canvasArea is its box on the stage.
    KVXTextEditWrapper(MMBaseScene* scene, KVXTextCanvas* canvas, const Box& canvasArea);
    ~KVXTextEditWrapper() override;

    void SetFaceName(const char* name);
    void SetTextSize(int32_t pixels);
    void SetTextColor(const MMColor& colour);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetPlain();
    // Empties the box and applies the stored format to it again.
    void ReapplyFormat();

    void Show() override;
    void Hide() override;
    void PlaceBox(const Box& rect);
    void PlaceAt(const Pair& point);
    bool RenderTextIntoCanvas(int32_t opacity, int32_t relief);
    void Cloak();
    void Uncloak();

    // The handles from tables 765 and 766, on layer 199, hidden.
    void MakeHandles();
    void BeginScale(int32_t x, int32_t y);
    void ContinueScale(int32_t x, int32_t y);
    void EndScale(int32_t x, int32_t y);
    void BeginMove(int32_t x, int32_t y);
    void ContinueMove(int32_t x, int32_t y);
    void EndMove(int32_t x, int32_t y);

    bool HasText() override { return !IsEmpty(); }
    void DrawTextInto(MMSurface* surface) override { DrawInto(surface); }

    MMPictureButtonVisual* ScaleHandle() const { return scaleHandle; }
    MMPictureButtonVisual* MoveHandle() const { return moveHandle; }
    KVXTextCloakVisual* CloakVisual() const { return cloak; }
    const Box& CanvasArea() const { return canvasArea; }
    const char* StoredFace() const { return face; }
    int16_t StoredSize() const { return size; }
    MMGenericSoundChannel* Channel() const { return channel; }
    int32_t HandleFrequency() const { return frequency; }

private:
    void ApplyBox(const Box& newBox);
    void PlaceHandles();
    void ShowHandles(bool shown);
    void StartHandleSound(int16_t key, const Pair& point);
    void EndHandleSound();
    void PlayBoxSound(int16_t key, bool loop);

    KVXTextCanvas* canvas;
    Box canvasArea;
    MMGenericSoundChannel* channel = nullptr;
    MMRecordTable sounds;
    MMPictureButtonVisual* scaleHandle = nullptr;
    MMPictureButtonVisual* moveHandle = nullptr;
    MMStandardMouseInterpreter* scaleInterpreter = nullptr;
    MMStandardMouseInterpreter* moveInterpreter = nullptr;
    KVXTextCloakVisual* cloak = nullptr;
    Pair grab = {0, 0};
    Pair soundStart = {0, 0};
    int32_t startDistance = 0;
    int32_t frequency = 0x10000;
    char face[33] = {};
    int16_t size = 1;
    MMColor colour;
    uint8_t bold = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
};

// The two handles' interpreters: a press on the handle begins the drag, a
// release (or an event without the button) ends it, anything else goes on.
class KVXTextEditHandleInterpreter : public MMStandardMouseInterpreter {
public:
    KVXTextEditHandleInterpreter(MMStage* stage, KVXTextEditWrapper* box, bool scales);
    bool Interpret(const MMStageEvent& event) override;
    bool Dragging() const { return dragging; }

private:
    MMPictureButtonVisual* Handle() const;

    KVXTextEditWrapper* box;
    bool scales;
    bool dragging = false;
};

typedef KVXTextEditHandleInterpreter KVXTextEditScaleManipulatorInterpreter;
typedef KVXTextEditHandleInterpreter KVXTextEditMoveManipulatorInterpreter;
