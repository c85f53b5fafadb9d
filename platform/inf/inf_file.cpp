#include "platform/inf/inf_file.h"

#include <algorithm>
#include <cstring>

#include "platform/inf/inf_text.h"

namespace platform::inf {

// ---- Building ---------------------------------------------------------------------------

void InfFile::reserveText(std::size_t bytes) {
    text_.reserve(bytes);
}

std::uint32_t InfFile::addSection(const char* name, std::size_t length) {
    const std::uint32_t hash = hashInfName(name, length);
    const std::uint32_t found = sectionIndex_.find(hash, [&](std::uint32_t section) {
        return equalInfNames(name, length, text_.data() + sections_[section].name);
    });
    if (found != HashIndex::kNone) return found;

    const auto number = static_cast<std::uint32_t>(sections_.size());
    sections_.push_back(Section{static_cast<std::uint32_t>(text_.size()), 0, 0});
    text_.append(name, length);
    text_.push_back('\0');
    sectionIndex_.insert(hash, number);
    return number;
}

void InfFile::beginLine(std::uint32_t section) {
    lines_.push_back(Line{static_cast<std::uint32_t>(fields_.size()), 0, kNoField, 0});
    lineSection_.push_back(section);
    lineOpen_ = true;
}

void InfFile::addField(const char* text, std::size_t length, bool isKey) {
    fields_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.append(text, length);
    text_.push_back('\0');
    Line& line = lines_.back();
    if (isKey) {
        line.key = static_cast<std::uint32_t>(fields_.size() - 1);
        line.firstValue = static_cast<std::uint32_t>(fields_.size());
    } else {
        ++line.valueCount;
    }
}

void InfFile::endLine() {
    if (!lineOpen_) return;
    Line& line = lines_.back();
    if (line.valueCount == 1 && line.key == kNoField) line.key = line.firstValue;
    lineOpen_ = false;
}

void InfFile::finish() {
    endLine();

    // Lines of a section named twice are spread over the file; a stable counting sort puts
    // each section's lines next to each other, in file order.
    for (std::uint32_t section : lineSection_) ++sections_[section].lineCount;
    std::uint32_t next = 0;
    for (Section& section : sections_) {
        section.firstLine = next;
        next += section.lineCount;
    }
    std::vector<std::uint32_t> cursor(sections_.size());
    for (std::size_t i = 0; i < sections_.size(); ++i) cursor[i] = sections_[i].firstLine;
    std::vector<Line> grouped(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) grouped[cursor[lineSection_[i]]++] = lines_[i];
    lines_.swap(grouped);
    std::vector<std::uint32_t>().swap(lineSection_);
    std::vector<Line>().swap(grouped);

    fields_.shrink_to_fit();
    sections_.shrink_to_fit();

    stringsSection_ = findSection("Strings");
    buildStringsIndex();
    replaceInKeys();
    text_.shrink_to_fit();
    buildKeyIndex();
}

void InfFile::buildStringsIndex() {
    if (stringsSection_ == kNoSection) return;
    const Section& strings = sections_[stringsSection_];
    stringsIndex_.reserve(strings.lineCount);
    for (std::uint32_t i = 0; i < strings.lineCount; ++i) {
        const Line& line = lines_[strings.firstLine + i];
        if (line.key == kNoField) continue;
        const char* key = keyText(line);
        const std::size_t length = std::strlen(key);
        if (std::memchr(key, '%', length) != nullptr) continue;  // no token can name it
        const std::uint32_t hash = hashInfName(key, length);
        const std::uint32_t found = stringsIndex_.find(hash, [&](std::uint32_t other) {
            return equalInfNames(key, length, keyText(lines_[strings.firstLine + other]));
        });
        if (found == HashIndex::kNone) stringsIndex_.insert(hash, i);  // the first one wins
    }
}

void InfFile::replaceInKeys() {
    char expanded[kMaxStringLength + 1];
    for (Line& line : lines_) {
        if (line.key == kNoField) continue;
        line.matchKey = fields_[line.key];
        if (std::strchr(keyText(line), '%') == nullptr) continue;
        const std::size_t length = expand(keyText(line), expanded);
        line.matchKey = static_cast<std::uint32_t>(text_.size());
        text_.append(expanded, length);
        text_.push_back('\0');
    }
}

void InfFile::buildKeyIndex() {
    // First pass: one run per distinct (section, key), counting its lines. While building,
    // a run's `first` is the global number of its first line, whose key text stands for it.
    std::vector<std::uint32_t> runOfLine(lines_.size(), HashIndex::kNone);
    std::size_t keyed = 0;
    for (const Line& line : lines_) keyed += line.key != kNoField;
    keyIndex_.reserve(keyed);
    for (std::uint32_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        for (std::uint32_t i = section.firstLine; i < section.firstLine + section.lineCount; ++i) {
            const Line& line = lines_[i];
            if (line.key == kNoField) continue;
            const char* key = matchText(line);
            const std::size_t length = std::strlen(key);
            const std::uint32_t hash = hashInfName(key, length, s + 1);
            std::uint32_t run = keyIndex_.find(hash, [&](std::uint32_t candidate) {
                const KeyRun& r = keyRuns_[candidate];
                return r.section == s && equalInfNames(key, length, matchText(lines_[r.first]));
            });
            if (run == HashIndex::kNone) {
                run = static_cast<std::uint32_t>(keyRuns_.size());
                keyRuns_.push_back(KeyRun{s, i, 0});
                keyIndex_.insert(hash, run);
            }
            ++keyRuns_[run].count;
            runOfLine[i] = run;
        }
    }
    keyRuns_.shrink_to_fit();

    // Second pass: runs laid out one after another in keyLines_, lines in file order.
    std::vector<std::uint32_t> cursor(keyRuns_.size());
    std::uint32_t next = 0;
    for (std::size_t r = 0; r < keyRuns_.size(); ++r) {
        keyRuns_[r].first = next;
        cursor[r] = next;
        next += keyRuns_[r].count;
    }
    keyLines_.assign(next, 0);
    for (std::uint32_t i = 0; i < lines_.size(); ++i) {
        const std::uint32_t run = runOfLine[i];
        if (run == HashIndex::kNone) continue;
        keyLines_[cursor[run]++] = i - sections_[keyRuns_[run].section].firstLine;
    }
}

// ---- Questions --------------------------------------------------------------------------

const char* InfFile::sectionName(std::uint32_t section) const {
    return section < sections_.size() ? text_.data() + sections_[section].name : nullptr;
}

std::uint32_t InfFile::findSection(const char* name) const {
    const std::size_t length = std::strlen(name);
    const std::uint32_t found =
        sectionIndex_.find(hashInfName(name, length), [&](std::uint32_t section) {
            return equalInfNames(name, length, text_.data() + sections_[section].name);
        });
    return found == HashIndex::kNone ? kNoSection : found;
}

std::uint32_t InfFile::lineCount(std::uint32_t section) const {
    return section < sections_.size() ? sections_[section].lineCount : 0;
}

const InfFile::Line* InfFile::lineAt(std::uint32_t section, std::uint32_t line) const {
    if (section >= sections_.size() || line >= sections_[section].lineCount) return nullptr;
    return &lines_[sections_[section].firstLine + line];
}

std::uint32_t InfFile::findKeyRun(std::uint32_t section, const char* key,
                                  std::size_t length) const {
    const std::uint32_t hash = hashInfName(key, length, section + 1);
    return keyIndex_.find(hash, [&](std::uint32_t candidate) {
        const KeyRun& run = keyRuns_[candidate];
        if (run.section != section) return false;
        const Line& first = lines_[sections_[section].firstLine + keyLines_[run.first]];
        return equalInfNames(key, length, matchText(first));
    });
}

std::uint32_t InfFile::findWrittenKey(std::uint32_t section, const char* name,
                                      std::size_t length) const {
    const std::uint32_t runNumber = findKeyRun(section, name, length);
    if (runNumber == HashIndex::kNone) return kNoLine;
    const KeyRun& run = keyRuns_[runNumber];
    for (std::uint32_t i = run.first; i < run.first + run.count; ++i) {
        if (!keyHasPercent(lines_[sections_[section].firstLine + keyLines_[i]]))
            return keyLines_[i];
    }
    return kNoLine;
}

std::uint32_t InfFile::findKey(std::uint32_t section, const char* key, std::size_t keyLength,
                               std::uint32_t after) const {
    if (section >= sections_.size()) return kNoLine;
    const std::uint32_t runNumber = findKeyRun(section, key, keyLength);
    if (runNumber == HashIndex::kNone) return kNoLine;
    const KeyRun& run = keyRuns_[runNumber];
    const std::uint32_t* begin = keyLines_.data() + run.first;
    const std::uint32_t* end = begin + run.count;
    const std::uint32_t* found = after == kNoLine ? begin : std::upper_bound(begin, end, after);
    return found == end ? kNoLine : *found;
}

std::uint32_t InfFile::valueCount(std::uint32_t section, std::uint32_t line) const {
    const Line* found = lineAt(section, line);
    return found ? found->valueCount : 0;
}

const char* InfFile::field(std::uint32_t section, std::uint32_t line, std::uint32_t index) const {
    const Line* found = lineAt(section, line);
    if (found == nullptr) return nullptr;
    if (index == 0) return found->key == kNoField ? nullptr : keyText(*found);
    if (index - 1 >= found->valueCount) return nullptr;
    return text_.data() + fields_[found->firstValue + index - 1];
}

bool InfFile::hasWindows4Signature() const {
    static const char kSignature[] = "Signature";
    const std::uint32_t version = findSection("Version");
    if (version == kNoSection) return false;
    const std::uint32_t line = findWrittenKey(version, kSignature, sizeof kSignature - 1);
    if (line == kNoLine) return false;
    const char* value = field(version, line, 1);
    if (value == nullptr) return false;
    for (const char* accepted : {"$Chicago$", "$Windows NT$", "$Windows 95$"}) {
        if (equalInfNames(accepted, std::strlen(accepted), value)) return true;
    }
    return false;
}

std::size_t InfFile::memoryUsed() const {
    return sizeof(*this) + text_.capacity() + fields_.capacity() * sizeof(std::uint32_t) +
           lines_.capacity() * sizeof(Line) + lineSection_.capacity() * sizeof(std::uint32_t) +
           sections_.capacity() * sizeof(Section) + keyRuns_.capacity() * sizeof(KeyRun) +
           keyLines_.capacity() * sizeof(std::uint32_t) + sectionIndex_.memoryUsed() +
           keyIndex_.memoryUsed() + stringsIndex_.memoryUsed() +
           directories_.infDirectory.capacity() + directories_.windowsDirectory.capacity() +
           directories_.systemDirectory.capacity();
}

}  // namespace platform::inf
