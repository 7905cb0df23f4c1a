// What the platform seam's helpers make of the texts Windows reads and writes.
#include <gtest/gtest.h>

#include "platform/Platform.h"

using namespace vexamo;
using namespace std::string_literals;

TEST(PlatformText, ZeroListsRegistryKeysAndFileFilters) {
    EXPECT_EQ(SplitZeroList("Main\0Priority\0\0"s), (std::vector<std::string>{"Main", "Priority"}));
    EXPECT_EQ(SplitZeroList("Last\0"s), std::vector<std::string>{"Last"});
    EXPECT_EQ(SplitZeroList("Cut"s), std::vector<std::string>{"Cut"}) << "a list the buffer cut keeps its last name";
    EXPECT_EQ(SplitZeroList("\0Hidden\0\0"s), std::vector<std::string>{}) << "an empty first name ends the list";
    EXPECT_EQ(SplitZeroList(""), std::vector<std::string>{});

    EXPECT_EQ(RegistryKeyPath("\\Software\\Vexamo\\"), "Software\\Vexamo");
    EXPECT_EQ(RegistryKeyPath("Software\\Vexamo"), "Software\\Vexamo");
    EXPECT_EQ(RegistryKeyPath("\\\\"), "");

    EXPECT_EQ(FileFilterPairs("Players|*.exe|All|*.*|"), "Players\0*.exe\0All\0*.*\0\0"s);
    EXPECT_EQ(FileFilterPairs("Films (*.avi)|*.avi"), "Films (*.avi)\0*.avi\0\0"s);
    EXPECT_EQ(FileFilterPairs(""), "\0\0"s);

    EXPECT_STREQ(MessageTitle(MsgKind::Confirmation), "Confirm");
    EXPECT_STREQ(MessageTitle(MsgKind::Plain), "Vexamo");
}
