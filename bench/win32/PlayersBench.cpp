// Times the configuration window's model (what opening it and a disc's arrival build) over the
// real profile functions, for 0, 50 and 200 players of the user's and for 1 and 500 selected
// players, and prints the two ratios the catalogue must keep: 200 players against none, and
// what 500 selected players add to the one of a single one. Tests only; not shipped.
//
//   PlayersBench.exe [rounds [picture.jpg...]]      rounds defaults to 5; the median of each is printed
//
// Given pictures, it also times their decoding (the program's own JPEG pictures, to hold one build
// of libjpeg against another).
// The files go into a fresh folder below %TEMP%. Run under Wine by scripts/bench-lighter.sh.
#include "platform/win32/WinApi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "PlayersCases.h"
#include "platform/Jpeg.h"
#include "platform/win32/Win32Platform.h"

using namespace vexamo;
using namespace vexamo::bench;
using Clock = std::chrono::steady_clock;

namespace {

struct Case {
    const char* Name;
    int Custom, Selected;
    std::vector<double> Ms;
    double Median() const { return Ms[Ms.size() / 2]; }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    InstallWin32Platform();

    char temp[MAX_PATH] = {}, self[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder = std::string(temp) + "vexamo-playersbench\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    std::vector<Case> cases = {{"custom=0", 0, 0, {}},     {"custom=50", 50, 0, {}},   {"custom=200", 200, 0, {}},
                               {"selected=1", 1, 1, {}},   {"selected=500", 500, 500, {}}};
    // Round by round through all the cases, so that a busy moment of the machine weighs on each alike.
    for (int r = 0; r < rounds; ++r) {
        for (Case& c : cases) {
            WritePlayerFiles(Sys(), folder, c.Custom, c.Selected, self);
            const auto start = Clock::now();
            const size_t shown = OpenConfigModel(folder);
            c.Ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (shown != static_cast<size_t>(c.Custom) + 1) {
                std::fprintf(stderr, "PlayersBench: %s lists %zu players\n", c.Name, shown);
                return 1;
            }
        }
    }
    for (Case& c : cases) {
        std::sort(c.Ms.begin(), c.Ms.end());
        std::printf("PlayersBench: %-13s %9.1f ms\n", c.Name, c.Median());
    }
    std::printf("PlayersBench: ratio custom=200/custom=0 %.2f (goal <= 3)\n", cases[2].Median() / cases[0].Median());
    std::printf("PlayersBench: added by 500 selected %.0f ms (goal < 500)\n", cases[4].Median() - cases[3].Median());

    // Each picture decoded 50 times a round; the median round, per decoding.
    for (int a = 2; a < argc; ++a) {
        const std::optional<std::string> bytes = Sys().ReadTextFile(argv[a]);
        if (!bytes) {
            std::fprintf(stderr, "PlayersBench: cannot read %s\n", argv[a]);
            return 1;
        }
        std::vector<double> ms;
        for (int r = 0; r < rounds; ++r) {
            const auto start = Clock::now();
            for (int i = 0; i < 50; ++i) DecodeJpeg(*bytes);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() / 50);
        }
        std::sort(ms.begin(), ms.end());
        const JpegImage image = DecodeJpeg(*bytes);
        std::printf("PlayersBench: decode %dx%d %s %8.3f ms\n", image.Width, image.Height, argv[a], ms[ms.size() / 2]);
    }
    return 0;
}
