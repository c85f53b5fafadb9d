// The help compiler's reading of sources and context lists: what it accepts, and every source
// it must refuse, with the file, line and reason a writer needs to fix it.
#include "tools/helpc/help_source.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tools/helpc/context_list.h"
#include "tools/helpc/help_error.h"
#include "tools/helpc/help_file.h"

namespace {

const char* const kContexts =
    "# number name kind\n"
    "20 IDH_PAGE topic\n"
    "30 IDH_BOX popup\n";

helpc::HelpDocument parse(const std::string& source) {
    helpc::ContextList contexts = helpc::parseContextList("contexts.txt", kContexts);
    return helpc::parseHelpSource("en.txt", source, contexts);
}

std::string refusal(const std::string& source) {
    try {
        parse(source);
    } catch (const helpc::HelpError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(HelpSource, ReadsTopicsPopupsAndParagraphs) {
    helpc::HelpDocument doc = parse(
        "# comment\r\n"
        ".title Tunara Help\r\n"
        ".contents 20\r\n"
        ".topic 20 The \x84Settings\x93 page\r\n"
        "  First line\r\n"
        "second line.\r\n"
        "\r\n"
        "Stra\xDF"
        "e und gr\xFCn \x80 5.\r\n"
        ".popup 30\r\n"
        "Box text.\r\n");
    EXPECT_EQ(doc.title, "Tunara Help");
    EXPECT_EQ(doc.contents, 20u);
    ASSERT_EQ(doc.topics.size(), 2u);
    const helpc::HelpTopic& page = doc.topics[0];
    EXPECT_EQ(page.context, 20u);
    EXPECT_EQ(page.name, "IDH_PAGE");
    EXPECT_EQ(page.kind, helpc::ContextKind::Topic);
    EXPECT_EQ(page.title, "The \x84Settings\x93 page");
    EXPECT_EQ(page.paragraphs, (std::vector<std::string>{"First line second line.",
                                                         "Stra\xDF"
                                                         "e und gr\xFCn \x80 5."}));
    const helpc::HelpTopic& box = doc.topics[1];
    EXPECT_EQ(box.kind, helpc::ContextKind::Popup);
    EXPECT_EQ(box.title, "");
    EXPECT_EQ(box.paragraphs, std::vector<std::string>{"Box text."});
}

// Windows-1252 text whose letters happen to form a UTF-8 sequence here and there ("ß" before
// a closing quote) is still Windows-1252 as long as the file as a whole is not UTF-8.
TEST(HelpSource, AcceptsWindows1252ThatLooksLikeUtf8InPlaces) {
    helpc::HelpDocument doc = parse(
        ".title T\n.contents 20\n.topic 20 Page\n\x84Stra\xDF\x93 und \xFC"
        "ber.\n.popup 30\nX.\n");
    EXPECT_EQ(doc.topics[0].paragraphs[0],
              "\x84Stra\xDF\x93 und \xFC"
              "ber.");
}

struct Refusal {
    const char* what;
    std::string source;
    std::string expected;
};

const std::string kHead = ".title T\n.contents 20\n";
const std::string kPopup = ".popup 30\nBox.\n";

TEST(HelpSource, RefusesBadSourcesWithFileLineAndReason) {
    const Refusal cases[] = {
        {"unknown context number", kHead + ".topic 20 Page\nText.\n" + kPopup + ".popup 31\nX.\n",
         "en.txt:7: unknown context number 31 (not in contexts.txt)"},
        {"context with no topic", kHead + ".topic 20 Page\nText.\n",
         "contexts.txt:3: context 30 (IDH_BOX) has no topic in en.txt"},
        {"byte outside Windows-1252", kHead + ".topic 20 Page\nText \x81 here.\n" + kPopup,
         "en.txt:4: byte 0x81 in column 6 is not a character of Windows-1252"},
        {"undefined byte in a title", kHead + ".topic 20 P\x90ge\nText.\n" + kPopup,
         "en.txt:3: byte 0x90 in column 12 is not a character of Windows-1252"},
        {"control character", kHead + ".topic 20 Page\nText\x01.\n" + kPopup,
         "en.txt:4: byte 0x01 in column 5 is a control character, not text"},
        {"UTF-8 file", kHead + ".topic 20 Page\nText f\xC3\xBCr alle.\n" + kPopup,
         "en.txt:4: the file is UTF-8 text; help sources are Windows-1252"},
        {"wrong kind", kHead + ".popup 20\nText.\n" + kPopup,
         "en.txt:3: context 20 is a topic in contexts.txt, not a popup"},
        {"topic twice", kHead + ".topic 20 Page\nText.\n" + kPopup + ".topic 20 Again\nMore.\n",
         "en.txt:7: context 20 has a topic already (line 3)"},
        {"text outside a topic", ".title T\nStray text.\n", "en.txt:2: text outside a topic"},
        {"topic without text", kHead + ".topic 20 Page\n\n" + kPopup,
         "en.txt:3: topic of context 20 has no text"},
        {"topic without title", kHead + ".topic 20\nText.\n" + kPopup,
         "en.txt:3: .topic 20 needs a title"},
        {"popup with title", kHead + ".topic 20 Page\nText.\n.popup 30 Title\nBox.\n",
         "en.txt:5: .popup 30 takes no title"},
        {"no title", ".contents 20\n.topic 20 Page\nText.\n" + kPopup,
         "en.txt:1: the source has no .title"},
        {"contents is a popup", ".title T\n.contents 30\n.topic 20 Page\nText.\n" + kPopup,
         "en.txt:2: the contents must be a topic, not a popup"},
        {"title after a topic", kHead + ".topic 20 Page\nText.\n.title Late\n" + kPopup,
         "en.txt:5: .title belongs before the first topic"},
        {"unknown directive", kHead + ".topc 20 Page\n", "en.txt:3: unknown directive .topc"},
        {"paragraph too long",
         kHead + ".topic 20 Page\n" + std::string(2000, 'a') + "\n" + std::string(2000, 'b') +
             "\n" + kPopup,
         "en.txt:4: paragraph longer than 4000 bytes"},
    };
    for (const Refusal& c : cases) EXPECT_EQ(refusal(c.source), c.expected) << c.what;
}

TEST(ContextList, RefusesBadLines) {
    const std::pair<const char*, const char*> cases[] = {
        {"20 IDH_A topic\n20 IDH_B popup\n",
         "contexts.txt:2: context 20 is listed again (first at line 1)"},
        {"20 IDH_A topic\n21 IDH_A popup\n",
         "contexts.txt:2: context name IDH_A clashes with IDH_A (line 1)"},
        {"20 IDH-A topic\n",
         "contexts.txt:1: context name 'IDH-A' may only hold letters, digits, '.' and '_'"},
        {"0 IDH_A topic\n", "contexts.txt:1: '0' is not a context number (1 to 2147483647)"},
        {"2147483648 IDH_A topic\n",
         "contexts.txt:1: '2147483648' is not a context number (1 to 2147483647)"},
        {"20 IDH_A window\n", "contexts.txt:1: kind 'window' is neither topic nor popup"},
        {"20 IDH_A\n", "contexts.txt:1: expected: number name topic|popup"},
    };
    for (const auto& [text, expected] : cases) {
        try {
            helpc::parseContextList("contexts.txt", text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const helpc::HelpError& e) {
            EXPECT_EQ(std::string(e.what()), expected);
        }
    }
}

// |CONTEXT is written as one index page: a help file with more contexts than that page holds
// is refused, not written with names the viewer cannot find.
TEST(HelpFile, RefusesMoreContextsThanItsIndexHolds) {
    for (int count : {255, 256}) {
        std::string contexts, source = ".title T\n.contents 1\n";
        for (int i = 1; i <= count; ++i) {
            contexts += std::to_string(i) + " IDH_" + std::to_string(i) + " topic\n";
            source += ".topic " + std::to_string(i) + " T\nText.\n";
        }
        helpc::HelpDocument doc = helpc::parseHelpSource(
            "en.txt", source, helpc::parseContextList("contexts.txt", contexts));
        if (count == 255)
            EXPECT_FALSE(helpc::buildHelpFile(doc, 0).empty());
        else
            EXPECT_THROW(helpc::buildHelpFile(doc, 0), std::length_error);
    }
}

}  // namespace
