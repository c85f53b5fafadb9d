// HostSystem: process starts. Nothing runs; each start is recorded and answered from the
// script of its program.
#include "platform/host/host_system.h"
#include "platform/host/host_system_disk.h"
#include "platform/host/host_system_text.h"

namespace platform::host {

using namespace systext;

std::string HostSystem::findProgram(const std::string& commandLine, std::uint32_t* error) const {
    std::size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string::npos) {
        *error = ERROR_FILE_NOT_FOUND;
        return std::string();
    }
    // A quoted program name is taken as it is; an unquoted one is tried up to each blank
    // in turn ("C:\\Program" before "C:\\Program Files\\x.exe"), as CreateProcess does.
    std::vector<std::string> candidates;
    if (commandLine[start] == '"') {
        const std::size_t close = commandLine.find('"', start + 1);
        candidates.push_back(commandLine.substr(
            start + 1, close == std::string::npos ? std::string::npos : close - start - 1));
    } else {
        std::size_t blank = start;
        while ((blank = commandLine.find_first_of(" \t", blank + 1)) != std::string::npos)
            candidates.push_back(commandLine.substr(start, blank - start));
        candidates.push_back(commandLine.substr(start));
    }
    for (const std::string& candidate : candidates) {
        const std::string name = hasExtension(candidate) ? candidate : candidate + ".exe";
        const std::string path = hasFolder(name) ? absolutePath(name) : searchFile(name);
        if (hostFileExists(path)) return path;
    }
    *error = ERROR_FILE_NOT_FOUND;
    return std::string();
}

const HostSystem::ProgramScript* HostSystem::scriptFor(const std::string& program) const {
    const auto found = scripts_.find(upperCase(baseNameOf(program)));
    return found == scripts_.end() ? nullptr : &found->second;
}

std::uint32_t HostSystem::startProcess(ProcessStart start, HProcess* process) {
    std::uint32_t error = ERROR_SUCCESS;
    if (!start.applicationName.empty()) {
        start.program = absolutePath(start.applicationName);
        if (!hostFileExists(start.program)) error = ERROR_FILE_NOT_FOUND;
    } else {
        start.program = findProgram(start.commandLine, &error);
        if (start.program.empty()) {
            const std::size_t first = start.commandLine.find_first_not_of(" \t\"");
            start.program =
                first == std::string::npos
                    ? std::string()
                    : start.commandLine.substr(
                          first, start.commandLine.find_first_of(" \t\"", first) - first);
        }
    }
    if (error == ERROR_SUCCESS && !start.currentDirectory.empty() &&
        !hostFolderExists(start.currentDirectory))
        error = ERROR_DIRECTORY;
    const ProgramScript* script = scriptFor(start.program);
    if (error == ERROR_SUCCESS && script != nullptr && script->startError != ERROR_SUCCESS)
        error = script->startError;
    start.error = error;
    const std::string program = start.program;
    starts_.push_back(std::move(start));
    if (error != ERROR_SUCCESS) return fail(error);

    if (process != nullptr) {
        RunningProcess running;
        running.program = program;
        running.exitCode = script != nullptr ? script->exitCode : 0;
        running.running = script != nullptr && script->keepsRunning;
        *process = nextProcess_;
        nextProcess_ += 4;
        processes_[*process] = running;
    }
    return ERROR_SUCCESS;
}

bool HostSystem::CreateProcess(const char* applicationName, const char* commandLine,
                               bool inheritHandles, std::uint32_t creationFlags,
                               const char* currentDirectory, std::uint16_t showWindow,
                               HProcess* process) {
    if ((applicationName == nullptr && commandLine == nullptr) || process == nullptr)
        return fail(ERROR_INVALID_PARAMETER), false;
    ProcessStart start;
    start.applicationName = applicationName != nullptr ? applicationName : "";
    start.commandLine = commandLine != nullptr ? commandLine : "";
    start.currentDirectory = currentDirectory != nullptr ? currentDirectory : "";
    start.showWindow = showWindow;
    start.inheritHandles = inheritHandles;
    start.creationFlags = creationFlags;
    return startProcess(std::move(start), process) == ERROR_SUCCESS;
}

std::uint32_t HostSystem::WaitForSingleObject(HProcess process, std::uint32_t milliseconds) {
    const auto found = processes_.find(process);
    if (found == processes_.end()) return fail(ERROR_INVALID_HANDLE), WAIT_FAILED;
    if (!found->second.running) return WAIT_OBJECT_0;
    if (milliseconds == INFINITE) {
        // A wait without limit is where a kept-running program is let go.
        found->second.running = false;
        return WAIT_OBJECT_0;
    }
    advanceClock(milliseconds);
    return WAIT_TIMEOUT;
}

bool HostSystem::GetExitCodeProcess(HProcess process, std::uint32_t* exitCode) {
    const auto found = processes_.find(process);
    if (found == processes_.end() || exitCode == nullptr) return fail(ERROR_INVALID_HANDLE), false;
    *exitCode = found->second.running ? STILL_ACTIVE : found->second.exitCode;
    return true;
}

bool HostSystem::CloseHandle(HProcess process) {
    if (processes_.erase(process) == 0) return fail(ERROR_INVALID_HANDLE), false;
    return true;
}

std::uint32_t HostSystem::WinExec(const char* commandLine, std::uint32_t showWindow) {
    ProcessStart start;
    start.commandLine = commandLine != nullptr ? commandLine : "";
    start.showWindow = static_cast<std::uint16_t>(showWindow);
    start.winExec = true;
    switch (startProcess(std::move(start), nullptr)) {
        case ERROR_SUCCESS:
            return 33;
        case ERROR_FILE_NOT_FOUND:
            return ERROR_FILE_NOT_FOUND;
        case ERROR_PATH_NOT_FOUND:
            return ERROR_PATH_NOT_FOUND;
        case ERROR_BAD_EXE_FORMAT:
            return ERROR_BAD_FORMAT;
        default:
            return 0;
    }
}

void HostSystem::setProcessExitCode(const std::string& programBaseName, std::uint32_t exitCode) {
    scripts_[upperCase(programBaseName)].exitCode = exitCode;
}

void HostSystem::setProcessKeepsRunning(const std::string& programBaseName, bool keepsRunning) {
    scripts_[upperCase(programBaseName)].keepsRunning = keepsRunning;
}

void HostSystem::setProcessStartError(const std::string& programBaseName, std::uint32_t error) {
    scripts_[upperCase(programBaseName)].startError = error;
}

}  // namespace platform::host
