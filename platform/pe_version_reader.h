// Finds the version resource (RT_VERSION, name 1) in a 32-bit or 64-bit Windows executable
// or library, without loading it.
//
// The reader asks its source for small pieces at computed offsets: the DOS header, the PE
// headers, the section table, the resource directory entries and finally the resource data.
// Every offset and size taken from the file is checked against the file size and the
// section bounds before it is used, so a truncated, damaged or hostile file ends the read
// with an error and never a read outside the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Random access to the bytes of a file.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies `length` bytes at `offset`; false (nothing promised in `out`) when they do not
    // all lie within the source or cannot be read.
    virtual bool read(std::uint64_t offset, void* out, std::size_t length) = 0;
};

// A source over bytes in memory (not copied; they must outlive the source).
class MemoryByteSource : public ByteSource {
  public:
    MemoryByteSource(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t length) override;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Copies the version block of the file into *resource, exactly as long as its root node
// says (at most 65535 bytes). Results, as GetFileVersionInfoSizeA reports them:
//   ERROR_SUCCESS                   found; *resource holds the block
//   ERROR_BAD_EXE_FORMAT            not a PE file (no "MZ", no "PE\0\0", bad headers)
//   ERROR_RESOURCE_TYPE_NOT_FOUND   no resources, or none of type RT_VERSION / name 1
//   ERROR_RESOURCE_DATA_NOT_FOUND   the directory or the data lies outside the file, or the
//                                   block is malformed at its root
//   ERROR_READ_FAULT                the source failed to read bytes it holds
// *resource is untouched on failure.
std::uint32_t readPeVersionResource(ByteSource& file, std::vector<std::uint8_t>* resource);

}  // namespace platform
