// INFs built to hurt: every enumeration runs to its end on them, and no output buffer is
// written past its 260 bytes.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

class BadInputTest : public InfEngineTest {
protected:
    // Runs every enumeration from `section` to its end (or 20,000 entries) and checks the
    // guards of every buffer after each call. Returns the number of entries.
    std::size_t runAll(const char* section) {
        OutBuffer b[6];
        int flags = 0;
        std::size_t entries = 0;
        auto guardsIntact = [&] {
            for (const OutBuffer& buffer : b) {
                if (!buffer.guardIntact()) return false;
            }
            return true;
        };
        auto run = [&](auto call) {
            std::size_t count = 0;
            for (const char* s = section; count < 20000 && call(s) == 0; s = nullptr) {
                EXPECT_TRUE(guardsIntact());
                ++count;
            }
            EXPECT_TRUE(guardsIntact());
            entries += count;
        };
        run([&](const char* s) { return infengine::EnumInclude(s, b[0].get()); });
        run([&](const char* s) { return infengine::EnumNeeds(s, b[0].get()); });
        run([&](const char* s) { return infengine::EnumCopyFiles(s, b[0].get(), b[1].get()); });
        run([&](const char* s) { return infengine::EnumDelFiles(s, b[0].get()); });
        run([&](const char* s) {
            return infengine::EnumAddReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(), &flags);
        });
        run([&](const char* s) {
            return infengine::EnumDelReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(), &flags);
        });
        run([&](const char* s) {
            return infengine::EnumUpdateInis(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                             &flags);
        });
        run([&](const char* s) {
            return infengine::EnumUpdateIniFields(s, b[0].get(), b[1].get(), b[2].get(),
                                                  b[3].get(), b[4].get(), &flags);
        });
        run([&](const char* s) { return infengine::EnumUpdateAutoBat(s, b[0].get(), b[1].get()); });
        run([&](const char* s) {
            return infengine::EnumUpdateCfgSys(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                               b[4].get());
        });
        infengine::RestartOrReboot();
        return entries;
    }

    // An install section that lists section `list` under every key.
    static std::string installListing(const std::string& list) {
        std::string text = "[Install]\r\n";
        for (const char* key : {"Include", "Needs", "CopyFiles", "DelFiles", "AddReg", "DelReg",
                                "UpdateInis", "UpdateIniFields", "UpdateAutoBat", "UpdateCfgSys",
                                "KnownFiles"}) {
            text += std::string(key) + "=" + list + "\r\n";
        }
        return text;
    }
};

TEST_F(BadInputTest, HugeLinesAndFields) {
    std::string manyFields = "HKLM,Key,Value,1";
    for (int i = 0; i < 10000; ++i) manyFields += ",ab";
    const std::string body =
        installListing("Lines,Lines") + "[Lines]\r\n" + std::string(65536, 'a') + "\r\n" +
        manyFields + "\r\n" + "CmdAdd=" + std::string(65536, 'x') + "\r\n" +
        "DevAddDev=" + std::string(5000, 'q') + "," + std::string(5000, 'r') + "\r\n" +
        "HKLM," + std::string(70000, 'k') + ",v,0x10000," + std::string(3000, 'm') + "\r\n";
    openDriverInf(body);
    EXPECT_GT(runAll("Install"), 0u);
    EXPECT_EQ(runAll(std::string(300, 'S').c_str()), 0u);
}

TEST_F(BadInputTest, StringsThatReferToThemselvesAndBrokenQuotes) {
    const std::string body = installListing("%self%,%a%") +
                             "[Strings]\r\nself=\"%self%%self%%self%\"\r\na=%b%%b%%b%%b%\r\n"
                             "b=%a%%a%%a%%a%\r\n"
                             "[%self%]\r\nHKLM,%self%,%a%,0,%b%\r\n\"unterminated,quote\r\n"
                             "CmdAdd=\"open\r\nDevRename=\"a,\"b\r\n";
    openDriverInf(body);
    runAll("Install");
}

TEST_F(BadInputTest, SectionNamesTooLongForTheReader) {
    // A 300-character section header makes the reader refuse the file...
    writeInf(kDriverInf, "[" + std::string(300, 'L') + "]\r\nx=1\r\n");
    EXPECT_EQ(infengine::OpenInfFile(kDriverInf), 1);
    EXPECT_EQ(runAll("Install"), 0u);
    // ...while a list value may name one: it is simply not there (Include and Needs hand
    // the name on, cut to 259 characters).
    openDriverInf(installListing(std::string(300, 'L')));
    EXPECT_EQ(runAll("Install"), 2u);
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
    EXPECT_GT(runAll("Install"), 100u);
}

}  // namespace
}  // namespace infengine_test
