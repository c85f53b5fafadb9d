// The exports of hvgenins.dll, stdcall, under their undecorated names (hvgenins.def). Each
// installs the Win32 machine on first use and lets no C++ exception out: one that escapes
// (out of memory) gives the export's failure result.
#include <windows.h>

#include "instsupport/decompress_copy.h"
#include "instsupport/lead_bytes.h"
#include "instsupport/overwrite_check.h"
#include "instsupport/pattern_match.h"
#include "instsupport/setup_utilities.h"
#include "instsupport/uninstall.h"
#include "platform/win32/win32_machine.h"

namespace {

bool systemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

void prepare() {
    platform::win32::ensureProcessMachine();
    instsupport::setLeadByteTest(systemLeadByte);
}

}  // namespace

extern "C" int __stdcall strpat(const char* text, const char* pattern) {
    try {
        prepare();
        return instsupport::matchPattern(text, pattern);
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall AskOverWrite(const char* makerListPath, const char* installedPath,
                                      const char* newPath, char* installedText, char* newText) {
    try {
        prepare();
        return instsupport::askOverWrite(makerListPath, installedPath, newPath, installedText,
                                         newText);
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall DecompressCopyFile(const char* sourcePath, const char* targetName,
                                            char* targetPath) {
    try {
        prepare();
        return instsupport::decompressCopyFile(sourcePath, targetName, targetPath);
    } catch (...) {
        return instsupport::kDecompressCopyFailed;
    }
}

extern "C" int __stdcall GetDateTimeString(char* text, unsigned long* timeValue) {
    try {
        prepare();
        std::uint32_t value = 0;
        int result = instsupport::getDateTimeString(text, &value);
        if (timeValue) *timeValue = value;
        return result;
    } catch (...) {
        return 1;
    }
}

extern "C" void __stdcall GetHexString(unsigned long value, char* text) {
    try {
        prepare();
        instsupport::getHexString(static_cast<std::uint32_t>(value), text);
    } catch (...) {
    }
}

extern "C" int __stdcall GetVersionString(char* text) {
    try {
        prepare();
        return instsupport::getVersionString(text);
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall GetOS(void) {
    try {
        prepare();
        return instsupport::getOs();
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall GetDocApp(const char* documentPath, char* programPath) {
    try {
        prepare();
        return instsupport::getDocApp(documentPath, programPath);
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall SelectFileDialog(const char* initialFolder, const char* filter,
                                          char* selectedPath) {
    try {
        prepare();
        return instsupport::selectFileDialog(initialFolder, filter, selectedPath);
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall UninstInitialize(HWND owner, HINSTANCE, unsigned long) {
    try {
        prepare();
        return instsupport::uninstInitialize(reinterpret_cast<platform::HWnd>(owner));
    } catch (...) {
        return 0;
    }
}

extern "C" int __stdcall UninstUnInitialize(HWND owner, HINSTANCE, unsigned long) {
    try {
        prepare();
        return instsupport::uninstUnInitialize(reinterpret_cast<platform::HWnd>(owner));
    } catch (...) {
        return 0;
    }
}
