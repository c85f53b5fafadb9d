#include <windows.h>

#include "platform/win32/hardware/win32_pnp_config.h"

#include <vector>

#include "platform/out_of_memory.h"

namespace platform::win32 {
namespace {

// The error of the call that just failed. A virtual device may fail without setting one;
// that must not read as success.
std::uint32_t lastError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

}  // namespace

std::uint32_t Win32PnpConfig::CreateFile(const char* path, std::uint32_t desiredAccess,
                                         std::uint32_t shareMode, std::uint32_t creationDisposition,
                                         std::uint32_t flagsAndAttributes, HDevice* result) {
    if (path == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    const HANDLE handle = ::CreateFileA(path, desiredAccess, shareMode, nullptr,
                                        creationDisposition, flagsAndAttributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    *result = reinterpret_cast<HDevice>(handle);
    return ERROR_SUCCESS;
}

std::uint32_t Win32PnpConfig::DeviceIoControl(HDevice device, std::uint32_t controlCode,
                                              const void* in, std::uint32_t inSize, void* out,
                                              std::uint32_t outSize, std::uint32_t* bytesReturned) {
    if (device == 0) return ERROR_INVALID_HANDLE;
    if (out == nullptr && outSize != 0) return ERROR_INVALID_PARAMETER;
    // The device writes into a private buffer, so a failing call leaves the caller's alone.
    std::vector<unsigned char> buffer;
    if (!completesInMemory([&] { buffer.resize(outSize); })) return ERROR_NOT_ENOUGH_MEMORY;
    DWORD returned = 0;
    if (!::DeviceIoControl(reinterpret_cast<HANDLE>(device), controlCode, const_cast<void*>(in),
                           inSize, outSize != 0 ? buffer.data() : nullptr, outSize, &returned,
                           nullptr)) {
        return lastError();
    }
    // The private buffer was zeroed, so bytes the device left alone read as 0.
    const std::uint32_t used = pnpConfigBytesUsed(controlCode, outSize, returned);
    for (std::uint32_t i = 0; i < used; ++i) static_cast<unsigned char*>(out)[i] = buffer[i];
    if (bytesReturned != nullptr) *bytesReturned = used;
    return ERROR_SUCCESS;
}

std::uint32_t Win32PnpConfig::CloseHandle(HDevice device) {
    if (device == 0) return ERROR_INVALID_HANDLE;
    return ::CloseHandle(reinterpret_cast<HANDLE>(device)) ? ERROR_SUCCESS : lastError();
}

}  // namespace platform::win32
