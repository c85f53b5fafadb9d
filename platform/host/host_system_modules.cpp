// HostSystem: the module loader of the simulated machine.
#include <cstring>

#include "platform/files.h"
#include "platform/host/host_system.h"
#include "platform/host/host_system_disk.h"
#include "platform/host/host_system_text.h"
#include "platform/machine.h"

namespace platform::host {

using namespace systext;
namespace {

FileSystem* files() {
    return hasMachine() ? machine().files : nullptr;
}

bool pathIs(const std::string& path, bool folder) {
    FileSystem* fs = files();
    std::uint32_t attributes = 0;
    if (fs == nullptr || path.empty() ||
        fs->GetFileAttributes(path.c_str(), &attributes) != ERROR_SUCCESS)
        return false;
    return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// A module name as the loader takes it: ".dll" when there is no extension, none when the
// name ends with a dot.
std::string moduleFileName(const char* name) {
    std::string result = name;
    if (!result.empty() && result.back() == '.')
        result.pop_back();
    else if (!hasExtension(result))
        result += ".dll";
    return result;
}

}  // namespace

bool hostFileExists(const std::string& path) {
    return pathIs(path, false);
}
bool hostFolderExists(const std::string& path) {
    return pathIs(path, true);
}

std::string HostSystem::absolutePath(const std::string& path) const {
    FileSystem* fs = files();
    std::string full;
    if (fs != nullptr && fs->GetFullPathName(path.c_str(), &full, nullptr) == ERROR_SUCCESS)
        return full;
    return path;
}

std::string HostSystem::programFolder() const {
    return programPath_.substr(0, fileNameOffset(programPath_));
}

std::string HostSystem::searchFile(const std::string& name) const {
    std::vector<std::string> folders;
    folders.push_back(programFolder());
    if (FileSystem* fs = files()) {
        std::string current;
        if (fs->GetCurrentDirectory(&current) == ERROR_SUCCESS) folders.push_back(current);
    }
    folders.push_back(systemDirectory_);
    folders.push_back(windowsDirectory_);
    const std::string path = environment("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) folders.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    for (std::string folder : folders) {
        if (folder.empty()) continue;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        if (hostFileExists(folder + name)) return absolutePath(folder + name);
    }
    return std::string();
}

HModule HostSystem::findLoaded(const std::string& path, const std::string& baseName) const {
    for (const auto& [handle, module] : modules_) {
        // Windows 95/98 know a module by its name alone; NT by its path once one is given.
        const bool byName = path.empty() || !isNt();
        if (byName ? sameNameIgnoringCase(module.baseName, baseName)
                   : sameNameIgnoringCase(module.path, path))
            return handle;
    }
    return 0;
}

HModule HostSystem::LoadLibrary(const char* fileName) {
    if (fileName == nullptr || *fileName == '\0')
        return fail(isNt() ? ERROR_MOD_NOT_FOUND : ERROR_DLL_NOT_FOUND), 0;
    const std::string name = moduleFileName(fileName);
    const std::string baseName = baseNameOf(name);
    std::string path;
    if (hasFolder(name)) path = absolutePath(name);
    HModule handle = findLoaded(path, baseName);
    if (handle == 0) {
        if (path.empty()) path = searchFile(name);
        // Windows 95/98 report a missing library differently from NT.
        if (!hostFileExists(path))
            return fail(isNt() ? ERROR_MOD_NOT_FOUND : ERROR_DLL_NOT_FOUND), 0;
        const auto image = images_.find(upperCase(baseName));
        if (image == images_.end()) return fail(ERROR_BAD_EXE_FORMAT), 0;
        if (image->second.loadError != ERROR_SUCCESS) return fail(image->second.loadError), 0;
        handle = nextModule_;
        nextModule_ += 0x10000;
        modules_[handle] = LoadedModule{path, baseName, 0};
    }
    ++modules_[handle].references;
    ++loadCount_;
    return handle;
}

bool HostSystem::FreeLibrary(HModule module) {
    if (module == kProgramModule) return true;
    const auto found = modules_.find(module);
    if (found == modules_.end()) return fail(ERROR_INVALID_HANDLE), false;
    if (--found->second.references == 0) modules_.erase(found);
    return true;
}

HModule HostSystem::GetModuleHandle(const char* moduleName) {
    if (moduleName == nullptr) return kProgramModule;
    const std::string name = moduleFileName(moduleName);
    const std::string path = hasFolder(name) ? absolutePath(name) : std::string();
    if (path.empty() ? sameNameIgnoringCase(baseNameOf(name), baseNameOf(programPath_))
                     : sameNameIgnoringCase(path, programPath_))
        return kProgramModule;
    const HModule handle = findLoaded(path, baseNameOf(name));
    if (handle == 0) return fail(ERROR_MOD_NOT_FOUND), 0;
    return handle;
}

const ModuleImage* HostSystem::moduleImage(HModule module) const {
    std::string baseName;
    if (module == kProgramModule || module == 0) {
        baseName = baseNameOf(programPath_);
    } else {
        const auto found = modules_.find(module);
        if (found == modules_.end()) return nullptr;
        baseName = found->second.baseName;
    }
    const auto image = images_.find(upperCase(baseName));
    return image == images_.end() ? nullptr : &image->second;
}

ProcAddress HostSystem::GetProcAddress(HModule module, const char* procName) {
    if (module != kProgramModule && modules_.count(module) == 0)
        return fail(ERROR_INVALID_HANDLE), nullptr;
    // Export ordinals (values below 0x10000 in place of a name) are not offered.
    if (reinterpret_cast<std::uintptr_t>(procName) < 0x10000)
        return fail(ERROR_PROC_NOT_FOUND), nullptr;
    const ModuleImage* image = moduleImage(module);
    if (image == nullptr) return fail(ERROR_PROC_NOT_FOUND), nullptr;
    const auto found = image->exports.find(procName);
    if (found == image->exports.end() || found->second == nullptr)
        return fail(ERROR_PROC_NOT_FOUND), nullptr;
    return found->second;
}

std::uint32_t HostSystem::GetModuleFileName(HModule module, char* buffer, std::uint32_t size) {
    std::string path;
    if (module == 0 || module == kProgramModule) {
        path = programPath_;
    } else {
        const auto found = modules_.find(module);
        if (found == modules_.end()) return fail(ERROR_MOD_NOT_FOUND), 0;
        path = found->second.path;
    }
    if (buffer == nullptr || size == 0) return fail(ERROR_INSUFFICIENT_BUFFER), 0;
    std::uint32_t length = static_cast<std::uint32_t>(path.size());
    if (length >= size) {
        length = size - 1;
        fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, path.data(), length);
    buffer[length] = '\0';
    return length;
}

void HostSystem::registerModule(const std::string& baseName, ModuleImage image) {
    images_[upperCase(baseName)] = std::move(image);
}

void HostSystem::unregisterModule(const std::string& baseName) {
    images_.erase(upperCase(baseName));
}

std::vector<std::string> HostSystem::loadedModuleDescriptions() const {
    std::vector<std::string> result;
    for (const auto& entry : modules_)
        result.push_back(entry.second.path + " (" + std::to_string(entry.second.references) + ")");
    return result;
}

std::uint32_t HostSystem::moduleReferenceCount(const std::string& baseName) const {
    for (const auto& entry : modules_)
        if (sameNameIgnoringCase(entry.second.baseName, baseName)) return entry.second.references;
    return 0;
}

}  // namespace platform::host
