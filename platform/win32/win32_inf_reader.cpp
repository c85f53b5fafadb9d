// clang-format off
// <windows.h> first, so the platform headers use its macros instead of defining the constants;
// <setupapi.h> only for INFCONTEXT and the constants: the library is never imported.
#include <windows.h>
#include <setupapi.h>
#include "platform/win32/win32_inf_reader.h"
#include "platform/win32/win32_machine.h"
// clang-format on

namespace platform::win32 {

static_assert(INF_STYLE_WIN4 == 2 && INF_STYLE_OLDNT == 1, "INF styles");
static_assert(ERROR_LINE_NOT_FOUND == 0xE0000102u && ERROR_WRONG_INF_STYLE == 0xE0000100u,
              "SetupAPI error codes");
static_assert(ERROR_EXPECTED_SECTION_NAME == 0xE0000000u &&
                  ERROR_BAD_SECTION_NAME_LINE == 0xE0000001u &&
                  ERROR_SECTION_NAME_TOO_LONG == 0xE0000002u,
              "SetupAPI syntax error codes");
static_assert(sizeof(HINF) == sizeof(HInf), "INF handles are pointer-sized");

// The functions are declared here with the exact SetupAPI signatures, so the library is only
// ever reached through GetProcAddress.
struct Win32InfReader::Api {
    using OpenFn = HINF(WINAPI*)(PCSTR, PCSTR, DWORD, PUINT);
    using CloseFn = VOID(WINAPI*)(HINF);
    using FindFirstFn = BOOL(WINAPI*)(HINF, PCSTR, PCSTR, PINFCONTEXT);
    using FindNextFn = BOOL(WINAPI*)(PINFCONTEXT, PINFCONTEXT);
    using FindNextMatchFn = BOOL(WINAPI*)(PINFCONTEXT, PCSTR, PINFCONTEXT);
    using GetStringFn = BOOL(WINAPI*)(PINFCONTEXT, DWORD, PSTR, DWORD, PDWORD);
    using GetIntFn = BOOL(WINAPI*)(PINFCONTEXT, DWORD, PINT);
    using GetLineTextFn = BOOL(WINAPI*)(PINFCONTEXT, HINF, PCSTR, PCSTR, PSTR, DWORD, PDWORD);
    using GetFieldCountFn = DWORD(WINAPI*)(PINFCONTEXT);
    using EnumSectionsFn = BOOL(WINAPI*)(HINF, UINT, PSTR, UINT, UINT*);

    HMODULE module = nullptr;
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    FindFirstFn findFirst = nullptr;
    FindNextFn findNext = nullptr;
    FindNextMatchFn findNextMatch = nullptr;
    GetStringFn getString = nullptr;
    GetIntFn getInt = nullptr;
    GetLineTextFn getLineText = nullptr;
    GetFieldCountFn getFieldCount = nullptr;
    EnumSectionsFn enumSections = nullptr;  // optional: not in the Windows 9x SetupAPI

    template <typename Fn>
    bool bind(Fn* target, const char* name) {
        *target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        return *target != nullptr;
    }

    bool load(const char* library) {
        // A system without the library must not ask the user for a disk or a file.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        module = LoadLibraryA(library);
        SetErrorMode(oldMode);
        if (module == nullptr) return false;
        bool all = bind(&open, "SetupOpenInfFileA");
        all = bind(&close, "SetupCloseInfFile") && all;
        all = bind(&findFirst, "SetupFindFirstLineA") && all;
        all = bind(&findNext, "SetupFindNextLine") && all;
        all = bind(&findNextMatch, "SetupFindNextMatchLineA") && all;
        all = bind(&getString, "SetupGetStringFieldA") && all;
        all = bind(&getInt, "SetupGetIntField") && all;
        all = bind(&getLineText, "SetupGetLineTextA") && all;
        all = bind(&getFieldCount, "SetupGetFieldCount") && all;
        bind(&enumSections, "SetupEnumInfSectionsA");
        return all;
    }

    ~Api() {
        if (module != nullptr) FreeLibrary(module);
    }
};

namespace {

INFCONTEXT toWin32(const InfContext& context) {
    INFCONTEXT result;
    result.Inf = reinterpret_cast<PVOID>(context.inf);
    result.CurrentInf = reinterpret_cast<PVOID>(context.currentInf);
    result.Section = context.section;
    result.Line = context.line;
    return result;
}

InfContext fromWin32(const INFCONTEXT& context) {
    InfContext result;
    result.inf = reinterpret_cast<HInf>(context.Inf);
    result.currentInf = reinterpret_cast<std::uintptr_t>(context.CurrentInf);
    result.section = context.Section;
    result.line = context.Line;
    return result;
}

}  // namespace

// The code of a call that returned FALSE. SetupAPI leaves some failures without one (Wine
// clears it for a field that does not exist); those read ERROR_INVALID_PARAMETER.
std::uint32_t Win32InfReader::lastError() {
    const DWORD error = GetLastError();
    noSystemCode_ = error == ERROR_SUCCESS;
    return noSystemCode_ ? ERROR_INVALID_PARAMETER : static_cast<std::uint32_t>(error);
}

Win32InfReader::Win32InfReader(const char* library) : api_(new Api) {
    if (!api_->load(library)) {
        api_.reset();
        fallback_.reset(new inf::PortableInfReader);
    }
}

Win32InfReader::~Win32InfReader() = default;

std::uint32_t Win32InfReader::OpenInfFile(const char* path, std::uint32_t style, HInf* result,
                                          std::uint32_t* errorLine) {
    if (fallback_) return fallback_->OpenInfFile(path, style, result, errorLine);
    if (path == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    UINT line = 0;
    SetLastError(ERROR_SUCCESS);
    const HINF inf = api_->open(path, nullptr, style, &line);
    if (inf == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (errorLine != nullptr && (error & 0xE0000000u) == 0xE0000000u) *errorLine = line;
        return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : static_cast<std::uint32_t>(error);
    }
    *result = reinterpret_cast<HInf>(inf);
    return ERROR_SUCCESS;
}

void Win32InfReader::CloseInfFile(HInf inf) {
    if (fallback_) return fallback_->CloseInfFile(inf);
    if (inf != kInvalidInf) api_->close(reinterpret_cast<HINF>(inf));
}

std::uint32_t Win32InfReader::FindFirstLine(HInf inf, const char* section, const char* key,
                                            InfContext* context) {
    if (fallback_) return fallback_->FindFirstLine(inf, section, key, context);
    noSystemCode_ = false;
    if (inf == kInvalidInf) return ERROR_INVALID_HANDLE;
    if (section == nullptr || context == nullptr) return ERROR_INVALID_PARAMETER;
    INFCONTEXT found = {};
    SetLastError(ERROR_SUCCESS);
    if (!api_->findFirst(reinterpret_cast<HINF>(inf), section, key, &found)) return lastError();
    *context = fromWin32(found);
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::FindNextLine(const InfContext* in, InfContext* out) {
    if (fallback_) return fallback_->FindNextLine(in, out);
    noSystemCode_ = false;
    if (in == nullptr || out == nullptr) return ERROR_INVALID_PARAMETER;
    INFCONTEXT from = toWin32(*in);
    INFCONTEXT to = from;
    SetLastError(ERROR_SUCCESS);
    if (!api_->findNext(&from, &to)) return lastError();
    *out = fromWin32(to);
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::FindNextMatchLine(const InfContext* in, const char* key,
                                                InfContext* out) {
    if (fallback_) return fallback_->FindNextMatchLine(in, key, out);
    noSystemCode_ = false;
    if (in == nullptr || out == nullptr) return ERROR_INVALID_PARAMETER;
    INFCONTEXT from = toWin32(*in);
    INFCONTEXT to = from;
    SetLastError(ERROR_SUCCESS);
    if (!api_->findNextMatch(&from, key, &to)) return lastError();
    *out = fromWin32(to);
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::GetStringField(const InfContext* context, std::uint32_t index,
                                             char* buffer, std::uint32_t size,
                                             std::uint32_t* required) {
    if (fallback_) return fallback_->GetStringField(context, index, buffer, size, required);
    noSystemCode_ = false;
    if (context == nullptr) return ERROR_INVALID_PARAMETER;
    INFCONTEXT line = toWin32(*context);
    DWORD needed = 0;
    SetLastError(ERROR_SUCCESS);
    if (!api_->getString(&line, index, nullptr, 0, &needed)) return lastError();
    if (required != nullptr) *required = needed;
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (needed > size) return ERROR_INSUFFICIENT_BUFFER;
    SetLastError(ERROR_SUCCESS);
    if (!api_->getString(&line, index, buffer, size, nullptr)) return lastError();
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::GetIntField(const InfContext* context, std::uint32_t index,
                                          std::int32_t* value) {
    if (fallback_) return fallback_->GetIntField(context, index, value);
    noSystemCode_ = false;
    if (context == nullptr || value == nullptr) return ERROR_INVALID_PARAMETER;
    INFCONTEXT line = toWin32(*context);
    INT result = 0;
    SetLastError(ERROR_SUCCESS);
    if (!api_->getInt(&line, index, &result)) return lastError();
    *value = result;
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::GetLineText(const InfContext* context, HInf inf, const char* section,
                                          const char* key, char* buffer, std::uint32_t size,
                                          std::uint32_t* required) {
    if (fallback_) {
        return fallback_->GetLineText(context, inf, section, key, buffer, size, required);
    }
    noSystemCode_ = false;
    if (context == nullptr && (inf == kInvalidInf || section == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    INFCONTEXT line = {};
    if (context != nullptr) line = toWin32(*context);
    PINFCONTEXT linePointer = context != nullptr ? &line : nullptr;
    const HINF handle = reinterpret_cast<HINF>(inf);
    DWORD needed = 0;
    SetLastError(ERROR_SUCCESS);
    if (!api_->getLineText(linePointer, handle, section, key, nullptr, 0, &needed)) {
        return lastError();
    }
    if (required != nullptr) *required = needed;
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (needed > size) return ERROR_INSUFFICIENT_BUFFER;
    SetLastError(ERROR_SUCCESS);
    if (!api_->getLineText(linePointer, handle, section, key, buffer, size, nullptr)) {
        return lastError();
    }
    return ERROR_SUCCESS;
}

std::uint32_t Win32InfReader::GetFieldCount(const InfContext* context) {
    if (fallback_) return fallback_->GetFieldCount(context);
    if (context == nullptr) return 0;
    INFCONTEXT line = toWin32(*context);
    return api_->getFieldCount(&line);
}

std::uint32_t Win32InfReader::EnumInfSection(HInf inf, std::uint32_t index, char* buffer,
                                             std::uint32_t size, std::uint32_t* required) {
    if (fallback_) return fallback_->EnumInfSection(inf, index, buffer, size, required);
    noSystemCode_ = false;
    if (api_->enumSections == nullptr) return ERROR_NOT_SUPPORTED;
    if (inf == kInvalidInf) return ERROR_INVALID_HANDLE;
    const HINF handle = reinterpret_cast<HINF>(inf);
    UINT needed = 0;
    SetLastError(ERROR_SUCCESS);
    if (!api_->enumSections(handle, index, nullptr, 0, &needed)) return lastError();
    if (required != nullptr) *required = needed;
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (needed > size) return ERROR_INSUFFICIENT_BUFFER;
    SetLastError(ERROR_SUCCESS);
    if (!api_->enumSections(handle, index, buffer, size, nullptr)) return lastError();
    return ERROR_SUCCESS;
}

std::unique_ptr<MachinePart> infReaderPart() {
    return makeBackendPart<Win32InfReader, InfReader, &Machine::inf>();
}

}  // namespace platform::win32
