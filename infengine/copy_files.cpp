// EnumCopyFiles and EnumDelFiles: the files an install section copies or deletes, with full
// paths, one per call.
//
// Before a copy entry is returned the engine makes sure its source can be found: a source
// that is present next to the INF, or listed under "KnownFiles", is returned as it is; an
// entry whose source is missing but whose destination is already installed is skipped; a
// source that is missing otherwise is looked for in the Windows layout INFs and, when a
// cabinet of the distribution holds it, extracted into the Windows temp folder, and the entry
// then names the extracted file as its source.
#include <string>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"
#include "infengine/layout_lookup.h"
#include "infengine/section_walk.h"
#include "platform/file_handle.h"
#include "platform/machine.h"

namespace infengine {
namespace {

// The most names each list keeps.
constexpr std::size_t kMaxListedFiles = 259;

bool canOpenForReading(const std::string& path) {
    platform::ScopedFile file;
    return platform::machine().files->CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 OPEN_EXISTING, 0,
                                                 file.receive()) == ERROR_SUCCESS;
}

// The layout INFs named by the "LayoutFile" line of section "Version", when it has one.
void loadLayoutFiles() {
    EngineState& state = engineState();
    platform::InfContext line;
    if (!findLine(state.inf, "Version", "LayoutFile", &line)) return;
    state.layoutFiles.clear();
    std::string name;
    for (std::uint32_t index = 1;
         state.layoutFiles.size() < kMaxListedFiles && readField(line, index, &name); ++index) {
        state.layoutFiles.push_back(name);
    }
}

// The source paths of every entry of the install section's "KnownFiles" sections, when it
// has such a line.
void loadKnownFiles(const char* section) {
    EngineState& state = engineState();
    platform::InfContext line;
    if (!findLine(state.inf, section, "KnownFiles", &line)) return;
    state.knownFiles.clear();
    for (const char* start = section;
         walkSectionList(state.knownFilesWalk, start, "KnownFiles", false); start = nullptr) {
        if (state.knownFiles.size() >= kMaxListedFiles) continue;
        std::string source;
        currentFileEntry(&source, nullptr);
        state.knownFiles.push_back(source);
    }
}

bool isKnownFile(const std::string& source) {
    for (const std::string& known : engineState().knownFiles) {
        if (equalNoCase(known, source)) return true;
    }
    return false;
}

}  // namespace

int EnumCopyFiles(const char* section, char* source, char* destination) {
    EngineState& state = engineState();
    if (section != nullptr) {
        loadLayoutFiles();
        loadKnownFiles(section);
    }
    // A skipped entry continues the walk within the same call.
    for (const char* start = section;; start = nullptr) {
        if (!walkSectionList(state.copyFiles, start, "CopyFiles", true)) return 1;
        std::string from;
        std::string to;
        currentFileEntry(&from, &to);
        if (!canOpenForReading(from) && !isKnownFile(from)) {
            if (canOpenForReading(to)) continue;  // installed already
            std::string extracted;
            if (fetchFromDistribution(from, &extracted)) from = extracted;
        }
        copyOut(source, from);
        copyOut(destination, to);
        return 0;
    }
}

int EnumDelFiles(const char* section, char* path) {
    if (!walkSectionList(engineState().delFiles, section, "DelFiles", true)) return 1;
    std::string target;
    currentFileEntry(nullptr, &target);
    copyOut(path, target);
    return 0;
}

}  // namespace infengine
