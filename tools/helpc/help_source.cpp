#include "tools/helpc/help_source.h"

#include "tools/helpc/codepage.h"
#include "tools/helpc/help_error.h"

namespace helpc {

const HelpTopic* HelpDocument::find(std::uint32_t context) const {
    for (const HelpTopic& topic : topics)
        if (topic.context == context) return &topic;
    return nullptr;
}

namespace {

const std::string kHighBytes = [] {
    std::string bytes;
    for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
    return bytes;
}();

std::string trim(const std::string& s) {
    std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    std::size_t end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

// Splits ".topic 20 Title words" into the directive, its first word and the rest.
void splitDirective(const std::string& line, std::string& directive, std::string& first,
                    std::string& rest) {
    std::size_t space = line.find_first_of(" \t");
    directive = line.substr(0, space);
    std::string after = space == std::string::npos ? std::string() : trim(line.substr(space));
    std::size_t space2 = after.find_first_of(" \t");
    first = after.substr(0, space2);
    rest = space2 == std::string::npos ? std::string() : trim(after.substr(space2));
}

class SourceReader {
  public:
    SourceReader(const std::string& file, const ContextList& contexts)
        : file_(file), contexts_(contexts) {}

    HelpDocument read(const std::string& text) {
        std::vector<std::string> lines = splitLines(text);
        if (isUtf8Text(text)) {
            std::size_t i = 0;
            while (i < lines.size() && lines[i].find_first_of(kHighBytes) == std::string::npos) ++i;
            throw HelpError(file_, static_cast<int>(i) + 1,
                            "the file is UTF-8 text; help sources are Windows-1252");
        }
        for (std::size_t i = 0; i < lines.size(); ++i) readLine(lines[i], static_cast<int>(i) + 1);
        endParagraph();
        endTopic();
        finish();
        return document_;
    }

  private:
    void readLine(const std::string& raw, int line) {
        std::string problem = codePageProblem(raw);
        if (!problem.empty()) throw HelpError(file_, line, problem);
        if (!raw.empty() && raw[0] == '#') return;
        std::string text = trim(raw);
        if (text.empty()) {
            endParagraph();
            return;
        }
        if (raw[0] == '.') {
            endParagraph();
            directive(text, line);
            return;
        }
        if (topic_ < 0) throw HelpError(file_, line, "text outside a topic");
        if (paragraph_.empty()) paragraphLine_ = line;
        paragraph_ += paragraph_.empty() ? text : " " + text;
        if (paragraph_.size() > kMaxParagraphBytes)
            throw HelpError(
                file_, paragraphLine_,
                "paragraph longer than " + std::to_string(kMaxParagraphBytes) + " bytes");
    }

    void directive(const std::string& text, int line) {
        std::string name, first, rest;
        splitDirective(text, name, first, rest);
        if (name == ".title" || name == ".copyright") {
            std::string value = first + (rest.empty() ? "" : " " + rest);
            if (!document_.topics.empty())
                throw HelpError(file_, line, name + " belongs before the first topic");
            if (value.empty()) throw HelpError(file_, line, name + " needs a text");
            if (value.size() > kMaxTitleBytes) throw HelpError(file_, line, name + " is too long");
            (name == ".title" ? document_.title : document_.copyright) = value;
            return;
        }
        if (name == ".contents") {
            if (!rest.empty() || !parseContextNumber(first, document_.contents))
                throw HelpError(file_, line, ".contents needs one context number");
            contentsLine_ = line;
            return;
        }
        if (name == ".topic" || name == ".popup") {
            endTopic();
            startTopic(name == ".topic" ? ContextKind::Topic : ContextKind::Popup, first, rest,
                       line);
            return;
        }
        throw HelpError(file_, line, "unknown directive " + name);
    }

    void startTopic(ContextKind kind, const std::string& number, const std::string& title,
                    int line) {
        const char* directive = kind == ContextKind::Topic ? ".topic" : ".popup";
        std::uint32_t context = 0;
        if (!parseContextNumber(number, context))
            throw HelpError(file_, line, std::string(directive) + " needs a context number");
        const ContextEntry* entry = contexts_.find(context);
        if (entry == nullptr)
            throw HelpError(
                file_, line,
                "unknown context number " + number + " (not in " + contexts_.file + ")");
        if (entry->kind != kind)
            throw HelpError(file_, line,
                            "context " + number + " is a " +
                                (entry->kind == ContextKind::Topic ? "topic" : "popup") + " in " +
                                contexts_.file + ", not a " + (directive + 1));
        if (const HelpTopic* earlier = document_.find(context))
            throw HelpError(file_, line,
                            "context " + number + " has a topic already (line " +
                                std::to_string(earlier->line) + ")");
        if (kind == ContextKind::Topic && title.empty())
            throw HelpError(file_, line, ".topic " + number + " needs a title");
        if (kind == ContextKind::Popup && !title.empty())
            throw HelpError(file_, line, ".popup " + number + " takes no title");
        if (title.size() > kMaxTitleBytes) throw HelpError(file_, line, "title too long");
        document_.topics.push_back(HelpTopic{context, entry->name, kind, title, {}, line});
        topic_ = static_cast<long>(document_.topics.size()) - 1;
    }

    void endParagraph() {
        if (!paragraph_.empty() && topic_ >= 0) current().paragraphs.push_back(paragraph_);
        paragraph_.clear();
    }

    HelpTopic& current() { return document_.topics[static_cast<std::size_t>(topic_)]; }

    void endTopic() {
        if (topic_ >= 0 && current().paragraphs.empty())
            throw HelpError(
                file_, current().line,
                "topic of context " + std::to_string(current().context) + " has no text");
        topic_ = -1;
    }

    void finish() {
        if (document_.title.empty()) throw HelpError(file_, 1, "the source has no .title");
        if (document_.contents == 0) throw HelpError(file_, 1, "the source has no .contents");
        for (const ContextEntry& entry : contexts_.entries)
            if (document_.find(entry.number) == nullptr)
                throw HelpError(contexts_.file, entry.line,
                                "context " + std::to_string(entry.number) + " (" + entry.name +
                                    ") has no topic in " + file_);
        const HelpTopic* contents = document_.find(document_.contents);
        if (contents == nullptr)
            throw HelpError(file_, contentsLine_,
                            "unknown context number " + std::to_string(document_.contents));
        if (contents->kind != ContextKind::Topic)
            throw HelpError(file_, contentsLine_, "the contents must be a topic, not a popup");
    }

    std::string file_;
    const ContextList& contexts_;
    HelpDocument document_;
    long topic_ = -1;  // index of the topic being read, -1 between topics
    std::string paragraph_;
    int paragraphLine_ = 0;
    int contentsLine_ = 0;
};

}  // namespace

HelpDocument parseHelpSource(const std::string& file, const std::string& text,
                             const ContextList& contexts) {
    SourceReader reader(file, contexts);
    return reader.read(text);
}

}  // namespace helpc
