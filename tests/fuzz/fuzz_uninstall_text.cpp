// Fuzzes the text work of the uninstall steps on outside input: the option scanning of the
// uninstall program's command line, the WinInit.ini insertion, the INI field and line
// removal and the stored message formats. The first byte chooses the field or the text to
// remove; the rest is the text. Checks what must hold on any input: nothing is lost that is
// not asked for, and formats that are accepted only ever use the arguments given.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "instsupport/lead_bytes.h"
#include "instsupport/restart_schedule.h"
#include "instsupport/uninstall_text.h"

namespace {

bool shiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    // Option scanning: the folder is a prefix of what follows the option and ends with '\'.
    instsupport::setLeadByteTest(selector & 1 ? shiftJisLead : nullptr);
    for (const char* option : {"-f", "-c"}) {
        std::string folder = instsupport::optionFolder(text, option);
        check(folder.empty() || (folder.back() == '\\' && folder.size() <= text.size()));
        std::string key = instsupport::uninstallKeyName(folder);
        check(key.size() <= folder.size());
    }
    instsupport::setLeadByteTest(nullptr);

    // WinInit.ini: the line is inserted once and the rest of the file is kept.
    const std::string line = "NUL=C:\\WINDOWS\\SYSTEM\\TNR.VXD\r\n";
    std::string updated = instsupport::insertRenameLine(text, line);
    check(updated.size() >= text.size() + line.size());
    check(updated.find(line) != std::string::npos);

    // Field and line removal never add anything.
    static const char* const fields[] = {"tnr.drv", "a", ",", "\r", "x=", "DEVICE"};
    const std::string field = fields[selector % 6];
    bool changed = false;
    std::string removed = instsupport::removeIniField(text, field, &changed);
    check(removed.size() <= text.size() && changed == (removed != text));
    removed = instsupport::removeLinesContaining(text, field, &changed);
    check(removed.size() <= text.size() && changed == (removed.size() != text.size()));
    removed = instsupport::removeLinesStartingWith(text, field, &changed);
    check(removed.size() <= text.size());

    // A format that is accepted expands to exactly its text with the arguments put in.
    for (int arguments : {1, 2}) {
        if (!instsupport::usableFormat(text, arguments)) continue;
        std::string expanded = instsupport::applyFormat(text, "", "");
        check(expanded.size() <= text.size());
        std::string marked = instsupport::applyFormat(text, "\x01", "\x02");
        std::size_t ones = 0;
        std::size_t twos = 0;
        for (char c : marked) ones += c == '\x01', twos += c == '\x02';
        std::size_t textOnes = 0;
        std::size_t textTwos = 0;
        for (char c : text) textOnes += c == '\x01', textTwos += c == '\x02';
        check(ones == textOnes + 1 && twos == textTwos + (arguments == 2 ? 1 : 0));
    }
    return 0;
}
