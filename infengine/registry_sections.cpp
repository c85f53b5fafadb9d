// EnumAddReg and EnumDelReg: the lines of an install section's "AddReg" / "DelReg" sections,
// one registry entry per call. They differ only in their list key; the caller deletes the
// key of a DelReg entry when its value name is empty, and the value otherwise.
#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "infengine/registry_entry.h"
#include "infengine/section_walk.h"

namespace infengine {
namespace {

int nextRegistryEntry(SectionListCursor& cursor, const char* section, const char* listKey,
                      const RegistryOutputs& out) {
    emptyRegistryOutputs(out);
    // Lines whose key cannot be handed out whole are passed over.
    for (const char* start = section;; start = nullptr) {
        if (!walkSectionList(cursor, start, listKey, false)) return 1;
        if (parseRegistryLine(engineState().currentLine, out)) return 0;
    }
}

}  // namespace

int EnumAddReg(const char* section, char* root, char* subKey, char* valueName, char* data,
               int* typeFlags) {
    return nextRegistryEntry(engineState().addReg, section, "AddReg",
                             {root, subKey, valueName, data, typeFlags});
}

int EnumDelReg(const char* section, char* root, char* subKey, char* valueName, char* data,
               int* typeFlags) {
    return nextRegistryEntry(engineState().delReg, section, "DelReg",
                             {root, subKey, valueName, data, typeFlags});
}

}  // namespace infengine
