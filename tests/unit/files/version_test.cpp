// Version resources: read from a real library built by the project, through the simulated
// disk, and from damaged, truncated and made-up inputs that must fail cleanly.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "platform/pe_version_reader.h"
#include "platform/version_resource.h"
#include "tests/unit/files/files_fixture.h"

namespace tunara_test {
namespace {

#ifdef TUNARA_VERSION_DLL
const char* const kVersionDll = TUNARA_VERSION_DLL;
const char* const kNoVersionDll = TUNARA_NO_VERSION_DLL;
#else
const char* const kVersionDll = "(not built: the mingw tools were missing)";
const char* const kNoVersionDll = kVersionDll;
#endif

std::vector<std::uint8_t> hostBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

// Runs the PE reader over an exact-size heap copy, so a sanitizer build catches any read
// past the input.
std::uint32_t readVersion(const std::vector<std::uint8_t>& bytes,
                          std::vector<std::uint8_t>* resource) {
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.empty() ? 1 : bytes.size()]);
    if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
    platform::MemoryByteSource source(exact.get(), bytes.size());
    return platform::readPeVersionResource(source, resource);
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = v >> 8;
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

// Where the version block starts in the file: its UTF-16 "VS_VERSION_INFO" key follows the
// 6-byte header.
std::size_t versionBlockOffset(const std::vector<std::uint8_t>& b) {
    const char key[] = "VS_VERSION_INFO";
    for (std::size_t at = 6; at + 2 * sizeof key <= b.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < sizeof key && match; ++i) {
            match = b[at + 2 * i] == static_cast<std::uint8_t>(key[i]) && b[at + 2 * i + 1] == 0;
        }
        if (match) return at - 6;
    }
    return 0;
}

// The section header of ".rsrc".
std::size_t resourceSectionHeader(const std::vector<std::uint8_t>& b) {
    std::size_t pe = u32(b, 0x3C);
    std::size_t count = b[pe + 6] | (b[pe + 7] << 8);
    std::size_t table = pe + 24 + (b[pe + 20] | (b[pe + 21] << 8));
    for (std::size_t i = 0; i < count; ++i) {
        if (std::memcmp(&b[table + 40 * i], ".rsrc", 5) == 0) return table + 40 * i;
    }
    return 0;
}

bool isCleanFailure(std::uint32_t rc) {
    return rc == ERROR_BAD_EXE_FORMAT || rc == ERROR_RESOURCE_TYPE_NOT_FOUND ||
           rc == ERROR_RESOURCE_DATA_NOT_FOUND;
}

using FilesVersion = HostFilesTest;

TEST_F(FilesVersion, ReadsTheVersionBlockOfARealLibrary) {
    ASSERT_TRUE(std::filesystem::exists(kVersionDll)) << kVersionDll;
    std::filesystem::create_directories(host("c/WINDOWS/SYSTEM"));
    std::filesystem::copy_file(kVersionDll, host("c/WINDOWS/SYSTEM/tunaractl.exe"));
    const char* path = "C:\\WINDOWS\\SYSTEM\\TUNARACTL.EXE";

    std::uint32_t size = 0;
    ASSERT_EQ(fs().GetFileVersionInfoSize(path, &size), ERROR_SUCCESS);
    ASSERT_GT(size, 100u);
    std::vector<std::uint8_t> block(size);
    ASSERT_EQ(fs().GetFileVersionInfo(path, size, block.data()), ERROR_SUCCESS);

    void* value = nullptr;
    std::uint32_t length = 0;
    ASSERT_EQ(fs().VerQueryValue(block.data(), "\\", &value, &length), ERROR_SUCCESS);
    ASSERT_EQ(length, platform::kFixedFileInfoSize);
    std::uint32_t fixed[13];
    std::memcpy(fixed, value, sizeof fixed);
    EXPECT_EQ(fixed[0], VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed[2], 0x0005000Cu);  // file version 5.12
    EXPECT_EQ(fixed[3], 0x00000C00u);  // .0.3072
    EXPECT_EQ(fixed[4], 0x0005000Cu);
    EXPECT_EQ(fixed[8], VOS__WINDOWS32);
    EXPECT_EQ(fixed[9], VFT_DLL);

    ASSERT_EQ(fs().VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length),
              ERROR_SUCCESS);
    ASSERT_EQ(length, 4u);
    std::uint16_t pair[2];
    std::memcpy(pair, value, sizeof pair);
    EXPECT_EQ(pair[0], 0x0409);
    EXPECT_EQ(pair[1], 1252);

    // The way the support dialog asks: lower-case hexadecimal, keys matched without case.
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\ProductVersion", pair[0],
                  pair[1]);
    ASSERT_EQ(fs().VerQueryValue(block.data(), query, &value, &length), ERROR_SUCCESS);
    const char* product = static_cast<const char*>(value);
    EXPECT_STREQ(product, "5.12");
    EXPECT_EQ(length, 5u);

    ASSERT_EQ(fs().VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\CompanyName", &value,
                                 &length),
              ERROR_SUCCESS);
    EXPECT_STREQ(static_cast<const char*>(value), "Cantora Soci\xE9t\xE9 Audio");
    EXPECT_STREQ(product, "5.12") << "an earlier text was overwritten";
    ASSERT_EQ(
        fs().VerQueryValue(block.data(), "\\\\StringFileInfo\\040904e4\\comments", &value, &length),
        ERROR_SUCCESS);
    EXPECT_STREQ(static_cast<const char*>(value), "");
    EXPECT_EQ(length, 1u);

    for (const char* missing : {"\\StringFileInfo\\040904E4\\PrivateBuild",
                                "\\StringFileInfo\\040704E4\\CompanyName", "\\VarFileInfo\\X"}) {
        value = nullptr;
        EXPECT_EQ(fs().VerQueryValue(block.data(), missing, &value, &length),
                  ERROR_RESOURCE_TYPE_NOT_FOUND)
            << missing;
        EXPECT_EQ(value, nullptr);
    }
}

TEST_F(FilesVersion, AShortBufferGetsAShortenedBlockReadWithinBounds) {
    ASSERT_TRUE(std::filesystem::exists(kVersionDll)) << kVersionDll;
    std::filesystem::copy_file(kVersionDll, host("c/tnrver.dll"));
    std::uint32_t full = 0;
    ASSERT_EQ(fs().GetFileVersionInfoSize("C:\\tnrver.dll", &full), ERROR_SUCCESS);
    // The fixed part ends 92 bytes into the resource; the block needs twice that.
    for (std::uint32_t size : {0u, 11u, 12u, 100u, 183u, 184u, 400u, full - 1}) {
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size ? size : 1]);
        std::uint32_t rc = fs().GetFileVersionInfo("C:\\tnrver.dll", size, block.get());
        if (size < 12) {
            EXPECT_EQ(rc, ERROR_INSUFFICIENT_BUFFER) << size;
            continue;
        }
        ASSERT_EQ(rc, ERROR_SUCCESS) << size;
        void* value = nullptr;
        std::uint32_t length = 0;
        EXPECT_EQ(fs().VerQueryValue(block.get(), "\\", &value, &length) == ERROR_SUCCESS,
                  size >= 184)
            << size;
        fs().VerQueryValue(block.get(), "\\StringFileInfo\\040904E4\\Comments", &value, &length);
        fs().VerQueryValue(block.get(), "\\VarFileInfo\\Translation", &value, &length);
    }
}

TEST_F(FilesVersion, FilesWithoutAVersionBlockAnswerTheirErrors) {
    ASSERT_TRUE(std::filesystem::exists(kNoVersionDll)) << kNoVersionDll;
    std::filesystem::copy_file(kNoVersionDll, host("c/plain.dll"));
    std::filesystem::copy_file(kVersionDll, host("c/locked.dll"));
    putHostFile("c/readme.txt", "MZ but nothing more");
    std::filesystem::create_directories(host("c/folder"));
    platform::ScopedFile locked;
    ASSERT_EQ(
        fs().CreateFile("C:\\locked.dll", GENERIC_WRITE, 0, OPEN_EXISTING, 0, locked.receive()),
        ERROR_SUCCESS);
    struct Row {
        const char* path;
        std::uint32_t error;
    } rows[] = {
        {"C:\\plain.dll", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"C:\\readme.txt", ERROR_BAD_EXE_FORMAT},
        {"C:\\missing.dll", ERROR_FILE_NOT_FOUND},
        {"C:\\no\\missing.dll", ERROR_PATH_NOT_FOUND},
        {"C:\\folder", ERROR_ACCESS_DENIED},
        {"C:\\locked.dll", ERROR_SHARING_VIOLATION},
    };
    for (const Row& row : rows) {
        std::uint32_t size = 0xCCCC;
        EXPECT_EQ(fs().GetFileVersionInfoSize(row.path, &size), row.error) << row.path;
        EXPECT_EQ(size, 0xCCCCu) << row.path;
        std::uint8_t block[64];
        EXPECT_EQ(fs().GetFileVersionInfo(row.path, sizeof block, block), row.error) << row.path;
    }
}

TEST(PeVersionReader, DamagedHeadersAndDirectoriesFailCleanly) {
    const std::vector<std::uint8_t> good = hostBytes(kVersionDll);
    ASSERT_GT(good.size(), 512u) << kVersionDll;
    std::vector<std::uint8_t> resource;
    ASSERT_EQ(readVersion(good, &resource), ERROR_SUCCESS);
    const std::size_t pe = u32(good, 0x3C);
    const std::size_t rsrc = resourceSectionHeader(good);
    const std::size_t rsrcRaw = u32(good, rsrc + 20);
    const std::size_t block = versionBlockOffset(good);
    ASSERT_NE(rsrc, 0u);
    ASSERT_NE(block, 0u);

    struct Row {
        const char* damage;
        std::function<void(std::vector<std::uint8_t>&)> apply;
        std::uint32_t error;
    } rows[] = {
        {"no MZ", [](auto& b) { b[0] = 'X'; }, ERROR_BAD_EXE_FORMAT},
        {"header offset far past the end", [](auto& b) { put32(b, 0x3C, 0xFFFFFFF0u); },
         ERROR_BAD_EXE_FORMAT},
        {"no PE signature", [&](auto& b) { b[pe + 1] = 'X'; }, ERROR_BAD_EXE_FORMAT},
        {"65535 sections", [&](auto& b) { put16(b, pe + 6, 0xFFFF); }, ERROR_BAD_EXE_FORMAT},
        {"unknown optional header", [&](auto& b) { put16(b, pe + 24, 0x0107); },
         ERROR_BAD_EXE_FORMAT},
        {"no resource directory", [&](auto& b) { put32(b, pe + 24 + 92, 2); },
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"resource section far past the end", [&](auto& b) { put32(b, rsrc + 20, 0xFFFFFF00u); },
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"65535 directory entries", [&](auto& b) { put16(b, rsrcRaw + 14, 0xFFFF); },
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"type entry pointing at the root again",
         [&](auto& b) { put32(b, rsrcRaw + 16 + 4, 0x80000000u); }, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"block longer than its data", [&](auto& b) { put16(b, block, 0xFFFF); },
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"block shorter than a node", [&](auto& b) { put16(b, block, 4); },
         ERROR_RESOURCE_DATA_NOT_FOUND},
    };
    for (const Row& row : rows) {
        std::vector<std::uint8_t> damaged = good;
        row.apply(damaged);
        std::vector<std::uint8_t> out = {0xAA};
        EXPECT_EQ(readVersion(damaged, &out), row.error) << row.damage;
        EXPECT_EQ(out, std::vector<std::uint8_t>{0xAA}) << row.damage;
    }
}

TEST(PeVersionReader, ATruncatedFileFindsTheWholeBlockOrNothing) {
    const std::vector<std::uint8_t> good = hostBytes(kVersionDll);
    ASSERT_GT(good.size(), 512u) << kVersionDll;
    std::vector<std::uint8_t> whole;
    ASSERT_EQ(readVersion(good, &whole), ERROR_SUCCESS);
    const std::size_t end = versionBlockOffset(good) + whole.size();
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        std::vector<std::uint8_t> part(good.begin(), good.begin() + cut);
        std::vector<std::uint8_t> resource;
        std::uint32_t rc = readVersion(part, &resource);
        if (cut >= end) {
            ASSERT_EQ(rc, ERROR_SUCCESS) << cut;
            ASSERT_EQ(resource, whole) << cut;
        } else {
            ASSERT_TRUE(isCleanFailure(rc)) << "cut at " << cut << ": " << rc;
        }
    }
}

TEST(PeVersionReader, MadeUpImagesNeverReadOutside) {
    // Plausible headers over random bytes, so the reader gets past its first checks.
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> b(64 + next() % 2048);
        for (auto& byte : b) byte = static_cast<std::uint8_t>(next() >> 16);
        b[0] = 'M';
        b[1] = 'Z';
        std::size_t pe = 64 + next() % 64;
        put32(b, 0x3C, static_cast<std::uint32_t>(pe));
        if (pe + 24 + 96 + 24 <= b.size()) {
            std::memcpy(&b[pe], "PE\0\0", 4);
            put16(b, pe + 6, static_cast<std::uint16_t>(next() % 8));
            put16(b, pe + 20, 224);
            put16(b, pe + 24, 0x10B);
            put32(b, pe + 24 + 92, 16);
        }
        std::vector<std::uint8_t> resource;
        std::uint32_t rc = readVersion(b, &resource);
        ASSERT_TRUE(rc == ERROR_SUCCESS || isCleanFailure(rc)) << round << ": " << rc;
        if (rc == ERROR_SUCCESS) {
            platform::VersionInfo info;
            platform::parseVersionInfo(resource.data(), resource.size(), &info);
        }
    }
}

// A node of a version block, for blocks made by hand.
std::vector<std::uint8_t> node(const std::string& key, std::uint16_t type,
                               std::uint16_t valueLength, const std::vector<std::uint8_t>& value,
                               const std::vector<std::vector<std::uint8_t>>& children = {}) {
    std::vector<std::uint8_t> b(6);
    for (char c : key) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(0);
    }
    b.insert(b.end(), {0, 0});
    while (b.size() % 4) b.push_back(0);
    b.insert(b.end(), value.begin(), value.end());
    for (const auto& child : children) {
        while (b.size() % 4) b.push_back(0);
        b.insert(b.end(), child.begin(), child.end());
    }
    put16(b, 0, static_cast<std::uint16_t>(b.size()));
    put16(b, 2, valueLength);
    put16(b, 4, type);
    return b;
}

std::vector<std::uint8_t> text(const std::string& s) {
    std::vector<std::uint8_t> b;
    for (char c : s) b.insert(b.end(), {static_cast<std::uint8_t>(c), 0});
    b.insert(b.end(), {0, 0});
    return b;
}

TEST(VersionBlock, DamagedNodesAreSkippedOrRefused) {
    auto company = node("CompanyName", 1, 8, text("Cantora"));
    auto product = node("ProductVersion", 1, 5, text("5.12"));
    auto table = node("040904E4", 1, 0, {}, {company, product});
    auto strings = node("StringFileInfo", 1, 0, {}, {table});
    auto root = node("VS_VERSION_INFO", 0, 0, {}, {strings});

    platform::VersionInfo info;
    ASSERT_TRUE(platform::parseVersionInfo(root.data(), root.size(), &info));
    ASSERT_EQ(info.stringTables.size(), 1u);
    ASSERT_EQ(info.stringTables[0].strings.size(), 2u);
    EXPECT_FALSE(info.hasFixedInfo);

    // A text whose length counts bytes instead of characters stays within its node.
    auto wide = node("Comments", 1, 200, text("abc"));
    platform::VersionNode n;
    ASSERT_TRUE(platform::readVersionNode(wide.data(), wide.size(), 0, &n));
    EXPECT_LE(n.valueOffset + n.valueBytes, wide.size());
    EXPECT_EQ(platform::versionText(wide.data(), n), "abc");

    // A key without its zero, a length below a node or beyond the parent: refused.
    auto unterminated = node("Key", 0, 0, {});
    unterminated.resize(12);  // "Key" without the zero
    put16(unterminated, 0, 12);
    EXPECT_FALSE(platform::readVersionNode(unterminated.data(), unterminated.size(), 0, &n));
    std::vector<std::uint8_t> tiny = {4, 0, 0, 0, 0, 0};
    EXPECT_FALSE(platform::readVersionNode(tiny.data(), tiny.size(), 0, &n));
    EXPECT_FALSE(platform::parseVersionInfo(root.data(), root.size() - 1, &info));

    // A child that claims more than its parent holds ends the walk at that child.
    auto broken = root;
    std::size_t productAt = broken.size() - product.size();
    put16(broken, productAt, 0x7000);
    ASSERT_TRUE(platform::parseVersionInfo(broken.data(), broken.size(), &info));
    ASSERT_EQ(info.stringTables.size(), 1u);
    ASSERT_EQ(info.stringTables[0].strings.size(), 1u);
    EXPECT_EQ(info.stringTables[0].strings[0].value, "Cantora");
    EXPECT_FALSE(platform::findVersionNode(broken.data(), broken.size(),
                                           "\\StringFileInfo\\040904E4\\ProductVersion", &n));
}

}  // namespace
}  // namespace tunara_test
