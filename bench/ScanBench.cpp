// The scan of a disc of 10,000 files in 1,000 folders for 12 (player, extension) pairs: one walk
// per pair (with two listings of every folder, as the search first was, and with one), the single
// walk collecting every extension, and a bare walk that only lists every folder once. Over the
// in-memory fake and over a real folder of this machine.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "PosixFolderPlatform.h"
#include "ScanCases.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using namespace vexamo::bench;

namespace {

const StringList Roots = {"D:\\"};

struct FakeScanDisc {
    test::FakePlatform fake;
    FakeScanDisc() {
        fake.AddDrive("D:\\", DriveKind::CdRom, "SCAN");
        GenerateScanDisc([&](const std::string& f) { fake.AddFolder("D:\\" + f); },
                         [&](const std::string& f) { fake.AddFile("D:\\" + f); });
    }
    void Install() { SetPlatform(&fake); }
    static FakeScanDisc& Get() {
        static FakeScanDisc disc;
        return disc;
    }
};

struct RealScanDisc {
    std::filesystem::path root;
    std::unique_ptr<PosixFolderPlatform> platform;
    RealScanDisc() {
        char tmpl[] = "/tmp/vexamo-scanbench-XXXXXX";
        if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
        root = tmpl;
        auto native = [&](std::string rel) {
            for (char& c : rel)
                if (c == '\\') c = '/';
            return root / rel;
        };
        GenerateScanDisc([&](const std::string& f) { std::filesystem::create_directories(native(f)); },
                         [&](const std::string& f) { std::ofstream(native(f)) << "x"; });
        platform = std::make_unique<PosixFolderPlatform>(root.string());
    }
    ~RealScanDisc() {
        platform.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    void Install() { SetPlatform(platform.get()); }
    static RealScanDisc& Get() {
        static RealScanDisc disc;
        return disc;
    }
};

// Every way must find the same files: 12 of each 14 files have a selected extension.
constexpr size_t ExpectedFiles = 8572;

template <typename Disc, size_t (*Scan)(const StringList&, const std::vector<SearchPlayer>&)>
void ScanDisc(benchmark::State& state) {
    Disc::Get().Install();
    const std::vector<SearchPlayer> players = ScanPlayers();
    size_t n = 0;
    for (auto _ : state) n = Scan(Roots, players);
    state.counters["files"] = static_cast<double>(n);
    if (n != ExpectedFiles) state.SkipWithError("wrong number of files");
}

template <typename Disc>
void BareDiscWalk(benchmark::State& state) {
    Disc::Get().Install();
    size_t n = 0;
    for (auto _ : state) n = BareWalk(Roots);
    state.counters["entries"] = static_cast<double>(n);
}

}  // namespace

BENCHMARK(ScanDisc<FakeScanDisc, PerPairTwoListings>)
    ->Name("Scan12/fake/per-pair-two-listings")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ScanDisc<FakeScanDisc, PerPair>)->Name("Scan12/fake/per-pair")->Unit(benchmark::kMillisecond);
BENCHMARK(ScanDisc<FakeScanDisc, SingleWalk>)->Name("Scan12/fake/single-walk")->Unit(benchmark::kMillisecond);
BENCHMARK(BareDiscWalk<FakeScanDisc>)->Name("Scan12/fake/bare-walk")->Unit(benchmark::kMillisecond);
BENCHMARK(ScanDisc<RealScanDisc, PerPairTwoListings>)
    ->Name("Scan12/posix/per-pair-two-listings")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ScanDisc<RealScanDisc, PerPair>)->Name("Scan12/posix/per-pair")->Unit(benchmark::kMillisecond);
BENCHMARK(ScanDisc<RealScanDisc, SingleWalk>)->Name("Scan12/posix/single-walk")->Unit(benchmark::kMillisecond);
BENCHMARK(BareDiscWalk<RealScanDisc>)->Name("Scan12/posix/bare-walk")->Unit(benchmark::kMillisecond);
