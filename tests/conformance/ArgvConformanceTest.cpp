// The test suite's reading of a command line against Windows' own CommandLineToArgvW, so that what
// the native tests say a player receives is what it receives.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "support/ArgvSplit.h"

namespace vexamo::test {
namespace {

std::vector<std::string> RealSplit(const std::string& parameters) {
    // A program name first, as in every real command line; its own parsing differs and is not checked.
    const std::string line = "player.exe " + parameters;
    std::wstring wide(line.begin(), line.end());
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> args;
    for (int i = 1; argv && i < count; ++i) {
        std::wstring a = argv[i];
        args.emplace_back(a.begin(), a.end());
    }
    LocalFree(argv);
    return args;
}

TEST(ArgvConformance, SplitsAsCommandLineToArgvW) {
    for (const std::string& parameters : ArgumentCases())
        EXPECT_EQ(SplitArguments(parameters), RealSplit(parameters)) << parameters;
}

}  // namespace
}  // namespace vexamo::test
