#include "view/view_navigation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qav;

namespace {
// A 1000 x 800 window at one pixel per millimetre: model (x, y) is drawn at (500 + x, 400 - y).
SectionModel unitView() {
    SectionModel m;
    m.view.W = 1000;
    m.view.H = 800;
    m.view.VIEW_SCALE = 1.0;
    return m;
}

void band(ViewNavigator& nav, SectionModel& m, int x1, int y1, int x2, int y2) {
    nav.press(m, MouseButton::Left, x1, y1);
    nav.move(m, x2, y2);
    nav.release(m, MouseButton::Left, x2 + 50, y2 + 50);  // the release point plays no part
}
}  // namespace

TEST(ViewNavigation, BandEdgesAreInclusiveLeftTopExclusiveRightBottom) {
    struct Case {
        const char* name;
        double x, y;  // bar position in the model
        bool selected;
    } cases[] = {
        {"left edge", -100, 0, true},    {"top edge", 0, 100, true}, {"right edge", 100, 0, false},
        {"bottom edge", 0, -100, false}, {"inside", 99, -99, true},  {"outside", 150, 0, false},
    };
    for (const Case& k : cases) {
        SectionModel m = unitView();
        ADD_SINGLE_REBAR(m, k.x, k.y, 20);
        ViewNavigator nav;
        nav.startSelectRebars(m);
        band(nav, m, 600, 300, 400, 500);  // dragged right to left, bottom to top
        EXPECT_EQ(m.view.NSEL_BAR, k.selected ? 1 : 0) << k.name;
        EXPECT_EQ(nav.OP_MODE, OP_SELECT) << k.name;
    }
}

TEST(ViewNavigation, ZeroSizeBandSelectsNothingAndRepeatedBandsDoNotDuplicate) {
    SectionModel m = unitView();
    for (int i = 0; i < 3; ++i) ADD_SINGLE_REBAR(m, 10.0 * i, 0, 20);
    ViewNavigator nav;
    nav.startSelectRebars(m);
    nav.press(m, MouseButton::Left, 500, 400);
    nav.release(m, MouseButton::Left, 500, 400);
    EXPECT_EQ(m.view.NSEL_BAR, 0);
    band(nav, m, 495, 390, 515, 410);
    band(nav, m, 490, 390, 530, 410);
    ASSERT_EQ(m.view.NSEL_BAR, 3);
    EXPECT_EQ(m.view.SEL_BAR[1], 1);
    EXPECT_EQ(m.view.SEL_BAR[2], 2);
    EXPECT_EQ(m.view.SEL_BAR[3], 3);
}

TEST(ViewNavigation, BandIsVisibleOnlyWhileDragged) {
    SectionModel m = unitView();
    ViewNavigator nav;
    nav.startSelectRebars(m);
    EXPECT_FALSE(nav.bandVisible());
    nav.press(m, MouseButton::Left, 10, 20);
    nav.move(m, 30, 5);
    EXPECT_TRUE(nav.bandVisible());
    EXPECT_EQ(nav.band().left, 10);
    EXPECT_EQ(nav.band().top, 5);
    EXPECT_EQ(nav.band().right, 30);
    EXPECT_EQ(nav.band().bottom, 20);
    nav.release(m, MouseButton::Left, 30, 5);
    EXPECT_FALSE(nav.bandVisible());
}

TEST(ViewNavigation, SelectionStopsAtItsCapacity) {
    SectionModel m = unitView();
    for (int i = 0; i < SEL_BAR_CAPACITY + 5; ++i) ADD_SINGLE_REBAR(m, 0, 0, 20);
    ViewNavigator nav;
    nav.startSelectRebars(m);
    nav.press(m, MouseButton::Left, 490, 390);
    nav.move(m, 510, 410);
    const NavEffect e = nav.release(m, MouseButton::Left, 510, 410);
    EXPECT_TRUE(e.selectionFull);
    EXPECT_EQ(m.view.NSEL_BAR, SEL_BAR_CAPACITY);
    EXPECT_EQ(m.view.SEL_BAR[SEL_BAR_CAPACITY], SEL_BAR_CAPACITY);
}

TEST(ViewNavigation, MiddleButtonPanEndsInMoveView) {
    SectionModel m = unitView();
    ViewNavigator nav;
    nav.startSelectRebars(m);
    nav.press(m, MouseButton::Middle, 100, 100);
    EXPECT_EQ(nav.OP_MODE, OP_PANNING);
    const NavEffect e = nav.move(m, 130, 90);
    EXPECT_TRUE(e.redraw);
    EXPECT_DOUBLE_EQ(m.view.VIEW_DX, -30);
    EXPECT_DOUBLE_EQ(m.view.VIEW_DY, -10);
    nav.release(m, MouseButton::Middle, 130, 90);
    EXPECT_EQ(nav.OP_MODE, OP_MOVE_VIEW);
}

TEST(ViewNavigation, MoveViewArmsAPanAndRightButtonResets) {
    SectionModel m = unitView();
    ViewNavigator nav;
    EXPECT_EQ(nav.startMoveView().operation, "Move View");
    nav.press(m, MouseButton::Left, 0, 0);
    EXPECT_EQ(nav.OP_MODE, OP_PANNING);
    nav.release(m, MouseButton::Left, 0, 0);
    m.view.NSEL_BAR = 3;
    const NavEffect e = nav.press(m, MouseButton::Right, 0, 0);
    EXPECT_EQ(nav.OP_MODE, OP_NONE);
    EXPECT_EQ(e.operation, "None");
    EXPECT_EQ(m.view.NSEL_BAR, 0);
}

TEST(ViewNavigation, WheelZoomsInAndOutAboutTheCentre) {
    SectionModel m = unitView();
    m.view.VIEW_SCALE = 0.836;
    ViewNavigator nav;
    for (int i = 0; i < 5; ++i) nav.wheel(m, 1);
    EXPECT_NEAR(m.view.VIEW_SCALE, 0.836 * std::pow(1.1, 5), 1e-12);
    for (int i = 0; i < 5; ++i) nav.wheel(m, -1);
    EXPECT_NEAR(m.view.VIEW_SCALE, 0.836, 1e-12);
}

TEST(ViewNavigation, ReadoutText) {
    struct Case {
        const char* name;
        double scale, dx;
        int X, Y;
        std::optional<std::string> text;
    } cases[] = {
        {"centre", 1.0, 0, 500, 400, "X=0.00,Y=0.00[mm]"},
        {"whole millimetres", 0.5, 0, 560, 417, "X=120.00,Y=-34.00[mm]"},
        {"pan is added", 1.0, 25, 500, 400, "X=25.00,Y=0.00[mm]"},
        {"no scale yet", 0.0, 0, 10, 10, std::nullopt},
        {"scale not finite", NAN, 0, 10, 10, std::nullopt},
    };
    for (const Case& k : cases) {
        SectionModel m = unitView();
        m.view.VIEW_SCALE = k.scale;
        m.view.VIEW_DX = k.dx;
        EXPECT_EQ(cursorReadout(m, k.X, k.Y), k.text) << k.name;
    }
}

TEST(ViewNavigation, ClickInAddModeAddsATwentyMillimetreBar) {
    SectionModel m = unitView();
    m.view.VIEW_CX = 40;
    m.view.VIEW_CY = -20;
    ViewNavigator nav;
    nav.startAddSingleRebar();
    nav.press(m, MouseButton::Left, 500, 400);
    nav.release(m, MouseButton::Left, 500, 400);
    ASSERT_EQ(m.document.NBAR, 1);
    EXPECT_EQ(m.document.BAR[1].X, 40);
    EXPECT_EQ(m.document.BAR[1].Y, -20);
    EXPECT_EQ(m.document.BAR[1].DB, 20);
    EXPECT_EQ(nav.OP_MODE, OP_ADD_BAR);
    m.view.VIEW_SCALE = 0;  // no bar from a division by zero
    nav.press(m, MouseButton::Left, 10, 10);
    nav.release(m, MouseButton::Left, 10, 10);
    EXPECT_EQ(m.document.NBAR, 1);
}
