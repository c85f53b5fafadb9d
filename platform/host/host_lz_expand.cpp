#include "platform/host/host_lz_expand.h"

#include <mspack.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace platform::host {
namespace {

// The SZDD decompressor reads and writes through an mspack_system; ours hands it memory
// buffers, so the expansion never touches the host's own file names. A "file name" given to
// it is the address of one of these.
struct MemoryFile {
    std::vector<std::uint8_t>* data = nullptr;
    std::size_t position = 0;
};

mspack_file* memOpen(mspack_system*, const char* name, int) {
    // The name is the MemoryFile itself; the decompressor only passes it back to us.
    return reinterpret_cast<mspack_file*>(const_cast<char*>(name));
}
void memClose(mspack_file*) {}
int memRead(mspack_file* handle, void* buffer, int bytes) {
    auto* file = reinterpret_cast<MemoryFile*>(handle);
    if (bytes < 0) return -1;
    std::size_t left = file->data->size() - std::min(file->position, file->data->size());
    std::size_t count = std::min<std::size_t>(left, static_cast<std::size_t>(bytes));
    if (count > 0) std::memcpy(buffer, file->data->data() + file->position, count);
    file->position += count;
    return static_cast<int>(count);
}
int memWrite(mspack_file* handle, void* buffer, int bytes) {
    auto* file = reinterpret_cast<MemoryFile*>(handle);
    if (bytes < 0) return -1;
    // SZDD output of a 16-bit compressor never legitimately exceeds 2 GB; stop well before.
    if (file->data->size() + static_cast<std::size_t>(bytes) > 0x7FFFFFFFu) return -1;
    const auto* bytesIn = static_cast<const std::uint8_t*>(buffer);
    file->data->insert(file->data->end(), bytesIn, bytesIn + bytes);
    file->position = file->data->size();
    return bytes;
}
int memSeek(mspack_file* handle, off_t offset, int mode) {
    auto* file = reinterpret_cast<MemoryFile*>(handle);
    long long base = 0;
    if (mode == MSPACK_SYS_SEEK_CUR)
        base = static_cast<long long>(file->position);
    else if (mode == MSPACK_SYS_SEEK_END)
        base = static_cast<long long>(file->data->size());
    long long target = base + static_cast<long long>(offset);
    if (target < 0 || target > static_cast<long long>(file->data->size())) return -1;
    file->position = static_cast<std::size_t>(target);
    return 0;
}
off_t memTell(mspack_file* handle) {
    return static_cast<off_t>(reinterpret_cast<MemoryFile*>(handle)->position);
}
void memMessage(mspack_file*, const char*, ...) {}
void* memAlloc(mspack_system*, size_t bytes) {
    return ::operator new(bytes, std::nothrow);
}
void memFree(void* pointer) {
    ::operator delete(pointer);
}
void memCopy(void* source, void* target, size_t bytes) {
    std::memmove(target, source, bytes);
}

mspack_system memorySystem() {
    mspack_system system{};
    system.open = memOpen;
    system.close = memClose;
    system.read = memRead;
    system.write = memWrite;
    system.seek = memSeek;
    system.tell = memTell;
    system.message = memMessage;
    system.alloc = memAlloc;
    system.free = memFree;
    system.copy = memCopy;
    return system;
}

const std::uint8_t kSzddSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

bool readWhole(FileHandle file, std::vector<std::uint8_t>* out) {
    FileSystem& files = *machine().files;
    std::uint32_t size = 0;
    if (files.GetFileSize(file, &size, nullptr) != ERROR_SUCCESS) return false;
    if (files.SetFilePointer(file, 0, nullptr, FILE_BEGIN, nullptr) != ERROR_SUCCESS) return false;
    out->resize(size);
    std::uint32_t done = 0;
    while (done < size) {
        std::uint32_t read = 0;
        if (files.ReadFile(file, out->data() + done, size - done, &read) != ERROR_SUCCESS)
            return false;
        if (read == 0) break;
        done += read;
    }
    out->resize(done);
    return true;
}

}  // namespace

HostLzExpand::~HostLzExpand() {
    for (auto& entry : open_)
        if (hasMachine() && machine().files) machine().files->CloseHandle(entry.second.file);
}

std::int32_t HostLzExpand::LZOpenFile(const char* path, std::uint16_t style) {
    if (path == nullptr || !hasMachine() || machine().files == nullptr) return LZERROR_BADINHANDLE;
    if (open_.size() >= kMaxHandles) return LZERROR_GLOBALLOC;
    OpenFile entry;
    entry.forWriting = (style & OF_CREATE) != 0;
    std::uint32_t error = entry.forWriting
                              ? machine().files->CreateFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS,
                                                            FILE_ATTRIBUTE_NORMAL, &entry.file)
                              : machine().files->CreateFile(path, GENERIC_READ, FILE_SHARE_READ,
                                                            OPEN_EXISTING, 0, &entry.file);
    if (error != ERROR_SUCCESS) return LZERROR_BADINHANDLE;
    std::int32_t handle = next_;
    next_ = (next_ + 1) & 0x7FFF;
    while (open_.count(next_)) next_ = (next_ + 1) & 0x7FFF;
    open_[handle] = entry;
    return handle;
}

std::int32_t HostLzExpand::LZCopy(std::int32_t source, std::int32_t target) {
    auto in = open_.find(source);
    if (in == open_.end() || in->second.forWriting) return LZERROR_BADINHANDLE;
    auto out = open_.find(target);
    if (out == open_.end() || !out->second.forWriting) return LZERROR_BADOUTHANDLE;

    std::vector<std::uint8_t> packed;
    if (!readWhole(in->second.file, &packed)) return LZERROR_READ;

    std::vector<std::uint8_t> expanded;
    if (packed.size() >= sizeof kSzddSignature &&
        std::memcmp(packed.data(), kSzddSignature, sizeof kSzddSignature) == 0) {
        mspack_system system = memorySystem();
        msszdd_decompressor* szdd = mspack_create_szdd_decompressor(&system);
        if (szdd == nullptr) return LZERROR_GLOBALLOC;
        MemoryFile input{&packed, 0};
        MemoryFile output{&expanded, 0};
        int result = szdd->decompress(szdd, reinterpret_cast<const char*>(&input),
                                      reinterpret_cast<const char*>(&output));
        mspack_destroy_szdd_decompressor(szdd);
        if (result == MSPACK_ERR_WRITE) return LZERROR_WRITE;
        if (result == MSPACK_ERR_NOMEMORY) return LZERROR_GLOBALLOC;
        if (result != MSPACK_ERR_OK) return LZERROR_READ;
        // The header names the expanded size; a file cut short expands to less (or to
        // padding) without the decompressor noticing.
        if (packed.size() < 14) return LZERROR_READ;
        const std::uint32_t promised = packed[10] | (packed[11] << 8) | (packed[12] << 16) |
                                       (static_cast<std::uint32_t>(packed[13]) << 24);
        if (expanded.size() != promised) return LZERROR_READ;
    } else {
        expanded.swap(packed);
    }
    if (expanded.size() > 0x7FFFFFFFu) return LZERROR_WRITE;

    std::uint32_t written = 0;
    if (machine().files->WriteFile(out->second.file, expanded.data(),
                                   static_cast<std::uint32_t>(expanded.size()),
                                   &written) != ERROR_SUCCESS ||
        written != expanded.size())
        return LZERROR_WRITE;
    return static_cast<std::int32_t>(written);
}

void HostLzExpand::LZClose(std::int32_t file) {
    auto entry = open_.find(file);
    if (entry == open_.end()) return;
    if (hasMachine() && machine().files) machine().files->CloseHandle(entry->second.file);
    open_.erase(entry);
}

}  // namespace platform::host
