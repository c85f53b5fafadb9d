// inf_reader_bench.exe: our INF reader against the system's SetupAPI, in one run under
// Windows (Wine), on generated INF files of 10,000 and 100,000 lines with 2,000 strings.
//
// Each measurement opens the file, walks every section, every line, every field (the key
// included) and every line text, and closes it; the best of a few runs counts. Printed:
// the times, and the ratios that matter:
//   - system / ours on the large file (ours must be at least 10 times faster),
//   - ours large / ours small (ours must grow linearly: at most 12 for 10 times the lines),
//   - memory held by our parsed large file / its size (at most 4).
// Exit code 0 when all three hold, 1 otherwise. Built for Windows only (tests/wine/inf);
// the system's SetupAPI is what makes the comparison.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/inf/portable_inf_reader.h"
#include "platform/win32/win32_inf_reader.h"
#include "platform/win32/win32_machine.h"

namespace {

constexpr int kLinesPerSection = 100;
constexpr int kStrings = 2000;

struct GeneratedInf {
    std::string path;
    std::vector<std::string> sections;
    std::size_t size = 0;
};

// Lines the way driver INFs write them: a key, plain values, a %string%, a number, a quoted
// value with a comma.
GeneratedInf generate(const std::string& folder, int lines) {
    GeneratedInf inf;
    inf.path = folder + "bench" + std::to_string(lines) + ".inf";
    std::string text = "[Version]\r\nSignature=\"$Chicago$\"\r\nClass=MEDIA\r\n\r\n";
    for (int i = 0; i < lines; ++i) {
        if (i % kLinesPerSection == 0) {
            inf.sections.push_back("Section." + std::to_string(i / kLinesPerSection));
            text += "\r\n[" + inf.sections.back() + "]\r\n";
        }
        const std::string n = std::to_string(i);
        text += "Key" + n + " = value" + n + ", %Str" + std::to_string(i % kStrings) + "%, 0x" +
                std::to_string(i % 4096) + ", \"quoted, text " + n + "\"\r\n";
    }
    text += "\r\n[Strings]\r\n";
    for (int i = 0; i < kStrings; ++i) {
        text +=
            "Str" + std::to_string(i) + " = \"String value number " + std::to_string(i) + "\"\r\n";
    }
    std::ofstream(inf.path, std::ios::binary) << text;
    inf.size = text.size();
    return inf;
}

// Opens, walks everything, closes. Returns seconds, or a negative value when a call failed.
double walk(platform::InfReader& reader, const GeneratedInf& inf, std::size_t* checksum) {
    const auto start = std::chrono::steady_clock::now();
    platform::HInf handle = platform::kInvalidInf;
    if (reader.OpenInfFile(inf.path.c_str(), INF_STYLE_WIN4, &handle, nullptr) != ERROR_SUCCESS) {
        return -1;
    }
    char buffer[5000];
    for (const std::string& section : inf.sections) {
        platform::InfContext line;
        std::uint32_t error = reader.FindFirstLine(handle, section.c_str(), nullptr, &line);
        while (error == ERROR_SUCCESS) {
            const std::uint32_t values = reader.GetFieldCount(&line);
            for (std::uint32_t i = 0; i <= values; ++i) {
                std::uint32_t required = 0;
                if (reader.GetStringField(&line, i, buffer, sizeof buffer, &required) ==
                    ERROR_SUCCESS) {
                    *checksum += required;
                }
            }
            std::uint32_t required = 0;
            if (reader.GetLineText(&line, platform::kInvalidInf, nullptr, nullptr, buffer,
                                   sizeof buffer, &required) == ERROR_SUCCESS) {
                *checksum += required;
            }
            error = reader.FindNextLine(&line, &line);
        }
    }
    reader.CloseInfFile(handle);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double best(platform::InfReader& reader, const GeneratedInf& inf, int runs, std::size_t* checksum) {
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        std::size_t sum = 0;
        const double seconds = walk(reader, inf, &sum);
        if (seconds < 0) return -1;
        fastest = std::min(fastest, seconds);
        *checksum = sum;
    }
    return fastest;
}

}  // namespace

int main() {
    platform::win32::Win32Machine machine;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const GeneratedInf small = generate(temp, 10000);
    const GeneratedInf large = generate(temp, 100000);

    platform::win32::Win32InfReader system("setupapi.dll");
    platform::inf::PortableInfReader ours;
    if (!system.usesSystemSetupApi()) {
        std::printf("setupapi.dll is not available: nothing to compare with\n");
        return 1;
    }

    std::size_t sumSystem = 0, sumOurs = 0, sumOursSmall = 0, sumSystemSmall = 0;
    const double oursSmall = best(ours, small, 5, &sumOursSmall);
    const double oursLarge = best(ours, large, 3, &sumOurs);
    const double systemSmall = best(system, small, 1, &sumSystemSmall);
    const double systemLarge = best(system, large, 1, &sumSystem);

    platform::HInf handle = platform::kInvalidInf;
    std::size_t held = 0;
    if (ours.OpenInfFile(large.path.c_str(), INF_STYLE_WIN4, &handle, nullptr) == ERROR_SUCCESS) {
        held = ours.file(handle)->memoryUsed();
        ours.CloseInfFile(handle);
    }
    DeleteFileA(small.path.c_str());
    DeleteFileA(large.path.c_str());

    if (oursSmall < 0 || oursLarge < 0 || systemSmall < 0 || systemLarge < 0 || held == 0) {
        std::printf("a reader failed to open or walk the generated files\n");
        return 1;
    }
    const double speedup = systemLarge / oursLarge;
    const double growth = oursLarge / oursSmall;
    const double memory = static_cast<double>(held) / static_cast<double>(large.size);
    std::printf("file sizes: %zu and %zu bytes\n", small.size, large.size);
    std::printf("system SetupAPI: %10.4f s (10,000 lines) %10.4f s (100,000 lines)\n", systemSmall,
                systemLarge);
    std::printf("our reader:      %10.4f s (10,000 lines) %10.4f s (100,000 lines)\n", oursSmall,
                oursLarge);
    std::printf("same answers (bytes handed out): %s\n",
                sumSystem == sumOurs && sumSystemSmall == sumOursSmall ? "yes" : "NO");
    std::printf("system / ours, 100,000 lines:    %8.1f  (at least 10)\n", speedup);
    std::printf("ours 100,000 / ours 10,000:      %8.2f  (at most 12)\n", growth);
    std::printf("memory held / file size:         %8.2f  (at most 4)\n", memory);
    const bool ok = speedup >= 10 && growth <= 12 && memory <= 4 && sumSystem == sumOurs &&
                    sumSystemSmall == sumOursSmall;
    return ok ? 0 : 1;
}
