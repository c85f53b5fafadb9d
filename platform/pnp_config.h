// The Windows 95/98 Configuration Manager's virtual device "\\.\PNPCONF.VXD": it hands out
// the resources (memory windows, I/O ranges, IRQs, DMA channels) assigned to a device node,
// as one 216-byte CMCONFIG record.
//
// The shape is CreateFileA / DeviceIoControl / CloseHandle, with the Win32 error code
// (what GetLastError would say) as the result of each call and outputs untouched on failure.
// The device does not exist on Windows NT; opening it fails there.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// An open handle to the virtual device. 0 is never a valid handle.
using HDevice = std::uintptr_t;

// The path under which the Configuration Manager's device is opened.
constexpr const char* kPnpConfDevicePath = "\\\\.\\PNPCONF.VXD";
// DeviceIoControl code of the query: input is the 4-byte device node identifier
// (little-endian), output the node's CMCONFIG record.
constexpr std::uint32_t kPnpConfGetConfig = 2;
// Size of a CMCONFIG record, packed.
constexpr std::uint32_t kCmConfigSize = 216;

class PnpConfig {
public:
    virtual ~PnpConfig() = default;

    // CreateFileA on a device path. Called once per resource walk (or per node) with
    // kPnpConfDevicePath, no access, no sharing, creation disposition 0 and
    // FILE_FLAG_DELETE_ON_CLOSE (the dynamic-load form for a virtual device). Never creates
    // a file. ERROR_FILE_NOT_FOUND when the device cannot be loaded (always on Windows NT);
    // ERROR_INVALID_PARAMETER for a null path or result.
    virtual std::uint32_t CreateFile(const char* path, std::uint32_t desiredAccess,
                                     std::uint32_t shareMode, std::uint32_t creationDisposition,
                                     std::uint32_t flagsAndAttributes, HDevice* result) = 0;

    // DeviceIoControl. With kPnpConfGetConfig and a node identifier as input, writes the
    // node's kCmConfigSize-byte record into `out` and sets *bytesReturned (which may be
    // null) to the number of bytes written. ERROR_INVALID_HANDLE for a handle that is not
    // open; ERROR_INVALID_PARAMETER for a null or short input; ERROR_INSUFFICIENT_BUFFER when
    // `outSize` is below the record size; ERROR_INVALID_FUNCTION for another control code;
    // another error when the node has no record. Never writes past `outSize` bytes.
    virtual std::uint32_t DeviceIoControl(HDevice device, std::uint32_t controlCode, const void* in,
                                          std::uint32_t inSize, void* out, std::uint32_t outSize,
                                          std::uint32_t* bytesReturned) = 0;

    // CloseHandle. ERROR_INVALID_HANDLE for a handle that is not open.
    virtual std::uint32_t CloseHandle(HDevice device) = 0;
};

// How many bytes of a successful DeviceIoControl's output reach the caller, of an output
// buffer of `outSize` bytes of which the device reported `reported` as written: the whole
// record for kPnpConfGetConfig (at most outSize), the reported count (at most outSize) for
// any other code. The real back-end lets the device write into a zeroed buffer of its own
// and copies this many bytes from it.
std::uint32_t pnpConfigBytesUsed(std::uint32_t controlCode, std::uint32_t outSize,
                                 std::uint32_t reported);

}  // namespace platform
