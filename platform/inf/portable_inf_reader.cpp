#include "platform/inf/portable_inf_reader.h"

#include <cstring>
#include <string>

#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/inf/inf_parser.h"
#include "platform/inf/inf_text.h"
#include "platform/machine.h"
#include "platform/out_of_memory.h"
#include "platform/system.h"

namespace platform::inf {
namespace {

// Larger files are refused rather than read: offsets into a file's texts are 32-bit.
constexpr std::uint32_t kMaxInfFileSize = 256u * 1024u * 1024u;

FileSystem* machineFiles() {
    return hasMachine() ? machine().files : nullptr;
}
System* machineSystem() {
    return hasMachine() ? machine().system : nullptr;
}

std::string windowsFolder(System* system, bool systemFolder) {
    if (system == nullptr) return std::string();
    char buffer[MAX_PATH] = {};
    const std::uint32_t length = systemFolder ? system->GetSystemDirectory(buffer, sizeof buffer)
                                              : system->GetWindowsDirectory(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

InfDirectories machineDirectories(const std::string& fullPath) {
    InfDirectories dirs;
    const std::size_t slash = fullPath.find_last_of('\\');
    dirs.infDirectory = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
    System* system = machineSystem();
    dirs.windowsDirectory = windowsFolder(system, false);
    dirs.systemDirectory = windowsFolder(system, true);
    OsVersionInfo version;
    dirs.windowsNt = system != nullptr && system->GetVersionEx(&version) &&
                     version.platformId == VER_PLATFORM_WIN32_NT;
    return dirs;
}

// Reads the whole file at `path` (as given: the caller has chosen the folder).
std::uint32_t readFile(FileSystem* files, const std::string& path, std::string* bytes) {
    ScopedFile file;
    std::uint32_t error = files->CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            OPEN_EXISTING, 0, file.receive());
    if (error != ERROR_SUCCESS) return error;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    error = files->GetFileSize(file.get(), &low, &high);
    if (error != ERROR_SUCCESS) return error;
    if (high != 0 || low > kMaxInfFileSize) return ERROR_NOT_ENOUGH_MEMORY;
    bytes->resize(low);
    std::uint32_t total = 0;
    while (total < low) {
        std::uint32_t read = 0;
        error = files->ReadFile(file.get(), &(*bytes)[total], low - total, &read);
        if (error != ERROR_SUCCESS) return error;
        if (read == 0) break;  // the file shrank under us: take what is there
        total += read;
    }
    bytes->resize(total);
    return ERROR_SUCCESS;
}

// A name without a folder is an INF of the system: the Windows "Inf" folder, then the system
// folder.
std::uint32_t readInfFile(const char* path, std::string* bytes, std::string* fullPath) {
    FileSystem* files = machineFiles();
    if (files == nullptr) return ERROR_NOT_SUPPORTED;
    std::string name(path);
    if (name.find_first_of("\\/") != std::string::npos) {
        std::size_t filePart = 0;
        const std::uint32_t error = files->GetFullPathName(path, fullPath, &filePart);
        if (error != ERROR_SUCCESS) return error;
        return readFile(files, *fullPath, bytes);
    }
    System* system = machineSystem();
    const std::string candidates[2] = {windowsFolder(system, false) + "\\inf\\" + name,
                                       windowsFolder(system, true) + "\\" + name};
    std::uint32_t error = ERROR_FILE_NOT_FOUND;
    for (const std::string& candidate : candidates) {
        if (candidate.size() <= name.size() + 1) continue;  // folder unknown
        error = readFile(files, candidate, bytes);
        if (error == ERROR_SUCCESS) {
            *fullPath = candidate;
            return error;
        }
    }
    return error;
}

}  // namespace

PortableInfReader::PortableInfReader() = default;
PortableInfReader::~PortableInfReader() = default;

InfFile* PortableInfReader::find(HInf inf) const {
    const auto it = files_.find(inf);
    return it == files_.end() ? nullptr : it->second.get();
}

const InfFile* PortableInfReader::file(HInf inf) const {
    return find(inf);
}

InfFile* PortableInfReader::resolve(const InfContext* context) const {
    if (context == nullptr || context->currentInf != context->inf) return nullptr;
    return find(context->inf);
}

std::uint32_t PortableInfReader::OpenInfFile(const char* path, std::uint32_t style, HInf* result,
                                             std::uint32_t* errorLine) {
    if (path == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    if ((style & ~(INF_STYLE_OLDNT | INF_STYLE_WIN4)) != 0) return ERROR_INVALID_PARAMETER;
    return unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&]() -> std::uint32_t {
        std::string bytes;
        std::string fullPath;
        std::uint32_t error = readInfFile(path, &bytes, &fullPath);
        if (error != ERROR_SUCCESS) return error;

        auto file = std::make_unique<InfFile>();
        file->setDirectories(machineDirectories(fullPath));
        error = InfParser::parseFile(reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size(), style, file.get(), errorLine);
        if (error != ERROR_SUCCESS) return error;

        const HInf handle = nextHandle_;
        nextHandle_ += 4;
        files_.emplace(handle, std::move(file));
        *result = handle;
        return ERROR_SUCCESS;
    });
}

void PortableInfReader::CloseInfFile(HInf inf) {
    files_.erase(inf);
}

std::uint32_t PortableInfReader::FindFirstLine(HInf inf, const char* section, const char* key,
                                               InfContext* context) {
    const InfFile* file = find(inf);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    if (section == nullptr || context == nullptr) return ERROR_INVALID_PARAMETER;
    const std::uint32_t number = file->findSection(section);
    if (number == InfFile::kNoSection) return ERROR_LINE_NOT_FOUND;
    std::uint32_t line = 0;
    if (key != nullptr) {
        line = file->findKey(number, key, std::strlen(key), InfFile::kNoLine);
        if (line == InfFile::kNoLine) return ERROR_LINE_NOT_FOUND;
    } else if (file->lineCount(number) == 0) {
        return ERROR_LINE_NOT_FOUND;
    }
    *context = InfContext{inf, inf, number, line};
    return ERROR_SUCCESS;
}

std::uint32_t PortableInfReader::FindNextLine(const InfContext* in, InfContext* out) {
    const InfFile* file = resolve(in);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    if (out == nullptr) return ERROR_INVALID_PARAMETER;
    if (in->line + 1 >= file->lineCount(in->section) || in->line == InfFile::kNoLine) {
        return ERROR_LINE_NOT_FOUND;
    }
    const InfContext next{in->inf, in->currentInf, in->section, in->line + 1};
    *out = next;
    return ERROR_SUCCESS;
}

std::uint32_t PortableInfReader::FindNextMatchLine(const InfContext* in, const char* key,
                                                   InfContext* out) {
    if (key == nullptr) return FindNextLine(in, out);
    const InfFile* file = resolve(in);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    if (out == nullptr) return ERROR_INVALID_PARAMETER;
    if (in->section >= file->sectionCount()) return ERROR_LINE_NOT_FOUND;
    const std::uint32_t line = file->findKey(in->section, key, std::strlen(key), in->line);
    if (line == InfFile::kNoLine) return ERROR_LINE_NOT_FOUND;
    const InfContext next{in->inf, in->currentInf, in->section, line};
    *out = next;
    return ERROR_SUCCESS;
}

std::uint32_t PortableInfReader::GetStringField(const InfContext* context, std::uint32_t index,
                                                char* buffer, std::uint32_t size,
                                                std::uint32_t* required) {
    const InfFile* file = resolve(context);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    const char* text = file->field(context->section, context->line, index);
    if (text == nullptr) return ERROR_INVALID_PARAMETER;
    char expanded[kMaxStringLength + 1];
    const std::size_t length = file->expand(text, expanded);
    if (required != nullptr) *required = static_cast<std::uint32_t>(length + 1);
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (size <= length) return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, expanded, length + 1);
    return ERROR_SUCCESS;
}

std::uint32_t PortableInfReader::GetIntField(const InfContext* context, std::uint32_t index,
                                             std::int32_t* value) {
    const InfFile* file = resolve(context);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    if (value == nullptr) return ERROR_INVALID_PARAMETER;
    const char* text = file->field(context->section, context->line, index);
    if (text == nullptr) return ERROR_INVALID_PARAMETER;
    char expanded[kMaxStringLength + 1];
    file->expand(text, expanded);
    return parseInfInteger(expanded, value) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

std::uint32_t PortableInfReader::GetLineText(const InfContext* context, HInf inf,
                                             const char* section, const char* key, char* buffer,
                                             std::uint32_t size, std::uint32_t* required) {
    InfContext found;
    if (context == nullptr) {
        const std::uint32_t error = FindFirstLine(inf, section, key, &found);
        if (error != ERROR_SUCCESS) return error;
        context = &found;
    }
    const InfFile* file = resolve(context);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    const std::uint32_t values = file->valueCount(context->section, context->line);
    if (file->field(context->section, context->line, 1) == nullptr) return ERROR_LINE_NOT_FOUND;

    // Values joined by commas: each value's length plus one for its comma or the final zero.
    std::size_t total = 0;
    for (std::uint32_t i = 1; i <= values; ++i) {
        total += file->expand(file->field(context->section, context->line, i), nullptr) + 1;
    }
    if (required != nullptr) *required = static_cast<std::uint32_t>(total);
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (total > size) return ERROR_INSUFFICIENT_BUFFER;
    char* out = buffer;
    for (std::uint32_t i = 1; i <= values; ++i) {
        out += file->expand(file->field(context->section, context->line, i), out);
        *out++ = i < values ? ',' : '\0';
    }
    return ERROR_SUCCESS;
}

std::uint32_t PortableInfReader::GetFieldCount(const InfContext* context) {
    const InfFile* file = resolve(context);
    return file == nullptr ? 0 : file->valueCount(context->section, context->line);
}

std::uint32_t PortableInfReader::EnumInfSection(HInf inf, std::uint32_t index, char* buffer,
                                                std::uint32_t size, std::uint32_t* required) {
    const InfFile* file = find(inf);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    const char* name = file->sectionName(index);
    if (name == nullptr) return ERROR_NO_MORE_ITEMS;
    const std::size_t length = std::strlen(name);
    if (required != nullptr) *required = static_cast<std::uint32_t>(length + 1);
    if (buffer == nullptr) return ERROR_SUCCESS;
    if (size <= length) return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, name, length + 1);
    return ERROR_SUCCESS;
}

}  // namespace platform::inf
