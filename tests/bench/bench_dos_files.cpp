// The file edits of the settings core against their byte-at-a-time form: patching the six
// setting bytes of a 1 MB driver INF, and putting the DEVICE= line at the start of a
// 9,999-byte CONFIG.SYS.
//
// Under Windows 95/98 every ReadFile and WriteFile goes through the file system, so the calls
// are the cost. The product's edits read and move 64 KiB at a time; the reference below reads
// and moves one byte per call, as the edits are defined. Both run on the simulated machine's
// disk through a counting wrapper of the FileSystem interface, and must leave the same file
// contents and file positions (checked once before timing).
//
// Counters of each benchmark: calls (ReadFile + WriteFile of the product per edit),
// reference_calls, call_ratio (reference_calls / calls) and speed_ratio (the reference's time
// per edit / the product's), both from the same run.
//
// Exit code 1 when an edit differs from the reference, or makes more than 1/kMinCallRatio of
// the reference's calls. The speed ratio is reported, not enforced (a loaded machine skews it).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/host/simulated_machine.h"
#include "platform/machine.h"
#include "settings/file_chunks.h"
#include "settings/inf_patch.h"
#include "settings/text_match.h"
#include "settings/tunara_settings.h"

namespace {

constexpr double kMinCallRatio = 50.0;
bool g_failed = false;

// ---- Counting ReadFile and WriteFile -------------------------------------------------------

class CountingFiles : public platform::FileSystem {
  public:
    explicit CountingFiles(platform::FileSystem& inner) : in_(inner) {}
    std::uint64_t reads = 0;
    std::uint64_t writes = 0;
    std::uint64_t calls() const { return reads + writes; }
    void reset() { reads = writes = 0; }

    std::uint32_t ReadFile(platform::FileHandle f, void* b, std::uint32_t n,
                           std::uint32_t* r) override {
        ++reads;
        return in_.ReadFile(f, b, n, r);
    }
    std::uint32_t WriteFile(platform::FileHandle f, const void* b, std::uint32_t n,
                            std::uint32_t* w) override {
        ++writes;
        return in_.WriteFile(f, b, n, w);
    }
    // Everything else goes straight through.
    std::uint32_t CreateFile(const char* p, std::uint32_t a, std::uint32_t s, std::uint32_t d,
                             std::uint32_t f, platform::FileHandle* r) override {
        return in_.CreateFile(p, a, s, d, f, r);
    }
    std::uint32_t SetFilePointer(platform::FileHandle f, std::int32_t d, std::int32_t* h,
                                 std::uint32_t m, std::uint32_t* n) override {
        return in_.SetFilePointer(f, d, h, m, n);
    }
    std::uint32_t SetEndOfFile(platform::FileHandle f) override { return in_.SetEndOfFile(f); }
    std::uint32_t GetFileSize(platform::FileHandle f, std::uint32_t* l, std::uint32_t* h) override {
        return in_.GetFileSize(f, l, h);
    }
    std::uint32_t FlushFileBuffers(platform::FileHandle f) override {
        return in_.FlushFileBuffers(f);
    }
    std::uint32_t CloseHandle(platform::FileHandle f) override { return in_.CloseHandle(f); }
    std::uint32_t GetFileTime(platform::FileHandle f, platform::FileTime* c,
                              platform::FileTime* a, platform::FileTime* w) override {
        return in_.GetFileTime(f, c, a, w);
    }
    std::uint32_t SetFileTime(platform::FileHandle f, const platform::FileTime* c,
                              const platform::FileTime* a, const platform::FileTime* w) override {
        return in_.SetFileTime(f, c, a, w);
    }
    std::uint32_t DeleteFile(const char* p) override { return in_.DeleteFile(p); }
    std::uint32_t MoveFile(const char* f, const char* t) override { return in_.MoveFile(f, t); }
    std::uint32_t MoveFileEx(const char* f, const char* t, std::uint32_t x) override {
        return in_.MoveFileEx(f, t, x);
    }
    std::uint32_t CopyFile(const char* f, const char* t, bool x) override {
        return in_.CopyFile(f, t, x);
    }
    std::uint32_t GetFileAttributes(const char* p, std::uint32_t* a) override {
        return in_.GetFileAttributes(p, a);
    }
    std::uint32_t SetFileAttributes(const char* p, std::uint32_t a) override {
        return in_.SetFileAttributes(p, a);
    }
    std::uint32_t CreateDirectory(const char* p) override { return in_.CreateDirectory(p); }
    std::uint32_t RemoveDirectory(const char* p) override { return in_.RemoveDirectory(p); }
    std::uint32_t FindFirstFile(const char* p, platform::FindData* d,
                                platform::FindHandle* r) override {
        return in_.FindFirstFile(p, d, r);
    }
    std::uint32_t FindNextFile(platform::FindHandle s, platform::FindData* d) override {
        return in_.FindNextFile(s, d);
    }
    std::uint32_t FindClose(platform::FindHandle s) override { return in_.FindClose(s); }
    std::uint32_t GetCurrentDirectory(std::string* d) override { return in_.GetCurrentDirectory(d); }
    std::uint32_t SetCurrentDirectory(const char* p) override {
        return in_.SetCurrentDirectory(p);
    }
    std::uint32_t SetCurrentDrive(char l) override { return in_.SetCurrentDrive(l); }
    char GetCurrentDrive() override { return in_.GetCurrentDrive(); }
    std::uint32_t GetDriveType(const char* r) override { return in_.GetDriveType(r); }
    std::uint32_t GetFullPathName(const char* p, std::string* f, std::size_t* o) override {
        return in_.GetFullPathName(p, f, o);
    }
    std::uint32_t GetTempFileName(const char* d, const char* p, std::uint32_t u, std::string* r,
                                  std::uint32_t* n) override {
        return in_.GetTempFileName(d, p, u, r, n);
    }
    std::uint32_t GetFileVersionInfoSize(const char* p, std::uint32_t* s) override {
        return in_.GetFileVersionInfoSize(p, s);
    }
    std::uint32_t GetFileVersionInfo(const char* p, std::uint32_t s, void* b) override {
        return in_.GetFileVersionInfo(p, s, b);
    }
    std::uint32_t VerQueryValue(void* b, const char* s, void** v, std::uint32_t* l) override {
        return in_.VerQueryValue(b, s, v, l);
    }
    std::uint32_t GetDiskFreeSpace(const char* r, std::uint32_t* a, std::uint32_t* b,
                                   std::uint32_t* c, std::uint32_t* d) override {
        return in_.GetDiskFreeSpace(r, a, b, c, d);
    }

  private:
    platform::FileSystem& in_;
};

// A simulated machine whose file system counts, installed for the life of this object.
struct Bench {
    platform::host::SimulatedMachine machine;
    CountingFiles counting{machine.files()};
    platform::Machine previous;
    Bench() {
        platform::Machine backends = machine.backends();
        backends.files = &counting;
        previous = platform::installMachine(backends);
    }
    ~Bench() { platform::installMachine(previous); }

    void write(const char* path, const std::string& content) {
        platform::ScopedFile file;
        machine.files().CreateFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   file.receive());
        std::uint32_t written = 0;
        machine.files().WriteFile(file.get(), content.data(),
                                  static_cast<std::uint32_t>(content.size()), &written);
    }
    std::string read(const char* path) {
        platform::ScopedFile file;
        machine.files().CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, file.receive());
        std::string content;
        std::vector<char> buffer(1 << 16);
        std::uint32_t got = 0;
        while (machine.files().ReadFile(file.get(), buffer.data(), 1 << 16, &got) ==
                   ERROR_SUCCESS &&
               got != 0)
            content.append(buffer.data(), got);
        return content;
    }
    platform::FileHandle openForEdit(const char* path) {
        platform::FileHandle file = platform::kInvalidFileHandle;
        machine.files().CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, &file);
        return file;
    }
};

// ---- The reference: one byte per call ------------------------------------------------------

bool referencePatch(platform::FileSystem& files, platform::FileHandle file,
                    const std::string& marker, std::int32_t code) {
    std::size_t matched = 0;
    unsigned char byte = 0;
    std::uint32_t read = 0;
    while (matched < marker.size()) {
        if (files.ReadFile(file, &byte, 1, &read) != ERROR_SUCCESS || read == 0) return false;
        if (settings::textByteMatches(byte, static_cast<unsigned char>(marker[matched])))
            ++matched;
        else
            matched = 0;
    }
    unsigned char out = 0;
    if (!settings::infPatchByte(code, &out)) return true;
    std::uint32_t written = 0;
    return files.WriteFile(file, &out, 1, &written) == ERROR_SUCCESS;
}

void referenceInsertAtStart(platform::FileSystem& files, const char* path,
                            const std::string& text) {
    std::string backup(path);
    backup = backup.substr(0, backup.rfind('.') + 1) + "hv1";
    files.DeleteFile(backup.c_str());
    files.CopyFile(path, backup.c_str(), false);
    platform::ScopedFile file;
    files.CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     file.receive());
    std::uint32_t size = 0, done = 0;
    files.GetFileSize(file.get(), &size, nullptr);
    files.SetFilePointer(file.get(), 0, nullptr, FILE_END, nullptr);
    files.WriteFile(file.get(), text.data(), static_cast<std::uint32_t>(text.size()), &done);
    for (std::uint32_t i = size; i-- > 0;) {
        char byte = 0;
        files.SetFilePointer(file.get(), static_cast<std::int32_t>(i), nullptr, FILE_BEGIN, nullptr);
        files.ReadFile(file.get(), &byte, 1, &done);
        files.SetFilePointer(file.get(), static_cast<std::int32_t>(i + text.size()), nullptr,
                             FILE_BEGIN, nullptr);
        files.WriteFile(file.get(), &byte, 1, &done);
    }
    files.SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN, nullptr);
    files.WriteFile(file.get(), text.data(), static_cast<std::uint32_t>(text.size()), &done);
}

// ---- The files -----------------------------------------------------------------------------

const char* const kMarkers[settings::kInfPatchCount] = {
    settings::kInfMarkerHwAcceleration, settings::kInfMarkerEnableSpdif,
    settings::kInfMarkerSpdif,          settings::kInfMarkerSoundLibSize,
    settings::kInfMarkerMicBoost,       settings::kInfMarkerMicMute};
const std::int32_t kCodes[settings::kInfPatchCount] = {0, 5, 1, 2, 5, 1};

// A driver INF of about 1 MB: its six setting lines spread through it, comment lines between.
std::string largeInf() {
    const char* lines[settings::kInfPatchCount] = {
        "HKR,Config,HwAcceleration,1,01,00\r\n",
        "; S/PDIF output: to switch it on, remove the \";\"\r\n;HKR,Config,EnableSPDIF,1,01,00\r\n",
        "HKR,Config,SPDIF,1,00,00\r\n",
        "HKR,Config,SoundLibSize,1,04,00\r\n",
        "HKR,Config,Autoexec,1,01,00\r\n;HKR,Config,\"Enable Mic Volume 20dB Boost\",1,01,00\r\n",
        "HKR,Config,MicMute,1,00,00\r\n"};
    std::string filler;
    for (int i = 0; filler.size() < 1024 * 1024 / 7; ++i)
        filler += "; HKR,Config,Reserved" + std::to_string(i) + ",1,00,00\r\n";
    std::string inf = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[Tunara.Config.AddReg]\r\n";
    for (const char* line : lines) inf += filler + line;
    return inf + filler;
}

std::string configSys(std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += "DEVICEHIGH=C:\\DRV" + std::to_string(i) + ".SYS\r\n";
    text.resize(size);
    return text;
}

// The product's patches and the reference's on the same INF must agree byte for byte and
// leave the file pointer in the same place after each patch.
bool patchesAgree(Bench& bench, const std::string& inf) {
    std::string results[2];
    std::vector<std::uint64_t> positions[2];
    for (int way = 0; way < 2; ++way) {
        bench.write("C:\\WINDOWS\\INF\\CNPROWT.INF", inf);
        platform::ScopedFile file(bench.openForEdit("C:\\WINDOWS\\INF\\CNPROWT.INF"));
        for (std::size_t i = 0; i < settings::kInfPatchCount; ++i) {
            if (way == 0)
                settings::patchInfMarker(bench.counting, file.get(), kMarkers[i], kCodes[i],
                                         settings::kFileChunkSize);
            else
                referencePatch(bench.counting, file.get(), kMarkers[i], kCodes[i]);
            std::uint64_t position = 0;
            settings::filePosition(bench.counting, file.get(), &position);
            positions[way].push_back(position);
        }
        file.close();
        results[way] = bench.read("C:\\WINDOWS\\INF\\CNPROWT.INF");
    }
    return results[0] == results[1] && positions[0] == positions[1] && results[0] != inf;
}

void report(benchmark::State& state, std::uint64_t calls, std::uint64_t referenceCalls,
            double seconds, double referenceSeconds) {
    const double callRatio = calls != 0 ? static_cast<double>(referenceCalls) / calls : 0.0;
    state.counters["calls"] = static_cast<double>(calls);
    state.counters["reference_calls"] = static_cast<double>(referenceCalls);
    state.counters["call_ratio"] = callRatio;
    state.counters["speed_ratio"] = seconds > 0 ? referenceSeconds / seconds : 0.0;
    if (callRatio < kMinCallRatio) {
        g_failed = true;
        state.SkipWithError("too many ReadFile/WriteFile calls");
    }
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void InfPatch(benchmark::State& state) {
    Bench bench;
    bench.machine.files().CreateDirectory("C:\\WINDOWS");
    bench.machine.files().CreateDirectory("C:\\WINDOWS\\INF");
    const std::string inf = largeInf();
    if (!patchesAgree(bench, inf)) {
        g_failed = true;
        state.SkipWithError("the patched INF differs from the byte-at-a-time reference");
        return;
    }
    const char* path = "C:\\WINDOWS\\INF\\CNPROWT.INF";

    // The reference, once: a million calls take a while.
    bench.write(path, inf);
    bench.counting.reset();
    auto start = std::chrono::steady_clock::now();
    {
        platform::ScopedFile file(bench.openForEdit(path));
        for (std::size_t i = 0; i < settings::kInfPatchCount; ++i)
            referencePatch(bench.counting, file.get(), kMarkers[i], kCodes[i]);
    }
    const double referenceSeconds = secondsSince(start);
    const std::uint64_t referenceCalls = bench.counting.calls();

    std::uint64_t calls = 0;
    double seconds = 0;
    std::uint64_t edits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.write(path, inf);
        bench.counting.reset();
        state.ResumeTiming();
        start = std::chrono::steady_clock::now();
        platform::ScopedFile file(bench.openForEdit(path));
        for (std::size_t i = 0; i < settings::kInfPatchCount; ++i)
            settings::patchInfMarker(bench.counting, file.get(), kMarkers[i], kCodes[i],
                                     settings::kFileChunkSize);
        file.close();
        seconds += secondsSince(start);
        calls = bench.counting.calls();
        ++edits;
    }
    report(state, calls, referenceCalls, seconds / static_cast<double>(edits), referenceSeconds);
}

void InsertAtStart(benchmark::State& state) {
    Bench bench;
    const std::string original = configSys(9999);
    const std::string line = "DEVICE=C:\\aecu.sys\r\n";
    const char* path = "C:\\CONFIG.SYS";

    bench.write(path, original);
    bench.counting.reset();
    auto start = std::chrono::steady_clock::now();
    referenceInsertAtStart(bench.counting, path, line);
    const double referenceSeconds = secondsSince(start);
    const std::uint64_t referenceCalls = bench.counting.calls();
    const std::string referenceResult = bench.read(path);

    settings::tunaraSettings settingsObject;
    std::uint64_t calls = 0;
    double seconds = 0;
    std::uint64_t edits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.write(path, original);
        bench.counting.reset();
        state.ResumeTiming();
        start = std::chrono::steady_clock::now();
        settingsObject.insertTextInFile(path, line.c_str(), false, false);
        seconds += secondsSince(start);
        calls = bench.counting.calls();
        ++edits;
    }
    if (bench.read(path) != referenceResult || referenceResult != line + original) {
        g_failed = true;
        state.SkipWithError("the edited file differs from the byte-at-a-time reference");
        return;
    }
    report(state, calls, referenceCalls, seconds / static_cast<double>(edits), referenceSeconds);
}

BENCHMARK(InfPatch)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertAtStart)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_failed ? 1 : 0;
}
