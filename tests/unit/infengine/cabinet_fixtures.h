// The cabinets built by make_cabinets.sh, and edits of their bytes that the tests need: a
// member's DOS date, time and attributes, and damage of every kind.
#pragma once

#include <cstdint>
#include <string>

namespace infengine_test {

// The bytes of a fixture file ("mszip.cab", "members/Sample.DLL").
std::string cabinetFixture(const std::string& name);

// Offset of the CFFILE record of `member` in `cabinet` (std::string::npos when absent).
std::size_t fileRecordOf(const std::string& cabinet, const std::string& member);

// Sets the date, time and attributes of a member's CFFILE record.
void stampMember(std::string* cabinet, const std::string& member, std::uint16_t dosDate,
                 std::uint16_t dosTime, std::uint16_t attributes);

// Little-endian stores into cabinet bytes.
void put16(std::string* bytes, std::size_t offset, std::uint16_t value);
void put32(std::string* bytes, std::size_t offset, std::uint32_t value);
std::uint32_t get32(const std::string& bytes, std::size_t offset);

}  // namespace infengine_test
