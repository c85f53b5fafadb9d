// The B+ trees of a help file (its directory of internal files, |CONTEXT): a 38-byte header
// and leaf pages of sorted entries. The trees written here are small, so they have a single
// leaf page, which is also the root.
#pragma once

#include <string>
#include <vector>

#include "tools/helpc/byte_writer.h"

namespace helpc {

struct BTreeLayout {
    unsigned flags;         // 0x0002, plus 0x0400 for the directory
    unsigned pageSize;      // 1024 for the directory, 2048 otherwise
    std::string structure;  // "z4" directory, "L4" |CONTEXT
};

// `entries` are the encoded leaf entries, already in key order. Throws std::length_error when
// they do not fit one page.
Bytes buildSingleLeafBTree(const BTreeLayout& layout, const std::vector<Bytes>& entries);

}  // namespace helpc
