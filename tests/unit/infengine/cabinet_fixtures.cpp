#include "tests/unit/infengine/cabinet_fixtures.h"

#include <fstream>
#include <iterator>

namespace infengine_test {

std::string cabinetFixture(const std::string& name) {
    std::ifstream in(std::string(INFENGINE_CABINETS) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// CFFILE: cbFile(4) uoffFolderStart(4) iFolder(2) date(2) time(2) attribs(2) szName.
std::size_t fileRecordOf(const std::string& cabinet, const std::string& member) {
    const std::size_t name = cabinet.find(member + std::string(1, '\0'));
    return name == std::string::npos || name < 16 ? std::string::npos : name - 16;
}

void stampMember(std::string* cabinet, const std::string& member, std::uint16_t dosDate,
                 std::uint16_t dosTime, std::uint16_t attributes) {
    const std::size_t record = fileRecordOf(*cabinet, member);
    if (record == std::string::npos) return;
    put16(cabinet, record + 10, dosDate);
    put16(cabinet, record + 12, dosTime);
    put16(cabinet, record + 14, attributes);
}

void put16(std::string* bytes, std::size_t offset, std::uint16_t value) {
    (*bytes)[offset] = static_cast<char>(value & 0xFF);
    (*bytes)[offset + 1] = static_cast<char>(value >> 8);
}

void put32(std::string* bytes, std::size_t offset, std::uint32_t value) {
    put16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t get32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace infengine_test
