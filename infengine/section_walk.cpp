#include "infengine/section_walk.h"

#include "infengine/directory_ids.h"
#include "infengine/engine_text.h"
#include "infengine/file_names.h"
#include "infengine/inf_lines.h"

namespace infengine {
namespace {

constexpr char kDestinationDirs[] = "DestinationDirs";
// Where files go when the INF names no directory that can be resolved.
constexpr char kWindowsDirectoryId[] = "10";

// Resolves the INF's default destination directory once per opened INF. An id the engine
// does not know counts as no "DefaultDestDir" line at all: the Windows directory.
void ensureDefaultDestination() {
    EngineState& state = engineState();
    if (!state.defaultDestinationDirectory.empty()) return;
    std::string text;
    if (!readLineText(state.inf, kDestinationDirs, "DefaultDestDir", &text) ||
        !resolveDirectoryId(text, &state.defaultDestinationDirectory)) {
        resolveDirectoryId(kWindowsDirectoryId, &state.defaultDestinationDirectory);
    }
}

// Enters list section `name`: resolves its destination directory when wanted, and goes to its
// first line. A "DestinationDirs" line with an id the engine does not know counts as no line,
// so the files go to the default directory rather than to wherever the previous section's did.
bool enterListSection(const std::string& name, bool wantDestination) {
    EngineState& state = engineState();
    std::string text;
    if (!wantDestination || !readLineText(state.inf, kDestinationDirs, name.c_str(), &text) ||
        !resolveDirectoryId(text, &state.currentDestinationDirectory)) {
        state.currentDestinationDirectory = state.defaultDestinationDirectory;
    }
    return findLine(state.inf, name.c_str(), nullptr, &state.currentLine);
}

// Enters the section named by the next value of the list line.
bool enterNextListSection(SectionListCursor& cursor, bool wantDestination) {
    std::string name;
    if (!readField(cursor.listLine, cursor.nextValue, &name)) return false;
    ++cursor.nextValue;
    return enterListSection(name, wantDestination);
}

}  // namespace

bool walkSectionList(SectionListCursor& cursor, const char* section, const char* listKey,
                     bool wantDestination) {
    EngineState& state = engineState();
    ensureDefaultDestination();
    if (state.inf == platform::kInvalidInf) return false;

    if (section != nullptr) {
        cursor.nextValue = 1;
        cursor.more = false;
        if (!findLine(state.inf, section, listKey, &cursor.listLine)) return false;
        if (!enterNextListSection(cursor, wantDestination)) return false;
    } else {
        if (!cursor.more) return false;
        cursor.more = false;
        if (!nextLine(&state.currentLine) && !enterNextListSection(cursor, wantDestination)) {
            return false;
        }
    }
    cursor.more = true;
    return true;
}

void currentFileEntry(std::string* source, std::string* destination) {
    const EngineState& state = engineState();
    std::string text;
    if (!readLineText(state.currentLine, &text)) text.clear();
    const std::string destinationName = cutFileName(text);
    if (source != nullptr) {
        std::string sourceName;
        const std::size_t comma = text.find(',');
        if (comma != std::string::npos) sourceName = cutFileName(text.substr(comma + 1));
        if (sourceName.empty()) sourceName = destinationName;
        *source = infDirectory() + sourceName;
    }
    if (destination != nullptr) {
        *destination = state.currentDestinationDirectory + "\\" + destinationName;
    }
}

std::string infDirectory() { return folderOf(engineState().infPath); }

}  // namespace infengine
