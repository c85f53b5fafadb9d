// Buffered reads, writes and in-place moves on an open file, for the edits of the DOS
// start-up files and the driver INF.
//
// The edits are defined byte by byte (read a byte, compare it; move each byte one place), and
// under Windows 95/98 every ReadFile or WriteFile is a trip through the file system: a 1 MB
// INF read a byte at a time is a million calls. These helpers do the same work a buffer at a
// time and leave the file and its pointer as the byte-by-byte form would.
//
// Positions are 64-bit file offsets (SetFilePointer with its high part). Every helper returns
// false when a call fails or comes up short; what a failed helper left behind is said with it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files.h"

namespace settings {

// The buffer of every read and move: 64 KiB, the size Windows 95/98's own copy loops use.
constexpr std::size_t kFileChunkSize = 64 * 1024;

// The current file pointer.
bool filePosition(platform::FileSystem& files, platform::FileHandle file, std::uint64_t* position);
// Puts the file pointer at `position` from the start.
bool seekFile(platform::FileSystem& files, platform::FileHandle file, std::uint64_t position);
// The file's size.
bool fileLength(platform::FileSystem& files, platform::FileHandle file, std::uint64_t* size);

// Reads up to `size` bytes at the file pointer into `buffer`, looping over short reads until
// the end of the file; *read receives the count. False only when a read fails.
bool readSome(platform::FileSystem& files, platform::FileHandle file, void* buffer,
              std::uint32_t size, std::uint32_t* read);
// Writes all `size` bytes at the file pointer. False when a write fails or writes fewer bytes
// than asked (the file may then hold part of them).
bool writeAll(platform::FileSystem& files, platform::FileHandle file, const void* buffer,
              std::uint32_t size);

// Copies the `length` bytes at offset `from` to offset `to` of the same file, correctly when
// the two ranges overlap (as memmove does), extending the file when `to` + `length` passes
// its end. Works from the end backwards when moving forward, from the start when moving
// back, `chunkSize` bytes per read and per write; callers put the file pointer where they
// need it afterwards. False when a call fails: the file is then partly moved and must be
// restored by the caller.
bool moveFileBytes(platform::FileSystem& files, platform::FileHandle file, std::uint64_t from,
                   std::uint64_t to, std::uint64_t length, std::size_t chunkSize);

}  // namespace settings
