#pragma once
// What the stage needs of the sound manager and of transition effects. The
// media layer's sound manager and transition effects implement these.
#include "framework/geometry.h"

class MMColorTable;
class MMControlSurface;
class WinMMOffscreenSurface;

class MMSoundService {
public:
    virtual ~MMSoundService() = default;
    virtual void Enable() = 0;
    virtual int Disable() = 0;
    virtual void Suspend() = 0;
    virtual int Resume() = 0;
    virtual void Service() = 0;
};

class MMStageTransition {
public:
    virtual ~MMStageTransition() = default;
    // Copies box of the offscreen surface to the window, as an animation;
    // the table, when given, is applied with the first picture.
    virtual void Run(MMControlSurface* screen, WinMMOffscreenSurface* offscreen, const Box& box,
                     const MMColorTable* table) = 0;
};
