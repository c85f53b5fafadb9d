#include "platform/win32/win32_lz_expand.h"
#include "platform/win32/win32_machine.h"

namespace platform::win32 {

std::int32_t Win32LzExpand::LZOpenFile(const char* path, std::uint16_t style) {
    if (path == nullptr) return LZERROR_BADINHANDLE;
    OFSTRUCT info{};
    return ::LZOpenFileA(const_cast<LPSTR>(path), &info, style);
}

std::int32_t Win32LzExpand::LZCopy(std::int32_t source, std::int32_t target) {
    return ::LZCopy(source, target);
}

void Win32LzExpand::LZClose(std::int32_t file) {
    if (file >= 0) ::LZClose(file);
}

std::unique_ptr<MachinePart> lzExpandPart() {
    return makeBackendPart<Win32LzExpand, LzExpand, &Machine::lz>();
}

}  // namespace platform::win32
