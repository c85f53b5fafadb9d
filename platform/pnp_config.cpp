#include "platform/pnp_config.h"

namespace platform {

std::uint32_t pnpConfigBytesUsed(std::uint32_t controlCode, std::uint32_t outSize,
                                 std::uint32_t reported) {
    // The configuration query always yields one whole record, whatever count the device
    // reports: that count starts at 0, and a virtual device that leaves it there would make
    // every record read empty, its resources gone and every slot a conflict.
    if (controlCode == kPnpConfGetConfig) return outSize < kCmConfigSize ? outSize : kCmConfigSize;
    return reported < outSize ? reported : outSize;
}

}  // namespace platform
