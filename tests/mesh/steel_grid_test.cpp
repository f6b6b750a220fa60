// Grid nodes inside the steel of a section without concrete (STEEL_GRID): off, the mesh is the
// one the program has always made; on, plates get fibres through their thickness and the force
// of a partly yielded plate approaches the exact one as the mesh is refined; a mesh made with
// the other setting is stale.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/material_laws.h"
#include "mesh/mesh_command.h"
#include "mesh/section_sync.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "model/section_state.h"
#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

namespace {
MeshSummary mesh(SectionModel& m, const std::string& size, bool steelGrid) {
    m.document.MESH_SIZE_TEXT = size;
    m.settings.STEEL_GRID = steelGrid;
    NullMessages none;
    return FIBER_SECTION_MESH(m, none);
}

// A plate 500 wide (x) and 50 thick (y), centred on the origin.
SectionModel plate() {
    SectionModel m;
    addSteel(m, rectangle(500, 50));
    return m;
}

// Distinct heights of the fibres' points away from the plate's ends, to 1e-6 mm.
int fibreRows(const SectionModel& m) {
    std::vector<double> ys;
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        if (std::fabs(m.mesh.FIB[static_cast<std::size_t>(i)].X) > 200) continue;
        const double y = m.mesh.FIB[static_cast<std::size_t>(i)].Y;
        bool seen = false;
        for (double o : ys) seen = seen || std::fabs(o - y) < 1e-6;
        if (!seen) ys.push_back(y);
    }
    return static_cast<int>(ys.size());
}

// The fibres' axial force under the plane eps = a + b y (compression positive).
double fibreForce(const SectionModel& m, double a, double b) {
    double n = 0;
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(i)];
        double s = 0;
        STEEL01(STEEL_LAW_MODULUS, f.FY1, a + b * f.Y, s);
        n += s * f.AREA;
    }
    return n;
}
}  // namespace

TEST(SteelGrid, PlateGetsFibresThroughItsThickness) {
    SectionModel off = plate(), on = plate();
    const MeshSummary a = mesh(off, "10", false);
    const MeshSummary b = mesh(on, "10", true);
    // Off: every triangle spans the plate, so its points lie on two rows a third in from the faces.
    EXPECT_EQ(a.NMESH_NODE, a.NSLINE_NODE + a.NKEY_NODE);
    EXPECT_EQ(fibreRows(off), 2);
    // On: grid nodes inside, each kept at least 0.8 h from the plate's side nodes.
    EXPECT_GT(b.NMESH_NODE, b.NSLINE_NODE + b.NKEY_NODE);
    EXPECT_GE(fibreRows(on), 6);
    for (int i = 1; i <= on.mesh.NMESH_NODE; ++i) {
        const TNODE& n = on.mesh.MESH_NODE[static_cast<std::size_t>(i)];
        EXPECT_LE(std::fabs(n.PX), 250 + 1e-9);
        EXPECT_LE(std::fabs(n.PY), 25 + 1e-9);
    }
    for (int i = 1; i <= on.mesh.NGRID_NODE; ++i) {
        const TNODE& g = on.mesh.GRID_NODE[static_cast<std::size_t>(i)];
        if (!g.USED) continue;
        for (int k = 1; k <= on.mesh.NSLINE_NODE; ++k) {
            const TNODE& s = on.mesh.SLINE_NODE[static_cast<std::size_t>(k)];
            EXPECT_GT(std::hypot(s.PX - g.PX, s.PY - g.PY), 8) << "grid node " << i;
        }
    }
    // Same steel, same area, either way.
    EXPECT_NEAR(a.fibres[FIB_STEEL].area, 25000, 1e-6);
    EXPECT_NEAR(b.fibres[FIB_STEEL].area, 25000, 1e-6);
    EXPECT_NEAR(off.mesh.STEEL_AREA, on.mesh.STEEL_AREA, 1e-6);
}

TEST(SteelGrid, SeveralPlatesEachGetNodesAndTheGapNone) {
    // Two flanges apart and a plate of another outline beside them: the grid spans all three.
    SectionModel m;
    addSteel(m, rectangle(200, 50, 0, 100));
    addSteel(m, rectangle(200, 50, 0, -100));
    addSteel(m, polygon({{300, -60}, {360, -60}, {330, 60}}));
    mesh(m, "10", true);
    int top = 0, bottom = 0, triangle = 0;
    for (int i = 1; i <= m.mesh.NGRID_NODE; ++i) {
        const TNODE& g = m.mesh.GRID_NODE[static_cast<std::size_t>(i)];
        if (!g.USED) continue;
        const bool inFlange = std::fabs(g.PX) < 100 && std::fabs(std::fabs(g.PY) - 100) < 25;
        const bool inTriangle = g.PX > 300 && g.PX < 360 && g.PY > -60 && g.PY < 60;
        EXPECT_TRUE(inFlange || inTriangle) << g.PX << ", " << g.PY;
        top += inFlange && g.PY > 0;
        bottom += inFlange && g.PY < 0;
        triangle += inTriangle;
    }
    EXPECT_GT(top, 10);
    EXPECT_EQ(top, bottom);
    EXPECT_GT(triangle, 5);
}

TEST(SteelGrid, PartlyYieldedPlateForceConvergesToTheExactOne) {
    // eps = ey (0.3 + y / 11): yielded in compression above y = 7.7, in tension below
    // y = -14.3, elastic between, where the stresses cancel. Exactly N = fy x 500 x (17.3 - 10.7).
    SectionModel m = plate();
    mesh(m, "50", false);
    const double fy = m.mesh.FIB[1].FY1, ey = fy / STEEL_LAW_MODULUS;
    const double exact = fy * 500 * 6.6;
    auto error = [&](const std::string& size, bool steelGrid) {
        mesh(m, size, steelGrid);
        return std::fabs(fibreForce(m, 0.3 * ey, ey / 11) / exact - 1);
    };
    // Off: two rows of points a third in from the faces, both in the elastic band: the force is
    // nearly twice the exact one, whatever the mesh size.
    for (const char* size : {"10", "5", "2"}) EXPECT_GT(error(size, false), 0.9) << size;
    // On: the error falls as the mesh is refined (3.2 %, 0.9 %, 0.2 %, 0.06 %).
    const double e10 = error("10", true), e5 = error("5", true), e2 = error("2", true),
                 e1 = error("1", true);
    EXPECT_LT(e10, 0.04);
    EXPECT_LT(e5, e10);
    EXPECT_LT(e2, e5);
    EXPECT_LT(e1, e2);
    EXPECT_LT(e1, 0.001);
}

TEST(SteelGrid, SectionWithConcreteIgnoresIt) {
    SectionModel off = compositeRectangle(400, 400, 50), on = compositeRectangle(400, 400, 50);
    addSteel(off, iSection(200, 300, 20, 15));
    addSteel(on, iSection(200, 300, 20, 15));
    const MeshSummary a = mesh(off, "25", false);
    const MeshSummary b = mesh(on, "25", true);
    ASSERT_EQ(off.mesh.NFIB, on.mesh.NFIB);
    for (int i = 1; i <= off.mesh.NFIB; ++i) {
        EXPECT_EQ(off.mesh.FIB[static_cast<std::size_t>(i)].X,
                  on.mesh.FIB[static_cast<std::size_t>(i)].X);
        EXPECT_EQ(off.mesh.FIB[static_cast<std::size_t>(i)].Y,
                  on.mesh.FIB[static_cast<std::size_t>(i)].Y);
    }
    EXPECT_EQ(a.NMESH_NODE, b.NMESH_NODE);
    // Toggling it changes nothing such a mesh was made from.
    on.settings.STEEL_GRID = false;
    EXPECT_EQ(meshState(on), MeshState::Current);
}

TEST(SteelGrid, TogglingMakesAnExistingMeshStale) {
    for (const bool first : {false, true}) {
        SectionModel m = plate();
        mesh(m, "25", first);
        EXPECT_EQ(meshState(m), MeshState::Current);
        m.settings.STEEL_GRID = !first;
        EXPECT_EQ(meshState(m), MeshState::OptionsChanged) << first;
        try {
            requireCurrentMesh(m);
            ADD_FAILURE() << "an analysis ran on a mesh of the other setting";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The mesh options have changed since the section was meshed: mesh the "
                      "section first.");
        }
        // Back as it was: the mesh describes the section again.
        m.settings.STEEL_GRID = first;
        EXPECT_EQ(meshState(m), MeshState::Current);
        // The application's sync empties the mesh and the results of the other setting.
        m.settings.STEEL_GRID = !first;
        m.results.PM_P = {1, 2, 3};  // results of an analysis of that mesh
        m.results.RESULTS_STAMP = m.mesh.MESH_STAMP;
        const SectionSync s = SYNC_SECTION_STATE(m);
        EXPECT_TRUE(s.meshCleared);
        EXPECT_TRUE(s.resultsCleared);
        EXPECT_EQ(m.mesh.NFIB, 0);
        EXPECT_TRUE(m.results.PM_P.empty());
        mesh(m, "25", !first);
        EXPECT_EQ(meshState(m), MeshState::Current);
    }
}

TEST(SteelGrid, SectionFileDoesNotCarryIt) {
    // A program setting: the file of a section meshed either way is the same, line for line.
    SectionModel off = plate(), on = plate();
    mesh(off, "10", false);
    mesh(on, "10", true);
    std::vector<std::string> a, b;
    SAVE_QAV_SEC_DATA(off, a);
    SAVE_QAV_SEC_DATA(on, b);
    EXPECT_EQ(a, b);
    SectionModel back;
    LOAD_QAV_SEC_DATA(back, b);
    EXPECT_FALSE(back.settings.STEEL_GRID);
}
