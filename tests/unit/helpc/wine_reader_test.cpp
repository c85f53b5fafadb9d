// Our help files read back with Wine's help viewer's own file reader (hlpfile.c, built
// natively for this test): it must open each file without a complaint, find every context's
// topic by number (|CTXOMAP, as HELP_CONTEXT and the "What's this?" popups do) and by name
// (|CONTEXT), find the contents topic, and give back each topic's title and text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/helpc/context_list.h"
#include "tools/helpc/help_file.h"
#include "tools/helpc/help_source.h"

#if TUNARA_WINE_HELP_READER
extern "C" {
#include "winhelp.h"
extern int wine_reader_complaints;
}
#undef min
#undef max
#endif

namespace {

#if TUNARA_WINE_HELP_READER

// The plain text of the RTF the reader produces for a page: control words dropped, \'hh as
// the byte it names, \par as a line break.
std::string rtfText(const std::string& rtf) {
    std::string text;
    int depth = 0, skipDepth = -1;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        char c = rtf[i];
        if (c == '{') {
            ++depth;
            if (rtf.compare(i, 9, "{\\fonttbl") == 0 || rtf.compare(i, 10, "{\\colortbl") == 0)
                skipDepth = depth;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth) skipDepth = -1;
            --depth;
            continue;
        }
        if (skipDepth != -1) continue;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (rtf[i + 1] == '\'') {
            text += static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
            i += 3;
            continue;
        }
        if (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}') {
            text += rtf[++i];
            continue;
        }
        std::size_t end = i + 1;
        while (end < rtf.size() &&
               (isalpha(static_cast<unsigned char>(rtf[end])) ||
                isdigit(static_cast<unsigned char>(rtf[end])) || rtf[end] == '-'))
            ++end;
        if (rtf.compare(i, 4, "\\par") == 0 && (end == i + 4)) text += '\n';
        if (end < rtf.size() && rtf[end] == ' ') ++end;  // the delimiter belongs to the word
        i = end - 1;
    }
    return text;
}

class WineReader : public ::testing::Test {
  protected:
    void SetUp() override { wine_reader_complaints = 0; }
    void TearDown() override {
        for (HLPFILE* file : opened_) HLPFILE_FreeHlpFile(file);
        for (const std::string& path : paths_) std::remove(path.c_str());
    }

    HLPFILE* open(const std::vector<std::uint8_t>& bytes) {
        std::string path = ::testing::TempDir() + "helpc_" + std::to_string(getpid()) + "_" +
                           std::to_string(paths_.size()) + ".hlp";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        paths_.push_back(path);
        HLPFILE* file = HLPFILE_ReadHlpFile(path.c_str());
        if (file != nullptr) opened_.push_back(file);
        return file;
    }

    static std::string pageText(HLPFILE_PAGE* page) {
        struct RtfData rd = {};
        EXPECT_TRUE(HLPFILE_BrowsePage(page, &rd, 1, 0));
        std::string rtf(rd.data, static_cast<std::size_t>(rd.ptr - rd.data));
        free(rd.data);
        return rtfText(rtf);
    }

    // What a topic must look like: its title (topics) and every paragraph, one per line.
    static std::string expectedText(const helpc::HelpTopic& topic) {
        std::string text = topic.kind == helpc::ContextKind::Topic ? topic.title + "\n" : "";
        for (const std::string& paragraph : topic.paragraphs) text += paragraph + "\n";
        return text;
    }

    // Every topic by number and by name: the same page, with its title and text.
    void expectEveryTopic(HLPFILE* file, const helpc::HelpDocument& doc) {
        for (const helpc::HelpTopic& topic : doc.topics) {
            SCOPED_TRACE("context " + std::to_string(topic.context));
            ULONG relative = 99;
            HLPFILE_PAGE* byNumber =
                HLPFILE_PageByMap(file, static_cast<LONG>(topic.context), &relative);
            ASSERT_NE(byNumber, nullptr);
            EXPECT_EQ(relative, 0u);
            EXPECT_EQ(std::string(byNumber->lpszTitle), topic.title);
            EXPECT_EQ(pageText(byNumber), expectedText(topic));
            HLPFILE_PAGE* byName =
                HLPFILE_PageByHash(file, HLPFILE_Hash(topic.name.c_str()), &relative);
            EXPECT_EQ(byName, byNumber);
        }
    }

    std::vector<HLPFILE*> opened_;
    std::vector<std::string> paths_;
};

helpc::HelpDocument document(const std::string& contexts, const std::string& source) {
    return helpc::parseHelpSource("src.txt", source, helpc::parseContextList("ctx.txt", contexts));
}

TEST_F(WineReader, OpensTopicsAndPopupsByNumberAndName) {
    helpc::HelpDocument doc =
        document("20 IDH_SETTINGS_PAGE topic\n30 IDH_OUTPUT_DEVICE popup\n45 IDH_SUPPORT topic\n",
                 ".title Tunara Hilfe\n.copyright Helvane\n.contents 45\n"
                 ".topic 20 Die Registerkarte \x84"
                 "Einstellungen\x93\nErster Absatz \xFC"
                 "ber {alles}.\n\nZweiter\\Absatz.\n"
                 ".popup 30\nW\xE4hlt die Ausgabe.\n"
                 ".topic 45 Kundendienst\nRufen Sie an.\n");
    HLPFILE* file = open(helpc::buildHelpFile(doc, 883612800));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::string(file->lpszTitle), "Tunara Hilfe");
    EXPECT_EQ(std::string(file->lpszCopyright), "Helvane");
    EXPECT_EQ(file->charset, 0);   // ANSI: Windows-1252
    EXPECT_EQ(file->version, 33);  // WinHelp 4.0
    ASSERT_GE(file->numFonts, 2u);
    EXPECT_EQ(std::string(file->fonts[1].LogFont.lfFaceName), "Arial");
    EXPECT_EQ(file->fonts[1].LogFont.lfWeight, 700);  // the titles' font is bold

    ULONG relative = 0;
    HLPFILE_PAGE* contents = HLPFILE_PageByHash(file, 0, &relative);  // hash 0: the contents
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(std::string(contents->lpszTitle), "Kundendienst");
    expectEveryTopic(file, doc);
    EXPECT_EQ(HLPFILE_PageByMap(file, 31, &relative), nullptr);
    EXPECT_EQ(wine_reader_complaints, 1);  // the one for context 31, which is not there
}

// Many topics with long paragraphs fill several topic blocks: records that do not fit move to
// the next block, and topic offsets count per block. Every topic is still found intact.
TEST_F(WineReader, FindsEveryTopicAcrossManyBlocks) {
    std::string contexts, source = ".title Many\n.contents 1000\n";
    for (int i = 0; i < 60; ++i) {
        int number = 1000 + i * 7;
        contexts += std::to_string(number) + " IDH_T" + std::to_string(i) +
                    (i % 3 == 2 ? " popup\n" : " topic\n");
        source += (i % 3 == 2
                       ? ".popup " + std::to_string(number) + "\n"
                       : ".topic " + std::to_string(number) + " Topic " + std::to_string(i) + "\n");
        for (int p = 0; p < 1 + i % 4; ++p)
            source += "Paragraph " + std::to_string(p) + " of " + std::to_string(i) + " " +
                      std::string(static_cast<std::size_t>(150 + 97 * ((i + p) % 11)),
                                  static_cast<char>('a' + p)) +
                      "\n\n";
    }
    helpc::HelpDocument doc = document(contexts, source);
    std::vector<std::uint8_t> bytes = helpc::buildHelpFile(doc, 0);
    HLPFILE* file = open(bytes);
    ASSERT_NE(file, nullptr);
    EXPECT_GT(file->topic_maplen, 5u);
    expectEveryTopic(file, doc);
    EXPECT_EQ(wine_reader_complaints, 0);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The product's own help files: every context in every language.
TEST_F(WineReader, ReadsTheProductHelpInEveryLanguage) {
    std::string dir = std::string(TUNARA_SOURCE_DIR) + "/help/";
    helpc::ContextList contexts =
        helpc::parseContextList("contexts.txt", readFile(dir + "contexts.txt"));
    for (const char* name : {"tnrmxEN_.txt", "tnrmxDE_.txt", "tnrmxFR_.txt"}) {
        SCOPED_TRACE(name);
        helpc::HelpDocument doc = helpc::parseHelpSource(name, readFile(dir + name), contexts);
        HLPFILE* file = open(helpc::buildHelpFile(doc, 0));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(std::string(file->lpszTitle), doc.title);
        EXPECT_EQ(doc.topics.size(), contexts.entries.size());
        expectEveryTopic(file, doc);
        EXPECT_EQ(wine_reader_complaints, 0);
    }
}

#else

TEST(WineReader, NeedsWinesHelpFileReader) {
    GTEST_SKIP() << "Wine's help file reader (programs/winhlp32/hlpfile.c) was not available when "
                    "the build was configured; see tests/unit/helpc/CMakeLists.txt";
}

#endif

}  // namespace
