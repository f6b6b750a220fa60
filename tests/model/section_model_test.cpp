#include "model/section_model.h"

#include <gtest/gtest.h>

#include "model/section_properties.h"

using namespace qav;

namespace {
void addFiveBars(SectionModel& m) {
    for (int i = 1; i <= 5; ++i) ADD_SINGLE_REBAR(m, 10.0 * i, 0, 20 + i);
}
}  // namespace

TEST(SectionModel, ClearModelEmptiesTheSectionButKeepsMaterialsAndLoads) {
    SectionModel m;
    addFiveBars(m);
    m.NCONC_PT = 4;
    m.NFIB = 10;
    m.NGRID_NODE = 3;
    m.NFORCE = 1;
    resizeTable(m.FORCE, 2);
    m.VIEW_SCALE = 0.3;
    m.CONC_CX = 7;
    CLEAR_MODEL(m);
    EXPECT_EQ(m.NBAR, 0);
    EXPECT_EQ(m.NCONC_PT, 0);
    EXPECT_EQ(m.NFIB, 0);
    EXPECT_EQ(m.NGRID_NODE, 0);
    EXPECT_EQ(m.VIEW_SCALE, 1.0);
    EXPECT_EQ(m.NCONCMAT, 17);
    EXPECT_EQ(m.NCOVERMAT, 17);
    EXPECT_EQ(m.NSTEELMAT, 5);
    EXPECT_EQ(m.NFORCE, 1);
    EXPECT_EQ(m.CONC_CX, 7);
    EXPECT_EQ(m.BAR.size(), 6u) << "clearing keeps the storage";
}

TEST(SectionModel, ClearMeshAndSteelRemovalKeepWhatTheyShould) {
    SectionModel m;
    addFiveBars(m);
    m.NFIB = 5;
    m.NCFIB = 2;
    m.NSHELL = 9;
    m.NSEL_BAR = 1;
    m.NGRID_NODE = 4;
    m.NMESH_NODE = 8;
    m.NCONC_PT = 4;
    m.NSTEEL_SEC = 2;
    CLEAR_MESH(m);
    EXPECT_EQ(m.NFIB + m.NCFIB + m.NSHELL + m.NSEL_BAR, 0);
    EXPECT_EQ(m.NGRID_NODE, 4);
    EXPECT_EQ(m.NMESH_NODE, 8);
    EXPECT_EQ(m.NBAR, 5);
    EXPECT_EQ(m.NSTEEL_SEC, 2);
    DELETE_STEEL_SECTION(m);
    EXPECT_EQ(m.NSTEEL_SEC, 0);
    EXPECT_EQ(m.NGRID_NODE, 0);
    EXPECT_EQ(m.NCONC_PT, 4);
    EXPECT_EQ(m.NBAR, 5);
}

TEST(SectionModel, DeletingABarMovesTheLastIntoItsSlot) {
    SectionModel m;
    addFiveBars(m);
    ASSERT_TRUE(DELETE_SINGLE_BAR(m, 20, 0));
    ASSERT_EQ(m.NBAR, 4);
    const double expectedX[] = {10, 50, 30, 40};
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(m.BAR[static_cast<std::size_t>(i)].X, expectedX[i - 1]);
    EXPECT_EQ(m.BAR.size(), 5u);
    EXPECT_FALSE(DELETE_SINGLE_BAR(m, 999, 999));
    EXPECT_EQ(m.NBAR, 4);

    SectionModel twin;
    ADD_SINGLE_REBAR(twin, 1, 1, 10);
    ADD_SINGLE_REBAR(twin, 1, 1, 20);
    ADD_SINGLE_REBAR(twin, 5, 5, 30);
    DELETE_SINGLE_BAR(twin, 1, 1);
    ASSERT_EQ(twin.NBAR, 2);
    EXPECT_EQ(twin.BAR[1].DB, 30);
    EXPECT_EQ(twin.BAR[2].DB, 20);
}

TEST(SectionModel, RemovingRepeatedBarsKeepsTheFirstInOrder) {
    SectionModel m;
    ADD_SINGLE_REBAR(m, 0, 0, 25);
    ADD_SINGLE_REBAR(m, 1, 0, 16);
    ADD_SINGLE_REBAR(m, 0, 0, 32);
    ADD_SINGLE_REBAR(m, -0.0, 1, 12);
    ADD_SINGLE_REBAR(m, 0.0, 1, 20);
    ADD_SINGLE_REBAR(m, 1, 0.0000001, 16);
    REMOVE_REP_REBAR(m);
    ASSERT_EQ(m.NBAR, 4);
    EXPECT_EQ(m.BAR[1].DB, 25);
    EXPECT_EQ(m.BAR[2].DB, 16);
    EXPECT_EQ(m.BAR[3].DB, 12);
    EXPECT_EQ(m.BAR[4].Y, 0.0000001);
}

TEST(SectionModel, SelectionHoldsEachBarOnceAndAtMostTenThousand) {
    SectionModel m;
    EXPECT_TRUE(SELECT_BAR(m, 3));
    EXPECT_TRUE(SELECT_BAR(m, 3));
    EXPECT_EQ(m.NSEL_BAR, 1);
    for (int i = 1; i <= 10000; ++i) SELECT_BAR(m, i);
    EXPECT_EQ(m.NSEL_BAR, 10000);
    EXPECT_FALSE(SELECT_BAR(m, 10001));
    EXPECT_EQ(m.NSEL_BAR, 10000);
    EXPECT_EQ(m.SEL_BAR.size(), 10001u);
}

namespace {
TPOLYSHAPE rectangle(double x1, double y1, double x2, double y2, bool clockwise) {
    TPOLYSHAPE p;
    p.NPOINT = 4;
    if (clockwise)
        p.PT = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}};
    else
        p.PT = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
    return p;
}
}  // namespace

TEST(SectionProperties, SignedAreaFromCornersAbsoluteFromSteelArea) {
    SectionModel m;
    m.NSTEEL_SEC = 1;
    m.STEEL_SEC = {TPOLYSHAPE{}, rectangle(-200, -300, 200, 300, true)};
    CALC_POLY_CENTER_POINT(m);
    EXPECT_DOUBLE_EQ(m.STEEL_SEC[1].GAREA, -240000);
    EXPECT_NEAR(m.STEEL_SEC[1].CX, 0, 1e-12);
    EXPECT_NEAR(m.STEEL_SEC[1].CY, 0, 1e-12);
    CALC_STEEL_SECTION_AREA(m);
    EXPECT_DOUBLE_EQ(m.STEEL_SEC[1].GAREA, 240000);
    m.STEEL_SEC[1] = rectangle(-200, -300, 200, 300, false);
    CALC_POLY_CENTER_POINT(m);
    EXPECT_DOUBLE_EQ(m.STEEL_SEC[1].GAREA, 240000);
    // The spare slot is never read.
    m.STEEL_SEC[1].PT[4] = {1e9, 1e9};
    CALC_STEEL_SECTION_AREA(m);
    EXPECT_DOUBLE_EQ(m.STEEL_SEC[1].GAREA, 240000);
}

TEST(SectionProperties, ZoneFitsTheOutlineIntoTheWindow) {
    SectionModel m;
    m.W = 1197;
    m.H = 836;
    const TPOLYSHAPE r = rectangle(-200, -300, 200, 300, false);
    m.CONC_PT = r.PT;
    m.NCONC_PT = 4;
    // A steel plate reaching outside the outline does not widen the zone.
    m.NSTEEL_SEC = 1;
    m.STEEL_SEC = {TPOLYSHAPE{}, rectangle(100, 100, 900, 200, false)};
    CALC_POLY_CENTER_POINT(m);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
    EXPECT_DOUBLE_EQ(m.VIEW_SCALE, 0.836);
    EXPECT_EQ(m.VIEW_DX, 0);
    EXPECT_EQ(m.VIEW_DY, 0);
    EXPECT_EQ(m.ZONE_XMAX, 200);
    EXPECT_EQ(m.ZONE_YMIN, -300);
    EXPECT_DOUBLE_EQ(m.STEEL_CX, 500);
    EXPECT_DOUBLE_EQ(m.STEEL_CY, 150);
    EXPECT_EQ(m.VIEW_CX, m.CONC_CX);
}

TEST(SectionProperties, SteelOnlySectionIsFittedToItsCorners) {
    SectionModel m;
    m.NSTEEL_SEC = 2;
    m.STEEL_SEC = {TPOLYSHAPE{}, rectangle(0, 0, 100, 10, false), rectangle(0, 10, 10, 110, true)};
    CALC_POLY_CENTER_POINT(m);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
    EXPECT_DOUBLE_EQ(m.STEEL_CX, (50 * 1000 + 5 * 1000) / 2000.0);
    EXPECT_DOUBLE_EQ(m.STEEL_CY, (5 * 1000 + 60 * 1000) / 2000.0);
    EXPECT_EQ(m.ZONE_XMAX, 100);
    EXPECT_EQ(m.ZONE_YMAX, 110);
    EXPECT_DOUBLE_EQ(m.VIEW_DX, 50 - m.STEEL_CX);
    CALC_POLY_CENTER_POINT(m);
    EXPECT_EQ(m.VIEW_CX, m.STEEL_CX);
}

TEST(SectionProperties, DegenerateGeometryLeavesThePreviousValues) {
    SectionModel m;
    m.CONC_CX = 3;
    m.CONC_CY = 4;
    m.VIEW_SCALE = 0.5;
    m.NCONC_PT = 3;
    m.CONC_PT = {{1, 1}, {2, 2}, {3, 3}, {0, 0}};  // on one line
    CALC_POLY_CENTER_POINT(m);
    EXPECT_EQ(m.CONC_CX, 3);
    EXPECT_EQ(m.CONC_CY, 4);
    m.CONC_PT = {{1, 1}, {1, 1}, {1, 1}, {0, 0}};  // one point: zero-size zone
    CALC_POLY_ZONE(m);
    EXPECT_EQ(m.VIEW_SCALE, 0.5);
    // With neither outline nor steel corners nothing changes.
    SectionModel e;
    e.ZONE_XMAX = 9;
    e.VIEW_SCALE = 2;
    CALC_POLY_ZONE(e);
    EXPECT_EQ(e.ZONE_XMAX, 9);
    EXPECT_EQ(e.VIEW_SCALE, 2);
}

TEST(SectionProperties, AreaRatioTextsFromTheFibres) {
    SectionModel m;
    CALC_AREA_RATIO(m);
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit2, "0");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit4, "0.00");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit6, "0.00");
    m.NFIB = 3;
    resizeTable(m.FIB, 4);
    m.FIB[1].TY = FIB_CORE_CONCRETE;
    m.FIB[1].AREA = 60000;
    m.FIB[2].TY = FIB_COVER_CONCRETE;
    m.FIB[2].AREA = 40000;
    m.FIB[3].TY = FIB_REBAR;
    m.FIB[3].AREA = 2000;
    CALC_AREA_RATIO(m);
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit2, "100000");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit3, "2000");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit5, "0");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit4, "2.00");
    EXPECT_EQ(m.PROPERTIES_TEXT.Edit6, "0.00");
}
