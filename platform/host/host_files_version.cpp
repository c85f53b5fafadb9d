// HostFileSystem: version resources of the PE files on the simulated disk.
//
// The block GetFileVersionInfo fills is laid out as
//     [0, L)    the resource as the file holds it (its root length says L)
//     [L, 2L)   room for ANSI texts: VerQueryValue writes the text whose UTF-16 value sits
//               at offset o to L + o, which always fits, since the ANSI form takes at most
//               half the bytes of the UTF-16 one plus its zero.
// so VerQueryValue needs nothing but the block, as the real one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/host/host_file_times.h"
#include "platform/host/host_files.h"
#include "platform/pe_version_reader.h"
#include "platform/version_resource.h"

namespace platform::host {
namespace {

class FdByteSource : public ByteSource {
  public:
    FdByteSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t length) override {
        if (offset > size_ || length > size_ - offset) return false;
        std::size_t done = 0;
        while (done < length) {
            ssize_t got = ::pread(fd_, static_cast<char*>(out) + done, length - done,
                                  static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

  private:
    int fd_;
    std::uint64_t size_;
};

}  // namespace

std::uint32_t HostFileSystem::readVersionResource(const char* path,
                                                  std::vector<std::uint8_t>* resource) {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::GetFileVersionInfo, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    if (target.directory) return ERROR_ACCESS_DENIED;
    if (shareConflict(target.hostPath, true, false, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return ERROR_SHARING_VIOLATION;
    }
    int fd = ::open(target.hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return ERROR_READ_FAULT;
    }
    FdByteSource source(fd, static_cast<std::uint64_t>(info.st_size));
    rc = readPeVersionResource(source, resource);
    ::close(fd);
    return rc;
}

std::uint32_t HostFileSystem::GetFileVersionInfoSize(const char* path, std::uint32_t* size) try {
    if (size == nullptr) return ERROR_INVALID_PARAMETER;
    std::vector<std::uint8_t> resource;
    std::uint32_t rc = readVersionResource(path, &resource);
    if (rc != ERROR_SUCCESS) return rc;
    *size = static_cast<std::uint32_t>(resource.size() * 2);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetFileVersionInfo(const char* path, std::uint32_t size,
                                                 void* block) try {
    if (block == nullptr) return ERROR_INVALID_PARAMETER;
    std::vector<std::uint8_t> resource;
    std::uint32_t rc = readVersionResource(path, &resource);
    if (rc != ERROR_SUCCESS) return rc;
    // A short buffer gets a shortened block whose root length keeps every read inside it.
    std::size_t length = resource.size();
    if (length > size / 2) length = size / 2;
    if (length < 6) return ERROR_INSUFFICIENT_BUFFER;
    auto* out = static_cast<std::uint8_t*>(block);
    std::memcpy(out, resource.data(), length);
    out[0] = static_cast<std::uint8_t>(length & 0xFF);
    out[1] = static_cast<std::uint8_t>(length >> 8);
    std::memset(out + length, 0, length);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::VerQueryValue(void* block, const char* subBlock, void** value,
                                            std::uint32_t* length) try {
    if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto* bytes = static_cast<std::uint8_t*>(block);
    std::size_t blockLength = versionBlockLength(bytes, 6);
    VersionNode node;
    if (blockLength == 0 || !findVersionNode(bytes, blockLength, subBlock, &node)) {
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    if (node.offset == 0) {
        // The root: its value is the fixed file information.
        if (node.valueBytes < kFixedFileInfoSize) return ERROR_RESOURCE_TYPE_NOT_FOUND;
        *value = bytes + node.valueOffset;
        *length = static_cast<std::uint32_t>(node.valueBytes);
        return ERROR_SUCCESS;
    }
    if (node.type != 1) {
        *value = bytes + node.valueOffset;
        *length = static_cast<std::uint32_t>(node.valueBytes);
        return ERROR_SUCCESS;
    }
    static char empty[1] = {'\0'};
    if (node.valueBytes == 0) {
        *value = empty;
        *length = 1;
        return ERROR_SUCCESS;
    }
    std::string text = versionText(bytes, node);
    char* ansi = reinterpret_cast<char*>(bytes + blockLength + node.valueOffset);
    std::memcpy(ansi, text.c_str(), text.size() + 1);
    *value = ansi;
    *length = static_cast<std::uint32_t>(text.size() + 1);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace platform::host
