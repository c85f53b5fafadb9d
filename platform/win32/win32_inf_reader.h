// The system's INF reader: the InfReader interface over setupapi.dll, loaded at run time.
//
// setupapi.dll is not on every Windows 95 system, and hvinf.dll must load everywhere, so the
// library is never imported: the constructor loads it and looks up the nine functions the
// interface needs. When the library or any of those functions is missing, every call goes to
// our own reader (platform/inf/) instead, which gives the same answers.
//
// Each call is the SetupAPI function of the same name. Two things are added: results are
// Win32 codes (a failure the system leaves without a code, as Wine does for a missing field,
// reads ERROR_INVALID_PARAMETER), and text outputs are size-first: the size is asked before
// anything is written, so a buffer that is too small is never touched, whatever the system's
// own habits.
#pragma once

#include <memory>

#include "platform/inf/portable_inf_reader.h"
#include "platform/inf_reader.h"

namespace platform::win32 {

class Win32InfReader : public InfReader {
  public:
    // Loads `library` (the system's "setupapi.dll"; tests name a missing one to reach the
    // fallback).
    explicit Win32InfReader(const char* library = "setupapi.dll");
    ~Win32InfReader() override;
    Win32InfReader(const Win32InfReader&) = delete;
    Win32InfReader& operator=(const Win32InfReader&) = delete;

    // True when the system's SetupAPI answers, false when our own reader does.
    bool usesSystemSetupApi() const { return api_ != nullptr; }

    // True when the last call failed and the system left no code for it, so that the code
    // returned (ERROR_INVALID_PARAMETER) was supplied here rather than by SetupAPI.
    bool lastFailureHadNoSystemCode() const { return noSystemCode_; }

    std::uint32_t OpenInfFile(const char* path, std::uint32_t style, HInf* result,
                              std::uint32_t* errorLine) override;
    void CloseInfFile(HInf inf) override;
    std::uint32_t FindFirstLine(HInf inf, const char* section, const char* key,
                                InfContext* context) override;
    std::uint32_t FindNextLine(const InfContext* in, InfContext* out) override;
    std::uint32_t FindNextMatchLine(const InfContext* in, const char* key,
                                    InfContext* out) override;
    std::uint32_t GetStringField(const InfContext* context, std::uint32_t index, char* buffer,
                                 std::uint32_t size, std::uint32_t* required) override;
    std::uint32_t GetIntField(const InfContext* context, std::uint32_t index,
                              std::int32_t* value) override;
    std::uint32_t GetLineText(const InfContext* context, HInf inf, const char* section,
                              const char* key, char* buffer, std::uint32_t size,
                              std::uint32_t* required) override;
    std::uint32_t GetFieldCount(const InfContext* context) override;
    std::uint32_t EnumInfSection(HInf inf, std::uint32_t index, char* buffer, std::uint32_t size,
                                 std::uint32_t* required) override;

  private:
    struct Api;  // the module and its function pointers
    // The code of a SetupAPI call that returned FALSE; notes when the system left none.
    std::uint32_t lastError();
    bool noSystemCode_ = false;
    std::unique_ptr<Api> api_;
    std::unique_ptr<inf::PortableInfReader> fallback_;
};

}  // namespace platform::win32
