#include "platform/version_resource.h"

#include "platform/codepage_1252.h"

namespace platform {
namespace {

constexpr std::size_t kNodeHeader = 6;  // length, valueLength, type

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::size_t align4(std::size_t offset) {
    return (offset + 3) & ~static_cast<std::size_t>(3);
}

// The children of `parent`, one after the other; stops at the first malformed one.
template <typename Visit>
void forEachChild(const std::uint8_t* block, const VersionNode& parent, Visit visit) {
    std::size_t offset = parent.childrenOffset;
    while (offset + kNodeHeader <= parent.end) {
        VersionNode child;
        if (!readVersionNode(block, parent.end, offset, &child)) return;
        if (!visit(child)) return;
        offset = align4(child.end);
    }
}

bool readRoot(const std::uint8_t* block, std::size_t size, VersionNode* root) {
    std::size_t length = versionBlockLength(block, size);
    if (length == 0 || length > size) return false;
    return readVersionNode(block, length, 0, root);
}

}  // namespace

bool readVersionNode(const std::uint8_t* block, std::size_t limit, std::size_t offset,
                     VersionNode* node) {
    if (block == nullptr || offset > limit || limit - offset < kNodeHeader) return false;
    std::size_t length = u16(block + offset);
    if (length < kNodeHeader || length > limit - offset) return false;
    node->offset = offset;
    node->end = offset + length;
    node->valueLength = u16(block + offset + 2);
    node->type = u16(block + offset + 4);

    node->key.clear();
    std::size_t cursor = offset + kNodeHeader;
    for (;;) {
        if (node->end - cursor < 2) return false;  // the key has no zero within the node
        std::uint16_t unit = u16(block + cursor);
        cursor += 2;
        if (unit == 0) break;
        node->key.push_back(ansiFromUtf16(unit));
    }

    node->valueOffset = align4(cursor);
    if (node->valueOffset > node->end) node->valueOffset = node->end;
    std::size_t stated = node->type == 1 ? std::size_t{node->valueLength} * 2 : node->valueLength;
    std::size_t room = node->end - node->valueOffset;
    // Some resource compilers count text values in bytes; what lies outside the node is
    // never part of the value.
    node->valueBytes = stated < room ? stated : room;
    node->childrenOffset = align4(node->valueOffset + node->valueBytes);
    if (node->childrenOffset > node->end) node->childrenOffset = node->end;
    return true;
}

std::size_t versionBlockLength(const std::uint8_t* block, std::size_t size) {
    if (block == nullptr || size < kNodeHeader) return 0;
    std::size_t length = u16(block);
    return length < kNodeHeader ? 0 : length;
}

bool findVersionNode(const std::uint8_t* block, std::size_t size, const char* subBlock,
                     VersionNode* node) {
    if (subBlock == nullptr) return false;
    VersionNode current;
    if (!readRoot(block, size, &current)) return false;

    const char* p = subBlock;
    for (;;) {
        while (*p == '\\') ++p;
        if (*p == '\0') break;
        const char* start = p;
        while (*p != '\0' && *p != '\\') ++p;
        std::string wanted(start, p);

        bool found = false;
        VersionNode match;
        forEachChild(block, current, [&](const VersionNode& child) {
            if (!equalAnsiNoCase(child.key, wanted)) return true;
            match = child;
            found = true;
            return false;
        });
        if (!found) return false;
        current = match;
    }
    *node = current;
    return true;
}

std::string versionText(const std::uint8_t* block, const VersionNode& node) {
    std::string text;
    for (std::size_t i = 0; i + 1 < node.valueBytes; i += 2) {
        std::uint16_t unit = u16(block + node.valueOffset + i);
        if (unit == 0) break;
        text.push_back(ansiFromUtf16(unit));
    }
    return text;
}

bool parseVersionInfo(const std::uint8_t* block, std::size_t size, VersionInfo* info) {
    VersionNode root;
    if (!readRoot(block, size, &root) || root.key != "VS_VERSION_INFO") return false;

    VersionInfo result;
    if (root.valueBytes >= kFixedFileInfoSize && u32(block + root.valueOffset) == 0xFEEF04BDu) {
        std::uint32_t fields[13];
        for (int i = 0; i < 13; ++i) fields[i] = u32(block + root.valueOffset + 4 * i);
        FixedFileInfo& f = result.fixed;
        f.signature = fields[0];
        f.structVersion = fields[1];
        f.fileVersionMS = fields[2];
        f.fileVersionLS = fields[3];
        f.productVersionMS = fields[4];
        f.productVersionLS = fields[5];
        f.fileFlagsMask = fields[6];
        f.fileFlags = fields[7];
        f.fileOS = fields[8];
        f.fileType = fields[9];
        f.fileSubtype = fields[10];
        f.fileDateMS = fields[11];
        f.fileDateLS = fields[12];
        result.hasFixedInfo = true;
    }

    forEachChild(block, root, [&](const VersionNode& section) {
        if (equalAnsiNoCase(section.key, "StringFileInfo")) {
            forEachChild(block, section, [&](const VersionNode& table) {
                VersionStringTable strings;
                strings.key = table.key;
                forEachChild(block, table, [&](const VersionNode& entry) {
                    strings.strings.push_back({entry.key, versionText(block, entry)});
                    return true;
                });
                result.stringTables.push_back(std::move(strings));
                return true;
            });
        } else if (equalAnsiNoCase(section.key, "VarFileInfo")) {
            forEachChild(block, section, [&](const VersionNode& var) {
                if (!equalAnsiNoCase(var.key, "Translation")) return true;
                for (std::size_t i = 0; i + 4 <= var.valueBytes; i += 4) {
                    const std::uint8_t* pair = block + var.valueOffset + i;
                    result.translations.push_back({u16(pair), u16(pair + 2)});
                }
                return true;
            });
        }
        return true;
    });

    *info = std::move(result);
    return true;
}

}  // namespace platform
