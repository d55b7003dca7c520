#pragma once
// What the stage needs of the sound manager, which the media layer implements.
#include "framework/geometry.h"

class MMSoundService {
public:
    virtual ~MMSoundService() = default;
    virtual void Enable() = 0;
    virtual int Disable() = 0;
    virtual void Suspend() = 0;
    virtual int Resume() = 0;
    virtual void Service() = 0;
};
