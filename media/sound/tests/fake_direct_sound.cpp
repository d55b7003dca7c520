#include "fake_direct_sound.h"

#include <algorithm>

FakeDirectSound* gFakeDevice = nullptr;

HRESULT WINAPI FakeDirectSoundCreate(const GUID*, IDirectSound** out, IUnknown*)
{
    if (!gFakeDevice) return DSERR_NODRIVER;
    gFakeDevice->AddRef();
    *out = gFakeDevice;
    return DS_OK;
}

FakeBuffer::FakeBuffer(const DSBUFFERDESC& d, std::shared_ptr<std::vector<uint8_t>> memory)
    : description(d), memory(std::move(memory))
{
    if (d.lpwfxFormat) format = *d.lpwfxFormat;
    description.lpwfxFormat = &format;
}

HRESULT FakeBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor)
{
    if (playCursor) *playCursor = play;
    if (writeCursor) *writeCursor = play;
    return DS_OK;
}

HRESULT FakeBuffer::GetStatus(LPDWORD value)
{
    *value = status;
    return DS_OK;
}

HRESULT FakeBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes,
                         LPVOID* second, LPDWORD secondBytes, DWORD)
{
    calls.push_back("lock " + std::to_string(offset) + " " + std::to_string(bytes));
    if (failLock || bytes == 0 || offset >= Size()) return DSERR_INVALIDPARAM;
    *first = memory->data() + offset;
    *firstBytes = std::min(bytes, Size() - offset);
    if (second) *second = nullptr;
    if (secondBytes) *secondBytes = 0;
    return DS_OK;
}

HRESULT FakeBuffer::Unlock(LPVOID, DWORD bytes, LPVOID, DWORD)
{
    calls.push_back("unlock " + std::to_string(bytes));
    return DS_OK;
}

HRESULT FakeBuffer::Play(DWORD, DWORD, DWORD flags)
{
    calls.push_back(flags & DSBPLAY_LOOPING ? "play looping" : "play once");
    status = DSBSTATUS_PLAYING | (flags & DSBPLAY_LOOPING ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT FakeBuffer::SetCurrentPosition(DWORD position)
{
    calls.push_back("position " + std::to_string(position));
    play = position;
    return DS_OK;
}

HRESULT FakeBuffer::SetFormat(LPCWAVEFORMATEX value)
{
    format = *value;
    calls.push_back("format");
    return DS_OK;
}

HRESULT FakeBuffer::SetVolume(LONG value)
{
    calls.push_back("volume " + std::to_string(value));
    volume = value;
    return DS_OK;
}

HRESULT FakeBuffer::SetPan(LONG value)
{
    calls.push_back("pan " + std::to_string(value));
    pan = value;
    return DS_OK;
}

HRESULT FakeBuffer::SetFrequency(DWORD value)
{
    calls.push_back("frequency " + std::to_string(value));
    frequency = value;
    return DS_OK;
}

HRESULT FakeBuffer::Stop()
{
    calls.push_back("stop");
    status = 0;
    return DS_OK;
}

HRESULT FakeDirectSound::CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER out,
                                           IUnknown*)
{
    if (refuseBuffers || description->dwSize != sizeof(DSBUFFERDESC1)) return DSERR_INVALIDPARAM;
    auto memory = std::make_shared<std::vector<uint8_t>>(description->dwBufferBytes, 0xEE);
    buffers.push_back(std::make_unique<FakeBuffer>(*description, memory));
    *out = buffers.back().get();
    return DS_OK;
}

HRESULT FakeDirectSound::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPLPDIRECTSOUNDBUFFER out)
{
    auto* fake = static_cast<FakeBuffer*>(original);
    buffers.push_back(std::make_unique<FakeBuffer>(fake->description, fake->memory));
    *out = buffers.back().get();
    return DS_OK;
}

HRESULT FakeDirectSound::SetCooperativeLevel(HWND, DWORD level)
{
    cooperativeLevel = level;
    return refuseCooperativeLevel ? DSERR_INVALIDPARAM : DS_OK;
}
