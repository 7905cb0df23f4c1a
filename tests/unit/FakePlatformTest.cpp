// The fake platform as test fixtures use it.
#include <gtest/gtest.h>

#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

TEST(FakePlatformLifetime, ASecondFakePutsTheFirstBack) {
    FakePlatform outer;
    {
        FakePlatform inner;
        EXPECT_EQ(&Sys(), &inner);
    }
    EXPECT_EQ(&Sys(), &outer);
}

TEST(FakePlatformLifetime, TheLastFakeLeavesNoPlatform) {
    { FakePlatform only; }
    EXPECT_THROW(Sys(), std::logic_error);
}
