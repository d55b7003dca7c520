#pragma once
// The paint program's own screen transitions: pans, reveals, and wipes and a
// dissolve kept to the canvas box.
#include "media/transition_dissolves.h"
#include "media/transition_wipes.h"

// The new picture slides in from the right; the rest is copied plainly.
class KVXTransitionPanRight : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

// The new picture slides in from the left.
class KVXTransitionPanLeft : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

class KVXTransitionWipeUp : public MMTransitionWipeUp {
public:
    explicit KVXTransitionWipeUp(const Box& box) : fixedBox(box) {}
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;

private:
    Box fixedBox;
};

class KVXTransitionWipeDown : public MMTransitionWipeDown {
public:
    explicit KVXTransitionWipeDown(const Box& box) : fixedBox(box) {}
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;

private:
    Box fixedBox;
};

class KVXTransitionUndoDissolve : public MMTransitionDissolve {
public:
    explicit KVXTransitionUndoDissolve(const Box& box) : fixedBox(box) {}
    void Run(MMSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
             const MMColorTable* table) override;

private:
    Box fixedBox;
};

// In 10-pixel steps: the first 13 push the new picture in from the right,
// the rest uncover it where it stands.
class KVXTransitionRevealLeft : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};

// In 10-pixel steps the new picture enters from the left, pushing a band of
// the old one ahead of it.
class KVXTransitionRevealRight : public MMTransitionEffect {
public:
    bool Animate(const Box& box) override;
};
