#include "mesh/mesh_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh/inside_test.h"
#include "model/errors.h"
#include "model/section_properties.h"
#include "model/section_state.h"
#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

namespace {
MeshSummary mesh(SectionModel& m, const std::string& size = "100") {
    m.document.MESH_SIZE_TEXT = size;
    NullMessages none;
    return FIBER_SECTION_MESH(m, none);
}

double area(const MeshSummary& s, int kind) {
    return s.fibres[static_cast<std::size_t>(kind)].area;
}
int count(const MeshSummary& s, int kind) {
    return s.fibres[static_cast<std::size_t>(kind)].count;
}
}  // namespace

TEST(MeshCommand, RectangularColumn) {
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    const MeshSummary s = mesh(m);
    EXPECT_EQ(s.NGRID_NODE, 120);
    EXPECT_EQ(s.NCLINE_NODE, 56);
    EXPECT_EQ(s.NKEY_NODE, 16);
    EXPECT_EQ(s.NMESH_NODE, 120);
    EXPECT_EQ(s.NSHELL, 202);
    EXPECT_EQ(s.usedTriangles, 202);
    EXPECT_EQ(count(s, FIB_CORE_CONCRETE), 130);
    EXPECT_NEAR(area(s, FIB_CORE_CONCRETE), 678900, 1e-6);
    EXPECT_EQ(count(s, FIB_COVER_CONCRETE), 72);
    EXPECT_NEAR(area(s, FIB_COVER_CONCRETE), 121100, 1e-6);
    EXPECT_EQ(count(s, FIB_REBAR), 12);
    for (int i = 203; i <= 214; ++i)
        EXPECT_DOUBLE_EQ(m.mesh.FIB[static_cast<std::size_t>(i)].AREA, 490.625);
    EXPECT_EQ(s.NFIB, 214);
    EXPECT_EQ(s.NCFIB, 16);
    EXPECT_EQ(sectionPropertiesText(m.mesh).sectionArea, "800000");
    EXPECT_EQ(sectionPropertiesText(m.mesh).rebarRatio, "0.74");
    // Two triangles have their centroid on y = 0, the line through the mid-side corners.
    int onAxis = 0;
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        const TSHELL& t = m.mesh.SHELL[static_cast<std::size_t>(j)];
        if (t.OY == 0) {
            ++onAxis;
            EXPECT_EQ(t.MATTY, FIB_CORE_CONCRETE);
        }
    }
    EXPECT_EQ(onAxis, 2);
}

TEST(MeshCommand, FibreFieldsAndMaterials) {
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    m.document.USE_CONC = 2, m.document.USE_COVER = 1, m.document.USE_REBAR = 3;
    mesh(m);
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(i)];
        if (f.TY == FIB_CORE_CONCRETE) {
            EXPECT_EQ(f.MAT, 3);
            EXPECT_EQ(f.E, m.document.CONC_MAT[3].EC);
            EXPECT_EQ(f.FC, m.document.CONC_MAT[3].FC);
            EXPECT_EQ(f.SHAPE, 3);
        } else if (f.TY == FIB_COVER_CONCRETE) {
            EXPECT_EQ(f.MAT, 2);
            EXPECT_EQ(f.EPS_0, m.document.COVER_MAT[2].EPS_0);
        } else {
            ASSERT_EQ(f.TY, FIB_REBAR);
            EXPECT_EQ(f.MAT, 4);
            EXPECT_EQ(f.E, 205000);
            EXPECT_DOUBLE_EQ(f.FY1, m.document.STEEL_MAT[4].FY * m.document.STEEL_MAT[4].RF);
            EXPECT_EQ(f.SHAPE, 2);
            EXPECT_EQ(f.DB, 25);
        }
    }
    EXPECT_DOUBLE_EQ(m.mesh.CFIB[1].X, -400);
    EXPECT_DOUBLE_EQ(m.mesh.CFIB[1].Y, -500);
}

TEST(MeshCommand, CircularColumn) {
    SectionModel m = circularColumn(800, 35, 12, 25);
    const MeshSummary s = mesh(m);
    EXPECT_EQ(s.NCLINE_NODE, 0);
    EXPECT_EQ(s.NGRID_NODE, 100);
    EXPECT_EQ(s.NKEY_NODE, 48);
    EXPECT_EQ(s.NMESH_NODE, 80);
    EXPECT_EQ(s.NSHELL, 134);
    EXPECT_EQ(s.usedTriangles, 134);
    EXPECT_EQ(count(s, FIB_CORE_CONCRETE), 86);
    EXPECT_NEAR(area(s, FIB_CORE_CONCRETE), 413774.0, 0.05);
    EXPECT_EQ(count(s, FIB_COVER_CONCRETE), 48);
    EXPECT_NEAR(area(s, FIB_COVER_CONCRETE), 83158.6, 0.05);
    EXPECT_EQ(s.NFIB, 146);
}

TEST(MeshCommand, SteelTakesItsAreaOutOfTheConcrete) {
    SectionModel beam = compositeRectangle(1000, 800, 35);
    addSteel(beam, iSection(400, 600, 25, 20));
    const MeshSummary b = mesh(beam);
    EXPECT_NEAR(area(b, FIB_STEEL), 31000, 1e-6);
    EXPECT_NEAR(area(b, FIB_CORE_CONCRETE) + area(b, FIB_COVER_CONCRETE), 769000, 1e-6);

    SectionModel cross = compositeRectangle(1000, 800, 35);
    addSteel(cross, crossSection(400, 600, 25, 20));
    const MeshSummary c = mesh(cross);
    EXPECT_NEAR(area(c, FIB_STEEL), 61600, 1e-6);
    EXPECT_NEAR(area(c, FIB_CORE_CONCRETE) + area(c, FIB_COVER_CONCRETE), 800000 - 61600, 1e-6);
}

TEST(MeshCommand, SteelOnlyIsRelativeToTheSteelCentroid) {
    SectionModel m;
    addSteel(m, rectangle(300, 200, 1000, 500));
    const MeshSummary s = mesh(m);
    EXPECT_EQ(s.NGRID_NODE, 20);
    EXPECT_EQ(s.NFIB, count(s, FIB_STEEL));
    EXPECT_NEAR(area(s, FIB_STEEL), 60000, 1e-6);
    double sx = 0, sy = 0;
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        sx += m.mesh.FIB[static_cast<std::size_t>(i)].X *
              m.mesh.FIB[static_cast<std::size_t>(i)].AREA;
        sy += m.mesh.FIB[static_cast<std::size_t>(i)].Y *
              m.mesh.FIB[static_cast<std::size_t>(i)].AREA;
    }
    EXPECT_NEAR(sx, 0, 1e-6);
    EXPECT_NEAR(sy, 0, 1e-6);
    EXPECT_EQ(sectionPropertiesText(m.mesh).steelArea, "60000");
    EXPECT_EQ(sectionPropertiesText(m.mesh).steelRatio, "0.00") << "no concrete: no ratio";
}

TEST(MeshCommand, OpeningsWinOverSteel) {
    SectionModel m = compositeRectangle(1000, 800, 35);
    const TPOLYSHAPE steel = iSection(400, 600, 25, 20),
                     hole = rectangle(100, 300);  // hole across the web
    addSteel(m, steel);
    addOpening(m, hole);
    const MeshSummary s = mesh(m);
    const InsideTest inSteel(steel.PT, steel.NPOINT), inHole(hole.PT, hole.NPOINT);
    int steelInHole = 0;
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        const TSHELL& t = m.mesh.SHELL[static_cast<std::size_t>(j)];
        if (!inHole.inside(t.OX, t.OY)) continue;
        steelInHole += inSteel.inside(t.OX, t.OY) ? 1 : 0;
        EXPECT_FALSE(t.USED) << "triangle " << j;
        EXPECT_EQ(t.MATTY, 0) << "triangle " << j;
    }
    EXPECT_GT(steelInHole, 0);
    EXPECT_LT(area(s, FIB_STEEL), 31000 - 5000);
}

TEST(MeshCommand, RefusesBadInputBeforeChangingAnything) {
    struct Case {
        std::string name;
        std::string size;
        std::string message;
    };
    const std::vector<Case> cases{
        {"not a number", "abc", "Mesh Size: 'abc' is not a valid floating point value"},
        {"empty", "", "Mesh Size: '' is not a valid floating point value"},
        {"too large to be a number", "1e999",
         "Mesh Size: '1e999' is not a valid floating point value"},
        {"zero", "0", "The mesh size must be a number greater than 0 mm, not '0'."},
        {"negative", " -5", "The mesh size must be a number greater than 0 mm, not '-5'."},
        {"too small", "0.01",
         "Mesh size 0.01 mm is too small for this section: it would place up to 8001232041 nodes, "
         "more than the "
         "2000000 a mesh may have. Use a larger mesh size."},
        {"far too small", "1e-310",
         "Mesh size 1e-310 mm is too small for this section: it would place up to countless nodes, "
         "more than the "
         "2000000 a mesh may have. Use a larger mesh size."},
    };
    for (const Case& c : cases) {
        SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
        mesh(m);
        const int before = m.mesh.NFIB;
        m.document.MESH_SIZE_TEXT = c.size;
        NullMessages none;
        try {
            FIBER_SECTION_MESH(m, none);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.mesh.NFIB, before) << c.name;
        EXPECT_EQ(m.mesh.MESH_SIZE, 100) << c.name;
    }
}

TEST(MeshCommand, RefusesGradesTheSectionDoesNotHave) {
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    m.document.NCONCMAT = 3;
    m.document.USE_CONC = 5;
    EXPECT_THROW(mesh(m), InputError);
    EXPECT_EQ(m.mesh.NFIB, 0);
    EXPECT_EQ(m.mesh.NGRID_NODE, 0) << "nothing ran";
    m.document.USE_CONC = 2;
    m.document.NSTEELMAT = 2;
    m.document.USE_REBAR = 2;
    try {
        mesh(m);
        ADD_FAILURE() << "rebar grade 3 of 2 accepted";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "\"Rebar Grade\" selects grade 3, but the section has 2 steel grades.");
    }
    m.document.NBAR = 0;  // without bars the rebar grade does not matter
    EXPECT_EQ(mesh(m).NFIB, 202);
}

TEST(MeshCommand, EmptySectionMeshesToNothing) {
    SectionModel empty;
    const MeshSummary e = mesh(empty);
    EXPECT_EQ(e.NMESH_NODE, 0);
    EXPECT_EQ(e.NSHELL, 0);
    EXPECT_EQ(e.NFIB, 0);
    EXPECT_EQ(sectionPropertiesText(empty.mesh).sectionArea, "");
}

TEST(MeshCommand, NodesOfAnEarlierSectionDoNotReachTheMesh) {
    SectionModel m = compositeRectangle(1000, 800, 35);
    addSteel(m, iSection(400, 600, 25, 20));
    mesh(m);
    EXPECT_GT(m.mesh.NSLINE_NODE, 0);
    m.document.NSTEEL_SEC = 0;  // as when a file without steel is read over this model
    refreshGeometry(m);
    const MeshSummary s = mesh(m);
    EXPECT_EQ(s.NSLINE_NODE, 0);
    EXPECT_EQ(count(s, FIB_STEEL), 0);
    EXPECT_NEAR(area(s, FIB_CORE_CONCRETE) + area(s, FIB_COVER_CONCRETE), 800000, 1e-6);
}

TEST(MeshCommand, NonFinitePointsAreRefused) {
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    m.document.BAR[3].X = NAN;
    EXPECT_THROW(mesh(m), InputError);
    m.document.BAR[3].X = 0;
    m.document.COVER_PT[2].Y = INFINITY;
    EXPECT_THROW(mesh(m), InputError);
}

TEST(MeshCommand, ProgressRunsToTheEndAndACancelLeavesTheModelAsItWas) {
    // Records the positions; says cancelled once it has heard `cancelAfter` of them.
    struct Recorder : Progress {
        std::vector<int> positions;
        std::size_t cancelAfter = SIZE_MAX;
        void setPosition(int p) override { positions.push_back(p); }
        bool cancelled() const override { return positions.size() >= cancelAfter; }
    };
    SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
    m.document.MESH_SIZE_TEXT = "20";
    NullMessages none;
    Recorder whole;
    const MeshSummary done = FIBER_SECTION_MESH(m, none, &whole);
    EXPECT_EQ(whole.positions.front(), 0);
    EXPECT_EQ(whole.positions.back(), 100);
    EXPECT_TRUE(std::is_sorted(whole.positions.begin(), whole.positions.end()));
    EXPECT_GE(whole.positions.size(), 50u) << "the triangles report as they go";

    auto fibres = [](const SectionModel& s) {
        std::vector<double> v;
        for (int i = 1; i <= s.mesh.NFIB; ++i)
            v.push_back(s.mesh.FIB[static_cast<std::size_t>(i)].X * 7 +
                        s.mesh.FIB[static_cast<std::size_t>(i)].AREA);
        return v;
    };
    const std::vector<double> before = fibres(m);
    const MeshStamp stamp = m.mesh.MESH_STAMP;
    for (std::size_t after : {1u, 4u, 30u, 80u}) {
        m.document.MESH_SIZE_TEXT = "10";
        Recorder cancel;
        cancel.cancelAfter = after;
        EXPECT_THROW(FIBER_SECTION_MESH(m, none, &cancel), RunCancelled) << after;
        EXPECT_EQ(fibres(m), before) << after;
        EXPECT_EQ(m.mesh.MESH_STAMP, stamp) << after;
        EXPECT_EQ(m.mesh.MESH_SIZE, 20) << after;
        EXPECT_EQ(m.mesh.NGRID_NODE, done.NGRID_NODE) << after;
        EXPECT_EQ(m.mesh.NMESH_NODE, done.NMESH_NODE) << after;
        EXPECT_EQ(m.mesh.NSHELL, done.NSHELL) << after;
        EXPECT_EQ(static_cast<int>(m.mesh.MESH_NODE.size()), done.NMESH_NODE + 1) << after;
        EXPECT_EQ(sectionPropertiesText(m.mesh).sectionArea, "800000") << after;
    }
}
