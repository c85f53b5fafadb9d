// The version resource of a 32-bit Windows file (VS_VERSIONINFO), read without Windows.
//
// A block is a tree of nodes, each laid out as
//     u16 length        bytes of the node with its children
//     u16 valueLength   characters for a text value, bytes for a binary one
//     u16 type          1 text, 0 binary
//     UTF-16 key, zero-terminated, padded to 4 bytes
//     value, padded to 4 bytes
//     children
// with offsets aligned relative to the start of the block. The root ("VS_VERSION_INFO")
// carries VS_FIXEDFILEINFO; its children are "StringFileInfo" (tables of texts, one per
// language and code page, keyed "040904E4") and "VarFileInfo" ("Translation": pairs of
// 16-bit language and code page).
//
// Everything here is bounded by the block size: a length that points outside its parent,
// a key without its zero or a value that runs past its node ends the read of that node
// cleanly. Keys and texts are handed out in 8-bit ANSI (code page 1252), as
// VerQueryValueA does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One node of a block, as offsets into it.
struct VersionNode {
    std::size_t offset = 0;          // where the node starts
    std::size_t end = 0;             // offset + length, within the parent
    std::uint16_t valueLength = 0;   // as stored
    std::uint16_t type = 0;          // 1 text, 0 binary
    std::string key;                 // ANSI
    std::size_t valueOffset = 0;     // where the value starts
    std::size_t valueBytes = 0;      // bytes of the value that lie within the node
    std::size_t childrenOffset = 0;  // first child (== end when none)
};

// Reads the node at `offset`, which must end by `limit` (the parent's end, or the block
// size for the root). False when the node is malformed; `node` is then unspecified.
bool readVersionNode(const std::uint8_t* block, std::size_t limit, std::size_t offset,
                     VersionNode* node);

// The length of a block as its root node states it; 0 when fewer than 6 bytes are given or
// the stated length is below the smallest node.
std::size_t versionBlockLength(const std::uint8_t* block, std::size_t size);

// Finds the node that a VerQueryValue path names ("\\", "\\VarFileInfo\\Translation",
// "\\StringFileInfo\\040904E4\\CompanyName"): components separated by one or more '\\',
// keys compared without regard to case. False when a component is missing or malformed.
bool findVersionNode(const std::uint8_t* block, std::size_t size, const char* subBlock,
                     VersionNode* node);

// A text value in ANSI: up to its first zero and never past its node.
std::string versionText(const std::uint8_t* block, const VersionNode& node);

// VS_FIXEDFILEINFO.
struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t structVersion = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};
constexpr std::size_t kFixedFileInfoSize = 52;

struct VersionString {
    std::string name;
    std::string value;
};

struct VersionStringTable {
    std::string key;  // language and code page as stored, "040904E4"
    std::vector<VersionString> strings;
};

struct VersionTranslation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// The whole block, read once.
struct VersionInfo {
    bool hasFixedInfo = false;
    FixedFileInfo fixed;
    std::vector<VersionTranslation> translations;
    std::vector<VersionStringTable> stringTables;
};

// Reads a block. False when the root is malformed or is not "VS_VERSION_INFO"; damaged
// children below a sound root are skipped. A fixed part with the wrong signature is not
// taken (hasFixedInfo stays false).
bool parseVersionInfo(const std::uint8_t* block, std::size_t size, VersionInfo* info);

}  // namespace platform
