#include "engine/picture_cursor.h"

#include "engine/enclosure.h"
#include "engine/stage.h"
#include "engine/stage_event.h"
#include "framework/callbacks.h"

namespace {
const int16_t kCursorLayer = 0x7FFF;  // above everything else on the stage
}

bool MMPictureCursorVisual::ContainsPoint(int32_t, int32_t) { return false; }

MMPictureCursor::MMPictureCursor(MMStage* stage, const MMPictureReference& picture,
                                 int32_t hotX, int32_t hotY)
    : stage(stage), visual(new MMPictureCursorVisual), hotX(hotX), hotY(hotY), shown(false)
{
    visual->ConstructWithPicture(picture, kCursorLayer);
    visual->SetHidden(true);
    Attach();
}

MMPictureCursor::MMPictureCursor(MMStage* stage, MMPictureVisual* visual, int32_t hotX,
                                 int32_t hotY)
    : stage(stage), visual(visual), hotX(hotX), hotY(hotY), shown(false)
{
    Attach();
}

void MMPictureCursor::Attach()
{
    stage->TopEnclosure()->AddVisual(visual);
    registration.Attach(stage->CurrentEventRecord());
    registration.SetCallback(
        new AFClassCallback<MMPictureCursor>(this, &MMPictureCursor::FollowStageEvent));
}

MMPictureCursor::~MMPictureCursor()
{
    stage->TopEnclosure()->RemoveVisual(visual);
    registration.SetCallback(nullptr);
    registration.Detach();
    delete visual;
}

void MMPictureCursor::Activate()
{
    shown = true;
    FollowStageEvent();
}

void MMPictureCursor::Deactivate()
{
    shown = false;
    FollowStageEvent();
}

void MMPictureCursor::FollowStageEvent()
{
    const MMStageEvent& event = stage->CurrentEvent();
    if (shown && event.type == kStageEventPointer) {
        visual->SetPosition(event.x - hotX, event.y - hotY);
        visual->SetHidden(false);
    } else if (!shown || event.type == kStageEventPointerLeft) {
        visual->SetHidden(true);
    }
}
