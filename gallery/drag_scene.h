#pragma once
// A scene whose pictures can be dragged from one panel to another: it owns
// the floating drag image and hears of every drag's start, motion and drop.
// While it is busy no drag starts or drops, cursors stay and no press
// sound plays (the gallery's help mode).
#include <cstdint>
#include <memory>

#include "engine/picture_collection.h"
#include "engine/scene.h"
#include "framework/geometry.h"

class MMGenericSoundChannel;
class MMPictureMolecule;
class MMSystemFont;

// Drag kinds.
enum : int32_t {
    kDragBook = 1,
    kDragViewerPage = 2,
    kDragTrashedBook = 3,
    kDragTrashedPage = 4,
};

class MpDragScene : public MMScene {
public:
    explicit MpDragScene(MMStage* stage);
    ~MpDragScene() override;

    void Begin() override;
    void DeleteMolecules() override;

    virtual bool DragOver(int32_t kind, const Pair& point, int16_t entry) = 0;  // 13
    virtual bool Drop(int16_t entry, int32_t kind, const Pair& point) = 0;      // 14
    virtual void HideDragImage();                                              // 15
    virtual void MoveDragImage(const Pair& point);                             // 16
    virtual void SetGrabOffset(const Pair& offset);                            // 17
    virtual void DragStarted(int16_t entry, int32_t kind) {}                   // 18

    void SetDragImage(const MMPictureReference& picture);
    // The drag image's box on the stage (empty when none is shown).
    Box DragImageBox() const;
    bool IsBusy() const { return busy != 0; }
    void SetBusy(bool on) { busy = on ? 1 : 0; }
    MMGenericSoundChannel* Channel() const { return channel; }
    // Labels, the book title, and a third size.
    MMSystemFont* Font(int32_t i) const { return fonts[i].get(); }

protected:
    std::unique_ptr<MMSystemFont> fonts[3];
    MMGenericSoundChannel* channel = nullptr;
    MMPictureMolecule* dragImage = nullptr;
    Pair grabOffset = {0, 0};
    uint8_t busy = 0;
};
