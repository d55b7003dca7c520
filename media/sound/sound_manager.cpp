#include "media/sound/sound_manager.h"

#include "media/sound/direct_sound.h"
#include <algorithm>
#include "framework/thread.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_format.h"

namespace {

WAVEFORMATEX PcmDescription(uint32_t format)
{
    WAVEFORMATEX wave = {};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = SoundIsStereo(format) ? 2 : 1;
    wave.nSamplesPerSec = DWORD(SoundSampleRate(format));
    wave.nAvgBytesPerSec = DWORD(SoundBytesPerSecond(format));
    wave.nBlockAlign = WORD(SoundBytesPerFrame(format));
    wave.wBitsPerSample = SoundIs16Bit(format) ? 16 : 8;
    return wave;
}

// The size of the description without the 3D algorithm field, which the
// device accepts on every platform.
DSBUFFERDESC BufferDescription(DWORD flags, DWORD bytes, WAVEFORMATEX* format)
{
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    return description;
}

}  // namespace

MMSoundManager::MMSoundManager(HWND window)
    : disableCount(1), suspendCount(0), window(window), library(nullptr), createEntry(nullptr),
      device(nullptr), clock(ElapsedMilliseconds)
{
    library = LoadLibraryA("DSOUND.DLL");
    if (!library) return;
    createEntry = reinterpret_cast<MMDirectSoundCreateEntry>(
        reinterpret_cast<void*>(GetProcAddress(library, "DirectSoundCreate")));
    if (!createEntry) {
        FreeLibrary(library);
        library = nullptr;
    }
}

MMSoundManager::MMSoundManager(HWND window, MMDirectSoundCreateEntry entry)
    : disableCount(1), suspendCount(0), window(window), library(nullptr), createEntry(entry),
      device(nullptr), clock(ElapsedMilliseconds)
{
}

MMSoundManager::~MMSoundManager()
{
    if (library) FreeLibrary(library);
}

void MMSoundManager::Enable()
{
    if (--disableCount == 0) CreateDirectSound();
    for (UUUntypedListNode* n = channels.First(); n != channels.End(); n = n->next)
        UUList<MMLogicalSoundChannel*>::ItemOf(n)->LowerDisableCount();
}

int MMSoundManager::Disable()
{
    for (UUUntypedListNode* n = channels.First(); n != channels.End(); n = n->next)
        UUList<MMLogicalSoundChannel*>::ItemOf(n)->RaiseDisableCount();
    if (disableCount == 0) ReleaseDirectSound();
    return ++disableCount;
}

void MMSoundManager::Suspend()
{
    ++suspendCount;
    for (UUUntypedListNode* n = channels.First(); n != channels.End(); n = n->next)
        UUList<MMLogicalSoundChannel*>::ItemOf(n)->AddPause(1);
}

int MMSoundManager::Resume()
{
    for (UUUntypedListNode* n = channels.First(); n != channels.End(); n = n->next)
        UUList<MMLogicalSoundChannel*>::ItemOf(n)->AddPause(-1);
    return --suspendCount;
}

void MMSoundManager::Service()
{
    for (UUUntypedListNode* n = channels.First(); n != channels.End(); n = n->next)
        UUList<MMLogicalSoundChannel*>::ItemOf(n)->Service();
}

void MMSoundManager::Deactivate() { Disable(); }

void MMSoundManager::Activate() { Enable(); }

void MMSoundManager::AddChannel(MMLogicalSoundChannel* channel) { channels.Append(channel); }

void MMSoundManager::RemoveChannel(MMLogicalSoundChannel* channel)
{
    while (UUList<MMLogicalSoundChannel*>::Node* node = channels.Find(channel))
        channels.RemoveAndDelete(node);
}

void MMSoundManager::CreateDirectSound()
{
    device = nullptr;
    if (!createEntry) return;
    IDirectSound* made = nullptr;
    if (FAILED(createEntry(nullptr, &made, nullptr)) || !made) return;
    if (FAILED(made->SetCooperativeLevel(window, DSSCL_EXCLUSIVE))) {
        made->Release();
        return;
    }
    device = made;
    DSBUFFERDESC description =
        BufferDescription(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME, 0, nullptr);
    IDirectSoundBuffer* primary = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &primary, nullptr)) || !primary) return;
    WAVEFORMATEX wave = PcmDescription(SoundFormat);
    primary->SetFormat(&wave);
    primary->Release();
}

void MMSoundManager::ReleaseDirectSound()
{
    if (device) device->Release();
    device = nullptr;
}

IDirectSoundBuffer* MMSoundManager::CreateBuffer(uint32_t format, uint32_t size, DWORD extraFlags)
{
    if (!device) return nullptr;
    WAVEFORMATEX wave = PcmDescription(format);
    DSBUFFERDESC description = BufferDescription(
        extraFlags | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME, size, &wave);
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr))) return nullptr;
    return buffer;
}

IDirectSoundBuffer* MMSoundManager::DuplicateBuffer(IDirectSoundBuffer* buffer)
{
    if (!device || !buffer) return nullptr;
    IDirectSoundBuffer* copy = nullptr;
    if (FAILED(device->DuplicateSoundBuffer(buffer, &copy))) return nullptr;
    return copy;
}

MMWaveOutCalls gWaveOutCalls = {waveOutGetNumDevs, waveOutGetVolume, waveOutSetVolume};

int32_t GetWaveVolume()
{
    UINT devices = gWaveOutCalls.getNumDevs();
    uint32_t lowest = 0xFFFF;
    for (UINT i = 0; i < devices; ++i) {
        DWORD volume = 0;
        if (gWaveOutCalls.getVolume(reinterpret_cast<HWAVEOUT>(UINT_PTR(i)), &volume) ==
            MMSYSERR_NOERROR)
            lowest = std::min<uint32_t>(lowest, volume & 0xFFFF);
    }
    int32_t level = int32_t(lowest >> 6);
    return level == 1023 ? 1024 : level;
}

void SetWaveVolume(int32_t level)
{
    level = std::clamp(level, int32_t(0), int32_t(1023));
    DWORD v = DWORD((level << 6) | (level >> 4));
    UINT devices = gWaveOutCalls.getNumDevs();
    for (UINT i = 0; i < devices; ++i)
        gWaveOutCalls.setVolume(reinterpret_cast<HWAVEOUT>(UINT_PTR(i)), v | (v << 16));
}
