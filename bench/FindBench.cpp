// Subtitle search and recursive file search over a generated disc of about 10,000 files in 1,000
// folders, once over the in-memory fake and once over the real file system of this machine.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "model/VexaCfg.h"
#include "PosixFolderPlatform.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;
using vexamo::bench::PosixFolderPlatform;

namespace {

constexpr int TopFolders = 10;
constexpr int SubFolders = 99;  // 10 + 10 * 99 = 1,000 folders
constexpr int FilesPerFolder = 10;

// Calls back with every folder (relative, backslash-separated, ending in a backslash; "" for the
// root) and every file of the generated disc. Movies sit in the last folder searched, so a
// subtitle search goes through the whole disc before it finds anything.
template <typename Folder, typename File>
void GenerateDisc(Folder folder, File file) {
    static const char* exts[] = {".mp3", ".avi", ".jpg", ".txt", ".mpg"};
    for (int t = 0; t < TopFolders; ++t) {
        std::string top = "Top" + std::to_string(t) + "\\";
        folder(top);
        for (int s = 0; s < SubFolders; ++s) {
            std::string sub = top + "Sub" + std::to_string(s) + "\\";
            folder(sub);
            for (int f = 0; f < FilesPerFolder; ++f)
                file(sub + "track" + std::to_string(f) + exts[f % 5]);
        }
    }
    file("Top9\\Sub98\\feature.avi");
    file("Top9\\Sub98\\feature.srt");
}

const std::string Movie = "D:\\Top9\\Sub98\\feature.avi";

// Each disc is built once per process and installed as the platform for each benchmark.
struct FakeDisc {
    FakePlatform fake;
    void Install() { SetPlatform(&fake); }
    static FakeDisc& Get() {
        static FakeDisc disc;
        return disc;
    }
    FakeDisc() {
        fake.AddDrive("D:\\", DriveKind::CdRom, "BENCH");
        GenerateDisc([&](const std::string& f) { fake.AddFolder("D:\\" + f); },
                     [&](const std::string& f) { fake.AddFile("D:\\" + f); });
    }
};

struct RealDisc {
    std::filesystem::path root;
    std::unique_ptr<PosixFolderPlatform> platform;
    RealDisc() {
        char tmpl[] = "/tmp/vexamo-bench-XXXXXX";
        if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
        root = tmpl;
        auto native = [&](std::string rel) {
            for (char& c : rel)
                if (c == '\\') c = '/';
            return root / rel;
        };
        GenerateDisc([&](const std::string& f) { std::filesystem::create_directories(native(f)); },
                     [&](const std::string& f) { std::ofstream(native(f)) << "x"; });
        platform = std::make_unique<PosixFolderPlatform>(root.string());
    }
    void Install() { SetPlatform(platform.get()); }
    static RealDisc& Get() {
        static RealDisc disc;
        return disc;
    }
    ~RealDisc() {
        platform.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

TVexamo DiscVexamo(const std::string& movie, StringList folders) {
    TVexamo v;
    v.CdDrives = {"D:\\"};
    v.Settings->Subtitles.Folders = std::move(folders);
    v.Files->FileName = movie;
    return v;
}

template <typename Disc>
void FindFilesWholeDisc(benchmark::State& state) {
    Disc::Get().Install();
    size_t n = 0;
    for (auto _ : state) n = FindFiles("D:\\*.mp3").size();
    state.counters["found"] = static_cast<double>(n);
}

// The movie's namesake lies in the last folder: the first pass walks the whole disc.
template <typename Disc>
void FindSubtitleByName(benchmark::State& state) {
    Disc::Get().Install();
    TVexamo v = DiscVexamo(Movie, {"D:\\"});
    for (auto _ : state) benchmark::DoNotOptimize(v.FindSubtitle());
    if (v.FindSubtitle() != "D:\\Top9\\Sub98\\feature.srt") state.SkipWithError("wrong subtitle");
}

// No namesake: the first pass walks the disc in vain, then ".sub" finds nothing and ".srt" finds
// the one subtitle: three walks of the whole disc.
template <typename Disc>
void FindSubtitleByExtension(benchmark::State& state) {
    Disc::Get().Install();
    TVexamo v = DiscVexamo("D:\\Top0\\Sub0\\nothing.avi", {"D:\\", "C:\\Subs\\"});
    for (auto _ : state) benchmark::DoNotOptimize(v.FindSubtitle());
    if (v.FindSubtitle() != "D:\\Top9\\Sub98\\feature.srt") state.SkipWithError("wrong subtitle");
}

}  // namespace

BENCHMARK(FindFilesWholeDisc<FakeDisc>)->Name("FindFiles/fake")->Unit(benchmark::kMillisecond);
BENCHMARK(FindFilesWholeDisc<RealDisc>)->Name("FindFiles/posix")->Unit(benchmark::kMillisecond);
BENCHMARK(FindSubtitleByName<FakeDisc>)->Name("FindSubtitle/name/fake")->Unit(benchmark::kMillisecond);
BENCHMARK(FindSubtitleByName<RealDisc>)->Name("FindSubtitle/name/posix")->Unit(benchmark::kMillisecond);
BENCHMARK(FindSubtitleByExtension<FakeDisc>)->Name("FindSubtitle/extension/fake")->Unit(benchmark::kMillisecond);
BENCHMARK(FindSubtitleByExtension<RealDisc>)->Name("FindSubtitle/extension/posix")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
