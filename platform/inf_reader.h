// Reading INF files, as the SetupAPI functions SetupOpenInfFileA ... SetupGetLineTextA offer
// it.
//
// The installation engine walks driver INF files only through this interface. On Windows the
// back-end is the system's own SetupAPI (loaded at run time); where a system has none, and on
// the simulated machine, it is our own reader (platform/inf/), which gives the same answers.
//
// The rules every back-end keeps, whatever the file holds:
//  - Section and key names compare without regard to the case of ASCII letters (the
//    system's runtime folds no other letter); ";" starts a comment; values may be quoted
//    ("" inside quotes is one quote); a backslash at the end of a line continues it; blanks
//    around keys and values are dropped; a section named twice is one section.
//  - Texts handed out have %name% replaced from the "Strings" section (%% is one percent; a
//    number names a directory id, %11% the system folder; an unknown name stays as written;
//    a replacement is never itself replaced again). Keys are matched by their replaced text.
//  - Every operation returns a Win32 error code (ERROR_SUCCESS on success) and leaves its
//    outputs untouched on failure unless said otherwise. Text outputs are size-first: the
//    size needed (terminating zero included) goes to *required when that is not null; a
//    buffer that is too small gets ERROR_INSUFFICIENT_BUFFER and not a single byte written.
//  - Texts are 8-bit ANSI (Windows-1252).
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// An open INF file (HINF). kInvalidInf is INVALID_HANDLE_VALUE, never a valid handle.
using HInf = std::uintptr_t;
constexpr HInf kInvalidInf = ~static_cast<std::uintptr_t>(0);

// INFCONTEXT: where a line was found. Filled by the Find operations and only read back by
// this interface; callers copy it freely but never build one themselves.
struct InfContext {
    HInf inf = kInvalidInf;         // the handle the line was found through
    std::uintptr_t currentInf = 0;  // the file of that handle that holds the line
    std::uint32_t section = 0;      // the back-end's number of the section
    std::uint32_t line = 0;         // the line's number within its section
};

}  // namespace platform

// SetupAPI constants with their Win32 values. <setupapi.h>, where a back-end includes it,
// defines the same names as macros; platform/win32/win32_inf_reader.cpp proves the values.
#if !defined(_INC_SETUPAPI)
constexpr std::uint32_t INF_STYLE_OLDNT = 0x00000001u;
constexpr std::uint32_t INF_STYLE_WIN4 = 0x00000002u;
constexpr std::uint32_t ERROR_EXPECTED_SECTION_NAME = 0xE0000000u;
constexpr std::uint32_t ERROR_BAD_SECTION_NAME_LINE = 0xE0000001u;
constexpr std::uint32_t ERROR_SECTION_NAME_TOO_LONG = 0xE0000002u;
constexpr std::uint32_t ERROR_GENERAL_SYNTAX = 0xE0000003u;
constexpr std::uint32_t ERROR_WRONG_INF_STYLE = 0xE0000100u;
constexpr std::uint32_t ERROR_SECTION_NOT_FOUND = 0xE0000101u;
constexpr std::uint32_t ERROR_LINE_NOT_FOUND = 0xE0000102u;
#endif
#if !defined(_WINDOWS_) && !defined(_WINDOWS_H) && !defined(_WINERROR_)
// General Win32 codes that only the INF functions answer with.
constexpr std::uint32_t ERROR_INVALID_DATA = 13;
constexpr std::uint32_t ERROR_FILE_INVALID = 1006;
#endif

namespace platform {

class InfReader {
  public:
    virtual ~InfReader() = default;

    // SetupOpenInfFileA(path, no class, style, errorLine). The engine opens with
    // INF_STYLE_WIN4, which accepts a file only when its "Version" section has a "Signature"
    // of "$Chicago$", "$Windows NT$" or "$Windows 95$" (any case). A name without a folder
    // is looked for in the Windows folder's "Inf" folder, then in the system folder.
    // Results: ERROR_SUCCESS with the handle in *result; ERROR_FILE_NOT_FOUND /
    // ERROR_PATH_NOT_FOUND and the other file errors; ERROR_FILE_INVALID for an empty
    // file; ERROR_WRONG_INF_STYLE (errorLine 0) for a missing signature;
    // ERROR_EXPECTED_SECTION_NAME (a line before the first section), ERROR_BAD_SECTION_NAME_LINE
    // (no closing bracket) and ERROR_SECTION_NAME_TOO_LONG (more than 255 characters) with the
    // 1-based line number in *errorLine; ERROR_INVALID_PARAMETER for an unknown style or a
    // null path. `errorLine` may be null. *result is untouched on failure.
    virtual std::uint32_t OpenInfFile(const char* path, std::uint32_t style, HInf* result,
                                      std::uint32_t* errorLine) = 0;

    // SetupCloseInfFile. Every context found through the handle becomes invalid. Closing
    // kInvalidInf does nothing; closing any other handle that is not open is a caller's
    // error that our reader ignores and the system's may not survive.
    virtual void CloseInfFile(HInf inf) = 0;

    // SetupFindFirstLineA. With a null key: the first line of the section; with a key: the
    // first line whose key matches (a line without "=" that holds a single value is keyed by
    // that value). ERROR_LINE_NOT_FOUND when the section is missing or empty or no line
    // matches; ERROR_INVALID_HANDLE for a handle that is not open, where the back-end can
    // tell. *context is untouched on failure.
    virtual std::uint32_t FindFirstLine(HInf inf, const char* section, const char* key,
                                        InfContext* context) = 0;

    // SetupFindNextLine: the line after `in` in the same section. `out` may be `in`.
    // ERROR_LINE_NOT_FOUND after the last line.
    virtual std::uint32_t FindNextLine(const InfContext* in, InfContext* out) = 0;

    // SetupFindNextMatchLineA: the first line after `in` in the same section whose key
    // matches; a null key is FindNextLine. ERROR_LINE_NOT_FOUND when none follows.
    virtual std::uint32_t FindNextMatchLine(const InfContext* in, const char* key,
                                            InfContext* out) = 0;

    // SetupGetStringFieldA: field `index` of the line (0 = the key, 1.. = the values), with
    // %name% replaced. A null buffer asks for the size only and succeeds. ERROR_INVALID_PARAMETER
    // when the line has no such field (or, for index 0, no key); ERROR_INSUFFICIENT_BUFFER.
    virtual std::uint32_t GetStringField(const InfContext* context, std::uint32_t index,
                                         char* buffer, std::uint32_t size,
                                         std::uint32_t* required) = 0;

    // SetupGetIntField: field `index` read as a C integer (decimal, 0x hexadecimal or 0 octal,
    // optional sign and leading blanks; values beyond 32 bits are clamped); an empty field is
    // 0. ERROR_INVALID_PARAMETER when there is no such field, ERROR_INVALID_DATA when the text
    // is not a number through to its end.
    virtual std::uint32_t GetIntField(const InfContext* context, std::uint32_t index,
                                      std::int32_t* value) = 0;

    // SetupGetLineTextA: the values of the line (not its key), each with %name% replaced,
    // joined by commas. The line is `context` when it is not null, else the first line of
    // `section` in `inf` matching `key` (errors as FindFirstLine). Size rule as GetStringField.
    virtual std::uint32_t GetLineText(const InfContext* context, HInf inf, const char* section,
                                      const char* key, char* buffer, std::uint32_t size,
                                      std::uint32_t* required) = 0;

    // SetupGetFieldCount: the number of values of the line (the key not counted); 0 for a
    // context that names no line.
    virtual std::uint32_t GetFieldCount(const InfContext* context) = 0;

    // SetupEnumInfSectionsA: the name of section `index` (0-based, in the order the file first
    // names them). Optional: ERROR_NOT_SUPPORTED where the system's SetupAPI lacks it (the
    // engine never needs it; test programs use it). ERROR_NO_MORE_ITEMS past the last one;
    // size rule as GetStringField.
    virtual std::uint32_t EnumInfSection(HInf inf, std::uint32_t index, char* buffer,
                                         std::uint32_t size, std::uint32_t* required) = 0;
};

}  // namespace platform
