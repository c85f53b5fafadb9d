// INFs built to hurt: every enumeration runs to its end on them and hands out exactly the
// entries the INF asks for, cut to 260 bytes, with no output buffer written past its end.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

using Entries = std::vector<std::string>;

// Every enumeration from one install section to its end; each entry is its outputs joined
// by "|" as the caller sees them after the call.
struct Walks {
    Entries include, needs, copyFiles, delFiles, addReg, delReg, updateInis, updateIniFields,
        autoBat, cfgSys;
};

std::string rep(char c, std::size_t count) {
    return std::string(count, c);
}

// A text output: "<untouched>" when no call has written it yet, "<unterminated>" when no
// zero ends it inside its 260 bytes.
std::string shown(const OutBuffer& buffer) {
    for (std::size_t i = 0; i < 260; ++i) {
        if (buffer.bytes[i] == '\0') return std::string(buffer.bytes.data(), i);
    }
    for (std::size_t i = 0; i < 260; ++i) {
        if (buffer.bytes[i] != static_cast<char>(0xCC)) return "<unterminated>";
    }
    return "<untouched>";
}

// The data output of a registry entry as its type flags encode it: binary as "#count:" and
// the bytes in hex; a multi-string as "#size:" and the strings, each followed by "\0".
std::string shownData(const OutBuffer& data, int flags) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(data.bytes[i]); };
    if (flags != 1 && flags != 0x10000) return shown(data);
    std::string out = "#" + std::to_string(byte(0)) + ":";
    if (flags == 1) {
        static const char kHex[] = "0123456789ABCDEF";
        for (std::size_t i = 1; i <= byte(0); ++i) {
            out += kHex[byte(i) >> 4];
            out += kHex[byte(i) & 15];
        }
        return out;
    }
    for (std::size_t i = 1; i < 259 && byte(i) != 0; ++i) {
        for (; i < 260 && byte(i) != 0; ++i) out += static_cast<char>(byte(i));
        out += "\\0";
    }
    return out;
}

// A file name as the engine takes it from a line: up to the first character outside the
// 65-character file-name set.
std::string fileNameOf(const std::string& text) {
    static const std::string kNameSet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890\\._";
    return text.substr(0, text.find_first_not_of(kNameSet));
}

std::string cut(const std::string& text) {
    return text.substr(0, 259);
}

class BadInputTest : public InfEngineTest {
  protected:
    // Runs every enumeration from `section` to its end (or 20,000 entries), each with fresh
    // buffers kept for all its calls, and checks the guards of every buffer after each call.
    Walks runAll(const char* section) {
        Walks walks;
        auto run = [&](Entries* entries, auto call, auto render) {
            OutBuffer b[6];
            int flags = -7;
            for (const char* s = section; entries->size() < 20000 && call(s, b, &flags) == 0;
                 s = nullptr) {
                entries->push_back(render(b, flags));
                for (const OutBuffer& buffer : b) EXPECT_TRUE(buffer.guardIntact());
            }
            for (const OutBuffer& buffer : b) EXPECT_TRUE(buffer.guardIntact());
        };
        auto texts = [](int count) {
            return [count](OutBuffer* b, int flags) {
                std::string line = shown(b[0]);
                for (int i = 1; i < count; ++i) line += "|" + shown(b[i]);
                return flags == -7 ? line : line + "|" + std::to_string(flags);
            };
        };
        auto registry = [](OutBuffer* b, int flags) {
            return shown(b[0]) + "|" + shown(b[1]) + "|" + shown(b[2]) + "|" +
                   shownData(b[3], flags) + "|" + std::to_string(flags);
        };
        run(
            &walks.include,
            [](const char* s, OutBuffer* b, int*) { return infengine::EnumInclude(s, b[0].get()); },
            texts(1));
        run(
            &walks.needs,
            [](const char* s, OutBuffer* b, int*) { return infengine::EnumNeeds(s, b[0].get()); },
            texts(1));
        run(
            &walks.copyFiles,
            [](const char* s, OutBuffer* b, int*) {
                return infengine::EnumCopyFiles(s, b[0].get(), b[1].get());
            },
            texts(2));
        run(
            &walks.delFiles,
            [](const char* s, OutBuffer* b, int*) {
                return infengine::EnumDelFiles(s, b[0].get());
            },
            texts(1));
        run(
            &walks.addReg,
            [](const char* s, OutBuffer* b, int* flags) {
                return infengine::EnumAddReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                             flags);
            },
            registry);
        run(
            &walks.delReg,
            [](const char* s, OutBuffer* b, int* flags) {
                return infengine::EnumDelReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                             flags);
            },
            registry);
        run(
            &walks.updateInis,
            [](const char* s, OutBuffer* b, int* flags) {
                return infengine::EnumUpdateInis(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                                 flags);
            },
            texts(4));
        run(
            &walks.updateIniFields,
            [](const char* s, OutBuffer* b, int* flags) {
                return infengine::EnumUpdateIniFields(s, b[0].get(), b[1].get(), b[2].get(),
                                                      b[3].get(), b[4].get(), flags);
            },
            texts(5));
        run(
            &walks.autoBat,
            [](const char* s, OutBuffer* b, int*) {
                return infengine::EnumUpdateAutoBat(s, b[0].get(), b[1].get());
            },
            texts(2));
        run(
            &walks.cfgSys,
            [](const char* s, OutBuffer* b, int*) {
                return infengine::EnumUpdateCfgSys(s, b[0].get(), b[1].get(), b[2].get(),
                                                   b[3].get(), b[4].get());
            },
            texts(5));
        // No device was looked up in these INFs.
        EXPECT_EQ(infengine::RestartOrReboot(), 1);
        return walks;
    }

    // An install section that lists section `list` under every key.
    static std::string installListing(const std::string& list,
                                      const std::string& install = "Install") {
        std::string text = "[" + install + "]\r\n";
        for (const char* key :
             {"Include", "Needs", "CopyFiles", "DelFiles", "AddReg", "DelReg", "UpdateInis",
              "UpdateIniFields", "UpdateAutoBat", "UpdateCfgSys", "KnownFiles"}) {
            text += std::string(key) + "=" + list + "\r\n";
        }
        return text;
    }

    static void expectNothing(const Walks& w) {
        for (const Entries* entries :
             {&w.include, &w.needs, &w.copyFiles, &w.delFiles, &w.addReg, &w.delReg, &w.updateInis,
              &w.updateIniFields, &w.autoBat, &w.cfgSys}) {
            EXPECT_TRUE(entries->empty()) << entries->front();
        }
    }

    // Entries listed twice, as a list that names the same section twice walks it twice.
    static Entries twice(const Entries& entries) {
        Entries both = entries;
        both.insert(both.end(), entries.begin(), entries.end());
        return both;
    }
};

TEST_F(BadInputTest, HugeLinesAndFields) {
    std::string manyFields = "HKLM,Key,Value,1";
    for (int i = 0; i < 10000; ++i) manyFields += ",ab";
    const std::string body =
        installListing("Lines,Lines") + "[Lines]\r\n" + rep('a', 65536) + "\r\n" + manyFields +
        "\r\n" + "CmdAdd=" + rep('x', 65536) + "\r\n" + "DevAddDev=" + rep('q', 5000) + "," +
        rep('r', 5000) + "\r\n" + "HKLM," + rep('k', 70000) + ",v,0x10000," + rep('m', 3000) +
        "\r\n" +
        "[Text]\r\nUpdateAutoBat=Auto\r\nUpdateCfgSys=Cfg\r\n[Auto]\r\nCmdAdd=" + rep('x', 65536) +
        "\r\nCmdDelete=" + rep('y', 300) + "\r\n[Cfg]\r\nDevAddDev=" + rep('q', 5000) + "," +
        rep('r', 5000) + "," + rep('u', 600) + "\r\nDevDelete=" + rep('z', 600) +
        "\r\nDevRename=a,b\r\n";
    openDriverInf(body);
    const Walks w = runAll("Install");

    EXPECT_EQ(w.include, (Entries{"Lines", "Lines"}));
    EXPECT_EQ(w.needs, (Entries{"Lines", "Lines"}));
    // Every file line is an entry, its names cut to the file-name set and the paths to 259
    // characters; all are listed under KnownFiles, so none is skipped.
    const Entries destinations = {"C:\\WINDOWS\\" + rep('a', 248), "C:\\WINDOWS\\HKLM",
                                  "C:\\WINDOWS\\" + rep('x', 248), "C:\\WINDOWS\\" + rep('q', 248),
                                  "C:\\WINDOWS\\HKLM"};
    const Entries sources = {"C:\\DRIVER\\" + rep('a', 249), "C:\\DRIVER\\Key",
                             "C:\\DRIVER\\" + rep('x', 249), "C:\\DRIVER\\" + rep('r', 249),
                             "C:\\DRIVER\\" + rep('k', 249)};
    Entries copies;
    for (std::size_t i = 0; i < sources.size(); ++i)
        copies.push_back(sources[i] + "|" + destinations[i]);
    EXPECT_EQ(w.copyFiles, twice(copies));
    EXPECT_EQ(w.delFiles, twice(destinations));

    // A line that names no root leaves the root and the flags as the previous entry left
    // them. A binary list keeps what its count byte can tell. A sub key too long for its
    // 260-byte buffer is never handed out cut (a cut key names another key): that line is
    // skipped, so the next pass's first line keeps the flags of the entry before it.
    const std::string binary = "HKLM|Key|Value|#255:" + [] {
        std::string hex;
        for (int i = 0; i < 255; ++i) hex += "AB";
        return hex;
    }() + "|1";
    const Entries registry = {"<untouched>||||-7", binary, "HKLM|||#0:|1", "HKLM|||#0:|1",
                              "HKLM|||#0:|1",      binary, "HKLM|||#0:|1", "HKLM|||#0:|1"};
    EXPECT_EQ(w.addReg, registry);
    EXPECT_EQ(w.delReg, registry);

    EXPECT_EQ(w.updateInis,
              twice({rep('a', 259) + "||||0", "HKLM|Key|Value|1|0", rep('x', 259) + "||||0",
                     rep('q', 259) + "|" + rep('r', 259) + "|||0",
                     "HKLM|" + rep('k', 259) + "|v|0x10000|0"}));
    EXPECT_EQ(w.updateIniFields,
              twice({rep('a', 259) + "|||||0", "HKLM|Key|Value|1|ab|0", rep('x', 259) + "|||||0",
                     rep('q', 259) + "|" + rep('r', 259) + "||||0",
                     "HKLM|" + rep('k', 259) + "|v|0x10000|" + rep('m', 259) + "|0"}));
    // The first line's key is neither "CmdAdd" nor a CONFIG.SYS command: both end at once.
    EXPECT_TRUE(w.autoBat.empty());
    EXPECT_TRUE(w.cfgSys.empty());

    const Walks text = runAll("Text");
    EXPECT_EQ(text.autoBat, (Entries{"CmdAdd|" + rep('x', 259), "CmdDelete|" + rep('y', 259)}));
    EXPECT_EQ(text.cfgSys, (Entries{"DevAddDev|" + rep('q', 259) + "|" + rep('r', 259) + "|" +
                                        rep('u', 259) + "|",
                                    "DevDelete|" + rep('z', 259) + "|||", "DevRename|a|b||"}));

    expectNothing(runAll(rep('S', 300).c_str()));
}

TEST_F(BadInputTest, StringsThatReferToThemselvesAndBrokenQuotes) {
    // A %name% is replaced by its text once, never again: the lists name sections that do not
    // exist. "%%" stands for one "%", so "Walked" lists the section really called %self%.
    const std::string body =
        installListing("%self%,%a%") + installListing("%%self%%", "Walked") +
        "[Strings]\r\nself=\"%self%%self%%self%\"\r\na=%b%%b%%b%%b%\r\n"
        "b=%a%%a%%a%%a%\r\n"
        "[%self%]\r\nHKLM,%self%,%a%,0,%b%\r\n\"unterminated,quote\r\n"
        "CmdAdd=\"open\r\nDevRename=\"a,\"b\r\n"
        "[Text]\r\nUpdateAutoBat=Auto\r\nUpdateCfgSys=Cfg\r\n"
        "[Auto]\r\nCmdAdd=\"open\r\nCmdDelete=%self%\r\n"
        "[Cfg]\r\nDevDelete=\"a,\"b\r\nDevRename=\"x,y\",z\r\nDevAddDev=\"open\r\n";
    openDriverInf(body);
    const std::string self = "%self%%self%%self%";
    const std::string a = "%a%%a%%a%%a%";
    const std::string b = "%b%%b%%b%%b%";

    Walks w = runAll("Install");
    EXPECT_EQ(w.include, (Entries{self, b}));
    EXPECT_EQ(w.needs, (Entries{self, b}));
    w.include.clear();
    w.needs.clear();
    expectNothing(w);

    // An unterminated quote runs to the end of the line, its carriage return included.
    w = runAll("Walked");
    EXPECT_EQ(w.include, Entries{"%self%"});
    EXPECT_EQ(w.needs, Entries{"%self%"});
    EXPECT_EQ(w.copyFiles,
              (Entries{"C:\\DRIVER\\HKLM|C:\\WINDOWS\\HKLM",
                       "C:\\DRIVER\\quote|C:\\WINDOWS\\unterminated",
                       "C:\\DRIVER\\open|C:\\WINDOWS\\open", "C:\\DRIVER\\b|C:\\WINDOWS\\a"}));
    EXPECT_EQ(w.delFiles, (Entries{"C:\\WINDOWS\\HKLM", "C:\\WINDOWS\\unterminated",
                                   "C:\\WINDOWS\\open", "C:\\WINDOWS\\a"}));
    const Entries registry = {"HKLM|" + self + "|" + b + "|" + a + "|0", "HKLM||||0", "HKLM||||0",
                              "HKLM||||0"};
    EXPECT_EQ(w.addReg, registry);
    EXPECT_EQ(w.delReg, registry);
    EXPECT_EQ(w.updateInis, (Entries{"HKLM|" + self + "|" + b + "|0|0", "unterminated,quote\r||||0",
                                     "open\r||||0", "a,b||||0"}));
    EXPECT_EQ(w.updateIniFields,
              (Entries{"HKLM|" + self + "|" + b + "|0|" + a + "|0", "unterminated,quote\r|||||0",
                       "open\r|||||0", "a,b|||||0"}));
    EXPECT_TRUE(w.autoBat.empty());
    EXPECT_TRUE(w.cfgSys.empty());

    // A CONFIG.SYS command without its required values ends the walk.
    w = runAll("Text");
    EXPECT_EQ(w.autoBat, (Entries{"CmdAdd|open\r", "CmdDelete|" + self}));
    EXPECT_EQ(w.cfgSys, (Entries{"DevDelete|a,b|||", "DevRename|x,y|z||"}));
}

TEST_F(BadInputTest, SectionNamesTooLongForTheReader) {
    // A 300-character section header makes the reader refuse the file; nothing is open then.
    writeInf(kDriverInf, "[" + rep('L', 300) + "]\r\nx=1\r\n");
    EXPECT_EQ(infengine::OpenInfFile(kDriverInf), 1);
    expectNothing(runAll("Install"));
    EXPECT_EQ(infengine::CloseInfFile(), 1);
    // A list value may name one: it is simply not there, while Include and Needs hand the
    // name on, cut to 259 characters.
    openDriverInf(installListing(rep('L', 300)));
    Walks w = runAll("Install");
    EXPECT_EQ(w.include, Entries{rep('L', 259)});
    EXPECT_EQ(w.needs, Entries{rep('L', 259)});
    w.include.clear();
    w.needs.clear();
    expectNothing(w);
}

TEST_F(BadInputTest, BinaryGarbage) {
    std::string garbage;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = static_cast<char>(seed >> 24);
        // Lines and fields, so the walk has something to walk; no section headers (the reader
        // refuses a file with a broken one) and no Ctrl-Z (which ends the file).
        if (i % 97 == 0) c = '\n';
        if (i % 13 == 0) c = ',';
        if (c == '[' || c == ']' || c == '\x1A') c = '=';
        garbage += c;
    }
    openDriverInf(installListing("G1,G2") + "[G1]\r\n" + garbage + "\r\n[G2]\r\n" + garbage);

    // What the INF reader makes of the two sections, line by line: the line text and value 1.
    std::vector<std::string> lineTexts, firstValues;
    std::string firstKey;
    platform::HInf inf = platform::kInvalidInf;
    ASSERT_EQ(reader_.OpenInfFile(kDriverInf, INF_STYLE_WIN4, &inf, nullptr), ERROR_SUCCESS);
    auto read = [](auto call) {
        std::uint32_t size = 0;
        if (call(nullptr, 0, &size) != ERROR_SUCCESS || size == 0) return std::string();
        std::vector<char> text(size);
        if (call(text.data(), size, nullptr) != ERROR_SUCCESS) return std::string();
        return std::string(text.data());
    };
    for (const char* section : {"G1", "G2"}) {
        platform::InfContext line;
        bool more = reader_.FindFirstLine(inf, section, nullptr, &line) == ERROR_SUCCESS;
        for (; more; more = reader_.FindNextLine(&line, &line) == ERROR_SUCCESS) {
            auto field = [&](std::uint32_t index) {
                return read([&](char* buffer, std::uint32_t size, std::uint32_t* required) {
                    return reader_.GetStringField(&line, index, buffer, size, required);
                });
            };
            if (lineTexts.empty()) firstKey = field(0);
            lineTexts.push_back(
                read([&](char* buffer, std::uint32_t size, std::uint32_t* required) {
                    return reader_.GetLineText(&line, platform::kInvalidInf, nullptr, nullptr,
                                               buffer, size, required);
                }));
            firstValues.push_back(field(1));
        }
    }
    reader_.CloseInfFile(inf);
    ASSERT_GT(lineTexts.size(), 1000u);

    Entries copies, destinations, iniFiles;
    for (std::size_t i = 0; i < lineTexts.size(); ++i) {
        const std::string& text = lineTexts[i];
        const std::string destination = fileNameOf(text);
        const std::size_t comma = text.find(',');
        std::string source = comma == std::string::npos ? "" : fileNameOf(text.substr(comma + 1));
        if (source.empty()) source = destination;
        destinations.push_back(cut("C:\\WINDOWS\\" + destination));
        copies.push_back(cut("C:\\DRIVER\\" + source) + "|" + destinations.back());
        iniFiles.push_back(cut(firstValues[i]));
    }

    const Walks w = runAll("Install");
    EXPECT_EQ(w.include, (Entries{"G1", "G2"}));
    EXPECT_EQ(w.needs, (Entries{"G1", "G2"}));
    EXPECT_EQ(w.copyFiles, copies);
    EXPECT_EQ(w.delFiles, destinations);
    // Every line whose text reads is an entry, however little of it parses.
    EXPECT_EQ(w.addReg.size(), lineTexts.size());
    EXPECT_EQ(w.delReg.size(), lineTexts.size());
    ASSERT_EQ(w.updateInis.size(), lineTexts.size());
    ASSERT_EQ(w.updateIniFields.size(), lineTexts.size());
    for (std::size_t i = 0; i < lineTexts.size(); ++i) {
        EXPECT_EQ(w.updateInis[i].compare(0, iniFiles[i].size() + 1, iniFiles[i] + "|"), 0)
            << i << ": " << w.updateInis[i];
    }
    ASSERT_NE(firstKey, "CmdAdd");
    ASSERT_NE(firstKey, "CmdDelete");
    EXPECT_TRUE(w.autoBat.empty());
    ASSERT_NE(firstKey, "DevAddDev");
    ASSERT_NE(firstKey, "DevDelete");
    ASSERT_NE(firstKey, "DevRename");
    EXPECT_TRUE(w.cfgSys.empty());
}

}  // namespace
}  // namespace infengine_test
