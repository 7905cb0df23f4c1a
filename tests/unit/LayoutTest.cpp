// The window kit's pixel arithmetic and painting rules, at the screen DPIs the program meets:
// what the Windows binding only carries out.
#include <gtest/gtest.h>

#include "platform/Layout.h"

using namespace vexamo;

TEST(Layout, SizesAt96DpiScaleAndRoundAsTheSystemDoes) {
    EXPECT_EQ(ScaleAt(75, 96), 75);
    EXPECT_EQ(ScaleAt(75, 144), 113) << "a half rounds away from zero";
    EXPECT_EQ(ScaleAt(-3, 144), -5);
    EXPECT_EQ(ScaleAt(13, 120), 16);
    EXPECT_EQ(ScaleAt(150, 192), 300);

    // Pictures are chosen for the DPI, never stretched past the scaled size.
    EXPECT_EQ(PictureSize(16, 96, {16, 24, 32}), 16);
    EXPECT_EQ(PictureSize(16, 120, {16, 24, 32}), 16);
    EXPECT_EQ(PictureSize(16, 144, {16, 24, 32}), 24);
    EXPECT_EQ(PictureSize(16, 192, {16, 24, 32}), 32);
    EXPECT_EQ(PictureSize(40, 72, {40, 60, 80}), 40) << "below 96 DPI the smallest";
    EXPECT_EQ(PictureSize(16, 168, {16, 24, 32}), 24) << "28 wanted: the largest below it";
    EXPECT_EQ(PictureSize(40, 144, {40, 60, 80}), 60);
}

TEST(Layout, StatusPanelsEndAtTheirScaledEdgesAndTheLastTakesTheRest) {
    EXPECT_EQ(PanelEdges({75, 75, 200}, 96), (std::vector<int>{75, 150, -1}));
    // Each panel is scaled on its own, as the system scales each width the bar is given.
    EXPECT_EQ(PanelEdges({75, 75, 200}, 144), (std::vector<int>{113, 226, -1}));
    EXPECT_EQ(PanelEdges({300}, 144), (std::vector<int>{-1}));
    EXPECT_TRUE(PanelEdges({}, 96).empty());

    EXPECT_EQ(PanelText("D:", TAlignment::Left), "D:");
    EXPECT_EQ(PanelText("D:", TAlignment::Center), "\tD:");
    EXPECT_EQ(PanelText("D:", TAlignment::Right), "\t\tD:");
}

TEST(Layout, AWindowIsCentredInTheWorkArea) {
    // A taskbar at the bottom: the work area ends above it.
    EXPECT_EQ(CentredIn({0, 0, 1024, 738}, 400, 300), (TBox{312, 219, 712, 519}));
    // A second monitor left of the first, a taskbar on the left.
    EXPECT_EQ(CentredIn({-1280, 0, -40, 1024}, 200, 100), (TBox{-760, 462, -560, 562}));
    // Larger than the area: it overhangs both sides alike.
    EXPECT_EQ(CentredIn({0, 0, 100, 100}, 120, 100), (TBox{-10, 0, 110, 100}));
}

TEST(Layout, OwnerDrawnMenuItemsSitRightOfTheBannerBand) {
    const OwnerMenuLayout at96(96), at144(144);
    EXPECT_EQ(at96.BandWidth, 20);
    EXPECT_EQ(at96.PictureLeft, 22);
    EXPECT_EQ(at96.TextLeft, 45);
    EXPECT_EQ(at96.ItemWidth, 140);
    EXPECT_EQ(at144.BandWidth, 30);
    EXPECT_EQ(at144.TextLeft, 68);
    EXPECT_EQ(at144.ItemWidth, 210);

    EXPECT_EQ(at96.ItemHeight(13, 19), 19) << "never lower than the system's least";
    EXPECT_EQ(at96.ItemHeight(16, 19), 20);
    EXPECT_EQ(at144.ItemHeight(24, 19), 30);

    // The banner starts where the window asks, or just above the last item's bottom; the band
    // reaches a little below that, and at least 150 pixels at 96 DPI.
    EXPECT_EQ(at96.BannerY(60, 400), 60);
    EXPECT_EQ(at144.BannerY(60, 400), 90);
    EXPECT_EQ(at96.BannerY(0, 200), 193);
    EXPECT_EQ(at96.BandHeight(193), 200);
    EXPECT_EQ(at96.BandHeight(60), 150);
    EXPECT_EQ(at144.BandHeight(90), 225);
}

TEST(Layout, RowsArePaintedInTheHighlightOnlyWhereTheyCanBeChosen) {
    auto is = [](RowColours c, SysColour fill, SysColour text) { return c.Fill == fill && c.Text == text; };
    using C = SysColour;
    EXPECT_TRUE(is(MenuItemColours(true, false), C::Menu, C::MenuText));
    EXPECT_TRUE(is(MenuItemColours(true, true), C::Highlight, C::HighlightText));
    EXPECT_TRUE(is(MenuItemColours(false, true), C::Highlight, C::GrayText));
    EXPECT_TRUE(is(MenuItemColours(false, false), C::Menu, C::GrayText));

    EXPECT_TRUE(is(CheckListRowColours(true, true, false), C::Window, C::WindowText));
    EXPECT_TRUE(is(CheckListRowColours(true, true, true), C::Highlight, C::HighlightText));
    EXPECT_TRUE(is(CheckListRowColours(true, false, true), C::Highlight, C::GrayText)) << "a disabled row of a list";
    EXPECT_TRUE(is(CheckListRowColours(false, true, true), C::Window, C::GrayText)) << "a disabled list selects none";
}

TEST(Layout, CheckListRowsKeepTheirStateAndOnlyEnabledOnesToggle) {
    const CheckListLayout at96(96), at144(144);
    EXPECT_EQ(at96.Box, 13);
    EXPECT_EQ(at96.BoxLeft, 2);
    EXPECT_EQ(at96.TextLeft, 19);
    EXPECT_EQ(at144.TextLeft, 3 + 20 + 6);
    EXPECT_EQ(at96.RowHeight(16), 19);
    EXPECT_EQ(at96.RowHeight(8), 16) << "never lower than the box";
    EXPECT_EQ(at144.RowHeight(24), 29);

    for (bool checked : {false, true})
        for (bool enabled : {false, true}) {
            const TCheckListItem back = CheckListItemOf(CheckListData({"x", checked, enabled}));
            EXPECT_EQ(back.Checked, checked);
            EXPECT_EQ(back.Enabled, enabled);
        }

    const long ticked = CheckListData({"", true, true});
    const long cleared = CheckListData({"", false, true});
    EXPECT_EQ(CheckListToggled(true, 0, cleared), ticked);
    EXPECT_EQ(CheckListToggled(true, 3, ticked), cleared);
    EXPECT_FALSE(CheckListToggled(false, 0, cleared)) << "a disabled list";
    EXPECT_FALSE(CheckListToggled(true, -1, cleared)) << "no current row";
    EXPECT_FALSE(CheckListToggled(true, 0, -1)) << "a row the list does not have";
    EXPECT_FALSE(CheckListToggled(true, 0, CheckListData({"", true, false}))) << "a disabled row";
}

TEST(Layout, PicturesFitTheirBoxAndControlsKeepTheirPlaceInProportion) {
    // A wide picture fills the width and is centred in the height; a tall one the other way.
    EXPECT_EQ(FittedIn({10, 10, 210, 210}, 400, 100), (TBox{10, 85, 210, 135}));
    EXPECT_EQ(FittedIn({0, 0, 300, 100}, 50, 100), (TBox{125, 0, 175, 100}));
    EXPECT_EQ(FittedIn({0, 0, 100, 100}, 3, 2), (TBox{0, 16, 100, 83})) << "66.7 rounded up, then centred";

    // A control at a third of a 300 x 150 client area stays at a third of a 450 x 225 one.
    EXPECT_EQ(Proportional({100, 50, 200, 75}, 300, 150, 450, 225), (TBox{150, 75, 300, 113}));
    EXPECT_EQ(Proportional({7, 7, 9, 9}, 0, 0, 2, 2), (TBox{14, 14, 18, 18})) << "an empty area counts as 1";
}

TEST(Layout, AGradientBlendsEachChannelOnItsOwn) {
    const unsigned top = 38 | 74 << 8 | 132 << 16, bottom = 70 | 128 << 8 | 196 << 16;
    EXPECT_EQ(Blend(top, bottom, 0, 60), top);
    EXPECT_EQ(Blend(top, bottom, 60, 60), bottom);
    EXPECT_EQ(Blend(top, bottom, 30, 60), 54u | 101u << 8 | 164u << 16);
    EXPECT_EQ(Blend(0, 0xFFFFFF, 1, 2), 0x7F7F7Fu) << "each channel's share is cut toward the start";
    EXPECT_EQ(Blend(0xFFFFFF, 0, 1, 2), 0x808080u);
    EXPECT_EQ(Blend(0x0000FF, 0x00FF00, 1, 2), 0x007F80u) << "no channel spills into another";
}
