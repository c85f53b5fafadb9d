// Finding the help contexts that the program's code asks for, and the build's check that each
// has its topic or popup in every language.
#include "tools/helpc/code_contexts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/helpc/context_list.h"
#include "tools/helpc/coverage_check.h"
#include "tools/helpc/help_error.h"
#include "tools/helpc/help_source.h"

namespace {

std::vector<std::string> found(const std::vector<helpc::CodeContext>& contexts) {
    std::vector<std::string> out;
    for (const helpc::CodeContext& c : contexts)
        out.push_back(std::to_string(c.number) + (c.helpButton ? " button" : "") + " @" +
                      std::to_string(c.line));
    return out;
}

TEST(CodeContexts, FindsHelpCallsAndControlTables) {
    const char* code =
        "void Sheet::showHelp() {\n"
        "    app()->helpContext(window_, 20);\n"
        "    // app()->helpContext(window_, 999);  a comment is not code\n"
        "    log(\"helpContext(w, 998)\");\n"
        "}\n"
        "Page::Page() {\n"
        "    setHelpTable({IDC_A, 30, IDC_B,\n"
        "                  140, static_cast<DWORD>(-1), 45, 0, 0});\n"
        "    RECT r = {0, 0, 10, 10};\n"
        "    int pair[] = {1, 0, 0};\n"
        "    void helpContext(HWND window, DWORD context) const;\n"
        "}\n";
    EXPECT_EQ(found(helpc::scanCodeContexts("page.cpp", code)),
              (std::vector<std::string>{"20 button @2", "30 @7", "140 @8", "45 @8"}));
}

TEST(CodeContexts, RefusesAContextThatIsNotANumber) {
    try {
        helpc::scanCodeContexts("page.cpp", "\n setHelpTable({IDC_A, kBoxHelp, 0, 0});\n");
        FAIL() << "accepted";
    } catch (const helpc::HelpError& e) {
        EXPECT_STREQ(e.what(), "page.cpp:2: help context 'kBoxHelp' is not a decimal number");
    }
    EXPECT_THROW(helpc::scanCodeContexts("s.cpp", "app()->helpContext(window_, kTopic);"),
                 helpc::HelpError);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program's own sources: every Help button and F1 context of the pages and dialogs is
// found as such, so the build's check really covers them.
TEST(CodeContexts, FindsEveryHelpButtonOfThePropertiesProgram) {
    std::set<std::uint32_t> buttons, popups;
    for (const char* name :
         {"tunara_sheet.cpp", "advanced_settings_dialog.cpp", "adv_res_sheet.cpp",
          "support_info_dialog.cpp", "tunara_page1.cpp", "tunara_page3.cpp"}) {
        std::string path = std::string(TUNARA_SOURCE_DIR) + "/props/windows/" + name;
        std::string text = readFile(path);
        ASSERT_FALSE(text.empty()) << path;
        for (const helpc::CodeContext& c : helpc::scanCodeContexts(path, text))
            (c.helpButton ? buttons : popups).insert(c.number);
    }
    EXPECT_EQ(buttons, (std::set<std::uint32_t>{20, 45, 60, 65, 100}));
    EXPECT_EQ(popups, (std::set<std::uint32_t>{20, 30, 40, 45, 70, 80, 90, 110, 120, 130, 134, 137,
                                               140, 160, 170, 180}));
}

helpc::LanguageHelp language(const std::string& name, const std::string& source) {
    helpc::ContextList contexts =
        helpc::parseContextList("contexts.txt", "20 IDH_PAGE topic\n30 IDH_BOX popup\n");
    return {name, helpc::parseHelpSource(name, source, contexts)};
}

TEST(CoverageCheck, NeedsEveryUsedContextInEveryLanguage) {
    std::vector<helpc::LanguageHelp> languages = {
        language("en.txt", ".title T\n.contents 20\n.topic 20 Page\nText.\n.popup 30\nBox.\n"),
        language("de.txt", ".title T\n.contents 20\n.topic 20 Seite\nText.\n.popup 30\nFeld.\n")};
    std::vector<helpc::CodeContext> used = {{20, true, "sheet.cpp", 5}, {30, false, "page.cpp", 9}};
    EXPECT_NO_THROW(helpc::checkCoverage(used, languages));

    const std::pair<helpc::CodeContext, const char*> faults[] = {
        {{75, false, "page.cpp", 12}, "page.cpp:12: help context 75 has no topic in en.txt"},
        {{30, true, "dialog.cpp", 3},
         "dialog.cpp:3: help context 30 opens the help window but is a popup in en.txt"},
    };
    for (const auto& [context, expected] : faults) {
        std::vector<helpc::CodeContext> withFault = used;
        withFault.push_back(context);
        try {
            helpc::checkCoverage(withFault, languages);
            ADD_FAILURE() << "accepted " << expected;
        } catch (const helpc::HelpError& e) {
            EXPECT_STREQ(e.what(), expected);
        }
    }
    // A check that found no context in the code proves nothing and must not pass.
    EXPECT_THROW(helpc::checkCoverage({}, languages), std::runtime_error);
}

}  // namespace
