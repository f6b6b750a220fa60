// What the mesh command refuses (polygons without area, crossing themselves, a cover line
// leaving the outline), what it accepts (touching), and what it says of misplaced bars.
#include "mesh/polygon_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "mesh/geometer.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

namespace {
using Corners = std::vector<TPOS>;

SectionModel section(const Corners& outline, const Corners& cover = {}) {
    SectionModel m;
    if (!outline.empty())
        m.document.CONC_PT = closedPoints(outline),
        m.document.NCONC_PT = static_cast<int32_t>(outline.size());
    if (!cover.empty())
        m.document.COVER_PT = closedPoints(cover),
        m.document.NCOVER_PT = static_cast<int32_t>(cover.size());
    refreshGeometry(m);
    return m;
}

Corners square(double half, double dx = 0) {
    return {{-half + dx, -half}, {half + dx, -half}, {half + dx, half}, {-half + dx, half}};
}

Corners circle(double r, int n) {
    Corners c;
    for (int k = 0; k < n; ++k)
        c.push_back({r * std::cos(2 * M_PI * k / n), r * std::sin(2 * M_PI * k / n)});
    return c;
}

double shoelace(const Corners& c) {
    double a = 0;
    for (std::size_t k = 0; k < c.size(); ++k) {
        const TPOS &p = c[k], &q = c[(k + 1) % c.size()];
        a += p.X * q.Y - q.X * p.Y;
    }
    return std::fabs(a) / 2;
}

MeshSummary mesh(SectionModel& m, Messages& messages, const std::string& size = "100") {
    m.document.MESH_SIZE_TEXT = size;
    return FIBER_SECTION_MESH(m, messages);
}

double concrete(const MeshSummary& s) {
    return s.fibres[FIB_CORE_CONCRETE].area + s.fibres[FIB_COVER_CONCRETE].area;
}
}  // namespace

TEST(PolygonChecks, RefusedPolygonsAreNamedWithTheirSidesOrCorner) {
    const Corners uShape{{0, 0},     {600, 0},   {600, 600}, {400, 600},
                         {400, 200}, {200, 200}, {200, 600}, {0, 600}};
    struct Case {
        const char* name;
        SectionModel m;
        std::string message;
    };
    SectionModel steelBow = section(square(400)), hole = section(square(400));
    addSteel(steelBow, polygon({{0, 0}, {100, 100}, {100, 0}, {0, 100}}));
    addOpening(hole, polygon({{0, 0}, {0, 0}, {50, 0}}));
    const std::vector<Case> cases{
        {"collinear outline", section({{0, 0}, {100, 0}, {200, 0}}, {{10, 0}, {20, 0}, {30, 0}}),
         "The concrete outline has no area."},
        {"two corners", section({{0, 0}, {500, 0}}), "The concrete outline has no area."},
        {"bow-tie", section({{0, 0}, {600, 600}, {600, 0}, {0, 600}}),
         "The concrete outline crosses itself between sides 0 and 2."},
        {"bow-tie through a corner", section({{0, 0}, {300, 300}, {600, 600}, {600, 0}, {0, 600}}),
         "The concrete outline crosses itself between sides 0 and 3."},
        {"cover bigger than the outline", section(square(300), square(400)),
         "The cover line leaves the concrete outline at corner 0 (-400, -400)."},
        {"cover far away", section(square(500), square(1e6)),
         "The cover line leaves the concrete outline at corner 0 (-1000000, -1000000)."},
        {"cover across a notch", section(uShape, {{50, 50}, {550, 50}, {550, 400}, {50, 400}}),
         "The cover line leaves the concrete outline between corners 2 (550, 400) and 3 (50, "
         "400)."},
        {"cover crossing itself", section(square(400), {{0, 0}, {100, 100}, {100, 0}, {0, 100}}),
         "The cover line crosses itself between sides 0 and 2."},
        {"steel bow-tie", steelBow, "Steel polygon 1 crosses itself between sides 0 and 2."},
        {"flat opening", hole, "Opening 1 has no area."},
    };
    for (const Case& c : cases) {
        SectionModel m = c.m;
        NullMessages none;
        try {
            mesh(m, none);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
        EXPECT_EQ(m.mesh.NFIB, 0) << c.name << ": nothing meshed";
        EXPECT_EQ(m.mesh.NGRID_NODE, 0) << c.name;
    }
}

TEST(PolygonChecks, TouchingIsMeshedWithTheOutlineArea) {
    const Corners outline = circle(400, 24);
    Corners onOutline;  // cover corners on the outline's sides, rounded as computed
    for (std::size_t k = 0; k < outline.size(); k += 2) {
        const TPOS &p = outline[k], &q = outline[(k + 1) % outline.size()];
        onOutline.push_back({p.X + (q.X - p.X) / 3, p.Y + (q.Y - p.Y) / 3});
    }
    struct Case {
        const char* name;
        SectionModel m;
        double area;
    };
    SectionModel tube = section(square(500));
    const Corners u{{-300, -300}, {300, -300}, {300, 300}, {-300, 300}};
    addOpening(
        tube,
        polygon(
            {{-500, 0}, {-300, 0}, {-300, -300}, {300, -300}, {300, 300}, {-300, 300}, {-300, 0}}));
    const std::vector<Case> cases{
        {"cover line on the outline", section(square(400), square(400)), 640000},
        {"cover sides along the outline",
         section(square(400), {{-400, -400}, {0, -400}, {0, 0}, {-400, 0}}), 640000},
        {"cover corners on slanted sides", section(outline, onOutline), shoelace(outline)},
        {"repeated corners",
         section({{0, 0}, {0, 0}, {400, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 400}}), 160000},
        {"opening with a cut to the outline", tube, 1000000 - 360000},
        {"1,000-corner circle", section(circle(400, 1000), circle(365, 1000)),
         shoelace(circle(400, 1000))},
    };
    for (const Case& c : cases) {
        SectionModel m = c.m;
        NullMessages none;
        EXPECT_NEAR(concrete(mesh(m, none)), c.area, 1e-6 * c.area) << c.name;
    }
}

TEST(PolygonChecks, OrientationIsExactWhereRoundingIsNot) {
    using Geometer::Orientation;
    // 0.1 + 0.2 style rounding: the three points lie on y = x exactly only for the exact sign.
    const double a = 0.1, b = 0.3;
    EXPECT_EQ(Orientation({a, a}, {b, b}, {0, 0}), 0);
    EXPECT_EQ(Orientation({1e8 + 1, 1e8}, {1e8, 1e8 + 1}, {1e8, 1e8}), 1);
    EXPECT_EQ(Orientation({1e8, 1e8 + 1}, {1e8 + 1, 1e8}, {1e8, 1e8}), -1);
    // Collinear far from the origin, where the rounded cross product is not zero.
    EXPECT_EQ(Orientation({1 + 0x1p-52, 1 + 0x1p-52}, {3, 3}, {0.5, 0.5}), 0);
    EXPECT_EQ(Orientation({1 + 0x1p-52, 1}, {3, 3}, {0.5, 0.5}), 1);
}

TEST(PolygonChecks, MisplacedBarsGiveOneMessage) {
    struct Case {
        const char* name;
        std::vector<TPOS> bars;  // X = x, Y = y; diameter 25 unless noted below
        double bigDiameter;      // for the last bar, 0: none
        std::string message;
    };
    const std::vector<Case> cases{
        {"all inside", {{0, 0}, {350, 350}}, 0, ""},
        {"one outside", {{0, 0}, {450, 0}}, 0, "Bar 2 lies outside the concrete outline."},
        {"three outside",
         {{0, 0},
          {450, 0},
          {0, 0},
          {0, 0},
          {0, 0},
          {0, 0},
          {-450, 0},
          {0, 0},
          {0, 0},
          {0, 0},
          {0, 0},
          {0, 900}},
         0,
         "Bars 2, 7 and 12 lie outside the concrete outline."},
        {"in the opening",
         {{150, 150}, {120, 180}, {350, 350}},
         0,
         "Bars 1 and 2 lie inside an opening."},
        {"big and outside",
         {{450, 0}, {350, 350}},
         900,
         "Bar 1 lies outside the concrete outline.\nBar 2 (diameter 900) is bigger than the "
         "section."},
    };
    for (const Case& c : cases) {
        SectionModel m = section(square(400), square(365));
        addOpening(m, rectangle(100, 100, 150, 150));
        for (const TPOS& b : c.bars) ADD_SINGLE_REBAR(m, b.X, b.Y, 25);
        if (c.bigDiameter > 0)
            m.document.BAR[static_cast<std::size_t>(m.document.NBAR)].DB = c.bigDiameter;
        MessageLog log;
        mesh(m, log);
        if (c.message.empty()) {
            EXPECT_TRUE(log.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(log.entries().size(), 1u) << c.name;
        EXPECT_EQ(log.entries()[0].text, c.message) << c.name;
        EXPECT_EQ(summarizeMesh(m).fibres[FIB_REBAR].count, m.document.NBAR)
            << c.name << ": the bars stay";
    }
    // Bars alone: nothing to lie outside of.
    SectionModel bars;
    ADD_SINGLE_REBAR(bars, 0, 0, 900);
    ADD_SINGLE_REBAR(bars, 5000, 0, 25);
    MessageLog log;
    mesh(bars, log);
    EXPECT_TRUE(log.empty());
}
