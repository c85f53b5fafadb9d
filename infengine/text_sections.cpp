// The text-file sections: INI-file edits ("UpdateInis", "UpdateIniFields") and AUTOEXEC.BAT
// and CONFIG.SYS edits ("UpdateAutoBat", "UpdateCfgSys"), one line per call, split into
// their values.
//
// A malformed INI line is still returned, with the values it has (the rest empty). A
// malformed AUTOEXEC.BAT or CONFIG.SYS line (an unknown key, a required value missing) ends
// its enumeration instead: those files are edited by command, and a half command is none.
// Their keys are compared with regard to case.
#include <cstring>
#include <initializer_list>
#include <string>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"
#include "infengine/section_walk.h"

namespace infengine {
namespace {

void clearAll(std::initializer_list<char*> outputs) {
    for (char* output : outputs) clearOut(output);
}

// Copies values 1, 2, ... of the current line into `outputs` in order, stopping at the first
// missing value; then reads the value after them into *flags. False when a value was missing.
bool copyValues(std::initializer_list<char*> outputs, int* flags) {
    const platform::InfContext& line = engineState().currentLine;
    std::uint32_t index = 1;
    std::string value;
    for (char* output : outputs) {
        if (!readField(line, index++, &value)) return false;
        copyOut(output, value);
    }
    std::int32_t number = 0;
    if (!readIntField(line, index, &number)) return false;
    if (flags != nullptr) *flags = number;
    return true;
}

// The line's key, for the commands of AUTOEXEC.BAT and CONFIG.SYS.
std::string currentKey() {
    std::string key;
    if (!readField(engineState().currentLine, 0, &key)) key.clear();
    return key;
}

// Ends an enumeration whose current line is malformed.
int endWalk(SectionListCursor& cursor) {
    cursor.more = false;
    return 1;
}

}  // namespace

int EnumUpdateInis(const char* section, char* iniFile, char* iniSection, char* oldEntry,
                   char* newEntry, int* flags) {
    clearAll({iniFile, iniSection, oldEntry, newEntry});
    if (flags != nullptr) *flags = 0;
    if (!walkSectionList(engineState().updateInis, section, "UpdateInis", false)) return 1;
    copyValues({iniFile, iniSection, oldEntry, newEntry}, flags);
    return 0;
}

int EnumUpdateIniFields(const char* section, char* iniFile, char* iniSection,
                        char* profileEntry, char* oldField, char* newField, int* flags) {
    clearAll({iniFile, iniSection, profileEntry, oldField, newField});
    if (flags != nullptr) *flags = 0;
    if (!walkSectionList(engineState().updateIniFields, section, "UpdateIniFields", false)) {
        return 1;
    }
    copyValues({iniFile, iniSection, profileEntry, oldField, newField}, flags);
    return 0;
}

int EnumUpdateAutoBat(const char* section, char* commandKind, char* commandText) {
    SectionListCursor& cursor = engineState().updateAutoBat;
    clearAll({commandKind, commandText});
    if (!walkSectionList(cursor, section, "UpdateAutoBat", false)) return 1;
    const std::string key = currentKey();
    std::string text;
    if ((key != "CmdAdd" && key != "CmdDelete") ||
        !readField(engineState().currentLine, 1, &text)) {
        return endWalk(cursor);
    }
    copyOut(commandKind, key);
    copyOut(commandText, text);
    return 0;
}

int EnumUpdateCfgSys(const char* section, char* commandKind, char* value1, char* value2,
                     char* value3, char* value4) {
    SectionListCursor& cursor = engineState().updateCfgSys;
    clearAll({commandKind, value1, value2, value3, value4});
    if (!walkSectionList(cursor, section, "UpdateCfgSys", false)) return 1;

    const std::string key = currentKey();
    std::size_t required = 0;
    std::size_t optional = 0;
    if (key == "DevAddDev") {
        required = 2;  // device driver, configuration keyword
        optional = 2;
    } else if (key == "DevDelete") {
        required = 1;  // driver to remove
    } else if (key == "DevRename") {
        required = 2;  // old name, new name
    } else {
        return endWalk(cursor);
    }

    char* outputs[] = {value1, value2, value3, value4};
    std::string values[4];
    const platform::InfContext& line = engineState().currentLine;
    for (std::size_t i = 0; i < required; ++i) {
        if (!readField(line, static_cast<std::uint32_t>(i + 1), &values[i])) {
            return endWalk(cursor);
        }
    }
    copyOut(commandKind, key);
    for (std::size_t i = 0; i < required; ++i) copyOut(outputs[i], values[i]);
    for (std::size_t i = required; i < required + optional; ++i) {
        if (!readField(line, static_cast<std::uint32_t>(i + 1), &values[i])) break;
        copyOut(outputs[i], values[i]);
    }
    return 0;
}

}  // namespace infengine
