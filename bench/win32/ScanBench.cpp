// Times the scan of a disc of 10,000 files in 1,000 folders for 12 (player, extension) pairs on a
// real Windows drive, the same ways the native benchmark compares (bench/ScanCases.h). Under Wine
// the drive is a folder mapped as a CD-ROM drive, where every folder listing is slow. Tests only;
// not shipped.
//
//   ScanBench.exe [root [rounds]]     root defaults to D:\, rounds to 5
//
// The disc is built below the root on the first run (the marker file scanbench.built says it is
// complete) and left there. Under Wine, on a CD-ROM drive D: made by the end-to-end runner:
//
//   cmake --build --preset windows --target ScanBench
//   bash tests/e2e/run-e2e.sh --work build/windows/e2e --make-base      # once
//   bash tests/e2e/run-e2e.sh --work build/windows/e2e --group ScanBench --cdrom D:SCANBENCH
//       --timeout 500 -- build/windows/ScanBench.exe 'D:\' 7                    # one command line
#include "platform/win32/WinApi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ScanCases.h"
#include "win32/ScanDisc.h"
#include "platform/win32/Win32Platform.h"

using namespace vexamo;
using namespace vexamo::bench;
using Clock = std::chrono::steady_clock;

namespace {

struct Timing {
    const char* Name;
    std::function<size_t()> Run;
    std::vector<double> Ms;
    size_t Found = 0;
    double Median() const { return Ms[Ms.size() / 2]; }
};

// Round by round through all the scans, so that a busy moment of the machine weighs on each alike.
void TimeRounds(std::vector<Timing>& timings, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        for (Timing& t : timings) {
            const auto start = Clock::now();
            t.Found = t.Run();
            t.Ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    for (Timing& t : timings) std::sort(t.Ms.begin(), t.Ms.end());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "D:\\";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    InstallWin32Platform();

    const auto buildStart = Clock::now();
    if (!BuildScanDisc(root)) {
        std::fprintf(stderr, "ScanBench: cannot build the disc below %s (error %lu)\n", root.c_str(), GetLastError());
        return 1;
    }
    const double buildMs = std::chrono::duration<double, std::milli>(Clock::now() - buildStart).count();

    const StringList roots = {root};
    const std::vector<SearchPlayer> players = ScanPlayers();
    size_t pairs = 0;
    for (const SearchPlayer& p : players) pairs += p.Extensions.size();
    std::printf("ScanBench: %s (drive type %u), %d folders of %d files, %zu pairs; disc ready in %.0f ms\n",
                root.c_str(), GetDriveTypeA(root.c_str()), ScanTopFolders * (ScanSubFolders + 1), ScanFilesPerFolder,
                pairs, buildMs);
    // Also the first listing of a fresh disc, which costs more than any later one.
    if (!ScansAgree(roots, players)) {
        std::fprintf(stderr, "ScanBench: the single walk and the per-pair searches found different files\n");
        return 1;
    }

    std::vector<Timing> results = {
        {"per pair, two listings a folder", [&] { return PerPairTwoListings(roots, players); }, {}},
        {"per pair, one listing a folder", [&] { return PerPair(roots, players); }, {}},
        {"single walk, all pairs", [&] { return SingleWalk(roots, players); }, {}},
        {"bare walk (entries listed)", [&] { return BareWalk(roots); }, {}},
    };
    TimeRounds(results, rounds);
    std::printf("%-34s %12s %12s %10s\n", "scan", "median ms", "min ms", "found");
    for (const Timing& t : results)
        std::printf("%-34s %12.1f %12.1f %10zu\n", t.Name, t.Median(), t.Ms.front(), t.Found);
    const double single = results[2].Median();
    std::printf("per pair (two listings) / single walk: %.1fx\n", results[0].Median() / single);
    std::printf("per pair (one listing) / single walk:  %.1fx\n", results[1].Median() / single);
    std::printf("single walk / bare walk:               %.2fx (best rounds %.2fx)\n", single / results[3].Median(),
                results[2].Ms.front() / results[3].Ms.front());
    const bool same = results[0].Found == results[1].Found && results[1].Found == results[2].Found;
    if (!same) std::fprintf(stderr, "ScanBench: the scans found different numbers of files\n");
    return same ? 0 : 1;
}
