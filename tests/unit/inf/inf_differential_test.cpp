// Our INF reader against the system's: every INF of tests/inf/corpus is queried on the
// simulated machine and the answers must equal, byte for byte, those that the same query
// gave over the system's SetupAPI (tests/inf/expected/<name>.txt, written by query_inf.exe
// under Wine; see tests/wine/inf). Lines reading "no system code, ours ..." are failures the
// system reported without a code; the code there is ours.
//
// Where our reader answers otherwise than Wine on purpose, the answers it is held to are our
// own, written by hand (tests/inf/expected/<name>.ours.txt): those INFs are a group of their
// own, InfOwnAnswersTest, so no result claims them as the system's.
//
// Set TUNARA_INF_ACTUAL to a folder to keep our answers there for a side-by-side diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/simulated_machine.h"
#include "platform/inf/portable_inf_reader.h"
#include "platform/machine.h"
#include "tests/inf/query_inf.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Whether the INF's answers are our own (<name>.ours.txt) rather than the system's.
bool hasOwnAnswers(const std::string& name) {
    return fs::exists(tunara_test::sourcePath("tests/inf/expected/" + name + ".ours.txt"));
}

// The corpus INFs whose answers are the system's (`own` false) or our own (`own` true).
std::vector<std::string> corpusNames(bool own) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(tunara_test::sourcePath("tests/inf/corpus"))) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() == ".inf" && hasOwnAnswers(name) == own) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The first line where two answers part, with its number, for a readable failure.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string left, right;
    for (int line = 1;; ++line) {
        const bool moreLeft = static_cast<bool>(std::getline(a, left));
        const bool moreRight = static_cast<bool>(std::getline(b, right));
        if (!moreLeft && !moreRight) return "identical";
        if (!moreLeft || !moreRight || left != right) {
            return "line " + std::to_string(line) +
                   "\n  expected: " + (moreLeft ? left.substr(0, 300) : "<end>") +
                   "\n  actual:   " + (moreRight ? right.substr(0, 300) : "<end>");
        }
    }
}

// Our reader's answers about corpus INF `name`.
std::string ourAnswers(const std::string& name) {
    const fs::path source = tunara_test::sourcePath("tests/inf/corpus/" + name + ".inf");
    const std::string raw = readAll(source);

    platform::host::SimulatedMachine simulated;
    fs::create_directories(fs::path(simulated.diskRoot()) / "c" / "corpus");
    fs::copy_file(source, fs::path(simulated.diskRoot()) / "c" / "corpus" / (name + ".inf"));
    platform::inf::PortableInfReader reader;
    platform::Machine backends = simulated.backends();
    backends.inf = &reader;
    const platform::Machine previous = platform::installMachine(backends);

    const tunara_test::InfQueryPlaces places{"C:\\corpus", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"};
    const std::string actual =
        tunara_test::queryInf(reader, "C:\\corpus\\" + name + ".inf", raw, places);
    platform::installMachine(previous);
    EXPECT_EQ(reader.openCount(), 0u) << "the query closes every INF it opens";

    if (const char* keep = std::getenv("TUNARA_INF_ACTUAL")) {
        std::ofstream(fs::path(keep) / (name + ".txt"), std::ios::binary) << actual;
    }
    return actual;
}

void expectAnswers(const std::string& name, const std::string& expectedFile) {
    const std::string actual = ourAnswers(name);
    const std::string expected =
        readAll(tunara_test::sourcePath("tests/inf/expected/" + expectedFile));
    ASSERT_FALSE(expected.empty()) << "no expected answers in " << expectedFile;
    EXPECT_TRUE(expected == actual) << expectedFile << ": " << firstDifference(expected, actual);
}

std::string paramName(const ::testing::TestParamInfo<std::string>& info) {
    return info.param;
}

class InfDifferentialTest : public ::testing::TestWithParam<std::string> {};

TEST_P(InfDifferentialTest, AnswersAsTheSystemSetupApi) {
    expectAnswers(GetParam(), GetParam() + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Corpus, InfDifferentialTest, ::testing::ValuesIn(corpusNames(false)),
                         paramName);

// INFs where our reader keeps to the answers we chose (the system's are in <name>.txt).
class InfOwnAnswersTest : public ::testing::TestWithParam<std::string> {};

TEST_P(InfOwnAnswersTest, AnswersAsWeChose) {
    const std::string name = GetParam();
    ASSERT_TRUE(fs::exists(tunara_test::sourcePath("tests/inf/expected/" + name + ".txt")))
        << "the system's own answers for " << name << " are kept beside ours";
    expectAnswers(name, name + ".ours.txt");
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(InfOwnAnswersTest);  // when none differs
INSTANTIATE_TEST_SUITE_P(Corpus, InfOwnAnswersTest, ::testing::ValuesIn(corpusNames(true)),
                         paramName);

}  // namespace
