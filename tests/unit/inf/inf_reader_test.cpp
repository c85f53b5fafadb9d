// Our INF reader on the simulated machine: opening and its errors, the size-first rule of
// every text output, handles and contexts that outlive their file, and the directory ids
// that depend on the system. The grammar itself is checked against the system's SetupAPI by
// inf_differential_test.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/host_files.h"
#include "platform/host/host_system.h"
#include "platform/host/simulated_machine.h"
#include "platform/inf/portable_inf_reader.h"
#include "platform/machine.h"

namespace {

namespace fs = std::filesystem;
using platform::HInf;
using platform::InfContext;
using platform::kInvalidInf;

constexpr char kHeader[] = "[Version]\r\nSignature=\"$Chicago$\"\r\n";

class InfReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::Machine backends = machine_.backends();
        backends.inf = &reader_;
        previous_ = platform::installMachine(backends);
    }

    void TearDown() override {
        for (HInf inf : opened_) reader_.CloseInfFile(inf);
        EXPECT_EQ(reader_.openCount(), 0u);
        EXPECT_EQ(machine_.files().openHandleCount(), 0u) << "a file was left open";
        platform::installMachine(previous_);
    }

    // Writes `bytes` to the C: drive ("INF\\a.inf") and returns the Windows path.
    std::string write(const std::string& relative, const std::string& bytes) {
        fs::path host = fs::path(machine_.diskRoot()) / "c";
        std::string windows = "C:";
        std::string part;
        for (char c : relative + "\\") {
            if (c != '\\') {
                part += c;
                continue;
            }
            host /= part;
            windows += "\\" + part;
            part.clear();
        }
        fs::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << bytes;
        return windows;
    }

    HInf open(const std::string& path) {
        HInf inf = kInvalidInf;
        EXPECT_EQ(reader_.OpenInfFile(path.c_str(), INF_STYLE_WIN4, &inf, nullptr), ERROR_SUCCESS);
        opened_.push_back(inf);
        return inf;
    }

    InfContext first(HInf inf, const char* section, const char* key = nullptr) {
        InfContext context;
        EXPECT_EQ(reader_.FindFirstLine(inf, section, key, &context), ERROR_SUCCESS) << section;
        return context;
    }

    std::string field(const InfContext& context, std::uint32_t index) {
        char buffer[5000] = {};
        if (reader_.GetStringField(&context, index, buffer, sizeof buffer, nullptr) !=
            ERROR_SUCCESS) {
            return "<none>";
        }
        return buffer;
    }

    platform::host::SimulatedMachine machine_;
    platform::inf::PortableInfReader reader_;
    platform::Machine previous_;
    std::vector<HInf> opened_;
};

// ---- Opening -------------------------------------------------------------------------------

struct OpenCase {
    const char* name;
    const char* content;  // null: no file is written
    const char* path;
    std::uint32_t style;
    std::uint32_t error;
    std::uint32_t errorLine;  // 0xFFFFFFFF: left untouched
};

TEST_F(InfReaderTest, OpenAnswersWithTheSetupApiErrors) {
    const std::string longName(300, 'S');
    const std::string tooLong = std::string(kHeader) + "[" + longName + "]\r\nk=v\r\n";
    const std::string garbageStrings =
        "garbage1\r\ngarbage2\r\n[Strings]\r\n" + std::string(kHeader);
    const std::string garbageLower =
        "; c\r\nstray = line\r\n" + std::string(kHeader) + "[strings]\r\n";
    const std::string garbageOther =
        "; c\r\ngarbage1\r\ngarbage2\r\n[abc]\r\n" + std::string(kHeader);
    // clang-format off
    const OpenCase cases[] = {
        // name                content                             path                style            error                        line
        {"missing file",       nullptr,                            "C:\\INF\\none.inf", INF_STYLE_WIN4, ERROR_FILE_NOT_FOUND,        0xFFFFFFFFu},
        {"missing folder",     nullptr,                            "C:\\NO\\none.inf",  INF_STYLE_WIN4, ERROR_PATH_NOT_FOUND,        0xFFFFFFFFu},
        {"empty file",         "",                                 "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_FILE_INVALID,          0xFFFFFFFFu},
        {"unknown style",      kHeader,                            "C:\\INF\\a.inf",    4,              ERROR_INVALID_PARAMETER,     0xFFFFFFFFu},
        {"no signature",       "[Version]\r\nClass=Media\r\n",     "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_WRONG_INF_STYLE,       0},
        {"old style accepts",  "[Version]\r\nClass=Media\r\n",     "C:\\INF\\a.inf",    INF_STYLE_OLDNT, ERROR_SUCCESS,              0},
        {"line before section", "\r\n; c\r\nkey=value\r\n",        "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_EXPECTED_SECTION_NAME, 3},
        // Lines before the first header are passed over when the file has "[Strings]".
        {"lines, [Strings]",   garbageStrings.c_str(),             "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_SUCCESS,               0xFFFFFFFFu},
        {"lines, [strings]",   garbageLower.c_str(),               "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_SUCCESS,               0xFFFFFFFFu},
        {"lines, [abc]",       garbageOther.c_str(),               "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_EXPECTED_SECTION_NAME, 2},
        {"lines, no signature", "x\r\n[Strings]\r\n",              "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_WRONG_INF_STYLE,       0},
        {"lines, bad header",  "x\r\n[Strings\r\n",                "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_BAD_SECTION_NAME_LINE, 2},
        {"open bracket",       "[Version]\r\n\r\n[Open\r\n",       "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_BAD_SECTION_NAME_LINE, 3},
        {"300-character name", tooLong.c_str(),                    "C:\\INF\\a.inf",    INF_STYLE_WIN4, ERROR_SECTION_NAME_TOO_LONG, 3},
    };
    // clang-format on
    write("INF\\other.inf", kHeader);  // the folder exists; only the file is missing
    for (const OpenCase& c : cases) {
        if (c.content != nullptr) write("INF\\a.inf", c.content);
        HInf inf = 0x1234;
        std::uint32_t line = 0xFFFFFFFFu;
        const std::uint32_t error = reader_.OpenInfFile(c.path, c.style, &inf, &line);
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(line, c.errorLine) << c.name;
        if (error == ERROR_SUCCESS) {
            reader_.CloseInfFile(inf);
        } else {
            EXPECT_EQ(inf, 0x1234u) << c.name << ": the handle must stay untouched";
        }
    }
}

TEST_F(InfReaderTest, NameWithoutFolderIsAnInfOfTheSystem) {
    write("WINDOWS\\INF\\oem1.inf", std::string(kHeader) + "[A]\r\nwhere=inf\r\n");
    write("WINDOWS\\SYSTEM\\oem2.inf", std::string(kHeader) + "[A]\r\nwhere=system\r\n");
    EXPECT_EQ(field(first(open("oem1.inf"), "A"), 1), "inf");
    EXPECT_EQ(field(first(open("OEM2.INF"), "A"), 1), "system");
    HInf inf = kInvalidInf;
    EXPECT_EQ(reader_.OpenInfFile("oem3.inf", INF_STYLE_WIN4, &inf, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_F(InfReaderTest, ReadFailureOpensNothingAndClosesTheFile) {
    const std::string path = write("INF\\a.inf", std::string(kHeader) + "[A]\r\nk=v\r\n");
    platform::host::FileFault fault;
    fault.operation = platform::host::FileOperation::ReadFile;
    fault.error = ERROR_READ_FAULT;
    machine_.files().addFault(fault);
    HInf inf = kInvalidInf;
    EXPECT_EQ(reader_.OpenInfFile(path.c_str(), INF_STYLE_WIN4, &inf, nullptr), ERROR_READ_FAULT);
    EXPECT_EQ(inf, kInvalidInf);
    EXPECT_EQ(machine_.files().faultsFired(), 1u);
}

// ---- Size-first outputs --------------------------------------------------------------------

TEST_F(InfReaderTest, TooSmallBufferIsRefusedUntouchedWithTheSizeNeeded) {
    const HInf inf =
        open(write("INF\\a.inf", std::string(kHeader) + "[Sec]\r\nkey = %s%, two\r\n"
                                                        "[Strings]\r\ns = \"expanded text\"\r\n"));
    const InfContext line = first(inf, "Sec");
    // Each output with the text it must produce: "expanded text" is 13 bytes + zero.
    struct Output {
        const char* name;
        std::function<std::uint32_t(char*, std::uint32_t, std::uint32_t*)> read;
        const char* text;
    } outputs[] = {
        {"field",
         [&](char* b, std::uint32_t s, std::uint32_t* r) {
             return reader_.GetStringField(&line, 1, b, s, r);
         },
         "expanded text"},
        {"line text",
         [&](char* b, std::uint32_t s, std::uint32_t* r) {
             return reader_.GetLineText(&line, kInvalidInf, nullptr, nullptr, b, s, r);
         },
         "expanded text,two"},
        {"line text by key",
         [&](char* b, std::uint32_t s, std::uint32_t* r) {
             return reader_.GetLineText(nullptr, inf, "sec", "KEY", b, s, r);
         },
         "expanded text,two"},
        {"section name",
         [&](char* b, std::uint32_t s, std::uint32_t* r) {
             return reader_.EnumInfSection(inf, 1, b, s, r);
         },
         "Sec"},
    };
    for (const Output& output : outputs) {
        const std::uint32_t size = static_cast<std::uint32_t>(std::strlen(output.text) + 1);
        std::uint32_t required = 0;
        EXPECT_EQ(output.read(nullptr, 0, &required), ERROR_SUCCESS) << output.name;
        EXPECT_EQ(required, size) << output.name;

        char buffer[64];
        std::memset(buffer, 0xCC, sizeof buffer);
        required = 0;
        EXPECT_EQ(output.read(buffer, size - 1, &required), ERROR_INSUFFICIENT_BUFFER)
            << output.name;
        EXPECT_EQ(required, size) << output.name << ": the size is reported on refusal too";
        for (unsigned char byte : buffer) ASSERT_EQ(byte, 0xCC) << output.name;

        EXPECT_EQ(output.read(buffer, size, nullptr), ERROR_SUCCESS) << output.name;
        EXPECT_STREQ(buffer, output.text) << output.name;
        EXPECT_EQ(static_cast<unsigned char>(buffer[size]), 0xCC) << output.name;
    }
}

TEST_F(InfReaderTest, FailedLookupsLeaveTheirOutputsUntouched) {
    const HInf inf = open(write("INF\\a.inf", std::string(kHeader) + "[Sec]\r\nkey=12,x\r\n"));
    const InfContext line = first(inf, "Sec");
    InfContext out;
    out.section = 77;
    EXPECT_EQ(reader_.FindFirstLine(inf, "Nope", nullptr, &out), ERROR_LINE_NOT_FOUND);
    EXPECT_EQ(reader_.FindFirstLine(inf, "Sec", "nokey", &out), ERROR_LINE_NOT_FOUND);
    EXPECT_EQ(reader_.FindNextLine(&line, &out), ERROR_LINE_NOT_FOUND);
    EXPECT_EQ(reader_.FindNextMatchLine(&line, "key", &out), ERROR_LINE_NOT_FOUND);
    EXPECT_EQ(out.section, 77u);

    std::int32_t value = -5;
    EXPECT_EQ(reader_.GetIntField(&line, 1, &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 12);
    value = -5;
    EXPECT_EQ(reader_.GetIntField(&line, 2, &value), ERROR_INVALID_DATA);
    EXPECT_EQ(reader_.GetIntField(&line, 3, &value), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(value, -5);
    char buffer[8] = "poison";
    EXPECT_EQ(reader_.GetStringField(&line, 3, buffer, sizeof buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_STREQ(buffer, "poison");
}

// ---- Handles and contexts ------------------------------------------------------------------

TEST_F(InfReaderTest, ContextsOfAClosedOrForeignFileAreRefused) {
    const std::string path = write("INF\\a.inf", std::string(kHeader) + "[Sec]\r\na=1\r\nb=2\r\n");
    const HInf inf = open(path);
    const InfContext line = first(inf, "Sec");
    reader_.CloseInfFile(inf);
    opened_.clear();
    reader_.CloseInfFile(inf);          // a second close does nothing
    reader_.CloseInfFile(kInvalidInf);  // nor does closing the invalid handle

    InfContext out;
    char buffer[16];
    std::int32_t value = 0;
    EXPECT_EQ(reader_.FindNextLine(&line, &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader_.FindNextMatchLine(&line, "b", &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader_.GetStringField(&line, 1, buffer, sizeof buffer, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader_.GetIntField(&line, 1, &value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader_.GetFieldCount(&line), 0u);
    EXPECT_EQ(reader_.FindFirstLine(inf, "Sec", nullptr, &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reader_.EnumInfSection(inf, 0, buffer, sizeof buffer, nullptr), ERROR_INVALID_HANDLE);

    // A new file never gets the old handle, so the old context stays refused.
    const HInf again = open(path);
    EXPECT_NE(again, inf);
    EXPECT_EQ(reader_.FindNextLine(&line, &out), ERROR_INVALID_HANDLE);

    // Contexts that name no line of an open file.
    InfContext forged = first(again, "Sec");
    forged.line = 1000;
    EXPECT_EQ(reader_.GetStringField(&forged, 1, buffer, sizeof buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(reader_.GetFieldCount(&forged), 0u);
    EXPECT_EQ(reader_.FindNextLine(&forged, &out), ERROR_LINE_NOT_FOUND);
    forged.line = 0;
    forged.section = 1000;
    EXPECT_EQ(
        reader_.GetLineText(&forged, kInvalidInf, nullptr, nullptr, buffer, sizeof buffer, nullptr),
        ERROR_LINE_NOT_FOUND);
    EXPECT_EQ(reader_.FindNextMatchLine(&forged, "a", &out), ERROR_LINE_NOT_FOUND);
    forged.section = 0;
    forged.currentInf = 0;
    EXPECT_EQ(reader_.GetFieldCount(&forged), 0u);
}

// ---- Directory ids -------------------------------------------------------------------------

TEST_F(InfReaderTest, DirectoryIdsFollowTheSystem) {
    const std::string path =
        write("DRV\\a.inf", std::string(kHeader) +
                                "[D]\r\nsrc=%1%\\x.sys\r\nwin=%10%\r\nsys=%11%\\y\r\n"
                                "drv=%12%\r\nboot=%30%\\config.sys\r\nunknown=%7%\r\n");
    const InfContext d = first(open(path), "D");
    auto value = [&](const char* key) {
        InfContext line;
        if (reader_.FindNextMatchLine(&d, key, &line) != ERROR_SUCCESS) line = d;
        return field(line, 1);
    };
    EXPECT_EQ(field(d, 1), "C:\\DRV\\x.sys");
    EXPECT_EQ(value("win"), "C:\\WINDOWS");
    EXPECT_EQ(value("sys"), "C:\\WINDOWS\\SYSTEM\\y");
    EXPECT_EQ(value("drv"), "C:\\WINDOWS\\SYSTEM\\IOSUBSYS");
    EXPECT_EQ(value("boot"), "C:\\config.sys");
    EXPECT_EQ(value("unknown"), "%7%");

    machine_.system().setRelease(platform::host::WindowsRelease::WindowsNT4);
    const InfContext nt = first(open(path), "D");
    InfContext drv;
    ASSERT_EQ(reader_.FindNextMatchLine(&nt, "drv", &drv), ERROR_SUCCESS);
    EXPECT_EQ(field(drv, 1), "C:\\WINNT\\system32\\drivers");
}

}  // namespace
