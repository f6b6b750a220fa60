#include "mesh/mesh_nodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

TEST(MeshNodes, SideDivision) {
    struct Case {
        std::string name;
        double length;
        int nodes;
    };
    const std::vector<Case> cases{
        {"149.9: shorter than 1.5 h", 149.9, 0},
        {"150: exactly 1.5 h", 150, 1},
        {"250: 2.5 h rounds to 2", 250, 1},
        {"251", 251, 2},
        {"zero length", 0, 0},
        {"400", 400, 3},
        {"500", 500, 4},
        {"365", 365, 3},
        {"465", 465, 4},
    };
    for (const Case& c : cases) {
        std::vector<TNODE> out;
        divideSide({0, 0}, {c.length, 0}, 100, out);
        ASSERT_EQ(static_cast<int>(out.size()), c.nodes) << c.name;
        for (int k = 1; k <= c.nodes; ++k)
            EXPECT_NEAR(out[static_cast<std::size_t>(k - 1)].PX, k * c.length / (c.nodes + 1), 1e-9)
                << c.name;
    }
    std::vector<TNODE> back;
    divideSide({0, 400}, {0, 0}, 100, back);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_DOUBLE_EQ(back[0].PY, 300) << "nodes run from the start of the side";
}

TEST(MeshNodes, RectangularColumnFamilies) {
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    m.mesh.MESH_SIZE = 100;
    GEN_MESH_GRID_NODE(m);
    GEN_MESH_CONC_LINE_NODE(m);
    GEN_MESH_KEY_NODE(m);
    EXPECT_EQ(m.mesh.NGRID_NODE, 120) << "10 x 12";
    EXPECT_NEAR(m.mesh.GRID_NODE[13].PX - m.mesh.GRID_NODE[1].PX, 800.0 / 9, 1e-9)
        << "numbered column by column";
    EXPECT_EQ(m.mesh.NCLINE_NODE, 56);
    EXPECT_EQ(m.mesh.NKEY_NODE, 16);
    CHECK_MESH_POINT(m);
    for (int i = 1; i <= m.mesh.NGRID_NODE; ++i) {
        const TNODE& g = m.mesh.GRID_NODE[static_cast<std::size_t>(i)];
        if (!g.USED) continue;
        for (const auto* family : {&m.mesh.CLINE_NODE, &m.mesh.KEY_NODE})
            for (std::size_t k = 1; k < family->size(); ++k)
                EXPECT_GT(std::hypot((*family)[k].PX - g.PX, (*family)[k].PY - g.PY), 80)
                    << "grid node " << i;
    }
    GEN_MEHS_MASS_NODE(m);
    EXPECT_EQ(m.mesh.NMESH_NODE, 120);
}

TEST(MeshNodes, SteelRectangleLineNodesAndSteelOnlyGrid) {
    SectionModel m;
    addSteel(m, rectangle(400, 1000));
    m.mesh.MESH_SIZE = 100;
    GEN_MESH_GRID_NODE(m);
    GEN_MESH_STEEL_LINE_NODE(m);
    GEN_MESH_KEY_NODE(m);
    EXPECT_EQ(m.mesh.NSLINE_NODE, 20) << "1 on each side of 200, 4 on each side of 500";
    CHECK_MESH_POINT(m);
    GEN_MEHS_MASS_NODE(m);
    EXPECT_EQ(m.mesh.NMESH_NODE, 20 + 8) << "no grid node without an outline";
}

TEST(MeshNodes, GridNodeOnTheOutlineIsNotUsed) {
    // A triangle whose slanted side passes through a grid node far from every boundary node.
    SectionModel m;
    m.document.CONC_PT = closedPoints({{0, 0}, {1000, 0}, {0, 1000}});
    m.document.NCONC_PT = 3;
    refreshGeometry(m);
    m.mesh.MESH_SIZE = 1000;  // grid 0, 500, 1000 each way; sides too short to divide
    GEN_MESH_GRID_NODE(m);
    GEN_MESH_KEY_NODE(m);
    ASSERT_EQ(m.mesh.NGRID_NODE, 9);
    ASSERT_DOUBLE_EQ(m.mesh.GRID_NODE[5].PX, 500);
    ASSERT_DOUBLE_EQ(m.mesh.GRID_NODE[5].PY, 500);
    m.mesh.MESH_SIZE = 100;  // keep the 0.8 h reach away from (500, 500)
    CHECK_MESH_POINT(m);
    EXPECT_FALSE(m.mesh.GRID_NODE[5].USED);
}

TEST(MeshNodes, MergeKeepsTheFirstOfCoincidentNodes) {
    // The concrete outline and a steel plate share a side: the shared nodes appear once, as
    // concrete-line nodes, and nodes 5e-5 apart are one node.
    SectionModel m = compositeRectangle(400, 400, 50);
    addSteel(m, polygon({{-200, -200}, {200, -200}, {200, -100}, {-200, -100}}));
    m.mesh.MESH_SIZE = 100;
    GEN_MESH_GRID_NODE(m);
    GEN_MESH_CONC_LINE_NODE(m);
    GEN_MESH_STEEL_LINE_NODE(m);
    GEN_MESH_KEY_NODE(m);
    m.mesh.SLINE_NODE[1].PX += 5e-5;
    CHECK_MESH_POINT(m);
    GEN_MEHS_MASS_NODE(m);
    int atShared = 0;
    for (int i = 1; i <= m.mesh.NMESH_NODE; ++i) {
        const TNODE& n = m.mesh.MESH_NODE[static_cast<std::size_t>(i)];
        if (std::fabs(n.PX - m.mesh.SLINE_NODE[1].PX) < 1e-3 &&
            std::fabs(n.PY - m.mesh.SLINE_NODE[1].PY) < 1e-3) {
            ++atShared;
            EXPECT_EQ(n.PX, -100.0) << "the concrete-line copy wins";
        }
    }
    EXPECT_EQ(atShared, 1);
}
