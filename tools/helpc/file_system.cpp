#include "tools/helpc/file_system.h"

#include <vector>

#include "tools/helpc/btree.h"

namespace helpc {

namespace {

void appendInternalFile(ByteWriter& out, const Bytes& contents) {
    auto used = static_cast<std::uint32_t>(contents.size());
    out.u32(used + 9);  // reserved space, header included
    out.u32(used);      // used space
    out.u8(4);          // file flags: a normal file
    out.append(contents);
}

}  // namespace

Bytes buildFileSystem(const std::map<std::string, Bytes>& files) {
    ByteWriter out;
    out.u32(0x00035F3F);  // magic
    out.u32(0);           // directory start, set below
    out.u32(0xFFFFFFFF);  // first free block: none
    out.u32(0);           // file size, set below

    // std::map keeps the names in byte order, the directory's key order.
    std::vector<Bytes> entries;
    for (const auto& [name, contents] : files) {
        ByteWriter entry;
        entry.stringz(name);
        entry.u32(static_cast<std::uint32_t>(out.size()));
        entries.push_back(entry.bytes);
        appendInternalFile(out, contents);
    }
    auto directoryStart = static_cast<std::uint32_t>(out.size());
    appendInternalFile(out, buildSingleLeafBTree({0x0402, 1024, "z4"}, entries));
    out.put32At(4, directoryStart);
    out.put32At(12, static_cast<std::uint32_t>(out.size()));
    return out.bytes;
}

}  // namespace helpc
