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
    m.document.NCONC_PT = 4;
    m.mesh.NFIB = 10;
    m.mesh.NGRID_NODE = 3;
    m.document.NFORCE = 1;
    resizeTable(m.document.FORCE, 2);
    m.view.VIEW_SCALE = 0.3;
    m.document.CONC_CX = 7;
    CLEAR_MODEL(m);
    EXPECT_EQ(m.document.NBAR, 0);
    EXPECT_EQ(m.document.NCONC_PT, 0);
    EXPECT_EQ(m.mesh.NFIB, 0);
    EXPECT_EQ(m.mesh.NGRID_NODE, 0);
    EXPECT_EQ(m.view.VIEW_SCALE, 1.0);
    EXPECT_EQ(m.document.NCONCMAT, 17);
    EXPECT_EQ(m.document.NCOVERMAT, 17);
    EXPECT_EQ(m.document.NSTEELMAT, 7);
    EXPECT_EQ(m.document.NFORCE, 1);
    EXPECT_EQ(m.document.CONC_CX, 7);
    EXPECT_EQ(m.document.BAR.size(), 6u) << "clearing keeps the storage";
}

TEST(SectionModel, ClearMeshAndSteelRemovalKeepWhatTheyShould) {
    SectionModel m;
    addFiveBars(m);
    m.mesh.NFIB = 5;
    m.mesh.NCFIB = 2;
    m.mesh.NSHELL = 9;
    m.view.NSEL_BAR = 1;
    m.mesh.NGRID_NODE = 4;
    m.mesh.NMESH_NODE = 8;
    m.document.NCONC_PT = 4;
    m.document.NSTEEL_SEC = 2;
    CLEAR_MESH(m);
    EXPECT_EQ(m.mesh.NFIB + m.mesh.NCFIB + m.mesh.NSHELL + m.view.NSEL_BAR, 0);
    EXPECT_EQ(m.mesh.NGRID_NODE, 4);
    EXPECT_EQ(m.mesh.NMESH_NODE, 8);
    EXPECT_EQ(m.document.NBAR, 5);
    EXPECT_EQ(m.document.NSTEEL_SEC, 2);
    DELETE_STEEL_SECTION(m);
    EXPECT_EQ(m.document.NSTEEL_SEC, 0);
    EXPECT_EQ(m.mesh.NGRID_NODE, 0);
    EXPECT_EQ(m.document.NCONC_PT, 4);
    EXPECT_EQ(m.document.NBAR, 5);
}

TEST(SectionModel, DeletingABarMovesTheLastIntoItsSlot) {
    SectionModel m;
    addFiveBars(m);
    ASSERT_TRUE(DELETE_SINGLE_BAR(m, 20, 0));
    ASSERT_EQ(m.document.NBAR, 4);
    const double expectedX[] = {10, 50, 30, 40};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(m.document.BAR[static_cast<std::size_t>(i)].X, expectedX[i - 1]);
    EXPECT_EQ(m.document.BAR.size(), 5u);
    EXPECT_FALSE(DELETE_SINGLE_BAR(m, 999, 999));
    EXPECT_EQ(m.document.NBAR, 4);

    SectionModel twin;
    ADD_SINGLE_REBAR(twin, 1, 1, 10);
    ADD_SINGLE_REBAR(twin, 1, 1, 20);
    ADD_SINGLE_REBAR(twin, 5, 5, 30);
    DELETE_SINGLE_BAR(twin, 1, 1);
    ASSERT_EQ(twin.document.NBAR, 2);
    EXPECT_EQ(twin.document.BAR[1].DB, 30);
    EXPECT_EQ(twin.document.BAR[2].DB, 20);
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
    ASSERT_EQ(m.document.NBAR, 4);
    EXPECT_EQ(m.document.BAR[1].DB, 25);
    EXPECT_EQ(m.document.BAR[2].DB, 16);
    EXPECT_EQ(m.document.BAR[3].DB, 12);
    EXPECT_EQ(m.document.BAR[4].Y, 0.0000001);
}

TEST(SectionModel, SelectionHoldsEachBarOnceAndAtMostTenThousand) {
    SectionModel m;
    EXPECT_TRUE(SELECT_BAR(m, 3));
    EXPECT_TRUE(SELECT_BAR(m, 3));
    EXPECT_EQ(m.view.NSEL_BAR, 1);
    for (int i = 1; i <= 10000; ++i) SELECT_BAR(m, i);
    EXPECT_EQ(m.view.NSEL_BAR, 10000);
    EXPECT_FALSE(SELECT_BAR(m, 10001));
    EXPECT_EQ(m.view.NSEL_BAR, 10000);
    EXPECT_EQ(m.view.SEL_BAR.size(), 10001u);
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
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC = {TPOLYSHAPE{}, rectangle(-200, -300, 200, 300, true)};
    CALC_POLY_CENTER_POINT(m);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, -240000);
    EXPECT_NEAR(m.document.STEEL_SEC[1].CX, 0, 1e-12);
    EXPECT_NEAR(m.document.STEEL_SEC[1].CY, 0, 1e-12);
    CALC_STEEL_SECTION_AREA(m);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, 240000);
    m.document.STEEL_SEC[1] = rectangle(-200, -300, 200, 300, false);
    CALC_POLY_CENTER_POINT(m);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, 240000);
    // The spare slot is never read.
    m.document.STEEL_SEC[1].PT[4] = {1e9, 1e9};
    CALC_STEEL_SECTION_AREA(m);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, 240000);
}

TEST(SectionProperties, ZoneFitsTheOutlineIntoTheWindow) {
    SectionModel m;
    m.view.W = 1197;
    m.view.H = 836;
    const TPOLYSHAPE r = rectangle(-200, -300, 200, 300, false);
    m.document.CONC_PT = r.PT;
    m.document.NCONC_PT = 4;
    // A steel plate reaching outside the outline does not widen the zone.
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC = {TPOLYSHAPE{}, rectangle(100, 100, 900, 200, false)};
    CALC_POLY_CENTER_POINT(m);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
    EXPECT_DOUBLE_EQ(m.view.VIEW_SCALE, 0.836);
    EXPECT_EQ(m.view.VIEW_DX, 0);
    EXPECT_EQ(m.view.VIEW_DY, 0);
    EXPECT_EQ(m.document.ZONE_XMAX, 200);
    EXPECT_EQ(m.document.ZONE_YMIN, -300);
    EXPECT_DOUBLE_EQ(m.document.STEEL_CX, 500);
    EXPECT_DOUBLE_EQ(m.document.STEEL_CY, 150);
    EXPECT_EQ(m.view.VIEW_CX, m.document.CONC_CX);
}

TEST(SectionProperties, SteelOnlySectionIsFittedToItsCorners) {
    SectionModel m;
    m.document.NSTEEL_SEC = 2;
    m.document.STEEL_SEC = {TPOLYSHAPE{}, rectangle(0, 0, 100, 10, false),
                            rectangle(0, 10, 10, 110, true)};
    CALC_POLY_CENTER_POINT(m);
    CALC_STEEL_SECTION_AREA(m);
    CALC_POLY_ZONE(m);
    EXPECT_DOUBLE_EQ(m.document.STEEL_CX, (50 * 1000 + 5 * 1000) / 2000.0);
    EXPECT_DOUBLE_EQ(m.document.STEEL_CY, (5 * 1000 + 60 * 1000) / 2000.0);
    EXPECT_EQ(m.document.ZONE_XMAX, 100);
    EXPECT_EQ(m.document.ZONE_YMAX, 110);
    EXPECT_DOUBLE_EQ(m.view.VIEW_DX, 50 - m.document.STEEL_CX);
    CALC_POLY_CENTER_POINT(m);
    EXPECT_EQ(m.view.VIEW_CX, m.document.STEEL_CX);
}

TEST(SectionProperties, DegenerateGeometryLeavesThePreviousValues) {
    SectionModel m;
    m.document.CONC_CX = 3;
    m.document.CONC_CY = 4;
    m.view.VIEW_SCALE = 0.5;
    m.document.NCONC_PT = 3;
    m.document.CONC_PT = {{1, 1}, {2, 2}, {3, 3}, {0, 0}};  // on one line
    CALC_POLY_CENTER_POINT(m);
    EXPECT_EQ(m.document.CONC_CX, 3);
    EXPECT_EQ(m.document.CONC_CY, 4);
    m.document.CONC_PT = {{1, 1}, {1, 1}, {1, 1}, {0, 0}};  // one point: zero-size zone
    CALC_POLY_ZONE(m);
    EXPECT_EQ(m.view.VIEW_SCALE, 0.5);
    // With neither outline nor steel corners nothing changes.
    SectionModel e;
    e.document.ZONE_XMAX = 9;
    e.view.VIEW_SCALE = 2;
    CALC_POLY_ZONE(e);
    EXPECT_EQ(e.document.ZONE_XMAX, 9);
    EXPECT_EQ(e.view.VIEW_SCALE, 2);
}

TEST(SectionProperties, AreaRatioTextsFromTheFibres) {
    SectionModel m;
    CALC_AREA_RATIO(m);
    EXPECT_EQ(sectionPropertiesText(m.mesh).sectionArea, "") << "no fibres: nothing shown";
    m.mesh.NFIB = 3;
    resizeTable(m.mesh.FIB, 4);
    m.mesh.FIB[1].TY = FIB_CORE_CONCRETE;
    m.mesh.FIB[1].AREA = 60000;
    m.mesh.FIB[2].TY = FIB_COVER_CONCRETE;
    m.mesh.FIB[2].AREA = 40000;
    m.mesh.FIB[3].TY = FIB_REBAR;
    m.mesh.FIB[3].AREA = 2000;
    CALC_AREA_RATIO(m);
    const SectionPropertiesText t = sectionPropertiesText(m.mesh);
    EXPECT_EQ(t.sectionArea, "100000");
    EXPECT_EQ(t.rebarArea, "2000");
    EXPECT_EQ(t.steelArea, "0");
    EXPECT_EQ(t.rebarRatio, "2.00");
    EXPECT_EQ(t.steelRatio, "0.00");
}
