// The LZ expansion library (LZEXPAND/LZ32): files packed by COMPRESS.EXE ("SZDD" files) are
// opened, expanded into a new file and closed, as LZOpenFileA, LZCopy and LZClose offer it.
//
// Handles are the small non-negative numbers LZOpenFile hands out; a negative number is one
// of the LZERROR_* codes. An uncompressed source is copied as it is.
#pragma once

#include <cstdint>

#if !defined(_WINDOWS_) && !defined(_WINDOWS_H)
constexpr std::uint16_t OF_READ = 0x0000;
constexpr std::uint16_t OF_WRITE = 0x0001;
constexpr std::uint16_t OF_SHARE_DENY_WRITE = 0x0020;
constexpr std::uint16_t OF_CREATE = 0x1000;
constexpr std::int32_t LZERROR_BADINHANDLE = -1;
constexpr std::int32_t LZERROR_BADOUTHANDLE = -2;
constexpr std::int32_t LZERROR_READ = -3;
constexpr std::int32_t LZERROR_WRITE = -4;
constexpr std::int32_t LZERROR_GLOBALLOC = -5;
constexpr std::int32_t LZERROR_BADVALUE = -7;
constexpr std::int32_t LZERROR_UNKNOWNALG = -8;
#endif

namespace platform {

class LzExpand {
  public:
    virtual ~LzExpand() = default;

    // LZOpenFileA. `style` OF_READ opens an existing file for expansion (a compressed one is
    // recognised by its header); OF_CREATE creates or empties a file to expand into. Returns
    // a handle of 0 or above; LZERROR_BADINHANDLE when the file cannot be opened or created
    // (a missing file, a folder, a sharing conflict), LZERROR_GLOBALLOC when out of handles.
    // Every handle must be closed with LZClose.
    virtual std::int32_t LZOpenFile(const char* path, std::uint16_t style) = 0;

    // LZCopy: expands the whole of `source` (opened for reading) into `target` (opened with
    // OF_CREATE); an uncompressed source is copied unchanged. Returns the bytes written, or
    // LZERROR_BADINHANDLE / LZERROR_BADOUTHANDLE for a bad handle, LZERROR_READ for a damaged
    // or unreadable source, LZERROR_WRITE when the target cannot be written,
    // LZERROR_UNKNOWNALG for a compression method the library does not know. The target may
    // then hold part of the output.
    virtual std::int32_t LZCopy(std::int32_t source, std::int32_t target) = 0;

    // LZClose. A handle that is not open is ignored.
    virtual void LZClose(std::int32_t file) = 0;
};

}  // namespace platform
