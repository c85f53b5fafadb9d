// The real LZ expansion library (lz32.dll). <lzexpand.h> is included here so that every
// file that sees this class sees LZOpenFile renamed the same way.
#pragma once

// clang-format off
#include <windows.h>
#include <lzexpand.h>
// clang-format on

#include "platform/lz_expand.h"

namespace platform::win32 {

class Win32LzExpand : public LzExpand {
  public:
    std::int32_t LZOpenFile(const char* path, std::uint16_t style) override;
    std::int32_t LZCopy(std::int32_t source, std::int32_t target) override;
    void LZClose(std::int32_t file) override;
};

}  // namespace platform::win32
