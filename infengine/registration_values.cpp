#include "infengine/registration_values.h"

#include <cstring>

#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infengine/registry_data.h"

namespace infengine {

void startRegistrationCall(const RegistryOutputs& out) {
    emptyRegistryOutputs(out);
    copyOut(out.root, "HKLM");
    if (out.typeFlags != nullptr) *out.typeFlags = kRegistryText;
}

bool usableSubKey(const std::string& subKey) {
    return !subKey.empty() && subKey.size() < kTextSize;
}

namespace {

bool putName(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
             int typeFlags) {
    if (!usableSubKey(subKey)) return false;
    copyOut(out.subKey, subKey);
    copyOut(out.valueName, valueName);
    if (out.typeFlags != nullptr) *out.typeFlags = typeFlags;
    return true;
}

}  // namespace

int putText(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
            const std::string& data) {
    if (!putName(out, subKey, valueName, kRegistryText)) return 1;
    copyOut(out.data, data);
    return 0;
}

int putDword(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
             std::uint32_t value) {
    if (!putName(out, subKey, valueName, kRegistryDword)) return 1;
    copyOut(out.data, decimal(value));
    return 0;
}

int putBinary(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
              const unsigned char* bytes, std::size_t count) {
    if (!putName(out, subKey, valueName, kRegistryBinary)) return 1;
    if (count > kTextSize - 1) count = kTextSize - 1;
    if (count > 255) count = 255;
    if (out.data != nullptr) {
        out.data[0] = static_cast<char>(count);
        if (count > 0) std::memcpy(out.data + 1, bytes, count);
    }
    return 0;
}

}  // namespace infengine
