#pragma once
// The painting surface of the creation screen: shows the canvas plane through
// its current draw method at 1x or 2x, animates the methods that move by
// themselves, wipes the picture band by band, keeps the undo copy in step
// with strokes and carries the slate recording as an overlay.
#include <cstdint>
#include <memory>

#include "canvas/draw_method.h"
#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "canvas/work_surface.h"
#include "engine/engine_thread.h"
#include "engine/record_table.h"
#include "media/visual.h"

class KVXCanvasScene;
class KVXSlateRecording;
class KVXMagicSlateToolCollection;
class MMBaseScene;
class MMBoxVisual;
class MMPictureMolecule;
class MMScrollBarMolecule;

class KVXCanvasVisual : public MMOpaqueBoxVisual, public MMLightweightThread {
public:
    KVXCanvasVisual(MMBaseScene* scene, KVXCanvasScene* host, const Box& box, int16_t layer,
                    KVXPlaneComponentTop* plane, UndoSnapshot* undo);
    ~KVXCanvasVisual() override;

    // The visual.
    void Draw(MMSurface* surface) override;
    // After a change to the plane: redraws its dirty box.
    void Invalidate() override;
    void SetEnclosure(MMEnclosure* newEnclosure) override;
    void SetHidden(bool flag) override;
    // The "Canvas Visual Thread" step.
    bool Run() override;

    void SetZoom(bool on);
    bool IsZoomed() const { return zoomed; }
    void OnXZoomSlider();
    void OnYZoomSlider();
    void SetScroll(int32_t x, int32_t y);
    Pair Scroll() const { return {scrollX, scrollY}; }

    // Kinds 0 to 16; any other leaves the canvas without a draw method.
    void SetDrawMethod(int32_t kind, int32_t a, int32_t b, int32_t c = 0);
    KVXDrawMethod* DrawMethod() const { return drawMethod; }
    // A method keeps what it made of the plane when attached (a rendered
    // picture, heights): whoever replaces the whole plane takes it off first.
    KVXDrawMethod* DetachMethod();
    void AttachMethod(KVXDrawMethod* method);
    void BeginTemporaryRemoveHeight();
    void EndTemporaryDrawMethod();
    // Brings a box of the plane up to date in a method that shows a picture
    // rendered once.
    void RefreshDrawMethodRect(const Box& box);

    void Clear();
    void StartWipe();
    bool IsWiping() const { return wiping; }
    void SnapshotForUndo(bool advance);
    void SwapWithUndo();
    // Asks the enclosure to redraw a stage box.
    void InvalidateBox(const Box& box);

    int32_t ViewToCanvasX(int32_t v) const;
    int32_t ViewToCanvasY(int32_t v) const;
    int32_t CanvasToStageX(int32_t c) const;
    int32_t CanvasToStageY(int32_t c) const;

    // The slate recording.
    void StoreSlateStroke(int32_t channel, int32_t frame, const Pair* points, int32_t count,
                          int32_t width, uint32_t color);
    void StopSlatePlayback();
    void StartSlatePlayback();
    bool IsSlatePlaying() const;
    void PauseSlatePlayback();
    void ResumeSlatePlayback();
    bool IsSlatePlaybackPaused() const;
    void SetSlateLoop(bool on);
    void ToggleSlateLoop();
    bool IsSlateLooping() const;
    void SelectSlateChannel(int32_t n);
    void SelectSlateFrame(int32_t n);
    void SetSlateOwner(KVXMagicSlateToolCollection* collection);
    void CopySlateFrame(int32_t channel, int32_t from, int32_t to);
    bool SlateFrameHasContent(int32_t channel, int32_t frame) const;
    void ClearSlateFrame(int32_t channel, int32_t frame);
    uint32_t SlateFrameColor(int32_t channel, int32_t frame) const;
    void SetSlateOverlay(bool on) { slateOverlay = on; }
    KVXSlateRecording* Slate() const { return slate; }

    KVXPlaneComponentTop* Plane() const { return plane; }
    WorkSurface* Work() { return &workSurface; }
    // What was drawn since the last undo snapshot, for the undo show.
    const Box& DrawnBox() const { return drawnBox; }
    void GrowDrawnBox(const Box& area) { drawnBox.Union(area); }
    MMScrollBarMolecule* XSlider() const { return xSlider; }
    MMScrollBarMolecule* YSlider() const { return ySlider; }
    MMPictureMolecule* CornerPicture() const { return cornerPicture; }

private:
    void BuildZoomControls();
    void DrawLastColumnAndRow(const MMBitmap& target) const;
    void InvalidateBounds();
    void DeleteMethod(KVXDrawMethod* method);
    void WipeStep();
    void FinishWipe();
    void ClearBand(const Box& band);
    int32_t Now() const;

    MMBaseScene* scene;
    KVXCanvasScene* host;
    KVXPlaneComponentTop* plane;
    UndoSnapshot* undo;
    KVXSlateRecording* slate = nullptr;
    KVXDrawMethod* drawMethod = nullptr;
    KVXDrawMethod* wipeSavedMethod = nullptr;
    KVXDrawMethod* dragSavedMethod = nullptr;
    WorkSurface workSurface;
    bool zoomed = false;
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    bool slateOverlay = true;
    Box drawnBox = {0, 0, 0, 0};
    bool wiping = false;
    Box wipeBand = {0, 0, 0, 0};
    MMBoxVisual* wipeBlocker = nullptr;
    int32_t wipeStart = -1;
    int32_t wipeEnd = -1;
    MMRecordTable layout;
    MMScrollBarMolecule* xSlider = nullptr;
    MMScrollBarMolecule* ySlider = nullptr;
    MMPictureMolecule* cornerPicture = nullptr;
};

// A new draw method of kind 0 to 16 (null for any other): a and b are its
// creation arguments, c the phaser type.
KVXDrawMethod* MakeDrawMethod(int32_t kind, int32_t a, int32_t b, int32_t c,
                              KVXCanvasScene* host);
