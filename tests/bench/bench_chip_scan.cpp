// The start-up cost of both programs: how many PCI configuration reads constructing the
// settings object makes on each simulated machine, against a plain search that scans the
// whole bus once for the Maestro-1 and, when none is found, once more for the Maestro-2E.
//
// Each read stands for two port accesses, which under Windows 95/98 (and much more under an
// emulator) are what the scan costs; the host's time per start-up is reported too, but the
// counters are the result: reads, naive_reads and ratio (naive_reads / reads).
//
// Exit code 1 when the start-up without a card makes more than kNoCardReadBudget reads.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/host/host_system.h"
#include "platform/host/simulated_machine.h"
#include "platform/sim/sim_pci_config.h"
#include "settings/chip_scan.h"
#include "settings/tunara_settings.h"

namespace {

constexpr std::uint64_t kNoCardReadBudget = 8300;
bool g_budgetExceeded = false;

// The plain search: every function of every device of every bus, one chip at a time, stopping
// at the first match. Returns the number of reads it made.
std::uint64_t naiveScanReads(platform::sim::SimPciConfig& pci) {
    const std::uint64_t before = pci.readCount();
    for (const std::uint32_t wanted : {settings::kMaestro1Id, settings::kMaestro2EId}) {
        for (std::uint32_t bus = 0; bus < settings::kPciBuses; ++bus)
            for (std::uint32_t device = 0; device < settings::kPciDevices; ++device)
                for (std::uint32_t function = 0; function < settings::kPciFunctions; ++function)
                    if (pci.ReadConfigDword(bus, device, function, 0) == wanted)
                        return pci.readCount() - before;
    }
    return pci.readCount() - before;
}

void StartUp(benchmark::State& state, const char* description, bool budgeted) {
    platform::host::SimulatedMachine machine;
    std::string error;
    if (!machine.loadNamedDescription(description, TUNARA_SOURCE_DIR, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    platform::sim::SimPciConfig& pci = machine.pci();
    const std::uint64_t naive = naiveScanReads(pci);

    std::uint64_t reads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        machine.system().clearDebugOutput();
        pci.resetReadCount();
        state.ResumeTiming();
        settings::tunaraSettings settingsObject;
        benchmark::DoNotOptimize(settingsObject.cardPresent);
        reads = pci.readCount();
    }

    state.counters["reads"] = static_cast<double>(reads);
    state.counters["naive_reads"] = static_cast<double>(naive);
    state.counters["ratio"] =
        reads != 0 ? static_cast<double>(naive) / static_cast<double>(reads) : 0.0;
    if (budgeted && reads > kNoCardReadBudget) {
        g_budgetExceeded = true;
        char message[128];
        std::snprintf(message, sizeof message, "%llu reads, budget %llu",
                      static_cast<unsigned long long>(reads),
                      static_cast<unsigned long long>(kNoCardReadBudget));
        state.SkipWithError(message);
    }
}

BENCHMARK_CAPTURE(StartUp, no_card, "win98-nocard", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, maestro1_win98, "win98-maestro1", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, maestro1_win95, "win95-maestro1", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, maestro2e_win98, "win98-maestro2e", false)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_budgetExceeded ? 1 : 0;
}
