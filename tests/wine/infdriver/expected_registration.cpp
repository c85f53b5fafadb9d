#include "expected_registration.h"

namespace {

const char kMediaClassGuid[] = "{4d36e96c-e325-11ce-bfc1-08002be10318}";

}  // namespace

ExpectedRegistration windows98Registration() {
    // The device key is built from the slot the card was found in (bus, device and function
    // in lower-case hex); the uninstall left MEDIA\0000 to MEDIA\0010 in place, so the class
    // key is the next free instance.
    const std::string card = "Enum\\PCI\\VEN_125D&DEV_1978";
    const std::string device = card + "\\BUS_00&DEV_0a&FUNC_00";
    const std::string classKey = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0011";
    // Subsystem 1978125D and revision 10 come from the card's configuration space.
    const std::string hardwareIds =
        "PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10,PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D,"
        "PCI\\VEN_125D&DEV_1978&REV_10,PCI\\VEN_125D&DEV_1978";
    ExpectedRegistration expected;
    expected.trees = {"Enum", "System\\CurrentControlSet\\Services"};
    expected.newKeys = {card, device, classKey};
    expected.values = {
        textValue(device, "Class", "MEDIA"),
        textValue(device, "Driver", "MEDIA\\0011"),
        textValue(device, "DeviceDesc", "Tunara Sample Driver"),
        // A MEDIA function of a maker other than the three named ones.
        textValue(device, "CompatibleIDs", "PCI\\CC_048000,PCI\\CC_0480"),
        binaryValue(device, "ConfigFlags", std::string(4, '\0')),
        textValue(device, "HardwareID", hardwareIds),
        textValue(device, "Mfg", "Helvane"),
        textValue(classKey, "DeviceDesc", "Tunara Sample Driver"),
        textValue(classKey, "DriverDate", "6-5-1998"),
        textValue(classKey, "DriverDesc", "Tunara Sample Driver"),
        textValue(classKey, "InfPath", "SAMPLE.INF"),
        textValue(classKey, "InfSection", "Sample.Install"),
        textValue(device, "HWRevision", "16"),
        textValue(device, "ClassGUID", kMediaClassGuid),
        textValue(classKey, "MatchingDeviceID", "VEN_125D&DEV_1978"),
    };
    return expected;
}

ExpectedRegistration windowsNtRegistration() {
    const std::string controlSet = "SYSTEM\\CurrentControlSet";
    const std::string classKey = controlSet + "\\Control\\Class\\" + kMediaClassGuid + "\\0000";
    const std::string service = controlSet + "\\Services\\es1978";
    const std::string legacyParent = controlSet + "\\Enum\\Root\\LEGACY_ES1978";
    const std::string legacy = legacyParent + "\\0000";
    const std::string eventLog = controlSet + "\\Services\\EventLog\\System\\es1978";
    const std::string settings = service + "\\Device0";
    ExpectedRegistration expected;
    // Wine keeps the display class's key up to date on its own; the media class is ours.
    expected.trees = {controlSet + "\\Control\\Class\\" + kMediaClassGuid,
                      controlSet + "\\Services", controlSet + "\\Enum\\Root"};
    expected.newKeys = {classKey, service, legacyParent, legacy, eventLog, settings};
    expected.values = {
        textValue(classKey, "DeviceDesc", "Tunara Multi-Device Enumerator"),
        textValue(classKey, "InfPath", "CNPROWT.INF"),
        textValue(classKey, "InfSection", "Tunara.Enum"),
        textValue(classKey, "ProviderName", "Helvane"),
        dwordValue(service, "ErrorControl", 1),
        textValue(service, "Group", "Extended Base"),
        // %12% is "C:\windows\system32\drivers" under Wine (NT 4 spells it System32); the
        // image path keeps the part from the system folder's name on.
        textValue(service, "ImagePath", "system32\\drivers\\es1978.sys"),
        dwordValue(service, "Start", 3),
        dwordValue(service, "Tag", 2),
        dwordValue(service, "Type", 1),
        textValue(legacy, "BaseDevicePath", "HTREE\\ROOT\\0"),
        textValue(legacy, "Class", "MEDIA"),
        textValue(legacy, "ClassGUID", kMediaClassGuid),
        textValue(legacy, "DeviceDesc", "Tunara Multi-Device Enumerator"),
        textValue(legacy, "Driver", std::string(kMediaClassGuid) + "\\0000"),
        textValue(legacy, "Mfg", "Helvane"),
        textValue(legacy, "Service", "es1978"),
        // The event-log section's AddReg lines, HKR being the service's event source.
        expandTextValue(eventLog, "EventMessageFile", "%SystemRoot%\\System32\\IoLogMsg.dll"),
        dwordValue(eventLog, "TypesSupported", 7),
        // The software settings, HKR being the service's Device0 key.
        dwordValue(settings, "Interrupt", 5),
    };
    return expected;
}
