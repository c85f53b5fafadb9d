// One-member extraction from a 30 MB MSZIP cabinet (the member last, so the whole folder is
// unpacked): the engine's extraction through the platform files of the simulated machine,
// against `cabextract -F` on the same cabinet, run as a child process. Both are timed in this
// process, in wall-clock time, one after the other in the same run; the result is the ratio
// (engine / cabextract), printed at the end. Both outputs are compared with the member.
//
//   bench_infengine_cabinet CABINET-FOLDER [benchmark options]
//
// CABINET-FOLDER holds bench.cab and members/last.bin (make_bench_cabinet.py).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "infengine/cabinet.h"
#include "platform/host/simulated_machine.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr char kMember[] = "last.bin";
std::string g_folder;
// Wall-clock seconds and runs of each benchmark, over all its repetitions.
std::map<std::string, std::pair<double, double>> g_totals;
bool g_outputsWrong = false;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void EngineExtract(benchmark::State& state) {
    platform::host::SimulatedMachine machine;
    const fs::path drive = fs::path(machine.diskRoot()) / "c";
    fs::create_directories(drive / "CABS");
    fs::create_directories(drive / "WINDOWS" / "TEMP");
    fs::copy_file(fs::path(g_folder) / "bench.cab", drive / "CABS" / "BENCH.CAB");
    for (auto _ : state) {
        if (!infengine::extractCabinetMember("C:\\CABS\\BENCH.CAB", kMember, "C:\\WINDOWS\\TEMP\\")) {
            state.SkipWithError("the engine did not extract the member");
            return;
        }
    }
    if (slurp(drive / "WINDOWS" / "TEMP" / kMember) != slurp(fs::path(g_folder) / "members" / kMember)) {
        g_outputsWrong = true;
    }
}

void Cabextract(benchmark::State& state) {
    const fs::path out = fs::temp_directory_path() / ("bench-cabextract-" + std::to_string(getpid()));
    fs::create_directories(out);
    const std::string cabinet = (fs::path(g_folder) / "bench.cab").string();
    const std::string folder = out.string();
    std::vector<std::string> words = {"cabextract", "-q", "-F", kMember, "-d", folder, cabinet};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "cabextract", nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("cabextract failed");
            break;
        }
    }
    if (slurp(out / kMember) != slurp(fs::path(g_folder) / "members" / kMember)) g_outputsWrong = true;
    fs::remove_all(out);
}

// Adds up each benchmark's wall-clock time and runs, for the ratio of the means.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
                auto& total = g_totals[run.run_name.function_name];
                total.first += run.real_accumulated_time;
                total.second += static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double meanSeconds(const std::string& name) {
    const auto& total = g_totals[name];
    return total.second > 0 ? total.first / total.second : 0;
}

}  // namespace

BENCHMARK(EngineExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Cabextract)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CABINET-FOLDER [benchmark options]\n", argv[0]);
        return 2;
    }
    g_folder = argv[1];
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_outputsWrong) {
        std::printf("FAIL: an extracted member differs from the original\n");
        return 1;
    }
    const double engine = meanSeconds("EngineExtract");
    const double cabextract = meanSeconds("Cabextract");
    if (engine > 0 && cabextract > 0) {
        std::printf("ratio engine / cabextract -F: %.3f (engine %.1f ms, cabextract %.1f ms)\n",
                    engine / cabextract, engine * 1000, cabextract * 1000);
    }
    return 0;
}
