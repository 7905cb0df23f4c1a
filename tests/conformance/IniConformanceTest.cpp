// The table of private-profile cases against Windows' own profile functions, through the real
// platform. Run under Wine, and on Windows itself when in doubt about Wine.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/Win32Platform.h"
#include "support/IniCases.h"

namespace vexamo::test {
namespace {

class IniConformance : public ::testing::TestWithParam<IniCase> {
protected:
    static std::string Folder() {
        static const std::string folder = [] {
            std::filesystem::path dir = std::filesystem::temp_directory_path() / "vexamo-ini-conformance";
            std::filesystem::create_directories(dir);
            return dir.string() + "\\";
        }();
        return folder;
    }
    Win32Platform platform_;
};

TEST_P(IniConformance, MatchesTable) {
    const IniCase& c = GetParam();
    // One file per case: the profile functions cache recently used files by name.
    const std::string path = Folder() + c.Name + ".ini";
    PrepareIniFile(platform_, path, c.Initial);
    for (size_t i = 0; i < c.Ops.size(); ++i) {
        const IniOp& op = c.Ops[i];
        std::string actual = RunIniOp(platform_, path, op);
        EXPECT_TRUE(actual == op.Expect) << "step " << i + 1 << ": " << DescribeIniOp(op)
                                         << "\n  expected " << ShowIniResult(op.Expect)
                                         << "\n  actual   " << ShowIniResult(actual);
    }
    platform_.DeleteFile(path);
}

INSTANTIATE_TEST_SUITE_P(Profile, IniConformance, ::testing::ValuesIn(IniCases()),
                         [](const ::testing::TestParamInfo<IniCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace vexamo::test
