#include "platform/pe_version_reader.h"

#include <cstring>

#include "platform/out_of_memory.h"
#include "platform/version_resource.h"
#include "platform/win32_constants.h"

namespace platform {
namespace {

constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kVersionName = 1;
constexpr std::uint16_t kLanguageNeutral = 0;
constexpr std::uint16_t kLanguageUsEnglish = 0x0409;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
// The Windows 95 loader refuses images with more sections than this.
constexpr std::uint32_t kMaxSections = 96;

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t size;  // bytes present in the file and in memory
    std::uint32_t rawOffset;
};

struct ResourceEntry {
    std::uint32_t name;
    std::uint32_t target;
};

class PeReader {
  public:
    explicit PeReader(ByteSource& file) : file_(file), fileSize_(file.size()) {}

    // Reads `length` bytes at `offset`: ERROR_SUCCESS, `outside` when they do not all lie in
    // the file, ERROR_READ_FAULT when the source fails.
    std::uint32_t fetch(std::uint64_t offset, void* out, std::size_t length,
                        std::uint32_t outside) {
        if (offset > fileSize_ || length > fileSize_ - offset) return outside;
        return file_.read(offset, out, length) ? ERROR_SUCCESS : ERROR_READ_FAULT;
    }

    std::uint32_t readHeaders() {
        std::uint8_t dos[64];
        std::uint32_t rc = fetch(0, dos, sizeof dos, ERROR_BAD_EXE_FORMAT);
        if (rc != ERROR_SUCCESS) return rc;
        if (dos[0] != 'M' || dos[1] != 'Z') return ERROR_BAD_EXE_FORMAT;
        std::uint64_t pe = u32(dos + 0x3C);

        std::uint8_t coff[24];
        rc = fetch(pe, coff, sizeof coff, ERROR_BAD_EXE_FORMAT);
        if (rc != ERROR_SUCCESS) return rc;
        if (std::memcmp(coff, "PE\0\0", 4) != 0) return ERROR_BAD_EXE_FORMAT;
        std::uint32_t sectionCount = u16(coff + 6);
        std::uint32_t optionalSize = u16(coff + 20);
        if (sectionCount > kMaxSections) return ERROR_BAD_EXE_FORMAT;

        std::uint8_t optional[240] = {};
        std::size_t optionalRead = optionalSize < sizeof optional ? optionalSize : sizeof optional;
        if (optionalRead < 2) return ERROR_BAD_EXE_FORMAT;
        rc = fetch(pe + 24, optional, optionalRead, ERROR_BAD_EXE_FORMAT);
        if (rc != ERROR_SUCCESS) return rc;
        std::size_t countAt = 0;
        switch (u16(optional)) {
            case 0x10B:
                countAt = 92;
                break;  // PE32
            case 0x20B:
                countAt = 108;
                break;  // PE32+
            default:
                return ERROR_BAD_EXE_FORMAT;
        }
        std::size_t resourceAt = countAt + 4 + 2 * 8;  // the third data directory
        if (optionalRead >= resourceAt + 8 && u32(optional + countAt) > 2) {
            resourceRva_ = u32(optional + resourceAt);
            resourceSize_ = u32(optional + resourceAt + 4);
        }

        std::uint64_t table = pe + 24 + optionalSize;
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            std::uint8_t header[40];
            rc = fetch(table + 40ull * i, header, sizeof header, ERROR_BAD_EXE_FORMAT);
            if (rc != ERROR_SUCCESS) return rc;
            std::uint32_t virtualSize = u32(header + 8);
            std::uint32_t rawSize = u32(header + 16);
            Section s;
            s.virtualAddress = u32(header + 12);
            s.size = (virtualSize != 0 && virtualSize < rawSize) ? virtualSize : rawSize;
            s.rawOffset = u32(header + 20);
            sections_.push_back(s);
        }
        return ERROR_SUCCESS;
    }

    bool hasResources() const { return resourceRva_ != 0 && resourceSize_ != 0; }

    // The file offset of `length` bytes at `rva`, when one section holds all of them.
    bool mapRva(std::uint64_t rva, std::uint64_t length, std::uint64_t* offset) const {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress) continue;
            std::uint64_t into = rva - s.virtualAddress;
            if (into >= s.size || length > s.size - into) continue;
            *offset = std::uint64_t{s.rawOffset} + into;
            return true;
        }
        return false;
    }

    // Reads `length` bytes at an address of the loaded image.
    std::uint32_t fetchRva(std::uint64_t rva, void* out, std::size_t length) {
        std::uint64_t offset = 0;
        if (!mapRva(rva, length, &offset)) return ERROR_RESOURCE_DATA_NOT_FOUND;
        return fetch(offset, out, length, ERROR_RESOURCE_DATA_NOT_FOUND);
    }

    // The entries of the resource directory at `directoryOffset` (from the start of the
    // resource section); `ids` only the numbered ones.
    std::uint32_t readDirectory(std::uint32_t directoryOffset, std::vector<ResourceEntry>* ids) {
        std::uint8_t header[16];
        std::uint64_t rva = std::uint64_t{resourceRva_} + directoryOffset;
        std::uint32_t rc = fetchRva(rva, header, sizeof header);
        if (rc != ERROR_SUCCESS) return rc;
        std::uint32_t named = u16(header + 12);
        std::uint32_t numbered = u16(header + 14);
        if (numbered == 0) return ERROR_SUCCESS;
        std::vector<std::uint8_t> raw(std::size_t{numbered} * 8);
        rc = fetchRva(rva + 16 + std::uint64_t{named} * 8, raw.data(), raw.size());
        if (rc != ERROR_SUCCESS) return rc;
        for (std::uint32_t i = 0; i < numbered; ++i) {
            ids->push_back({u32(&raw[i * 8]), u32(&raw[i * 8 + 4])});
        }
        return ERROR_SUCCESS;
    }

    std::uint32_t findSubdirectory(std::uint32_t directoryOffset, std::uint16_t id,
                                   std::uint32_t* subdirectory) {
        std::vector<ResourceEntry> entries;
        std::uint32_t rc = readDirectory(directoryOffset, &entries);
        if (rc != ERROR_SUCCESS) return rc;
        for (const ResourceEntry& e : entries) {
            if (e.name != id) continue;
            if ((e.target & kSubdirectoryBit) == 0) return ERROR_RESOURCE_DATA_NOT_FOUND;
            *subdirectory = e.target & ~kSubdirectoryBit;
            return ERROR_SUCCESS;
        }
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    }

    // The data entry of the language to use: neutral, then US English, then the first.
    std::uint32_t findLanguage(std::uint32_t directoryOffset, std::uint32_t* dataEntry) {
        std::vector<ResourceEntry> entries;
        std::uint32_t rc = readDirectory(directoryOffset, &entries);
        if (rc != ERROR_SUCCESS) return rc;
        if (entries.empty()) return ERROR_RESOURCE_TYPE_NOT_FOUND;
        const ResourceEntry* chosen = &entries.front();
        for (std::uint16_t preferred : {kLanguageUsEnglish, kLanguageNeutral}) {
            for (const ResourceEntry& e : entries) {
                if (e.name == preferred) chosen = &e;
            }
        }
        if ((chosen->target & kSubdirectoryBit) != 0) return ERROR_RESOURCE_DATA_NOT_FOUND;
        *dataEntry = chosen->target;
        return ERROR_SUCCESS;
    }

    std::uint32_t readVersion(std::vector<std::uint8_t>* resource) {
        std::uint32_t rc = readHeaders();
        if (rc != ERROR_SUCCESS) return rc;
        if (!hasResources()) return ERROR_RESOURCE_TYPE_NOT_FOUND;

        std::uint32_t types = 0, names = 0, dataEntry = 0;
        rc = findSubdirectory(0, kRtVersion, &types);
        if (rc == ERROR_SUCCESS) rc = findSubdirectory(types, kVersionName, &names);
        if (rc == ERROR_SUCCESS) rc = findLanguage(names, &dataEntry);
        if (rc != ERROR_SUCCESS) return rc;

        std::uint8_t entry[16];
        rc = fetchRva(std::uint64_t{resourceRva_} + dataEntry, entry, sizeof entry);
        if (rc != ERROR_SUCCESS) return rc;
        std::uint32_t dataRva = u32(entry);
        std::uint32_t dataSize = u32(entry + 4);

        std::uint8_t lengthBytes[2];
        if (dataSize < 6) return ERROR_RESOURCE_DATA_NOT_FOUND;
        rc = fetchRva(dataRva, lengthBytes, sizeof lengthBytes);
        if (rc != ERROR_SUCCESS) return rc;
        std::size_t length = u16(lengthBytes);
        if (length < 6 || length > dataSize) return ERROR_RESOURCE_DATA_NOT_FOUND;

        std::vector<std::uint8_t> block(length);
        rc = fetchRva(dataRva, block.data(), block.size());
        if (rc != ERROR_SUCCESS) return rc;
        VersionNode root;
        if (!readVersionNode(block.data(), block.size(), 0, &root)) {
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        }
        resource->swap(block);
        return ERROR_SUCCESS;
    }

  private:
    ByteSource& file_;
    std::uint64_t fileSize_;
    std::uint32_t resourceRva_ = 0;
    std::uint32_t resourceSize_ = 0;
    std::vector<Section> sections_;
};

}  // namespace

bool MemoryByteSource::read(std::uint64_t offset, void* out, std::size_t length) {
    if (offset > size_ || length > size_ - offset) return false;
    if (length != 0) std::memcpy(out, data_ + offset, length);
    return true;
}

std::uint32_t readPeVersionResource(ByteSource& file, std::vector<std::uint8_t>* resource) {
    return unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&] {
        PeReader reader(file);
        return reader.readVersion(resource);
    });
}

}  // namespace platform
