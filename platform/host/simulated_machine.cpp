#include "platform/host/simulated_machine.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_security.h"
#include "platform/host/host_shell.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/inf/portable_inf_reader.h"
#include "platform/sim/sim_direct_sound.h"
#include "platform/sim/sim_installable_drivers.h"
#include "platform/host/host_lz_expand.h"
#include "platform/sim/sim_mci.h"
#include "platform/sim/sim_mixer.h"
#include "platform/sim/sim_pci_config.h"
#include "platform/sim/sim_pnp_config.h"

namespace fs = std::filesystem;

namespace platform::host {
namespace {

using IniFile = std::map<std::string, std::map<std::string, std::string>>;

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// machine.ini: [section] lines, key=value lines, ';' comments. Names are case-insensitive.
bool readIni(const fs::path& path, IniFile* ini, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path.string();
        return false;
    }
    std::string line;
    std::string section;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const auto close = line.find(']');
            if (close == std::string::npos) {
                *error = path.string() + ":" + std::to_string(number) + ": unclosed section";
                return false;
            }
            section = lower(trim(line.substr(1, close - 1)));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            *error = path.string() + ":" + std::to_string(number) + ": expected key=value";
            return false;
        }
        (*ini)[section][lower(trim(line.substr(0, equals)))] = trim(line.substr(equals + 1));
    }
    return true;
}

bool releaseByName(const std::string& name, WindowsRelease* release) {
    static const std::map<std::string, WindowsRelease> kReleases = {
        {"win95", WindowsRelease::Windows95},     {"win95osr2", WindowsRelease::Windows95Osr2},
        {"win98", WindowsRelease::Windows98},     {"win98se", WindowsRelease::Windows98SE},
        {"nt40", WindowsRelease::WindowsNT4},
    };
    const auto found = kReleases.find(lower(name));
    if (found == kReleases.end()) return false;
    *release = found->second;
    return true;
}

std::string makeTemporaryDisk() {
    std::string pattern = (fs::temp_directory_path() / "tunara-machine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();  // no temporary folder: nothing a test could do
    }
    return pattern;
}

}  // namespace

struct SimulatedMachine::Parts {
    explicit Parts(std::string root, bool temporary)
        : diskRoot(std::move(root)),
          ownsDisk(temporary),
          files(prepareDisk(diskRoot)),
          ui(system),
          shell(system),
          security(system),
          pci(registry),
          pnp(registry),
          mixer(registry, notifier()),
          directSound(registry),
          mci(registry, notifier()),
          drivers(registry) {}

    static std::string prepareDisk(const std::string& root) {
        std::error_code ignored;
        fs::create_directories(fs::path(root) / "c", ignored);
        return root;
    }

    // The simulated devices post their notifications like real drivers do.
    sim::NotificationSink notifier() {
        return [this](HWnd window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) { ui.PostMessage(window, message, wParam, lParam); };
    }

    std::string diskRoot;
    bool ownsDisk;
    HostRegistry registry;
    HostFileSystem files;
    HostSystem system;
    HostUserInterface ui;
    HostShell shell;
    HostSecurity security;
    inf::PortableInfReader inf;
    sim::SimPciConfig pci;
    sim::SimPnpConfig pnp;
    sim::SimMixer mixer;
    sim::SimDirectSound directSound;
    sim::SimMci mci;
    sim::SimInstallableDrivers drivers;
    HostLzExpand lz;
    Machine backends;
    Machine previous;
    IniFile description;
};

SimulatedMachine::SimulatedMachine(const std::string& diskRoot) {
    const bool temporary = diskRoot.empty();
    parts_ = std::make_unique<Parts>(temporary ? makeTemporaryDisk() : diskRoot, temporary);
    Machine& m = parts_->backends;
    m.registry = &parts_->registry;
    m.files = &parts_->files;
    m.system = &parts_->system;
    m.ui = &parts_->ui;
    m.shell = &parts_->shell;
    m.security = &parts_->security;
    m.inf = &parts_->inf;
    m.pci = &parts_->pci;
    m.pnp = &parts_->pnp;
    m.mixer = &parts_->mixer;
    m.directSound = &parts_->directSound;
    m.mci = &parts_->mci;
    m.drivers = &parts_->drivers;
    m.lz = &parts_->lz;
    parts_->previous = installMachine(m);
}

SimulatedMachine::~SimulatedMachine() {
    installMachine(parts_->previous);
    const std::string root = parts_->diskRoot;
    const bool owns = parts_->ownsDisk;
    parts_.reset();  // closes every back-end before its disk goes
    if (owns) {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
}

bool SimulatedMachine::loadDescription(const std::string& folder, std::string* error) {
    std::string ignored;
    if (error == nullptr) error = &ignored;
    const fs::path base(folder);

    IniFile ini;
    if (!readIni(base / "machine.ini", &ini, error)) return false;
    auto& facts = ini["machine"];

    WindowsRelease release = WindowsRelease::Windows98;
    if (!facts["version"].empty() && !releaseByName(facts["version"], &release)) {
        *error = "unknown Windows release \"" + facts["version"] + "\"";
        return false;
    }
    parts_->system.setRelease(release);
    const bool nt = release == WindowsRelease::WindowsNT4;
    parts_->registry.setNtSemantics(nt);
    parts_->files.setNtSemantics(nt);
    if (!facts["windows"].empty()) parts_->system.setWindowsDirectory(facts["windows"]);
    if (!facts["system"].empty()) parts_->system.setSystemDirectory(facts["system"]);
    if (!facts["temp"].empty()) {
        std::string temp = facts["temp"];
        if (temp.back() != '\\') temp += '\\';
        parts_->system.setTempPath(temp);
    }
    if (!facts["locale"].empty()) {
        const unsigned long lcid = std::strtoul(facts["locale"].c_str(), nullptr, 16);
        if (!parts_->system.setUserDefaultLCID(static_cast<std::uint32_t>(lcid))) {
            *error = "unknown locale " + facts["locale"];
            return false;
        }
    }

    // The drive trees: drives/<letter>/... becomes <disk>/<letter>/...
    std::error_code failure;
    const fs::path drives = base / "drives";
    if (fs::is_directory(drives)) {
        for (const auto& drive : fs::directory_iterator(drives)) {
            if (!drive.is_directory()) continue;
            const fs::path target = fs::path(parts_->diskRoot) / lower(drive.path().filename());
            fs::copy(drive.path(), target,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing, failure);
            if (failure) {
                *error = "cannot copy " + drive.path().string() + ": " + failure.message();
                return false;
            }
        }
    }
    if (!facts["current"].empty() &&
        parts_->files.SetCurrentDirectory(facts["current"].c_str()) != 0) {
        *error = "cannot make " + facts["current"] + " the current directory";
        return false;
    }

    const fs::path regFile = base / "registry.reg";
    if (fs::exists(regFile)) {
        std::ifstream in(regFile, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string importError;
        if (!in || !parts_->registry.importRegedit4(text.str(), &importError)) {
            *error = regFile.string() + ": " + importError;
            return false;
        }
    }
    parts_->description = std::move(ini);
    return true;
}

bool SimulatedMachine::loadNamedDescription(const std::string& name, const std::string& sourceRoot,
                                            std::string* error) {
    return loadDescription(sourceRoot + "/tests/machines/" + name, error);
}

std::string SimulatedMachine::descriptionFact(const std::string& section,
                                              const std::string& key) const {
    const auto s = parts_->description.find(lower(section));
    if (s == parts_->description.end()) return std::string();
    const auto k = s->second.find(lower(key));
    return k == s->second.end() ? std::string() : k->second;
}

const std::string& SimulatedMachine::diskRoot() const { return parts_->diskRoot; }
const Machine& SimulatedMachine::backends() const { return parts_->backends; }
HostRegistry& SimulatedMachine::registry() { return parts_->registry; }
HostFileSystem& SimulatedMachine::files() { return parts_->files; }
HostSystem& SimulatedMachine::system() { return parts_->system; }
HostUserInterface& SimulatedMachine::ui() { return parts_->ui; }
HostShell& SimulatedMachine::shell() { return parts_->shell; }
HostSecurity& SimulatedMachine::security() { return parts_->security; }
sim::SimPciConfig& SimulatedMachine::pci() { return parts_->pci; }
sim::SimPnpConfig& SimulatedMachine::pnp() { return parts_->pnp; }
sim::SimMixer& SimulatedMachine::mixer() { return parts_->mixer; }
sim::SimDirectSound& SimulatedMachine::directSound() { return parts_->directSound; }
sim::SimMci& SimulatedMachine::mci() { return parts_->mci; }
sim::SimInstallableDrivers& SimulatedMachine::drivers() { return parts_->drivers; }

}  // namespace platform::host
