#include "infengine/inf_lines.h"

#include <vector>

#include "platform/machine.h"

namespace infengine {
namespace {

platform::InfReader* reader() { return platform::machine().inf; }

// Reads a text size-first: the size, then the text into a buffer of that size.
template <typename Read>
bool readSized(Read read, std::string* text) {
    std::uint32_t required = 0;
    if (read(nullptr, 0, &required) != ERROR_SUCCESS || required == 0) return false;
    std::vector<char> buffer(required);
    if (read(buffer.data(), required, &required) != ERROR_SUCCESS) return false;
    buffer.back() = '\0';
    text->assign(buffer.data());
    return true;
}

}  // namespace

bool findLine(platform::HInf inf, const char* section, const char* key,
              platform::InfContext* line) {
    if (reader() == nullptr || inf == platform::kInvalidInf || section == nullptr) return false;
    return reader()->FindFirstLine(inf, section, key, line) == ERROR_SUCCESS;
}

bool nextLine(platform::InfContext* line) {
    if (reader() == nullptr) return false;
    return reader()->FindNextLine(line, line) == ERROR_SUCCESS;
}

bool readField(const platform::InfContext& line, std::uint32_t index, std::string* text) {
    if (reader() == nullptr) return false;
    return readSized(
        [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
            return reader()->GetStringField(&line, index, buffer, size, required);
        },
        text);
}

bool readIntField(const platform::InfContext& line, std::uint32_t index, std::int32_t* value) {
    if (reader() == nullptr) return false;
    return reader()->GetIntField(&line, index, value) == ERROR_SUCCESS;
}

bool readLineText(const platform::InfContext& line, std::string* text) {
    if (reader() == nullptr) return false;
    return readSized(
        [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
            return reader()->GetLineText(&line, platform::kInvalidInf, nullptr, nullptr, buffer,
                                         size, required);
        },
        text);
}

bool readLineText(platform::HInf inf, const char* section, const char* key, std::string* text) {
    if (reader() == nullptr || inf == platform::kInvalidInf) return false;
    return readSized(
        [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
            return reader()->GetLineText(nullptr, inf, section, key, buffer, size, required);
        },
        text);
}

}  // namespace infengine
