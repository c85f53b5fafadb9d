#include "instsupport/overwrite_check.h"

#include <string>
#include <vector>

#include "instsupport/engine_exports.h"
#include "instsupport/pattern_match.h"
#include "instsupport/text_buffer.h"
#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/system.h"
#include "platform/version_block.h"

namespace instsupport {
namespace {

constexpr std::uint32_t kMaxMakerListSize = 1024 * 1024;
const char* const kCompanyKeys[] = {"\\StringFileInfo\\040904E4\\CompanyName",
                                    "\\StringFileInfo\\040904E4\\Company Name"};

bool canOpenForReading(const char* path) {
    if (path == nullptr) return false;
    platform::ScopedFile file;
    return platform::machine().files->CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                                 0, file.receive()) == ERROR_SUCCESS;
}

bool companyName(const char* filePath, std::string* name) {
    platform::FileSystem& files = *platform::machine().files;
    std::vector<std::uint8_t> block;
    if (!platform::readVersionBlock(files, filePath, &block)) return false;
    for (const char* key : kCompanyKeys) {
        void* value = nullptr;
        std::uint32_t length = 0;
        if (files.VerQueryValue(block.data(), key, &value, &length) != ERROR_SUCCESS ||
            value == nullptr)
            continue;
        const char* text = static_cast<const char*>(value);
        const char* end = reinterpret_cast<const char*>(block.data()) + block.size();
        std::size_t count = 0;
        while (text + count < end && text[count] != '\0') ++count;
        name->assign(text, count);
        return true;
    }
    return false;
}

// The lines of the maker list as a text-mode read gives them: "\r\n" is a line end too.
bool makerListLines(const char* path, std::vector<std::string>* lines) {
    if (path == nullptr) return false;
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    if (files.CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, file.receive()) !=
        ERROR_SUCCESS)
        return false;
    std::uint32_t size = 0;
    if (files.GetFileSize(file.get(), &size, nullptr) != ERROR_SUCCESS || size > kMaxMakerListSize)
        return false;
    std::string text(size, '\0');
    std::uint32_t read = 0;
    if (size > 0 && (files.ReadFile(file.get(), &text[0], size, &read) != ERROR_SUCCESS))
        return false;
    text.resize(read);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool isMakersFile(const char* makerListPath, const char* filePath) {
    std::string company;
    if (filePath == nullptr || !companyName(filePath, &company)) return false;
    std::vector<std::string> lines;
    bool anyPattern = false;
    if (makerListLines(makerListPath, &lines)) {
        for (const std::string& line : lines) {
            if (line.empty() || line[0] == ';') continue;
            anyPattern = true;
            // A pattern longer than the match accepts never matches; it is not cut short.
            if (matchPattern(company.c_str(), line.c_str())) return true;
        }
    }
    if (anyPattern) return false;
    return matchPattern(company.c_str(), kDefaultMakerPattern) == 1;
}

int askOverWrite(const char* makerListPath, const char* installedPath, const char* newPath,
                 char* installedText, char* newText) {
    copyToBuffer(installedText, "");
    copyToBuffer(newText, "");
    if (!canOpenForReading(newPath)) {
        copyToBuffer(newText, kNoFileFound);
        return 0;
    }
    if (isMakersFile(makerListPath, installedPath)) {
        copyToBuffer(installedText, kRecognisedMaker);
        return 0;
    }
    if (!canOpenForReading(installedPath)) {
        copyToBuffer(installedText, kNoFileFound);
        return 0;
    }
    // The engine stays loaded once found: the script asks about every file it installs.
    static platform::HModule engine = 0;
    platform::System& system = *platform::machine().system;
    if (engine == 0 || system.GetProcAddress(engine, "CompareFileVersions") == nullptr) {
        engine = system.LoadLibrary(kEngineLibrary);
        if (engine == 0) return 0;
    }
    auto compare = reinterpret_cast<CompareFileVersionsProc>(
        system.GetProcAddress(engine, "CompareFileVersions"));
    if (compare == nullptr) {
        system.FreeLibrary(engine);
        engine = 0;
        return 0;
    }
    // The engine writes into 260-byte buffers of its own; the script's are filled from them.
    char versionA[kTextBufferSize] = {};
    char versionB[kTextBufferSize] = {};
    long comparison = 0;
    int result = compare(installedPath, newPath, versionA, versionB, &comparison);
    copyToBuffer(installedText, bufferText(versionA));
    copyToBuffer(newText, bufferText(versionB));
    if (result != 0) return 0;
    if (bufferText(versionA).empty()) copyToBuffer(installedText, kNoVersionInfo);
    if (bufferText(versionB).empty()) copyToBuffer(newText, kNoVersionInfo);
    return 0;
}

}  // namespace instsupport
