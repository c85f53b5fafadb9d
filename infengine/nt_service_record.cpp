#include "infengine/nt_service_record.h"

#include <string>

#include "infengine/driver_state.h"
#include "infengine/engine_state.h"
#include "infengine/id_text.h"
#include "infengine/inf_lines.h"
#include "platform/machine.h"

namespace infengine {
namespace {

std::string text(platform::HInf inf, const char* section, const char* key) {
    platform::InfContext line;
    std::string value;
    if (!findLine(inf, section, key, &line) || !readField(line, 1, &value)) value.clear();
    return value;
}

std::int32_t number(platform::HInf inf, const char* section, const char* key) {
    platform::InfContext line;
    std::int32_t value = 0;
    if (!findLine(inf, section, key, &line) || !readIntField(line, 1, &value)) value = 0;
    return value;
}

std::string field(const platform::InfContext& line, std::uint32_t index) {
    std::string value;
    if (!readField(line, index, &value)) value.clear();
    return value;
}

bool nextAddServiceLine(NtServiceRecord& record, const std::string& servicesSection) {
    const EngineState& engine = engineState();
    if (record.first) {
        record.first = false;
        return findLine(engine.inf, servicesSection.c_str(), "AddService", &record.addServiceLine);
    }
    platform::InfReader* reader = platform::machine().inf;
    return reader != nullptr && reader->FindNextMatchLine(&record.addServiceLine, "AddService",
                                                          &record.addServiceLine) == ERROR_SUCCESS;
}

}  // namespace

bool readNtServiceRecord() {
    const EngineState& engine = engineState();
    NtServiceRecord& record = driverState().service;
    const platform::HInf inf = engine.inf;
    record.provider = text(inf, "Version", "Provider");
    record.classGuid = text(inf, "Version", "ClassGUID");
    record.className = text(inf, "Version", "Class");

    platform::InfContext line;
    if (!findLine(inf, "Manufacturer", nullptr, &line)) return false;
    record.manufacturer = field(line, 0);
    record.modelSection = field(line, 1);
    if (!findLine(inf, record.modelSection.c_str(), nullptr, &line)) return false;
    record.description = field(line, 0);
    record.installSection = field(line, 1);

    if (!nextAddServiceLine(record, record.installSection + ".Services")) return false;
    const platform::InfContext& service = record.addServiceLine;
    record.serviceName = field(service, 1);
    if (!readIntField(service, 2, &record.serviceFlags)) record.serviceFlags = 0;
    record.serviceInstallSection = field(service, 3);
    record.eventLogSection = field(service, 4);
    // Without a name the service key would be the Services key itself.
    if (record.serviceName.empty()) return false;

    const char* install = record.serviceInstallSection.c_str();
    record.serviceType = number(inf, install, "ServiceType");
    record.startType = number(inf, install, "StartType");
    record.errorControl = number(inf, install, "ErrorControl");
    record.loadOrderGroup = text(inf, install, "LoadOrderGroup");
    // The image path is relative to the system root: "System32\drivers\x.sys".
    const std::string binary = text(inf, install, "ServiceBinary");
    const std::size_t system32 = findNoCase(binary, "System32");
    record.serviceBinary = system32 == std::string::npos ? binary : binary.substr(system32);
    return true;
}

}  // namespace infengine
