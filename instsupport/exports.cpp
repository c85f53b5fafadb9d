// The exports of hvgenins.dll, stdcall, under their undecorated names (hvgenins.def). Each
// installs the Win32 machine on first use; an allocation that fails on the way gives the
// export's failure result.
#include <windows.h>

#include "instsupport/decompress_copy.h"
#include "instsupport/lead_bytes.h"
#include "instsupport/overwrite_check.h"
#include "instsupport/pattern_match.h"
#include "instsupport/setup_utilities.h"
#include "instsupport/uninstall.h"
#include "platform/out_of_memory.h"
#include "platform/win32/win32_machine.h"

namespace {

bool systemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

void prepare() {
    // The back-ends the library reaches, and no others (no card, security or INF reader).
    using namespace platform::win32;
    ensureProcessMachine(
        {registryPart, filesPart, systemPart, userInterfacePart, shellPart, lzExpandPart});
    instsupport::setLeadByteTest(systemLeadByte);
}

// Runs one export's operation after prepare(); `failure` when an allocation fails.
template <typename Operation>
int guarded(int failure, Operation operation) {
    return platform::unlessOutOfMemory(failure, [&]() -> int {
        prepare();
        return operation();
    });
}

}  // namespace

extern "C" int __stdcall strpat(const char* text, const char* pattern) {
    return guarded(0, [&] { return instsupport::matchPattern(text, pattern); });
}

extern "C" int __stdcall AskOverWrite(const char* makerListPath, const char* installedPath,
                                      const char* newPath, char* installedText, char* newText) {
    return guarded(0, [&] {
        return instsupport::askOverWrite(makerListPath, installedPath, newPath, installedText,
                                         newText);
    });
}

extern "C" int __stdcall DecompressCopyFile(const char* sourcePath, const char* targetName,
                                            char* targetPath) {
    return guarded(instsupport::kDecompressCopyFailed, [&] {
        return instsupport::decompressCopyFile(sourcePath, targetName, targetPath);
    });
}

extern "C" int __stdcall GetDateTimeString(char* text, unsigned long* timeValue) {
    return guarded(1, [&] {
        std::uint32_t value = 0;
        int result = instsupport::getDateTimeString(text, &value);
        if (timeValue) *timeValue = value;
        return result;
    });
}

extern "C" void __stdcall GetHexString(unsigned long value, char* text) {
    // Nothing to report through: a failed allocation is ignored.
    (void)platform::completesInMemory([&] {
        prepare();
        instsupport::getHexString(static_cast<std::uint32_t>(value), text);
    });
}

extern "C" int __stdcall GetVersionString(char* text) {
    return guarded(0, [&] { return instsupport::getVersionString(text); });
}

extern "C" int __stdcall GetOS(void) {
    return guarded(0, [&] { return instsupport::getOs(); });
}

extern "C" int __stdcall GetDocApp(const char* documentPath, char* programPath) {
    return guarded(0, [&] { return instsupport::getDocApp(documentPath, programPath); });
}

extern "C" int __stdcall SelectFileDialog(const char* initialFolder, const char* filter,
                                          char* selectedPath) {
    return guarded(
        0, [&] { return instsupport::selectFileDialog(initialFolder, filter, selectedPath); });
}

extern "C" int __stdcall UninstInitialize(HWND owner, HINSTANCE, unsigned long) {
    return guarded(
        0, [&] { return instsupport::uninstInitialize(reinterpret_cast<platform::HWnd>(owner)); });
}

extern "C" int __stdcall UninstUnInitialize(HWND owner, HINSTANCE, unsigned long) {
    return guarded(0, [&] {
        return instsupport::uninstUnInitialize(reinterpret_cast<platform::HWnd>(owner));
    });
}
