#include "engine/stage_cursors.h"

#include "framework/cursor.h"

MMCursor::~MMCursor() { FreeImage(); }

void MMCursor::SetImage(AFCursor* image)
{
    FreeImage();
    image_ = image;
}

void MMCursor::TakeImage(AFCursor* image)
{
    FreeImage();
    image_ = image;
    ownsImage_ = true;
}

void MMCursor::FreeImage()
{
    if (ownsImage_)
        delete image_;
    image_ = nullptr;
    ownsImage_ = false;
}

namespace {
AFCursor* FrameworkCursor(AFCursor* AFCursorSet::*which)
{
    return gCursorSet ? gCursorSet->*which : nullptr;
}
}  // namespace

MMStageCursorSet::MMStageCursorSet(MMStage* stage)
    : arrow_(new MMCursor(FrameworkCursor(&AFCursorSet::arrow))),
      iBeam_(new MMCursor(FrameworkCursor(&AFCursorSet::iBeam))),
      wait_(new MMCursor(FrameworkCursor(&AFCursorSet::wait))),
      empty_(new MMCursor(FrameworkCursor(&AFCursorSet::empty))),
      stage_(stage)
{
    SetCursor(arrow_);
}

MMStageCursorSet::~MMStageCursorSet()
{
    SetCursorImage(arrow_, FrameworkCursor(&AFCursorSet::arrow));
    SetCursor(arrow_);
    while (busyCount_ > 0)
        PopBusy();
    Refresh();
    if (shown_)
        shown_->Deactivate();
    shown_ = nullptr;
    requested_ = nullptr;
    delete arrow_;
    delete iBeam_;
    delete wait_;
    delete empty_;
}

void MMStageCursorSet::SetCursor(MMCursor* cursor)
{
    if (cursor == requested_)
        return;
    requested_ = cursor;
    if (busyCount_ <= 0)
        Show(cursor);
}

void MMStageCursorSet::Refresh() { Show(busyCount_ > 0 ? wait_ : requested_); }

void MMStageCursorSet::PushBusy()
{
    if (busyCount_ == 0)
        Show(wait_);
    ++busyCount_;
}

void MMStageCursorSet::PopBusy()
{
    --busyCount_;
    if (busyCount_ == 0)
        Show(requested_);
}

void MMStageCursorSet::Show(MMCursor* cursor)
{
    if (cursor != shown_) {
        if (shown_)
            shown_->Deactivate();
        shown_ = cursor;
        if (shown_)
            shown_->Activate();
    }
    AFCursor* image = cursor ? cursor->Image() : nullptr;
    if (image)
        image->Show();
    else
        ::SetCursor(nullptr);
}

void MMStageCursorSet::SetCursorImage(MMCursor* cursor, AFCursor* image)
{
    cursor->SetImage(image);
    Refresh();
}

void MMStageCursorSet::ReplaceCursorImage(MMCursor* cursor, AFCursor* image)
{
    cursor->TakeImage(image);
    Refresh();
}
