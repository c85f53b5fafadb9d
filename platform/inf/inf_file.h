// One parsed INF file: its sections, lines and fields, and the indexes that find a section or
// a key without walking the file again.
//
// Built once by InfParser from the whole text; afterwards it only answers questions, so any
// number of contexts may point into it. All texts of the file (section names and fields, as
// written, %name% not yet replaced) live in one pool sized from the file.
//
// Keys are looked up by their text after %name% replacement ("%Mfg% = Models" answers to the
// key "Maker Inc." when Strings says Mfg = "Maker Inc."), as the system's SetupAPI does. The
// replacement of a %name% token, and the Signature check, go by keys as written, so only
// keys without a percent sign take part in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/inf/inf_hash_index.h"

namespace platform::inf {

// Longest name or value the parser keeps; longer ones are cut to this length without notice.
constexpr std::size_t kMaxFieldLength = 511;
// Longest section name; a longer one makes the whole file fail to open.
constexpr std::size_t kMaxSectionNameLength = 255;
// Longest text after %name% replacement; the rest is cut without notice. (The system's buffer
// holds 4096 characters and a terminator, and it fills the terminator's place as well.)
constexpr std::size_t kMaxStringLength = 4097;

// The directories that %<number>% stands for, when no "Strings" entry of that name exists.
struct InfDirectories {
    std::string infDirectory;      // 1: the folder of the INF itself, with its final backslash
    std::string windowsDirectory;  // 10, 25
    std::string systemDirectory;   // 11
    bool windowsNt = false;        // 12 is SYSTEM32\DRIVERS on NT, SYSTEM\IOSUBSYS on 95/98
};

class InfFile {
  public:
    static constexpr std::uint32_t kNoSection = 0xFFFFFFFFu;
    static constexpr std::uint32_t kNoLine = 0xFFFFFFFFu;

    // ---- Building (InfParser only) ------------------------------------------------------

    void reserveText(std::size_t bytes);
    // Starts (or, for a name already seen, continues) a section; returns its number.
    std::uint32_t addSection(const char* name, std::size_t length);
    // Starts a line in `section`; its fields follow with addField.
    void beginLine(std::uint32_t section);
    // Adds a field to the current line: the key (only as its first field) or a value.
    void addField(const char* text, std::size_t length, bool isKey);
    // Ends the current line: a line without "=" holding a single value is keyed by it.
    void endLine();
    // Groups the lines by section, replaces %name% in keys and builds the indexes. Called
    // once, after the last line.
    void finish();

    // ---- Questions ----------------------------------------------------------------------

    std::uint32_t sectionCount() const { return static_cast<std::uint32_t>(sections_.size()); }
    const char* sectionName(std::uint32_t section) const;
    // kNoSection when there is none.
    std::uint32_t findSection(const char* name) const;
    std::uint32_t lineCount(std::uint32_t section) const;
    // The first line of `section` after line `after` (kNoLine: from the start) whose key
    // equals `key` without regard to case; kNoLine when none.
    std::uint32_t findKey(std::uint32_t section, const char* key, std::size_t keyLength,
                          std::uint32_t after) const;
    // Values of a line, its key not counted.
    std::uint32_t valueCount(std::uint32_t section, std::uint32_t line) const;
    // Field `index` of a line as written (0 = key); null when the line has no such field.
    const char* field(std::uint32_t section, std::uint32_t line, std::uint32_t index) const;

    // The Signature check of INF_STYLE_WIN4.
    bool hasWindows4Signature() const;

    // ---- %name% replacement (inf_strings.cpp) -------------------------------------------

    // Set before parsing: keys are indexed by their replaced text, which may name directories.
    void setDirectories(InfDirectories directories) { directories_ = std::move(directories); }
    // Writes `text` with every %name% replaced into `out` (room for kMaxStringLength + 1
    // bytes, terminated) and returns the length. `out` may be null to learn the length only.
    std::size_t expand(const char* text, char* out) const;

    // Bytes held by the file, for the memory checks of tests and benchmarks.
    std::size_t memoryUsed() const;

  private:
    struct Line {
        std::uint32_t firstValue;  // index in fields_ of value 1
        std::uint32_t valueCount;  // values, the key not counted
        std::uint32_t key;         // index in fields_ of the key, or kNoField
        std::uint32_t matchKey;    // offset in text_ of the key with %name% replaced
    };
    struct Section {
        std::uint32_t name;       // offset in text_
        std::uint32_t firstLine;  // index in lines_ of the section's first line (after finish)
        std::uint32_t lineCount;
    };
    // All lines of one (section, key) pair, in file order: keyLines_[first .. first+count).
    struct KeyRun {
        std::uint32_t section;
        std::uint32_t first;
        std::uint32_t count;
    };
    static constexpr std::uint32_t kNoField = 0xFFFFFFFFu;

    const Line* lineAt(std::uint32_t section, std::uint32_t line) const;
    const char* keyText(const Line& line) const { return text_.data() + fields_[line.key]; }
    const char* matchText(const Line& line) const { return text_.data() + line.matchKey; }
    bool keyHasPercent(const Line& line) const { return line.matchKey != fields_[line.key]; }
    std::uint32_t findKeyRun(std::uint32_t section, const char* key, std::size_t length) const;
    // The first line of `section` whose key, as written, is `name`.
    std::uint32_t findWrittenKey(std::uint32_t section, const char* name, std::size_t length) const;
    void buildStringsIndex();
    void replaceInKeys();
    void buildKeyIndex();
    const char* lookupString(const char* name, std::size_t length, std::size_t* valueLength) const;
    const char* directoryText(const char* name, std::size_t length, std::string* scratch) const;

    std::string text_;                        // every text, each zero-terminated
    std::vector<std::uint32_t> fields_;       // offset in text_ of each field
    std::vector<Line> lines_;                 // grouped by section after finish()
    std::vector<std::uint32_t> lineSection_;  // while building: section of each line
    std::vector<Section> sections_;           // in the order the file first names them
    std::vector<KeyRun> keyRuns_;
    std::vector<std::uint32_t> keyLines_;  // line numbers within their section
    HashIndex sectionIndex_;               // folded name -> section number
    HashIndex keyIndex_;                   // (section, folded key) -> index in keyRuns_
    HashIndex stringsIndex_;               // folded key as written -> line of "Strings"
    bool lineOpen_ = false;
    std::uint32_t stringsSection_ = kNoSection;
    InfDirectories directories_;
};

}  // namespace platform::inf
