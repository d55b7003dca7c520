#pragma once
// A cursor drawn from a picture: a visual on the stage's top enclosure that
// follows the pointer while the cursor is shown.
#include <cstdint>
#include "engine/picture_collection.h"
#include "engine/shared_stuff.h"
#include "engine/stage_cursors.h"
#include "media/picture_visual.h"

class MMStage;

// Never takes the mouse: the pointer sees through the cursor image.
class MMPictureCursorVisual : public MMPictureVisual {
public:
    bool ContainsPoint(int32_t x, int32_t y) override;
};

class MMPictureCursor : public MMCursor {
public:
    // Builds a hidden cursor visual of the picture.
    MMPictureCursor(MMStage* stage, const MMPictureReference& picture, int32_t hotX, int32_t hotY);
    // Takes over a visual the caller made.
    MMPictureCursor(MMStage* stage, MMPictureVisual* visual, int32_t hotX, int32_t hotY);
    ~MMPictureCursor() override;

    void Activate() override;
    void Deactivate() override;
    bool IsShown() const { return shown; }
    MMPictureVisual* Visual() const { return visual; }

    // Runs on every stage event, and when the cursor is shown or hidden.
    void FollowStageEvent();

private:
    void Attach();

    MMStage* stage;
    MMPictureVisual* visual;
    int32_t hotX;
    int32_t hotY;
    bool shown;
    MMSharedHolder registration;
};
