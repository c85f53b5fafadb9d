#include "platform/sim/sim_installable_drivers.h"

#include <cstdio>
#include <cstring>

#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {
namespace {

// The file name part of a driver name or path.
const char* fileNamePart(const char* name) {
    const char* part = name;
    for (const char* at = name; *at != '\0'; ++at) {
        if (*at == '\\' || *at == '/') part = at + 1;
    }
    return part;
}

void appendMessage(Registry& registry, const std::string& line) {
    std::vector<std::string> lines = SimInstallableDrivers::readMessages(registry);
    lines.push_back(line);
    std::vector<std::uint8_t> data;
    for (const std::string& each : lines) {
        data.insert(data.end(), each.begin(), each.end());
        data.push_back(0);
    }
    data.push_back(0);

    HKey key = 0;
    if (registry.OpenKeyEx(HKEY_LOCAL_MACHINE, kSimWaveDriverKey, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;  // the driver's key went away: there is nowhere to record
    }
    registry.SetValueEx(key, kSimMessagesValue, REG_MULTI_SZ, data.data(),
                        static_cast<std::uint32_t>(data.size()));
    registry.CloseKey(key);
}

}  // namespace

SimInstallableDrivers::SimInstallableDrivers(Registry& registry) : registry_(registry) {}

std::string SimInstallableDrivers::formatMessage(std::uint32_t message, std::intptr_t param1,
                                                 std::intptr_t param2) {
    char line[40];
    std::snprintf(line, sizeof line, "%x,%x,%x", static_cast<unsigned>(message),
                  static_cast<unsigned>(static_cast<std::uint32_t>(param1)),
                  static_cast<unsigned>(static_cast<std::uint32_t>(param2)));
    return line;
}

std::vector<std::string> SimInstallableDrivers::readMessages(Registry& registry) {
    std::vector<std::uint8_t> data;
    std::vector<std::string> lines;
    if (!readSimBlob(registry, kSimWaveDriverKey, kSimMessagesValue, REG_MULTI_SZ, &data)) {
        return lines;
    }
    // Strings up to the empty one that ends the list; a list cut short keeps what it has.
    std::size_t at = 0;
    while (at < data.size()) {
        std::size_t end = at;
        while (end < data.size() && data[end] != 0) ++end;
        if (end == at) break;
        lines.emplace_back(reinterpret_cast<const char*>(data.data()) + at, end - at);
        at = end + 1;
    }
    return lines;
}

HDriver SimInstallableDrivers::OpenDriver(const char* driverName, const char*, std::intptr_t) {
    if (driverName == nullptr || !simEqualNoCase(fileNamePart(driverName), kSimWaveDriverName)) {
        return 0;
    }
    std::uint32_t present = 0;
    if (!readSimDword(registry_, kSimWaveDriverKey, kSimPresentValue, &present) || present == 0) {
        return 0;
    }
    const HDriver driver = nextDriver_++;
    open_.insert(driver);
    return driver;
}

std::intptr_t SimInstallableDrivers::SendDriverMessage(HDriver driver, std::uint32_t message,
                                                       std::intptr_t param1, std::intptr_t param2) {
    if (open_.count(driver) == 0) return 0;
    appendMessage(registry_, formatMessage(message, param1, param2));
    return 0;
}

std::intptr_t SimInstallableDrivers::CloseDriver(HDriver driver, std::intptr_t, std::intptr_t) {
    return open_.erase(driver) == 1 ? 1 : 0;
}

}  // namespace platform::sim
