#include "analysis/pmm_surface.h"

#include <gtest/gtest.h>

#include "hand_section.h"
#include "reports/text_reports.h"

using namespace qav;

TEST(PmmSurface, WireModelCountsAndTheClosedTensionLevel) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    m.document.NFORCE = 2;
    m.document.FORCE.resize(3);
    m.document.FORCE[1] = {-1000, 50, 60, "A", 0};
    m.results.STRAIN_LIMIT_MODE = 2;
    NullMessages msgs;
    const RunStats stats = RUN_PMM_ANALYSIS(m, msgs);
    EXPECT_EQ(m.results.STRAIN_LIMIT_MODE, 1) << "set from the section";
    EXPECT_GT(stats.solves, 6 * 62);
    ASSERT_EQ(m.results.PMM_P.size(), 7u);
    ASSERT_EQ(m.results.PMM_P[0].size(), 63u);
    // The P-M results hold the last curve, 150 degrees.
    EXPECT_EQ(m.results.PM_P[5], m.results.PMM_P[5][5]);

    std::vector<std::string> listing;
    GEN_PMM_CURVE_TEXT(m, listing);
    EXPECT_EQ(listing.size(), 374u);
    EXPECT_EQ(listing[0], "PMM_CURVE_DATA");
    EXPECT_EQ(listing[1], "          P,         My,         Mx,");

    const PmmWireModel w = BUILD_PMM_WIRE_MODEL(m);
    EXPECT_EQ(w.NPMM_NODE, 372);
    int ring = 0, closing = 0, meridian = 0;
    for (int i = 1; i <= w.NPMM_LINE; ++i) {
        const int cl = w.PMM_LINE[static_cast<std::size_t>(i)].CL;
        ring += cl == 1;
        closing += cl == 2;
        meridian += cl == 3;
    }
    EXPECT_EQ(ring + closing, 372);
    EXPECT_EQ(closing, 31);
    EXPECT_EQ(meridian, 360);
    for (int j = 1; j <= 6; ++j) {
        const TNODE3D &a = w.PMM_NODE[static_cast<std::size_t>(j)],
                      &b = w.PMM_NODE[static_cast<std::size_t>(j + 6)];
        EXPECT_EQ(a.X, b.X) << "node " << j;
        EXPECT_EQ(a.Y, b.Y) << "node " << j;
        EXPECT_EQ(a.Z, b.Z) << "node " << j;
    }
    ASSERT_EQ(w.AXIS_LINE.size(), 16u);
    EXPECT_EQ(w.AXIS_NODE[1].X, w.XMIN);
    EXPECT_EQ(w.AXIS_NODE[2].X, w.XMAX);
    EXPECT_EQ(w.AXIS_LINE[15].J, 30);
    ASSERT_EQ(w.LOAD_NODE.size(), 3u);
    EXPECT_EQ(w.LOAD_NODE[1].Z, 1000) << "compression up";
    const double R = std::max({w.XMAX - w.XMIN, w.YMAX - w.YMIN, w.ZMAX - w.ZMIN});
    EXPECT_DOUBLE_EQ(w.AXIS_STRETCH[2] * (w.ZMAX - w.ZMIN), R);
    EXPECT_TRUE(w.UNCONVERGED_NODE.empty());

    // A point flagged unconverged marks the surface node it became: point a of curve c is node
    // 12 (a - 1) + c + 1, and point 2 n + 3 - a the node 6 further round the ring.
    m.results.PMM_CONVERGED[2][4] = 0;
    m.results.PMM_CONVERGED[2][62 - 4 + 1] = 0;
    EXPECT_EQ(BUILD_PMM_WIRE_MODEL(m).UNCONVERGED_NODE, (std::vector<int>{12 * 3 + 3, 12 * 3 + 9}));
}
