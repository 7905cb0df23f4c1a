// The configuration window's model built for 0 to 200 players of the user's, and for 500 of them
// selected, over the in-memory fake. The window opens with the first, a disc arrives with the
// second; both should grow with the number of players, not with its square.
#include <benchmark/benchmark.h>

#include "PlayersCases.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using namespace vexamo::bench;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string Exe = "C:\\Players\\player.exe";

void OpenWindow(benchmark::State& state) {
    test::FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    fake.AddFile(Exe);
    const int custom = static_cast<int>(state.range(0)), selected = static_cast<int>(state.range(1));
    WritePlayerFiles(fake, Folder, custom, selected, Exe);
    size_t shown = 0;
    for (auto _ : state) shown = OpenConfigModel(Folder);
    // The "add a new player" row and every player, listed or selected.
    if (shown != static_cast<size_t>(custom) + 1) state.SkipWithError("wrong number of players");
}

}  // namespace

BENCHMARK(OpenWindow)
    ->ArgNames({"custom", "selected"})
    ->Args({0, 0})
    ->Args({50, 0})
    ->Args({200, 0})
    ->Args({1, 1})
    ->Args({500, 500})
    ->Unit(benchmark::kMillisecond);
