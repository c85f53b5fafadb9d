// Our own INF reader: the InfReader interface over InfParser and InfFile, reading files
// through the installed machine (platform::machine().files, and .system for the folders that
// directory ids stand for).
//
// It is the reader of the simulated machine and the fallback of the Win32 back-end on systems
// without setupapi.dll. It opens a file by reading and parsing it once; every later question is
// answered from the parsed file through its indexes, never by reading the text again.
//
// Handles are numbers that are never reused, so a context of a closed file is recognised and
// refused (ERROR_INVALID_HANDLE) instead of reading freed memory. Not thread-safe: the product
// uses it from one thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/inf/inf_file.h"
#include "platform/inf_reader.h"

namespace platform::inf {

class PortableInfReader : public InfReader {
  public:
    PortableInfReader();
    ~PortableInfReader() override;
    PortableInfReader(const PortableInfReader&) = delete;
    PortableInfReader& operator=(const PortableInfReader&) = delete;

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

    // Files open now, for leak checks.
    std::size_t openCount() const { return files_.size(); }
    // The parsed file behind a handle (null when not open), for tests and benchmarks.
    const InfFile* file(HInf inf) const;

  private:
    InfFile* find(HInf inf) const;
    // The file a context points into, after checking that its handle is open.
    InfFile* resolve(const InfContext* context) const;

    std::map<HInf, std::unique_ptr<InfFile>> files_;
    HInf nextHandle_ = 0x494E0000u;
};

}  // namespace platform::inf
