// helpc: the help compiler of the Tunara software, a build tool that runs on the build host.
//
//   helpc compile --contexts CONTEXTS.txt --output FILE.hlp SOURCE.txt
//   helpc check --contexts CONTEXTS.txt [--stamp FILE] --sources SOURCE.txt... --code FILE.cpp...
//
// `compile` writes one language's WinHelp file. `check` proves that every help context the
// program's code asks for (Help buttons, F1, "What's this?" tables) has its topic or popup in
// every language's source. Both print "file:line: reason" and exit with 1 on the first fault.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/helpc/code_contexts.h"
#include "tools/helpc/context_list.h"
#include "tools/helpc/coverage_check.h"
#include "tools/helpc/help_error.h"
#include "tools/helpc/help_file.h"
#include "tools/helpc/help_source.h"

namespace {

// 1 January 1998: the compile date recorded in every help file unless SOURCE_DATE_EPOCH says
// otherwise, so that rebuilding gives the same bytes.
constexpr std::uint32_t kDefaultDate = 883612800;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(path + ": cannot be written");
}

struct Arguments {
    std::string command, contexts, output, stamp;
    std::vector<std::string> sources, code;
};

Arguments parseArguments(int argc, char** argv) {
    Arguments args;
    if (argc < 2) throw std::runtime_error("usage: helpc compile|check ...");
    args.command = argv[1];
    std::vector<std::string>* list = &args.sources;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(word + " needs a value");
            return argv[++i];
        };
        if (word == "--contexts")
            args.contexts = value();
        else if (word == "--output")
            args.output = value();
        else if (word == "--stamp")
            args.stamp = value();
        else if (word == "--sources")
            list = &args.sources;
        else if (word == "--code")
            list = &args.code;
        else if (!word.empty() && word[0] == '-')
            throw std::runtime_error("unknown option " + word);
        else
            list->push_back(word);
    }
    if (args.contexts.empty()) throw std::runtime_error("--contexts is required");
    return args;
}

std::uint32_t compileDate() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr || *epoch == '\0') return kDefaultDate;
    return static_cast<std::uint32_t>(std::strtoul(epoch, nullptr, 10));
}

int compile(const Arguments& args, const helpc::ContextList& contexts) {
    if (args.output.empty() || args.sources.size() != 1)
        throw std::runtime_error("usage: helpc compile --contexts FILE --output FILE.hlp SOURCE");
    const std::string& source = args.sources[0];
    helpc::HelpDocument document = helpc::parseHelpSource(source, readFile(source), contexts);
    writeFile(args.output, helpc::buildHelpFile(document, compileDate()));
    return 0;
}

int check(const Arguments& args, const helpc::ContextList& contexts) {
    if (args.sources.empty() || args.code.empty())
        throw std::runtime_error(
            "usage: helpc check --contexts FILE --sources SOURCE... --code FILE...");
    std::vector<helpc::LanguageHelp> languages;
    for (const std::string& source : args.sources)
        languages.push_back({source, helpc::parseHelpSource(source, readFile(source), contexts)});
    std::vector<helpc::CodeContext> used;
    for (const std::string& file : args.code) {
        std::vector<helpc::CodeContext> found = helpc::scanCodeContexts(file, readFile(file));
        used.insert(used.end(), found.begin(), found.end());
    }
    helpc::checkCoverage(used, languages);
    if (!args.stamp.empty()) writeFile(args.stamp, {});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Arguments args = parseArguments(argc, argv);
        helpc::ContextList contexts =
            helpc::parseContextList(args.contexts, readFile(args.contexts));
        if (args.command == "compile") return compile(args, contexts);
        if (args.command == "check") return check(args, contexts);
        throw std::runtime_error("unknown command " + args.command + " (compile or check)");
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
