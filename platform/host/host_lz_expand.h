// LZ expansion on the simulated machine: the files are reached through the machine's file
// back-end, and "SZDD" files are expanded by libmspack's SZDD decompressor, in memory.
#pragma once

#include <cstdint>
#include <map>

#include "platform/files.h"
#include "platform/lz_expand.h"

namespace platform::host {

class HostLzExpand : public LzExpand {
  public:
    HostLzExpand() = default;
    ~HostLzExpand() override;
    HostLzExpand(const HostLzExpand&) = delete;
    HostLzExpand& operator=(const HostLzExpand&) = delete;

    std::int32_t LZOpenFile(const char* path, std::uint16_t style) override;
    std::int32_t LZCopy(std::int32_t source, std::int32_t target) override;
    void LZClose(std::int32_t file) override;

    // Handles opened and not yet closed, for a leak check.
    std::size_t openHandleCount() const { return open_.size(); }

  private:
    struct OpenFile {
        FileHandle file = kInvalidFileHandle;
        bool forWriting = false;
    };
    std::map<std::int32_t, OpenFile> open_;
    std::int32_t next_ = 0;
    static constexpr std::size_t kMaxHandles = 16;  // as LZ32 keeps them
};

}  // namespace platform::host
