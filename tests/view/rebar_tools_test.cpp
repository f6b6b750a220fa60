#include "view/rebar_tools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/errors.h"

using namespace qav;

namespace {
SectionModel withBars(const std::vector<TPOS>& pts, double db = 20) {
    SectionModel m;
    for (const TPOS& p : pts) ADD_SINGLE_REBAR(m, p.X, p.Y, db);
    return m;
}

void select(SectionModel& m, std::initializer_list<int> bars) {
    m.view.NSEL_BAR = 0;
    for (int b : bars) SELECT_BAR(m, b);
}

std::vector<TPOS> positions(const SectionModel& m) {
    std::vector<TPOS> out;
    for (int i = 1; i <= m.document.NBAR; ++i)
        out.push_back({m.document.BAR[i].X, m.document.BAR[i].Y});
    return out;
}

void expectPositions(const SectionModel& m, const std::vector<TPOS>& want, const char* name) {
    const auto got = positions(m);
    ASSERT_EQ(got.size(), want.size()) << name;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].X, want[i].X) << name << " bar " << i + 1;
        EXPECT_DOUBLE_EQ(got[i].Y, want[i].Y) << name << " bar " << i + 1;
    }
}
}  // namespace

TEST(RebarTools, DeleteTakesPositionsFirst) {
    SectionModel m = withBars({{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
    select(m, {2, 4});
    DELETE_REBARS(m);
    expectPositions(m, {{1, 0}, {5, 0}, {3, 0}}, "delete 2 and 4 of 5");
    EXPECT_EQ(m.view.NSEL_BAR, 0);
}

TEST(RebarTools, Align) {
    struct Case {
        const char* name;
        void (*op)(SectionModel&);
        std::vector<TPOS> want;
    } cases[] = {
        {"along X", ALIGN_REBARS_X, {{0, 0}, {100, 0}, {200, 0}}},
        {"along Y", ALIGN_REBARS_Y, {{0, 0}, {0, 37}, {0, -12}}},
    };
    for (const Case& k : cases) {
        SectionModel m = withBars({{0, 0}, {100, 37}, {200, -12}});
        select(m, {1, 2, 3});
        k.op(m);
        expectPositions(m, k.want, k.name);
        EXPECT_EQ(m.view.NSEL_BAR, 0) << k.name;
    }
}

TEST(RebarTools, AlignByDirectionReplacesTheMiddleBars) {
    SectionModel m = withBars({{0, 0}, {10, 50}, {90, 10}, {300, 300}}, 16);
    select(m, {1, 2, 3, 4});
    ASSERT_TRUE(ALIGN_REBARS_DIR(m));
    expectPositions(m, {{0, 0}, {300, 300}, {100, 100}, {200, 200}}, "direction");
    EXPECT_EQ(m.document.BAR[3].DB, 25);
    EXPECT_EQ(m.document.BAR[4].DB, 25);
    EXPECT_EQ(m.document.BAR[1].DB, 16);

    SectionModel two = withBars({{0, 0}, {1, 1}});
    select(two, {1, 2});
    EXPECT_FALSE(ALIGN_REBARS_DIR(two));
    EXPECT_EQ(two.view.NSEL_BAR, 2) << "nothing happens with fewer than three";
}

TEST(RebarTools, AddAlongLine) {
    struct Case {
        const char* name;
        int n;
        std::vector<TPOS> added;
    } cases[] = {
        {"three", 3, {{100, 0}, {200, 0}, {300, 0}}},
        {"zero", 0, {}},
        {"minus one: no bar, no crash", -1, {}},
    };
    for (const Case& k : cases) {
        SectionModel m = withBars({{0, 0}, {400, 0}});
        select(m, {1, 2});
        ADD_ALONG_LINE_REBARS(m, k.n, 12);
        std::vector<TPOS> want = {{0, 0}, {400, 0}};
        want.insert(want.end(), k.added.begin(), k.added.end());
        expectPositions(m, want, k.name);
        EXPECT_EQ(m.view.NSEL_BAR, 0) << k.name;
    }
    SectionModel m = withBars({{0, 0}, {400, 0}});
    select(m, {1, 2});
    EXPECT_THROW(ADD_ALONG_LINE_REBARS(m, 2000000000, 12), InputError);
    EXPECT_EQ(m.document.NBAR, 2);
}

TEST(RebarTools, MoveReplicateAssign) {
    SectionModel m = withBars({{0, 0}, {10, 10}, {20, 20}});
    select(m, {3, 1});
    MOVE_REBARS(m, 5, -5);
    expectPositions(m, {{5, -5}, {10, 10}, {25, 15}}, "move");
    select(m, {2});
    REPLICATE_REBARS(m, 0, 0);
    expectPositions(m, {{5, -5}, {10, 10}, {25, 15}, {10, 10}}, "replicate in place");
    REMOVE_REP_REBAR(m);
    EXPECT_EQ(m.document.NBAR, 3);
    select(m, {1, 2});
    MOVE_REBARS_TO_X(m, -7);
    select(m, {3});
    MOVE_REBARS_TO_Y(m, 8);
    expectPositions(m, {{-7, -5}, {-7, 10}, {25, 8}}, "move to");
    select(m, {2});
    ASSIGN_REBAR_DIAMETER(m, 32);
    EXPECT_EQ(m.document.BAR[2].DB, 32);
    EXPECT_EQ(m.view.NSEL_BAR, 0);
}

TEST(RebarTools, DialogsShowNoStaleBar) {
    SectionModel m = withBars({{1.5, -2}}, 25);
    EXPECT_EQ(assignDialogDiameterText(m), "");
    EXPECT_EQ(moveDialogCoordinates(m).Edit5, "");
    select(m, {1});
    EXPECT_EQ(assignDialogDiameterText(m), "25.00");
    EXPECT_EQ(moveDialogCoordinates(m).Edit5, "1.500");
    EXPECT_EQ(moveDialogCoordinates(m).Edit6, "-2.000");
    m.view.NSEL_BAR = 0;  // slot 1 still holds bar 1, but nothing is selected
    EXPECT_EQ(assignDialogDiameterText(m), "");
}

TEST(RebarTools, ToolsWithoutTheSelectionTheyNeedSaySo) {
    SectionModel m = withBars({{0, 0}, {100, 0}, {200, 0}});
    struct Case {
        std::initializer_list<int> selected;
        int least, most;
        const char* tool;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {{},
         1,
         -1,
         "Delete Selected Rebars",
         "\"Delete Selected Rebars\" needs one or more selected bars (none is selected): select "
         "them with \"Select "
         "the Rebars\" first."},
        {{1},
         2,
         2,
         "Add Along Line Rebars",
         "\"Add Along Line Rebars\" needs exactly 2 selected bars (1 bar is selected): select them "
         "with \"Select the "
         "Rebars\" first."},
        {{1, 2, 3},
         2,
         2,
         "Add Along Line Rebars",
         "\"Add Along Line Rebars\" needs exactly 2 selected bars (3 bars are selected): select "
         "them with \"Select "
         "the Rebars\" first."},
        {{1, 2},
         3,
         -1,
         "Aligning Rebar along Dir",
         "\"Aligning Rebar along Dir\" needs 3 or more selected bars (2 bars are selected): select "
         "them with "
         "\"Select the Rebars\" first."},
        {{1, 2}, 2, 2, "Add Along Line Rebars", ""},
        {{3}, 1, -1, "Assign Rebar Properties", ""},
    };
    for (const Case& c : cases) {
        select(m, c.selected);
        if (*c.message == '\0') {
            EXPECT_NO_THROW(requireSelectedBars(m, c.least, c.most, c.tool));
            continue;
        }
        try {
            requireSelectedBars(m, c.least, c.most, c.tool);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(RebarTools, LengthsBeyondTheModelsBoundAreRefusedAndMoveNothing) {
    SectionModel m = withBars({{0, 0}, {900000, 0}});
    select(m, {1, 2});
    EXPECT_THROW(MOVE_REBARS(m, 1e308, 0), InputError);
    select(m, {1, 2});
    EXPECT_THROW(MOVE_REBARS(m, 200000, 0), InputError) << "the second bar would leave the bound";
    select(m, {1, 2});
    EXPECT_THROW(REPLICATE_REBARS(m, 0, -2e6), InputError);
    select(m, {1});
    EXPECT_THROW(MOVE_REBARS_TO_X(m, 1e7), InputError);
    select(m, {1});
    EXPECT_THROW(MOVE_REBARS_TO_Y(m, NAN), InputError);
    select(m, {1});
    try {
        ASSIGN_REBAR_DIAMETER(m, 0);
        ADD_FAILURE();
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "\"Rebar Diameter (mm)\" must be greater than 0 (it is 0).");
    }
    select(m, {1, 2});
    EXPECT_THROW(ADD_ALONG_LINE_REBARS(m, 3, 1e300), InputError);
    expectPositions(m, {{0, 0}, {900000, 0}}, "nothing moved");
    EXPECT_EQ(m.document.BAR[1].DB, 20);
    EXPECT_EQ(m.view.NSEL_BAR, 2) << "a refused tool keeps the selection";
    // Within the bound all goes on as before.
    MOVE_REBARS(m, 100000, 0);
    expectPositions(m, {{100000, 0}, {1000000, 0}}, "moved to the bound");
}

TEST(RebarTools, CoincidentBarsAfterAnAlignmentAreCounted) {
    SectionModel m = withBars({{0, 0}, {0, 50}, {100, 0}, {0, -0.0}});
    EXPECT_EQ(coincidentBarCount(m, {1, 2, 3}), 1) << "bar 1 stands on bar 4 (-0 is 0)";
    select(m, {2, 1});
    ALIGN_REBARS_Y(m);  // bar 1 onto x = 0: no change; bar 2 stays at x = 0
    select(m, {3, 2});
    ALIGN_REBARS_X(m);  // bar 2 onto y = 0, where bars 1 and 4 stand
    EXPECT_EQ(coincidentBarCount(m, {3, 2}), 1);
    EXPECT_EQ(coincidentBarsText(1),
              "1 of the aligned bars now stands exactly where another bar stands.");
}
