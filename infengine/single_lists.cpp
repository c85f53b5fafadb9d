// EnumInclude and EnumNeeds: the values of one install-section line, one per call. Neither
// follows the names it returns: the caller opens included INFs and walks needed sections.
#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"

namespace infengine {
namespace {

// Start: finds `key` in `section` and takes its first value. Continue: the next value.
bool nextListValue(SectionListCursor& cursor, const char* section, const char* key,
                   std::string* value) {
    const EngineState& state = engineState();
    if (state.inf == platform::kInvalidInf) return false;
    if (section != nullptr) {
        cursor.nextValue = 1;
        cursor.more = false;
        if (!findLine(state.inf, section, key, &cursor.listLine)) return false;
    } else if (!cursor.more) {
        return false;
    }
    cursor.more = readField(cursor.listLine, cursor.nextValue, value);
    if (cursor.more) ++cursor.nextValue;
    return cursor.more;
}

}  // namespace

int EnumInclude(const char* section, char* name) {
    std::string value;
    if (!nextListValue(engineState().include, section, "Include", &value)) return 1;
    copyOut(name, value);
    return 0;
}

int EnumNeeds(const char* section, char* name) {
    EngineState& state = engineState();
    std::string value;
    if (!nextListValue(state.needs, section, "Needs", &value)) return 1;
    state.lastNeededSection = value;
    copyOut(name, value);
    return 0;
}

}  // namespace infengine
