#pragma once
// The font list on the screen: a closed box showing the chosen face in that
// face, and a list that drops up over the canvas with a row per face (16 at
// most, between two arrows that scroll it), the hovered row lit and the
// chosen face marked. Its interpreter opens, hovers and chooses; its thread
// scrolls while the pointer rests on an arrow.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_thread.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/visual.h"
#include "text/font_list_modifier.h"

class MMGenericSoundChannel;
class MMSystemFont;
class MPTextToolFontScrollList;

// The nine pictures of the list, in their table's order.
enum MPFontListPicture : int32_t {
    kFontBoxPicture,
    kFontRowPicture,
    kFontHoveredRowPicture,
    kFontUpPicture,
    kFontUpPressedPicture,
    kFontDownPicture,
    kFontDownPressedPicture,
    kFontMarkerPicture,
    kFontEdgePicture,
    kFontPictureCount
};

constexpr MMResourceId kFontListOpenSound = 0x40000028;

class MPTextToolFontScrollThread : public MMLightweightThread {
public:
    MPTextToolFontScrollThread(MMStage* stage, MPTextToolFontScrollList* list);
    bool Run() override;

private:
    MPTextToolFontScrollList* list;
};

class MPTextToolFontScrollListMouseInterpreter : public MMStandardMouseInterpreter {
public:
    MPTextToolFontScrollListMouseInterpreter(MMStage* stage, MPTextToolFontScrollList* list,
                                             MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;

private:
    MPTextToolFontScrollList* list;
};

// What the list's faces are for: the text box.
struct MPFontListSetup {
    std::vector<std::string> faces;  // as enumerated; sorted here
    std::string startFace;           // chosen first when installed
    std::string listFace;            // the rows' face and pixel size
    int32_t listSize = 13;
    std::string suffix;              // ends a name cut to its room
    MMPictureID pictures[kFontPictureCount];
};

class MPTextToolFontScrollList : public MMVisual, private MPFontListClient {
public:
    // box: the text box's side (faces chosen, cloak); position: the closed
    // box's top-left.
    MPTextToolFontScrollList(MMStage* stage, const MPFontListSetup& setup, const Pair& position,
                             int16_t layer, MPFontListClient* box, MMCursor* cursor);
    ~MPTextToolFontScrollList() override;

    Box GetBounds() const override;
    Box GetOpaqueBox() const override { return Box{0, 0, 0, 0}; }
    void SetPosition(int32_t x, int32_t y) override;
    Pair GetPosition() const override { return position; }
    bool ContainsPoint(int32_t x, int32_t y) override;
    void Draw(MMSurface* surface) override;

    // The interpreter's event; answers whether the list keeps the pointer.
    bool HandlePointer(const MMStageEvent& event);
    // One step of the thread; false once scrolling stops.
    bool ScrollStep();

    MPTextToolFontListModifier* Model() const { return model.get(); }
    bool IsOpen() const { return model && model->IsOpen(); }
    // The closed box, and the open list's rows (growing up from the box).
    Box NameBox() const;
    Box ListBox() const;
    Box RowBox(int32_t row) const;
    // The row under a point, -1 outside the open list.
    int32_t RowAt(int32_t x, int32_t y) const;
    // A name as drawn in a row or in the closed box, cut to its room.
    std::string FittedRowName(MMSurface* surface, int32_t index);
    MPTextToolFontScrollThread* Thread() const { return thread.get(); }
    MPTextToolFontScrollListMouseInterpreter* Interpreter() const { return mouse.get(); }

private:
    void SetFaceName(const char* face) override;
    void CloakTextBox() override;
    void UncloakTextBox() override;
    void PlayOpenSound() override;
    void Redraw() override;

    std::string Fit(MMSurface* surface, const std::string& name, int32_t room);
    void DrawPicture(MMSurface* surface, int32_t which, const Pair& at);
    void DrawRows(MMSurface* surface);

    MMStage* stage;
    Pair position;
    MPFontListClient* box;
    std::string suffix;
    MMPictureReference pictures[kFontPictureCount];
    Pair rowSize = {0, 0};
    Pair boxSize = {0, 0};
    std::unique_ptr<MMSystemFont> listFont;
    std::unique_ptr<MMSystemFont> chosenFont;
    std::unique_ptr<MPTextToolFontListModifier> model;
    std::unique_ptr<MPTextToolFontScrollListMouseInterpreter> mouse;
    std::unique_ptr<MPTextToolFontScrollThread> thread;
    MMGenericSoundChannel* channel = nullptr;
    Box drawn = {0, 0, 0, 0};
};
