#pragma once
// The slider of a tool tray's modifier list: a scroll bar drawn from a track
// and a thumb picture whose thumb can be hidden and shown with animations.
#include "engine/scroll_bar.h"

class KVXScrollBarVisual : public MMScrollBarVisual {
public:
    using MMScrollBarVisual::MMScrollBarVisual;

    // True hides the thumb (playing its hide animation), false shows it
    // again; nothing when it is already so.
    virtual void SetThumbHidden(bool hidden) = 0;
};
