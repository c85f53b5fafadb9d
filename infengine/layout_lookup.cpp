#include "infengine/layout_lookup.h"

#include "infengine/cabinet.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"
#include "platform/machine.h"
#include "platform/registry_key.h"

namespace infengine {
namespace {

constexpr char kSetupKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr char kSourcePathValue[] = "SourcePath";
// The disk id of a "SourceDisksFiles" line is read into four bytes: three characters at most.
constexpr std::size_t kMaxDiskIdLength = 3;

// An open layout INF, closed when the owner goes.
class LayoutInf {
public:
    explicit LayoutInf(const std::string& path) {
        platform::InfReader* reader = platform::machine().inf;
        if (reader == nullptr ||
            reader->OpenInfFile(path.c_str(), INF_STYLE_WIN4, &inf_, nullptr) != ERROR_SUCCESS) {
            inf_ = platform::kInvalidInf;
        }
    }
    ~LayoutInf() {
        if (inf_ != platform::kInvalidInf) platform::machine().inf->CloseInfFile(inf_);
    }
    LayoutInf(const LayoutInf&) = delete;
    LayoutInf& operator=(const LayoutInf&) = delete;

    bool valid() const { return inf_ != platform::kInvalidInf; }

    // Value `index` of the first line of `section` keyed `key`.
    bool value(const char* section, const std::string& key, std::uint32_t index,
               std::string* text) const {
        platform::InfContext line;
        return findLine(inf_, section, key.c_str(), &line) && readField(line, index, text);
    }

private:
    platform::HInf inf_ = platform::kInvalidInf;
};

// The cabinet that holds `fileName` according to one layout INF.
bool cabinetOf(const std::string& layoutPath, const std::string& fileName, std::string* cabinet) {
    LayoutInf layout(layoutPath);
    std::string disk;
    return layout.valid() && layout.value("SourceDisksFiles", fileName, 1, &disk) &&
           disk.size() <= kMaxDiskIdLength &&
           layout.value("SourceDisksNames", disk, 2, cabinet) && cabinet->size() < kTextSize;
}

// The distribution source folder, with the backslash that separates it from a cabinet name.
// False when the Setup key or its "SourcePath" cannot be read, or the value is empty: there
// is then no folder to look in.
bool distributionFolder(std::string* folder) {
    platform::RegKey key;
    std::string path;
    if (key.Open(HKEY_LOCAL_MACHINE, kSetupKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        key.readString(kSourcePathValue, &path, kTextSize) != ERROR_SUCCESS || path.empty()) {
        return false;
    }
    if (path.back() != '\\') path += '\\';
    *folder = path;
    return true;
}

}  // namespace

std::string extractionFolder() { return windowsDirectory() + "\\temp\\"; }

bool fetchFromDistribution(const std::string& sourcePath, std::string* extractedPath) {
    const std::string fileName = fileNameOf(sourcePath);
    const std::string infFolder = windowsDirectory() + "\\Inf\\";
    for (const std::string& layout : engineState().layoutFiles) {
        std::string cabinet;
        if (!cabinetOf(infFolder + layout, fileName, &cabinet)) continue;
        std::string sourceFolder;
        if (!distributionFolder(&sourceFolder)) return false;
        const std::string folder = extractionFolder();
        if (!extractCabinetMember(sourceFolder + cabinet, fileName, folder)) return false;
        *extractedPath = folder + fileName;
        return true;
    }
    return false;
}

}  // namespace infengine
