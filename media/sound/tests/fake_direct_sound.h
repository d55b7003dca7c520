#pragma once
// A DirectSound device and buffers that live in memory: a buffer's play
// cursor moves only when the test moves it, and every call is recorded.
#include <windows.h>
#include "media/sound/direct_sound.h"
#include <memory>
#include <string>
#include <vector>

class FakeBuffer : public IDirectSoundBuffer {
public:
    FakeBuffer(const DSBUFFERDESC& description, std::shared_ptr<std::vector<uint8_t>> memory);

    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }
    STDMETHOD(GetCaps)(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override;
    STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetVolume)(LPLONG value) override { *value = volume; return DS_OK; }
    STDMETHOD(GetPan)(LPLONG value) override { *value = pan; return DS_OK; }
    STDMETHOD(GetFrequency)(LPDWORD value) override { *value = frequency; return DS_OK; }
    STDMETHOD(GetStatus)(LPDWORD value) override;
    STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return DS_OK; }
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID* second,
                    LPDWORD secondBytes, DWORD flags) override;
    STDMETHOD(Play)(DWORD, DWORD, DWORD flags) override;
    STDMETHOD(SetCurrentPosition)(DWORD position) override;
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) override;
    STDMETHOD(SetVolume)(LONG value) override;
    STDMETHOD(SetPan)(LONG value) override;
    STDMETHOD(SetFrequency)(DWORD value) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(Unlock)(LPVOID, DWORD, LPVOID, DWORD) override;
    STDMETHOD(Restore)() override { return DS_OK; }

    uint32_t Size() const { return uint32_t(memory->size()); }
    bool Playing() const { return status & DSBSTATUS_PLAYING; }
    bool Looping() const { return status & DSBSTATUS_LOOPING; }

    DSBUFFERDESC description;
    WAVEFORMATEX format = {};
    std::shared_ptr<std::vector<uint8_t>> memory;
    DWORD play = 0;
    DWORD status = 0;
    LONG volume = 0;
    LONG pan = 0;
    DWORD frequency = 0;
    bool failLock = false;
    ULONG references = 1;
    std::vector<std::string> calls;
};

class FakeDirectSound : public IDirectSound {
public:
    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }
    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER out,
                                 IUnknown*) override;
    STDMETHOD(GetCaps)(LPDSCAPS) override { return E_NOTIMPL; }
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER original, LPLPDIRECTSOUNDBUFFER out) override;
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD level) override;
    STDMETHOD(Compact)() override { return DS_OK; }
    STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetSpeakerConfig)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(LPCGUID) override { return DS_OK; }

    // The secondary buffers made, in order; buffers[k] of the primary too.
    std::vector<std::unique_ptr<FakeBuffer>> buffers;
    FakeBuffer* Last() { return buffers.empty() ? nullptr : buffers.back().get(); }
    ULONG references = 1;
    DWORD cooperativeLevel = 0;
    bool refuseCooperativeLevel = false;
    bool refuseBuffers = false;
};

// The create entry the tests hand to the sound manager: it answers the
// device below, or fails when there is none.
extern FakeDirectSound* gFakeDevice;
HRESULT WINAPI FakeDirectSoundCreate(const GUID*, IDirectSound** out, IUnknown*);
