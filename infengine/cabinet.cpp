#include "infengine/cabinet.h"

#include <cstring>

#include "infengine/cabinet_system.h"
#include "platform/file_handle.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace infengine {
namespace {

// The attributes an extracted file may keep: read-only, hidden, system and archive.
constexpr std::uint32_t kKeptAttributes = 0x27;

// What the extracted file takes from its cabinet entry.
struct MemberStamp {
    platform::SystemTime localTime;
    std::uint32_t attributes = 0;
};

MemberStamp stampOf(const mscabd_file& file) {
    MemberStamp stamp;
    stamp.localTime.year = static_cast<std::uint16_t>(file.date_y);
    stamp.localTime.month = static_cast<std::uint16_t>(file.date_m);
    stamp.localTime.day = static_cast<std::uint16_t>(file.date_d);
    stamp.localTime.hour = static_cast<std::uint16_t>(file.time_h);
    stamp.localTime.minute = static_cast<std::uint16_t>(file.time_m);
    stamp.localTime.second = static_cast<std::uint16_t>(file.time_s);
    stamp.attributes = static_cast<std::uint32_t>(file.attribs) & kKeptAttributes;
    return stamp;
}

// LocalFileTimeToFileTime: the time zone bias is the one FileTimeToLocalFileTime applies, as
// Windows 95/98 apply the current bias to every time in both directions.
bool localToUniversal(const platform::FileTime& local, platform::FileTime* universal) {
    platform::FileTime shifted = 0;
    if (!platform::machine().system->FileTimeToLocalFileTime(&local, &shifted)) return false;
    const std::int64_t bias =
        static_cast<std::int64_t>(shifted) - static_cast<std::int64_t>(local);
    const std::int64_t result = static_cast<std::int64_t>(local) - bias;
    if (result < 0) return false;
    *universal = static_cast<platform::FileTime>(result);
    return true;
}

// Gives the written file its time stamp and attributes. A date the member cannot give (a DOS
// date of month 0, say) leaves the time of writing.
void applyStamp(const std::string& path, const MemberStamp& stamp) {
    platform::System& system = *platform::machine().system;
    platform::FileSystem& files = *platform::machine().files;
    platform::FileTime local = 0;
    platform::FileTime universal = 0;
    if (system.SystemTimeToFileTime(&stamp.localTime, &local) &&
        localToUniversal(local, &universal)) {
        platform::ScopedFile file;
        if (files.CreateFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             OPEN_EXISTING, 0, file.receive()) == ERROR_SUCCESS) {
            files.SetFileTime(file.get(), &universal, nullptr, &universal);
        }
    }
    files.SetFileAttributes(path.c_str(),
                            stamp.attributes != 0 ? stamp.attributes : FILE_ATTRIBUTE_NORMAL);
}

// Owner of the decompressor and the open cabinet.
class Decompressor {
public:
    Decompressor() : system_(makeCabinetSystem()) {
        int selfTest = MSPACK_ERR_OK;
        MSPACK_SYS_SELFTEST(selfTest);
        if (selfTest == MSPACK_ERR_OK) cabd_ = mspack_create_cab_decompressor(&system_.base);
    }
    ~Decompressor() {
        if (cabinet_ != nullptr) cabd_->close(cabd_, cabinet_);
        if (cabd_ != nullptr) mspack_destroy_cab_decompressor(cabd_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // Opens the cabinet and checks that it is one.
    bool open(const std::string& path) {
        if (cabd_ == nullptr) return false;
        cabinet_ = cabd_->open(cabd_, path.c_str());
        return cabinet_ != nullptr;
    }

    const mscabd_file* find(const std::string& member) const {
        for (const mscabd_file* file = cabinet_->files; file != nullptr; file = file->next) {
            if (file->filename != nullptr && std::strcmp(file->filename, member.c_str()) == 0) {
                return file;
            }
        }
        return nullptr;
    }

    // Writes the member to `target`; false with the library's error.
    bool extract(const mscabd_file* file, const std::string& target) {
        system_.outputOpened = false;
        return cabd_->extract(cabd_, const_cast<mscabd_file*>(file), target.c_str()) ==
               MSPACK_ERR_OK;
    }

    bool outputOpened() const { return system_.outputOpened; }

private:
    CabinetSystem system_;
    mscab_decompressor* cabd_ = nullptr;
    mscabd_cabinet* cabinet_ = nullptr;
};

}  // namespace

bool extractCabinetMember(const std::string& cabinetPath, const std::string& member,
                          const std::string& folder) {
    if (member.empty()) return false;
    Decompressor decompressor;
    if (!decompressor.open(cabinetPath)) return false;
    const mscabd_file* file = decompressor.find(member);
    if (file == nullptr) return false;
    const MemberStamp stamp = stampOf(*file);
    const std::string target = folder + member;
    if (!decompressor.extract(file, target)) {
        // What was written of a damaged member is not the member.
        if (decompressor.outputOpened()) platform::machine().files->DeleteFile(target.c_str());
        return false;
    }
    applyStamp(target, stamp);
    return true;
}

}  // namespace infengine
