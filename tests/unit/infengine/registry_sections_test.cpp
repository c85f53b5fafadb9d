// EnumAddReg and EnumDelReg: roots, HKR, partial lines and the data encodings.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "platform/host/host_system.h"
#include "platform/registry_key.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

struct Entry {
    std::string root, subKey, valueName;
    std::string data;  // the first bytes of the data buffer that matter
    int flags;
};

class RegistrySectionsTest : public InfEngineTest {
protected:
    // The one entry of an AddReg section holding `line`; data as text, or the first
    // `dataBytes` bytes.
    Entry addReg(const std::string& line, std::size_t dataBytes = 0) {
        openDriverInf("[Install]\r\nAddReg=Reg\r\n[Reg]\r\n" + line + "\r\n");
        OutBuffer root, subKey, valueName, data;
        int flags = -7;
        EXPECT_EQ(infengine::EnumAddReg("Install", root.get(), subKey.get(), valueName.get(),
                                        data.get(), &flags),
                  0);
        EXPECT_TRUE(root.guardIntact() && subKey.guardIntact() && valueName.guardIntact() &&
                    data.guardIntact());
        OutBuffer more;
        int moreFlags = 0;
        EXPECT_EQ(infengine::EnumAddReg(nullptr, more.get(), more.get(), more.get(), more.get(),
                                        &moreFlags),
                  1);
        const std::string rootText =
            root.bytes[0] == static_cast<char>(0xCC) ? "<untouched>" : root.text();
        return {rootText, subKey.text(), valueName.text(),
                dataBytes ? std::string(data.get(), dataBytes) : data.text(), flags};
    }
};

TEST_F(RegistrySectionsTest, LinesAndRoots) {
    struct Case {
        const char* line;
        Entry expected;
    };
    const Case cases[] = {
        {"HKLM,Software\\Tunara,Version,0,\"1.0\"", {"HKLM", "Software\\Tunara", "Version", "1.0", 0}},
        {"hklm,Software\\Tunara,,,", {"HKLM", "Software\\Tunara", "", "", 0}},
        {"hKcR,.tnr,,0,TunaraFile", {"HKCR", ".tnr", "", "TunaraFile", 0}},
        {"HKCU,Software\\Tunara,Tray,0x00010001,1", {"HKCU", "Software\\Tunara", "Tray", "1", 0x10001}},
        {"HKU,.Default\\X,Y,0x10001,0x10", {"HKU", ".Default\\X", "Y", "0x10", 0x10001}},
        // Windows 95/98 outside driver registration: HKR is HKLM itself.
        {"HKR,,Driver,0,es197x.drv", {"HKLM", "", "Driver", "es197x.drv", 0}},
        {"HKR,Config,Rate,0,44100", {"HKLM", "Config", "Rate", "44100", 0}},
        // Parsing stops at what is missing; what was filled is returned.
        {"HKEY_LOCAL_MACHINE,Software,Name,0,x", {"<untouched>", "", "", "", -7}},
        {"HKLM", {"HKLM", "", "", "", -7}},
        {"HKLM,Software\\Tunara", {"HKLM", "Software\\Tunara", "", "", -7}},
        {"HKLM,Software\\Tunara,Name", {"HKLM", "Software\\Tunara", "Name", "", -7}},
        {"HKLM,Software\\Tunara,Name,binary,01", {"HKLM", "Software\\Tunara", "Name", "", -7}},
        {"HKLM,Software\\Tunara,Name,0", {"HKLM", "Software\\Tunara", "Name", "", 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Entry got = addReg(c.line);
        EXPECT_EQ(got.root, c.expected.root);
        EXPECT_EQ(got.subKey, c.expected.subKey);
        EXPECT_EQ(got.valueName, c.expected.valueName);
        EXPECT_EQ(got.data, c.expected.data);
        EXPECT_EQ(got.flags, c.expected.flags);
    }
}

TEST_F(RegistrySectionsTest, BinaryData) {
    struct Case {
        const char* values;
        std::string bytes;  // count byte and data
    };
    const Case cases[] = {
        {"01,02,ff", std::string("\x03\x01\x02\xFF", 4)},
        {"", std::string("\x00", 1)},
        {"0,A,7f", std::string("\x03\x00\x0A\x7F", 4)},
        {"01,002,03", std::string("\x01\x01", 2)},  // three digits end the list
        {"01,,03", std::string("\x01\x01", 2)},
        {"01,zz,03", std::string("\x01\x01", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        const Entry got = addReg(std::string("HKLM,K,V,1,") + c.values, c.bytes.size() + 1);
        EXPECT_EQ(got.data, c.bytes + std::string(1, '\0'));
        EXPECT_EQ(got.flags, 1);
    }
}

TEST_F(RegistrySectionsTest, MultiStringData) {
    EXPECT_EQ(addReg("HKLM,K,V,0x10000,ab,cd", 8).data, std::string("\x07" "ab\0cd\0\0", 8));
    EXPECT_EQ(addReg("HKLM,K,V,0x10000,abc", 6).data, std::string("\x06" "abc\0\0", 6));
    // With more strings the size counts every zero, so the caller writes them all.
    EXPECT_EQ(addReg("HKLM,K,V,0x10000,a,b,c,d,e", 12).data,
              std::string("\x0B" "a\0b\0c\0d\0e\0\0", 12));
}

// A binary list of 400 values keeps the 255 bytes its count byte can tell; a multi-string
// keeps whole strings up to 255 bytes; nothing goes past the 260-byte buffer.
TEST_F(RegistrySectionsTest, LongDataStaysInItsBuffer) {
    std::string line = "HKLM,K,V,1";
    for (int i = 0; i < 400; ++i) line += ",5a";
    std::string data = addReg(line, 260).data;
    EXPECT_EQ(static_cast<unsigned char>(data[0]), 255);
    EXPECT_EQ(data.substr(1, 255), std::string(255, '\x5A'));
    EXPECT_EQ(data.substr(256), std::string(4, '\0'));

    data = addReg("HKLM,K,V,0x10000," + std::string(200, 'a') + "," + std::string(52, 'b') +
                      "," + std::string(300, 'c'),
                  260)
               .data;
    EXPECT_EQ(static_cast<unsigned char>(data[0]), 255);
    EXPECT_EQ(data.substr(1, 254),
              std::string(200, 'a') + std::string(1, '\0') + std::string(52, 'b') +
                  std::string(1, '\0'));
    EXPECT_EQ(data.substr(255), std::string(5, '\0'));

    data = addReg("HKLM,K,V,0x10000," + std::string(300, 'x'), 260).data;
    EXPECT_EQ(data.substr(0, 2), std::string("\x03\x00", 2)) << "a string too long is left out";

    const Entry text = addReg("HKLM," + std::string(259, 'k') + ",V,0," + std::string(300, 'd'));
    EXPECT_EQ(text.subKey, std::string(259, 'k'));
    EXPECT_EQ(text.data, std::string(259, 'd'));
}

// A sub key that does not fit the caller's buffer is never handed out cut, since the cut
// key names another one: AddReg and DelReg pass over such lines, also when an HKR prefix
// makes the key too long, and leave the outputs of a skipped line alone.
TEST_F(RegistrySectionsTest, KeysTooLongForTheBufferAreSkipped) {
    const std::string fits(259, 'k'), tooLong(260, 'k');
    const std::string classKey = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007";
    const std::string relative(259 - classKey.size() - 1, 'r');
    const std::string lines = "HKLM," + fits + ",A,0,1\r\nHKLM," + tooLong + ",B,0,2\r\nHKR," +
                              relative + ",C,0,3\r\nHKR," + relative + "x,D,0,4\r\nHKCU," +
                              tooLong + "\r\nHKCU,Short,E,0x10001,5\r\nHKCR," + tooLong +
                              ",F,0,6\r\n";
    for (const auto enumerate : {infengine::EnumAddReg, infengine::EnumDelReg}) {
        openDriverInf("[Install]\r\nAddReg=Reg\r\nDelReg=Reg\r\n[Reg]\r\n" + lines);
        infengine::engineState().classKey = classKey;
        OutBuffer root, subKey, valueName, data;
        int flags = -7;
        std::vector<std::string> got;
        for (const char* s = "Install";
             enumerate(s, root.get(), subKey.get(), valueName.get(), data.get(), &flags) == 0;
             s = nullptr) {
            got.push_back(root.text() + "|" + subKey.text() + "|" + valueName.text() + "|" +
                          data.text());
        }
        EXPECT_EQ(got, (std::vector<std::string>{"HKLM|" + fits + "|A|1",
                                                 "HKLM|" + classKey + "\\" + relative + "|C|3",
                                                 "HKCU|Short|E|5"}));
        // The last line was skipped: its root and flags did not reach the caller.
        EXPECT_EQ(root.text(), "HKCU");
        EXPECT_EQ(flags, 0x10001);
    }
}

TEST_F(RegistrySectionsTest, RelativeRootDuringRegistration) {
    infengine::engineState().classKey = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007";
    const Entry entry = addReg("HKR,Config,Rate,0,44100");
    // Opening an INF forgets the class key of an earlier registration.
    EXPECT_EQ(entry.subKey, "Config");

    openDriverInf("[Install]\r\nAddReg=Reg\r\n[Reg]\r\nHKR,,Driver,0,x\r\nHKR,Config,A,0,1\r\n");
    infengine::engineState().classKey = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007";
    OutBuffer root, subKey, valueName, data;
    int flags = 0;
    std::vector<std::string> keys;
    for (const char* s = "Install";
         infengine::EnumAddReg(s, root.get(), subKey.get(), valueName.get(), data.get(), &flags) == 0;
         s = nullptr) {
        EXPECT_EQ(root.text(), "HKLM");
        keys.push_back(subKey.text());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007",
                        "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007\\Config"}));
    platform::RegKey created;
    EXPECT_EQ(created.Open(HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0007", KEY_QUERY_VALUE),
              ERROR_SUCCESS);
}

TEST_F(RegistrySectionsTest, RelativeRootOnNt) {
    machine().system().setRelease(platform::host::WindowsRelease::WindowsNT4);
    openDriverInf("[Install]\r\nAddReg=Reg\r\n[Reg]\r\nHKR,Parameters,Start,0x10001,2\r\n");
    const std::vector<std::pair<infengine::HkrTarget, std::string>> cases = {
        {infengine::HkrTarget::NtEventLog,
         "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\tunara\\Parameters"},
        {infengine::HkrTarget::NtServiceDevice,
         "SYSTEM\\CurrentControlSet\\Services\\tunara\\Device0\\Parameters"},
        {infengine::HkrTarget::ClassKey, "Parameters"},
    };
    for (const auto& [target, expected] : cases) {
        infengine::engineState().serviceName = "tunara";
        infengine::engineState().hkrTarget = target;
        OutBuffer root, subKey, valueName, data;
        int flags = 0;
        ASSERT_EQ(infengine::EnumAddReg("Install", root.get(), subKey.get(), valueName.get(),
                                        data.get(), &flags),
                  0);
        EXPECT_EQ(subKey.text(), expected);
        // Outside the service steps the root is left as the caller had it.
        EXPECT_EQ(root.bytes[0] == static_cast<char>(0xCC),
                  target == infengine::HkrTarget::ClassKey);
    }
}

TEST_F(RegistrySectionsTest, DelRegWalksItsOwnList) {
    openDriverInf(
        "[Install]\r\nAddReg=Add\r\nDelReg=Del\r\n[Add]\r\nHKLM,A,B,0,c\r\n"
        "[Del]\r\nHKLM,Software\\Old\r\nHKCU,Software\\Old,Value\r\n");
    OutBuffer root, subKey, valueName, data;
    int flags = 0;
    std::vector<std::string> got;
    for (const char* s = "Install";
         infengine::EnumDelReg(s, root.get(), subKey.get(), valueName.get(), data.get(), &flags) == 0;
         s = nullptr) {
        got.push_back(root.text() + "|" + subKey.text() + "|" + valueName.text());
    }
    EXPECT_EQ(got, (std::vector<std::string>{"HKLM|Software\\Old|", "HKCU|Software\\Old|Value"}));
}

}  // namespace
}  // namespace infengine_test
