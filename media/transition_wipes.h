#pragma once
// Effects that reveal the new picture by rectangles: wipes, pushes, a box
// growing from the centre, blinds, random boxes and random lines.
#include "media/transition_effect.h"

class MMTransitionWipeLeft : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

class MMTransitionWipeRight : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

class MMTransitionWipeDown : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

class MMTransitionWipeUp : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

// The old picture slides away while the new one slides in behind it.
class MMTransitionPush : public MMTransitionEffect {
protected:
    // dx, dy: the direction the pictures move, one of them 0, the other 1 or -1.
    bool Push(const Box& box, int32_t dx, int32_t dy);
};

class MMTransitionPushRight : public MMTransitionPush {
public:
    bool Animate(const Box& box) override { return Push(box, 1, 0); }
};

class MMTransitionPushLeft : public MMTransitionPush {
public:
    bool Animate(const Box& box) override { return Push(box, -1, 0); }
};

class MMTransitionPushDown : public MMTransitionPush {
public:
    bool Animate(const Box& box) override { return Push(box, 0, 1); }
};

class MMTransitionPushUp : public MMTransitionPush {
public:
    bool Animate(const Box& box) override { return Push(box, 0, -1); }
};

class MMTransitionBoxOut : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

class MMTransitionBlinds : public MMTransitionEffect {
public:
    static constexpr int32_t kSteps = 24;
    bool Animate(const Box& box) override;
};

// 16 x 15 boxes of a 64 x 64 grid from the box's top-left, in the dissolve order.
class MMTransitionRandomBoxes : public MMTransitionEffect {
public:
    static constexpr int32_t kCellWidth = 16;
    static constexpr int32_t kCellHeight = 15;
    bool Animate(const Box& box) override;
    static Box Cell(const Box& box, int32_t entry);
};

// One-pixel rows in a shuffled order.
class MMTransitionRandomLines : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};
