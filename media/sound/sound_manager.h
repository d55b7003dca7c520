#pragma once
// The one object through which the engine reaches the sound device. The
// stage owns it: it binds DirectSound at run time, opens the device when the
// stage thread starts and closes it when it ends, pauses and resumes every
// logical channel with the stage and services them once per frame tick.
// Without DirectSound every channel stays silent and everything else runs.
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <cstdint>
#include "framework/uu_list.h"

struct IDirectSound;
struct IDirectSoundBuffer;
class MMLogicalSoundChannel;

typedef HRESULT(WINAPI* MMDirectSoundCreateEntry)(const GUID* device, IDirectSound** out,
                                                  IUnknown* outer);
typedef uint32_t (*MMSoundClock)();

class MMSoundManager {
public:
    // Binds "DirectSoundCreate" of "DSOUND.DLL" when there is one.
    explicit MMSoundManager(HWND window);
    // With the given create entry and no library; a null entry never makes
    // a device.
    MMSoundManager(HWND window, MMDirectSoundCreateEntry entry);
    virtual ~MMSoundManager();
    MMSoundManager(const MMSoundManager&) = delete;
    MMSoundManager& operator=(const MMSoundManager&) = delete;

    virtual void Enable();
    // The new disable count.
    virtual int Disable();
    virtual void Suspend();
    // The new suspend count.
    virtual int Resume();
    virtual void Service();
    virtual void Deactivate();
    virtual void Activate();

    void AddChannel(MMLogicalSoundChannel* channel);
    void RemoveChannel(MMLogicalSoundChannel* channel);
    // A secondary buffer of the format and size, or null.
    IDirectSoundBuffer* CreateBuffer(uint32_t format, uint32_t size, DWORD extraFlags);
    IDirectSoundBuffer* DuplicateBuffer(IDirectSoundBuffer* buffer);

    IDirectSound* Device() const { return device; }
    bool HasLibrary() const { return library != nullptr; }
    int32_t DisableCount() const { return disableCount; }
    int32_t SuspendCount() const { return suspendCount; }
    UUList<MMLogicalSoundChannel*>& Channels() { return channels; }

    // The engine clock the channels time their sounds by.
    void SetClock(MMSoundClock source) { clock = source; }
    uint32_t Now() const { return clock(); }

private:
    void CreateDirectSound();
    void ReleaseDirectSound();

    int32_t disableCount;
    int32_t suspendCount;
    UUList<MMLogicalSoundChannel*> channels;
    HWND window;
    HMODULE library;
    MMDirectSoundCreateEntry createEntry;
    IDirectSound* device;
    MMSoundClock clock;
};

// The three wave-out calls behind the volume functions; tests put their own.
struct MMWaveOutCalls {
    UINT(WINAPI* getNumDevs)();
    MMRESULT(WINAPI* getVolume)(HWAVEOUT device, LPDWORD volume);
    MMRESULT(WINAPI* setVolume)(HWAVEOUT device, DWORD volume);
};
extern MMWaveOutCalls gWaveOutCalls;

// The lowest left-channel volume of all wave-out devices, 0 to 1024.
int32_t GetWaveVolume();
// Both channels of every wave-out device to level (0 to 1024).
void SetWaveVolume(int32_t level);
