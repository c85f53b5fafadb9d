// The INI, AUTOEXEC.BAT and CONFIG.SYS sections.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

using TextSectionsTest = InfEngineTest;
using Rows = std::vector<std::string>;

TEST_F(TextSectionsTest, IniLinesAreReturnedEvenWhenShort) {
    openDriverInf(
        "[Install]\r\nUpdateInis=Inis\r\nUpdateIniFields=Fields\r\n"
        "[Inis]\r\nsystem.ini,drivers,\"wave=mmsystem.dll\",\"wave=es197x.drv\",2\r\n"
        "win.ini,Tunara\r\n"
        "[Fields]\r\nsystem.ini,386Enh,device,*vsd,es197x.vxd,1\r\nsystem.ini,boot\r\n");
    OutBuffer b[5];
    int flags = -1;
    Rows rows;
    for (const char* s = "Install";
         infengine::EnumUpdateInis(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(), &flags) == 0;
         s = nullptr) {
        rows.push_back(b[0].text() + "|" + b[1].text() + "|" + b[2].text() + "|" + b[3].text() +
                       "|" + std::to_string(flags));
    }
    EXPECT_EQ(rows, (Rows{"system.ini|drivers|wave=mmsystem.dll|wave=es197x.drv|2",
                          "win.ini|Tunara|||0"}));
    rows.clear();
    for (const char* s = "Install";
         infengine::EnumUpdateIniFields(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                        b[4].get(), &flags) == 0;
         s = nullptr) {
        rows.push_back(b[0].text() + "|" + b[1].text() + "|" + b[2].text() + "|" + b[3].text() +
                       "|" + b[4].text() + "|" + std::to_string(flags));
    }
    EXPECT_EQ(rows, (Rows{"system.ini|386Enh|device|*vsd|es197x.vxd|1", "system.ini|boot||||0"}));
}

// A command line that is not a command ends the walk: keys are compared with regard to case.
TEST_F(TextSectionsTest, AutoexecCommands) {
    openDriverInf(
        "[Install]\r\nUpdateAutoBat=Bat\r\n"
        "[Bat]\r\nCmdAdd=\"C:\\maestro.com\"\r\nCmdDelete=aecu\r\ncmdadd=late\r\nCmdAdd=never\r\n"
        "[Install2]\r\nUpdateAutoBat=Bat2\r\n[Bat2]\r\nCmdAdd=first\r\nCmdDelete\r\n");
    OutBuffer kind, text;
    Rows rows;
    for (const char* s = "Install"; infengine::EnumUpdateAutoBat(s, kind.get(), text.get()) == 0;
         s = nullptr) {
        rows.push_back(kind.text() + "|" + text.text());
    }
    EXPECT_EQ(rows, (Rows{"CmdAdd|C:\\maestro.com", "CmdDelete|aecu"}));
    EXPECT_EQ(kind.text(), "") << "outputs are emptied at every call";
    EXPECT_EQ(infengine::EnumUpdateAutoBat(nullptr, kind.get(), text.get()), 1);
}

TEST_F(TextSectionsTest, ConfigSysCommands) {
    struct Case {
        const char* line;
        const char* expected;  // kind|1|2|3|4, or null when the walk ends
    };
    const Case cases[] = {
        {"DevRename=A.SYS,B.SYS", "DevRename|A.SYS|B.SYS||"},
        {"DevDelete=ESSDOS.SYS", "DevDelete|ESSDOS.SYS|||"},
        {"DevAddDev=aecu.sys,device", "DevAddDev|aecu.sys|device||"},
        {"DevAddDev=aecu.sys,devicehigh,/a:220,/i:5", "DevAddDev|aecu.sys|devicehigh|/a:220|/i:5"},
        {"DevAddDev=aecu.sys", nullptr},
        {"DevRename=A.SYS", nullptr},
        {"devdelete=X.SYS", nullptr},
        {"Device=X.SYS", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        openDriverInf("[Install]\r\nUpdateCfgSys=Cfg\r\n[Cfg]\r\n" + std::string(c.line) + "\r\n");
        OutBuffer b[5];
        const int result = infengine::EnumUpdateCfgSys("Install", b[0].get(), b[1].get(),
                                                        b[2].get(), b[3].get(), b[4].get());
        if (c.expected == nullptr) {
            EXPECT_EQ(result, 1);
            continue;
        }
        ASSERT_EQ(result, 0);
        EXPECT_EQ(b[0].text() + "|" + b[1].text() + "|" + b[2].text() + "|" + b[3].text() + "|" +
                      b[4].text(),
                  c.expected);
    }
}

}  // namespace
}  // namespace infengine_test
