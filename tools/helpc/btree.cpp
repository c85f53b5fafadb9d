#include "tools/helpc/btree.h"

#include <stdexcept>

namespace helpc {

Bytes buildSingleLeafBTree(const BTreeLayout& layout, const std::vector<Bytes>& entries) {
    constexpr unsigned kLeafHeader = 8;
    std::size_t used = kLeafHeader;
    for (const Bytes& entry : entries) used += entry.size();
    if (used > layout.pageSize)
        throw std::length_error("too many entries for one B+ tree page (" +
                                std::to_string(entries.size()) + ")");

    ByteWriter out;
    out.u16(0x293B);  // magic
    out.u16(layout.flags);
    out.u16(layout.pageSize);
    out.fixedString(layout.structure, 16);
    out.u16(0);       // must be zero
    out.u16(0);       // page splits
    out.u16(0);       // root page
    out.u16(0xFFFF);  // must be -1
    out.u16(1);       // total pages
    out.u16(1);       // levels: the root is a leaf
    out.u32(static_cast<std::uint32_t>(entries.size()));

    out.u16(static_cast<unsigned>(layout.pageSize - used));  // bytes unused at the page's end
    out.u16(static_cast<unsigned>(entries.size()));
    out.u16(0xFFFF);  // previous leaf: none
    out.u16(0xFFFF);  // next leaf: none
    for (const Bytes& entry : entries) out.append(entry);
    out.bytes.resize(38 + layout.pageSize, 0);
    return out.bytes;
}

}  // namespace helpc
