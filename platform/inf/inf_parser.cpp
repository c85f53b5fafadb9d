#include "platform/inf/inf_parser.h"

#include <string>

#include "platform/inf/inf_text.h"
#include "platform/inf_reader.h"

namespace platform::inf {
namespace {

enum class State {
    LineStart,       // at the start of a line
    SectionName,     // after "["
    KeyName,         // reading the first name of a line
    ValueName,       // reading a value
    EolBackslash,    // after a backslash that may end the line
    Quotes,          // inside quotes
    LeadingSpaces,   // blanks before a value
    TrailingSpaces,  // blanks after a name or value
    Comment,         // after ";" (or after a section name) up to the end of the line
    Count
};

class Machine {
  public:
    Machine(const char* text, std::size_t size, InfFile* file)
        : start_(text), end_(text + size), file_(file) {}

    std::uint32_t run(std::uint32_t* errorLine);

  private:
    // One short handler per state; each consumes input and returns where to go on, or null
    // at the end of the text.
    const char* step(const char* p);

    bool isEof(const char* p) const {
        return p >= end_ || static_cast<unsigned char>(*p) == kControlZ;
    }
    bool isEol(const char* p) const { return isEof(p) || *p == '\n'; }
    static bool isBlank(char c) { return isInfBlank(static_cast<unsigned char>(c)); }
    // Within a value, and in the blanks after a name or value, a NUL byte is a blank too; at
    // the start of a line or a value and inside a key it is kept (as a space).
    static bool isValueBlank(char c) { return c == '\0' || isBlank(c); }

    void push(State state) {
        // Handlers never nest deeper than two; the guard keeps a bad sequence harmless.
        if (depth_ < kStackDepth) stack_[depth_++] = state;
    }
    void pop() { state_ = depth_ > 0 ? stack_[--depth_] : State::LineStart; }
    void pushAndSet(State resume, State next) {
        push(resume);
        state_ = next;
    }

    void pushToken(const char* p);
    bool addSection();
    bool addField(bool isKey);
    void closeLine() {
        file_->endLine();
        lineOpen_ = false;
    }

    const char* lineStart(const char* p);
    const char* sectionName(const char* p);
    const char* keyName(const char* p);
    const char* valueName(const char* p);
    const char* eolBackslash(const char* p);
    const char* quotes(const char* p);
    const char* leadingSpaces(const char* p);
    const char* trailingSpaces(const char* p);
    const char* comment(const char* p);

    static constexpr int kStackDepth = 4;

    const char* start_;  // first byte of the token being read
    const char* end_;
    InfFile* file_;
    State state_ = State::LineStart;
    State stack_[kStackDepth] = {};
    int depth_ = 0;
    std::uint32_t section_ = InfFile::kNoSection;
    // The first line with text before any section header (0: none), and whether the file
    // has a "Strings" section, which makes such lines harmless.
    std::uint32_t strayLine_ = 0;
    bool hasStrings_ = false;
    bool lineOpen_ = false;
    std::uint32_t lineNumber_ = 1;
    std::uint32_t error_ = ERROR_SUCCESS;
    std::size_t tokenLength_ = 0;
    char token_[kMaxFieldLength + 1] = {};
};

const char* Machine::step(const char* p) {
    switch (state_) {
        case State::LineStart: return lineStart(p);
        case State::SectionName: return sectionName(p);
        case State::KeyName: return keyName(p);
        case State::ValueName: return valueName(p);
        case State::EolBackslash: return eolBackslash(p);
        case State::Quotes: return quotes(p);
        case State::LeadingSpaces: return leadingSpaces(p);
        case State::TrailingSpaces: return trailingSpaces(p);
        case State::Comment: return comment(p);
        case State::Count: break;
    }
    return nullptr;
}

std::uint32_t Machine::run(std::uint32_t* errorLine) {
    const char* p = start_;
    while (p != nullptr) p = step(p);
    if (error_ != ERROR_SUCCESS) {
        if (errorLine != nullptr) *errorLine = lineNumber_;
        return error_;
    }
    // Setup refuses text before the first section only in a file without "[Strings]".
    if (strayLine_ != 0 && !hasStrings_) {
        if (errorLine != nullptr) *errorLine = strayLine_;
        return ERROR_EXPECTED_SECTION_NAME;
    }
    return ERROR_SUCCESS;
}

// Appends the bytes from start_ up to p to the token, cut at kMaxFieldLength.
void Machine::pushToken(const char* p) {
    std::size_t length = static_cast<std::size_t>(p - start_);
    if (length > kMaxFieldLength - tokenLength_) length = kMaxFieldLength - tokenLength_;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = start_[i];
        token_[tokenLength_++] = c == '\0' ? ' ' : c;
    }
    start_ = p;
}

bool Machine::addSection() {
    if (tokenLength_ > kMaxSectionNameLength) {
        error_ = ERROR_SECTION_NAME_TOO_LONG;
        return false;
    }
    section_ = file_->addSection(token_, tokenLength_);
    if (equalInfNames(token_, tokenLength_, "Strings")) hasStrings_ = true;
    tokenLength_ = 0;
    return true;
}

bool Machine::addField(bool isKey) {
    if (!lineOpen_) {
        if (section_ == InfFile::kNoSection) {  // lineStart never lets a line start there
            error_ = ERROR_EXPECTED_SECTION_NAME;
            return false;
        }
        file_->beginLine(section_);
        lineOpen_ = true;
    }
    file_->addField(token_, tokenLength_, isKey);
    tokenLength_ = 0;
    return true;
}

const char* Machine::lineStart(const char* p) {
    for (; !isEof(p); ++p) {
        switch (*p) {
            case '\n':
                ++lineNumber_;
                closeLine();
                break;
            case ';':
                pushAndSet(State::LineStart, State::Comment);
                return p + 1;
            case '[':
                start_ = p + 1;
                state_ = State::SectionName;
                return p + 1;
            default:
                if (isBlank(*p)) break;
                if (section_ == InfFile::kNoSection) {
                    // Before the first header the text is passed over byte by byte (only
                    // "[" and ";" keep their meaning); whether it was allowed is known at
                    // the end.
                    if (strayLine_ == 0) strayLine_ = lineNumber_;
                    break;
                }
                start_ = p;
                state_ = State::KeyName;
                return p;
        }
    }
    closeLine();
    return nullptr;
}

const char* Machine::sectionName(const char* p) {
    for (; !isEol(p); ++p) {
        if (*p != ']') continue;
        pushToken(p);
        if (!addSection()) return nullptr;
        pushAndSet(State::LineStart, State::Comment);  // the rest of the line is ignored
        return p + 1;
    }
    error_ = ERROR_BAD_SECTION_NAME_LINE;
    return nullptr;
}

const char* Machine::keyName(const char* p) {
    const char* tokenEnd = start_;
    for (; !isEol(p); ++p) {
        switch (*p) {
            case ',':
                // No key after all: the name read so far is the line's first value.
                pushToken(tokenEnd);
                state_ = State::ValueName;
                return p;
            case '=':
                pushToken(tokenEnd);
                if (!addField(true)) return nullptr;
                start_ = p + 1;
                pushAndSet(State::ValueName, State::LeadingSpaces);
                return p + 1;
            case ';':
                pushToken(tokenEnd);
                if (!addField(false)) return nullptr;
                pushAndSet(State::LineStart, State::Comment);
                return p + 1;
            case '"':
                pushToken(p);  // blanks before a quote stay: a "b" is "a b"
                start_ = p + 1;
                pushAndSet(State::KeyName, State::Quotes);
                return p + 1;
            case '\\':
                pushToken(tokenEnd);
                start_ = p;
                pushAndSet(State::KeyName, State::EolBackslash);
                return p;
            default:
                if (!isBlank(*p)) {
                    tokenEnd = p + 1;
                    break;
                }
                pushToken(p);
                pushAndSet(State::KeyName, State::TrailingSpaces);
                return p;
        }
    }
    pushToken(tokenEnd);
    state_ = State::ValueName;
    return p;
}

const char* Machine::valueName(const char* p) {
    const char* tokenEnd = start_;
    for (; !isEol(p); ++p) {
        switch (*p) {
            case ';':
                pushToken(tokenEnd);
                if (!addField(false)) return nullptr;
                pushAndSet(State::LineStart, State::Comment);
                return p + 1;
            case ',':
                pushToken(tokenEnd);
                if (!addField(false)) return nullptr;
                start_ = p + 1;
                pushAndSet(State::ValueName, State::LeadingSpaces);
                return p + 1;
            case '"':
                pushToken(p);  // blanks before a quote stay: a "b" is "a b"
                start_ = p + 1;
                pushAndSet(State::ValueName, State::Quotes);
                return p + 1;
            case '\\':
                pushToken(tokenEnd);
                start_ = p;
                pushAndSet(State::ValueName, State::EolBackslash);
                return p;
            default:
                if (!isValueBlank(*p)) {
                    tokenEnd = p + 1;
                    break;
                }
                pushToken(p);
                pushAndSet(State::ValueName, State::TrailingSpaces);
                return p;
        }
    }
    pushToken(tokenEnd);
    if (!addField(false)) return nullptr;
    state_ = State::LineStart;
    return p;
}

// A backslash joins the next line only when nothing but blanks, more backslashes or a comment
// follows it; otherwise it was an ordinary character and is kept with what came before.
const char* Machine::eolBackslash(const char* p) {
    for (; !isEof(p); ++p) {
        switch (*p) {
            case '\n':
                ++lineNumber_;
                start_ = p + 1;
                state_ = State::LeadingSpaces;
                return p + 1;
            case '\\':
                continue;
            case ';':
                pushAndSet(State::EolBackslash, State::Comment);
                return p + 1;
            default:
                if (isBlank(*p)) continue;
                pushToken(p);
                pop();
                return p;
        }
    }
    start_ = p;
    pop();
    return p;
}

const char* Machine::quotes(const char* p) {
    for (; !isEol(p); ++p) {
        if (*p != '"') continue;
        if (p + 1 < end_ && p[1] == '"') {  // "" is one quote
            pushToken(p + 1);
            start_ = p + 2;
            ++p;
            continue;
        }
        pushToken(p);
        start_ = p + 1;
        pop();
        return p + 1;
    }
    pushToken(p);
    pop();
    return p;
}

const char* Machine::leadingSpaces(const char* p) {
    for (; !isEol(p); ++p) {
        if (*p == '\\') {
            start_ = p;
            state_ = State::EolBackslash;
            return p;
        }
        if (!isBlank(*p)) break;
    }
    start_ = p;
    pop();
    return p;
}

// Blanks after a name stay part of it if the name goes on after them ("a b" is one key), so
// start_ is left where the blanks began.
const char* Machine::trailingSpaces(const char* p) {
    for (; !isEol(p); ++p) {
        if (*p == '\\') {
            state_ = State::EolBackslash;
            return p;
        }
        if (!isValueBlank(*p)) break;
    }
    pop();
    return p;
}

const char* Machine::comment(const char* p) {
    while (!isEol(p)) ++p;
    pop();
    return p;
}

}  // namespace

std::uint32_t InfParser::parseText(const char* text, std::size_t size, InfFile* file,
                                   std::uint32_t* errorLine) {
    // Every field costs at most the bytes that made it plus its terminator, which the
    // separator that ended it paid for: the file's size is enough for all its texts.
    file->reserveText(size + 2);
    Machine machine(text, size, file);
    const std::uint32_t error = machine.run(errorLine);
    if (error != ERROR_SUCCESS) return error;
    file->finish();
    return ERROR_SUCCESS;
}

std::uint32_t InfParser::parseFile(const unsigned char* bytes, std::size_t size,
                                   std::uint32_t style, InfFile* file, std::uint32_t* errorLine) {
    if (size == 0) return ERROR_FILE_INVALID;
    // ANSI (nearly every INF) is parsed where it lies; only a Unicode text is converted first.
    std::string decoded;
    const bool converted = decodeInfBytes(bytes, size, &decoded);
    const char* text = converted ? decoded.data() : reinterpret_cast<const char*>(bytes);
    const std::size_t length = converted ? decoded.size() : size;
    const std::uint32_t error = parseText(text, length, file, errorLine);
    if (error != ERROR_SUCCESS) return error;
    if (!file->hasWindows4Signature()) {
        if (errorLine != nullptr) *errorLine = 0;
        if ((style & INF_STYLE_WIN4) != 0) return ERROR_WRONG_INF_STYLE;
    }
    return ERROR_SUCCESS;
}

}  // namespace platform::inf
