#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include "platform/win32/hardware/win32_direct_sound.h"

#include "platform/out_of_memory.h"

namespace platform::win32 {
namespace {

using DirectSoundCreateFunction = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

IDirectSound* objectOf(HDirectSound object) {
    return reinterpret_cast<IDirectSound*>(object);
}

}  // namespace

Win32DirectSound::~Win32DirectSound() {
    // Objects a caller forgot: drop them so the library can go.
    for (const auto& [object, library] : objects_) {
        while (objectOf(object)->Release() != 0) {
        }
        FreeLibrary(reinterpret_cast<HMODULE>(library));
    }
}

HResult Win32DirectSound::Create(HDirectSound* result) {
    if (result == nullptr) return DSERR_INVALIDPARAM;
    // A missing library must not bring up the system's "cannot find" box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const HMODULE library = LoadLibraryA("dsound.dll");
    SetErrorMode(oldMode);
    if (library == nullptr) return DSERR_NODRIVER;
    const auto create = reinterpret_cast<DirectSoundCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "DirectSoundCreate")));
    if (create == nullptr) {
        FreeLibrary(library);
        return DSERR_NODRIVER;
    }
    LPDIRECTSOUND directSound = nullptr;
    HRESULT hr = create(nullptr, &directSound, nullptr);
    if (SUCCEEDED(hr) && directSound == nullptr) hr = DSERR_GENERIC;
    if (FAILED(hr)) {
        FreeLibrary(library);
        return hr;
    }
    const auto object = reinterpret_cast<HDirectSound>(directSound);
    if (!completesInMemory([&] { objects_[object] = reinterpret_cast<std::uintptr_t>(library); })) {
        directSound->Release();
        FreeLibrary(library);
        return DSERR_OUTOFMEMORY;
    }
    *result = object;
    return DS_OK;
}

HResult Win32DirectSound::SetCooperativeLevel(HDirectSound object, HWnd window,
                                              std::uint32_t level) {
    if (objects_.count(object) == 0) return DSERR_INVALIDPARAM;
    return objectOf(object)->SetCooperativeLevel(reinterpret_cast<HWND>(window), level);
}

HResult Win32DirectSound::GetSpeakerConfig(HDirectSound object, std::uint32_t* config) {
    if (objects_.count(object) == 0 || config == nullptr) return DSERR_INVALIDPARAM;
    DWORD value = 0;
    const HRESULT hr = objectOf(object)->GetSpeakerConfig(&value);
    if (SUCCEEDED(hr)) *config = value;
    return hr;
}

HResult Win32DirectSound::SetSpeakerConfig(HDirectSound object, std::uint32_t config) {
    if (objects_.count(object) == 0) return DSERR_INVALIDPARAM;
    return objectOf(object)->SetSpeakerConfig(config);
}

std::uint32_t Win32DirectSound::Release(HDirectSound object) {
    const auto found = objects_.find(object);
    if (found == objects_.end()) return 0;
    const ULONG left = objectOf(object)->Release();
    if (left == 0) {
        FreeLibrary(reinterpret_cast<HMODULE>(found->second));
        objects_.erase(found);
    }
    return left;
}

}  // namespace platform::win32
