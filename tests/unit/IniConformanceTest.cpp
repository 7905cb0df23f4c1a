// The fake platform's INI files against the table of answers Windows' profile functions give
// (the same table runs under Wine against the real functions).
#include <gtest/gtest.h>

#include "support/FakePlatform.h"
#include "support/IniCases.h"

namespace vexamo::test {
namespace {

class FakeIniConformance : public ::testing::TestWithParam<IniCase> {
protected:
    FakeIniConformance() { fake_.AddFolder("C:\\Test"); }
    FakePlatform fake_;
};

TEST_P(FakeIniConformance, MatchesTable) {
    const IniCase& c = GetParam();
    const std::string path = "C:\\Test\\" + c.Name + ".ini";
    PrepareIniFile(fake_, path, c.Initial);
    for (size_t i = 0; i < c.Ops.size(); ++i) {
        const IniOp& op = c.Ops[i];
        std::string actual = RunIniOp(fake_, path, op);
        EXPECT_TRUE(actual == op.Expect) << "step " << i + 1 << ": " << DescribeIniOp(op)
                                         << "\n  expected " << ShowIniResult(op.Expect)
                                         << "\n  actual   " << ShowIniResult(actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Profile, FakeIniConformance, ::testing::ValuesIn(IniCases()),
                         [](const ::testing::TestParamInfo<IniCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace vexamo::test
