// The fast mesher against the plain one on many small sections: the same nodes in the same
// order, the same triangles in the same slots, the same fibres and the same messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "mesh/delaunay.h"
#include "mesh/mesh_command.h"
#include "model/section_properties.h"
#include "reference_mesh.h"
#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

namespace {
double radians(double degrees) {
    return degrees * M_PI / 180;
}

SectionModel outlineWithCover(const std::vector<TPOS>& outline, const std::vector<TPOS>& cover) {
    SectionModel m;
    m.document.CONC_PT = closedPoints(outline);
    m.document.NCONC_PT = static_cast<int32_t>(outline.size());
    m.document.COVER_PT = closedPoints(cover);
    m.document.NCOVER_PT = static_cast<int32_t>(cover.size());
    for (const TPOS& p : cover) ADD_SINGLE_REBAR(m, p.X, p.Y, 20);
    refreshGeometry(m);
    return m;
}

std::vector<TPOS> ellipse(double W, double D, int n, double step) {
    std::vector<TPOS> pts;
    for (int k = 0; k < n; ++k)
        pts.push_back({W / 2 * std::cos(radians(step * k)), D / 2 * std::sin(radians(step * k))});
    return pts;
}

std::vector<TPOS> circle(double r, double cx, double cy, int n) {
    std::vector<TPOS> pts;
    for (int k = 0; k < n; ++k)
        pts.push_back(
            {cx + r * std::cos(radians(360.0 / n * k)), cy + r * std::sin(radians(360.0 / n * k))});
    return pts;
}

// A tube as one polygon with a cut along y = 0 on the left: outer ring anticlockwise from 180
// degrees, inner ring back clockwise.
TPOLYSHAPE tube(double D, double T) {
    std::vector<TPOS> pts;
    for (int k = 0; k <= 24; ++k)
        pts.push_back(
            {D / 2 * std::cos(radians(180 + 15.0 * k)), D / 2 * std::sin(radians(180 + 15.0 * k))});
    for (int k = 0; k <= 24; ++k)
        pts.push_back({(D / 2 - T) * std::cos(radians(180 - 15.0 * k)),
                       (D / 2 - T) * std::sin(radians(180 - 15.0 * k))});
    return polygon(pts);
}

std::vector<TPOS> corners(const TPOLYSHAPE& p) {
    return std::vector<TPOS>(p.PT.begin(), p.PT.begin() + p.NPOINT);
}

struct Section {
    std::string name;
    std::function<SectionModel()> build;
};

std::vector<Section> sections() {
    const double d1 = 35;
    return {
        {"rectangular column", [] { return rectangularColumn(800, 1000, 35, 2, 2, 25); }},
        {"wide column, many bars", [] { return rectangularColumn(1200, 500, 50, 5, 1, 32); }},
        {"circular column", [] { return circularColumn(800, 35, 12, 25); }},
        {"small circular column", [] { return circularColumn(300, 40, 6, 16); }},
        {"I shape",
         [=] {
             const double W = 1000, D = 1000, T = 200;
             return outlineWithCover(
                 corners(iSection(W, D, T, T)),
                 corners(iSection(W - 2 * d1, D - 2 * d1, T - 2 * d1, T - 2 * d1)));
         }},
        {"T shape",
         [=] {
             const double t = 200, D = 1000, T = 200, W = 1000;
             return outlineWithCover({{-t / 2, -D / 2},
                                      {t / 2, -D / 2},
                                      {t / 2, D / 2 - T},
                                      {W / 2, D / 2 - T},
                                      {W / 2, D / 2},
                                      {-W / 2, D / 2},
                                      {-W / 2, D / 2 - T},
                                      {-t / 2, D / 2 - T}},
                                     {{-t / 2 + d1, -D / 2 + d1},
                                      {t / 2 - d1, -D / 2 + d1},
                                      {t / 2 - d1, D / 2 - T + d1},
                                      {W / 2 - d1, D / 2 - T + d1},
                                      {W / 2 - d1, D / 2 - d1},
                                      {-W / 2 + d1, D / 2 - d1},
                                      {-W / 2 + d1, D / 2 - T + d1},
                                      {-t / 2 + d1, D / 2 - T + d1}});
         }},
        {"angle shape",
         [=] {
             const double W = 1000, D = 1000, T = 200, t = 200;
             return outlineWithCover({{-W / 2, -D / 2},
                                      {W / 2, -D / 2},
                                      {W / 2, -D / 2 + T},
                                      {-W / 2 + t, -D / 2 + T},
                                      {-W / 2 + t, D / 2},
                                      {-W / 2, D / 2}},
                                     {{-W / 2 + d1, -D / 2 + d1},
                                      {W / 2 - d1, -D / 2 + d1},
                                      {W / 2 - d1, -D / 2 + T - d1},
                                      {-W / 2 + t - d1, -D / 2 + T - d1},
                                      {-W / 2 + t - d1, D / 2 - d1},
                                      {-W / 2 + d1, D / 2 - d1}});
         }},
        {"taper",
         [=] {
             const double D = 1000, Wt = 600, Wb = 400;
             return outlineWithCover({{-Wb / 2, -D / 2},
                                      {0, -D / 2},
                                      {Wb / 2, -D / 2},
                                      {(Wt + Wb) / 4, 0},
                                      {Wt / 2, D / 2},
                                      {0, D / 2},
                                      {-Wt / 2, D / 2},
                                      {-(Wt + Wb) / 4, 0}},
                                     {{-Wb / 2 + d1, -D / 2 + d1},
                                      {0, -D / 2 + d1},
                                      {Wb / 2 - d1, -D / 2 + d1},
                                      {(Wt + Wb) / 4 - d1, 0},
                                      {Wt / 2 - d1, D / 2 - d1},
                                      {0, D / 2 - d1},
                                      {-Wt / 2 + d1, D / 2 - d1},
                                      {-(Wt + Wb) / 4 + d1, 0}});
         }},
        {"ellipse",
         [=] {
             return outlineWithCover(ellipse(600, 1000, 24, 15),
                                     ellipse(600 - 2 * d1, 1000 - 2 * d1, 12, 30));
         }},
        {"composite beam",
         [] {
             SectionModel m = compositeRectangle(1000, 800, 35);
             addSteel(m, iSection(400, 600, 25, 20));
             return m;
         }},
        {"cross of two I-sections",
         [] {
             SectionModel m = compositeRectangle(1000, 800, 35);
             addSteel(m, crossSection(400, 600, 25, 20));
             return m;
         }},
        {"concrete-filled tube",
         [] {
             SectionModel m;
             m.document.CONC_PT = closedPoints(circle(450, 0, 0, 24));
             m.document.NCONC_PT = 24;
             addSteel(m, tube(950, 25));
             return m;
         }},
        {"steel-only I",
         [] {
             SectionModel m;
             addSteel(m, iSection(300, 700, 30, 15));
             return m;
         }},
        {"steel-only hollow rectangle",
         [] {
             SectionModel m;
             const double W = 500, D = 700, T = 50, t = 50;
             addSteel(m, polygon({{-W / 2, -D / 2},
                                  {W / 2, -D / 2},
                                  {W / 2, D / 2},
                                  {-W / 2, D / 2},
                                  {-W / 2, -D / 2 + T},
                                  {-W / 2 + t, -D / 2 + T},
                                  {-W / 2 + t, D / 2 - T},
                                  {W / 2 - t, D / 2 - T},
                                  {W / 2 - t, -D / 2 + T},
                                  {-W / 2, -D / 2 + T}}));
             return m;
         }},
        {"two steel plates",
         [] {
             SectionModel m;
             addSteel(m, rectangle(400, 30, 0, 300));
             addSteel(m, rectangle(400, 30, 0, -300));
             return m;
         }},
        {"rectangular opening",
         [] {
             SectionModel m = rectangularColumn(800, 1000, 35, 2, 2, 25);
             addOpening(m, rectangle(400, 300, 50, 100));
             return m;
         }},
        {"circular opening over steel",
         [] {
             SectionModel m = compositeRectangle(1000, 800, 35);
             addSteel(m, iSection(400, 600, 25, 20));
             addOpening(m, polygon(circle(100, 100, -50, 24)));
             return m;
         }},
        {"slanted polygon",
         [] {
             return outlineWithCover({{0, 0}, {730, 120}, {910, 640}, {260, 880}, {-150, 410}},
                                     {{40, 50}, {690, 160}, {850, 610}, {270, 820}, {-90, 410}});
         }},
        {"no cover line",
         [] {
             SectionModel m;
             m.document.CONC_PT = closedPoints({{0, 0}, {600, 0}, {600, 450}, {0, 450}});
             m.document.NCONC_PT = 4;
             refreshGeometry(m);
             return m;
         }},
    };
}

std::set<std::string> distinctTexts(const MessageLog& log) {
    std::set<std::string> texts;
    for (const auto& e : log.entries()) texts.insert(e.text);
    return texts;
}

void expectSameNodes(const std::vector<TNODE>& a, int na, const std::vector<TNODE>& b, int nb,
                     const std::string& what) {
    ASSERT_EQ(na, nb) << what;
    for (int i = 1; i <= na; ++i) {
        const TNODE &x = a[static_cast<std::size_t>(i)], &y = b[static_cast<std::size_t>(i)];
        ASSERT_TRUE(x.PX == y.PX && x.PY == y.PY && x.USED == y.USED) << what << " node " << i;
    }
}

void expectSameMesh(const SectionModel& fast, const SectionModel& plain, const std::string& name) {
    SCOPED_TRACE(name);
    expectSameNodes(fast.mesh.GRID_NODE, fast.mesh.NGRID_NODE, plain.mesh.GRID_NODE,
                    plain.mesh.NGRID_NODE, "grid");
    expectSameNodes(fast.mesh.CLINE_NODE, fast.mesh.NCLINE_NODE, plain.mesh.CLINE_NODE,
                    plain.mesh.NCLINE_NODE, "concrete line");
    expectSameNodes(fast.mesh.SLINE_NODE, fast.mesh.NSLINE_NODE, plain.mesh.SLINE_NODE,
                    plain.mesh.NSLINE_NODE, "steel line");
    expectSameNodes(fast.mesh.KEY_NODE, fast.mesh.NKEY_NODE, plain.mesh.KEY_NODE,
                    plain.mesh.NKEY_NODE, "key");
    expectSameNodes(fast.mesh.MESH_NODE, fast.mesh.NMESH_NODE, plain.mesh.MESH_NODE,
                    plain.mesh.NMESH_NODE, "mesh");
    ASSERT_EQ(fast.mesh.NSHELL, plain.mesh.NSHELL);
    for (int j = 1; j <= fast.mesh.NSHELL; ++j) {
        const TSHELL &a = fast.mesh.SHELL[static_cast<std::size_t>(j)],
                     &b = plain.mesh.SHELL[static_cast<std::size_t>(j)];
        ASSERT_TRUE(a.AX == b.AX && a.AY == b.AY && a.BX == b.BX && a.BY == b.BY && a.CX == b.CX &&
                    a.CY == b.CY)
            << "triangle " << j;
        ASSERT_TRUE(a.USED == b.USED && a.MATTY == b.MATTY && a.MAT == b.MAT && a.AREA == b.AREA)
            << "triangle " << j;
    }
    ASSERT_EQ(fast.mesh.NFIB, plain.mesh.NFIB);
    for (int i = 1; i <= fast.mesh.NFIB; ++i) {
        const TFIB &a = fast.mesh.FIB[static_cast<std::size_t>(i)],
                   &b = plain.mesh.FIB[static_cast<std::size_t>(i)];
        ASSERT_TRUE(a.X == b.X && a.Y == b.Y && a.AREA == b.AREA && a.TY == b.TY &&
                    a.MAT == b.MAT && a.E == b.E)
            << "fibre " << i;
    }
    EXPECT_EQ(fast.mesh.NCFIB, plain.mesh.NCFIB);
    EXPECT_EQ(sectionPropertiesText(fast.mesh).sectionArea,
              sectionPropertiesText(plain.mesh).sectionArea);
}

void compare(SectionModel model, const std::string& size, const std::string& name) {
    model.document.MESH_SIZE_TEXT = size;
    SectionModel plain = model;
    MessageLog fastLog, plainLog;
    FIBER_SECTION_MESH(model, fastLog);
    reference::meshSection(plain, plainLog);
    expectSameMesh(model, plain, name + " at " + size);
    EXPECT_EQ(distinctTexts(fastLog), distinctTexts(plainLog)) << name;
}
}  // namespace

TEST(MeshReference, SameMeshOnEverySection) {
    for (const Section& s : sections())
        for (const char* size : {"100", "61.5", "45", "150", "33", "250"})
            compare(s.build(), size, s.name);
}

TEST(MeshReference, SameMeshOnScatteredPolygons) {
    // Irregular outlines with odd mesh sizes, from a fixed pseudo-random sequence.
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 10000) / 10000.0;
    };
    for (int trial = 0; trial < 30; ++trial) {
        const int corners = 3 + trial % 9;
        std::vector<TPOS> outline, cover;
        for (int k = 0; k < corners; ++k) {
            const double a = radians(360.0 * (k + 0.8 * next()) / corners), r = 200 + 400 * next();
            outline.push_back({std::round(r * std::cos(a)), std::round(r * std::sin(a))});
            cover.push_back({0.85 * outline.back().X, 0.85 * outline.back().Y});
        }
        SectionModel m = outlineWithCover(outline, cover);
        if (trial % 3 == 0)
            addSteel(m, rectangle(60 + 200 * next(), 40 + 200 * next(), 50 * next(), -50 * next()));
        if (trial % 4 == 0) addOpening(m, rectangle(80, 60, -40 * next(), 40 * next()));
        compare(m, std::to_string(20 + static_cast<int>(90 * next())),
                "scattered " + std::to_string(trial));
    }
}

TEST(MeshReference, SameTrianglesOnAwkwardPointSets) {
    // Lattices (many equal x, whole rows on one level, co-circular fours), rows of collinear
    // points, and scattered points; the coincidence messages must match too.
    unsigned seed = 777;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 100000) / 100000.0;
    };
    std::vector<std::vector<std::array<double, 2>>> sets;
    // Points within 1e-6 of one level make flat triangles, which raise the coincidence message.
    for (int k = 0; k < 60; ++k) {
        std::vector<std::array<double, 2>> nearlyLevel;
        for (int i = 0; i < 4 + k % 6; ++i) {
            const double y = next() < 0.6 ? (next() < 0.5 ? 0 : 1e-7 * std::round(next() * 9))
                                          : std::round(next() * 10) - 5;
            nearlyLevel.push_back({std::round(next() * 10), y});
        }
        sets.push_back(nearlyLevel);
    }
    for (int n : {3, 7, 12}) {
        std::vector<std::array<double, 2>> lattice;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n + 2; ++j) lattice.push_back({10.0 * i, 10.0 * j});
        sets.push_back(lattice);
    }
    std::vector<std::array<double, 2>> vertical, horizontal, diagonal;
    for (int i = 0; i < 30; ++i) {
        vertical.push_back({5, 3.0 * ((i * 7) % 30)});
        horizontal.push_back({3.0 * ((i * 11) % 30), -2});
        diagonal.push_back({1.5 * i, 2.5 * i});
    }
    sets.push_back(vertical);
    sets.push_back(horizontal);
    sets.push_back(diagonal);
    std::vector<std::array<double, 2>> rows;
    for (int i = 0; i < 40; ++i) rows.push_back({std::floor(100 * next()), 5.0 * (i % 3)});
    sets.push_back(rows);
    for (int k = 0; k < 20; ++k) {
        std::vector<std::array<double, 2>> scattered;
        const int n = 3 + 15 * k;
        for (int i = 0; i < n; ++i)
            scattered.push_back(
                {std::round(200 * next()) / (k % 2 ? 1 : 8), std::round(200 * next())});
        sets.push_back(scattered);
    }
    int messages = 0;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        // Merge exact duplicates first, as the mesher's node merge does.
        std::vector<std::array<double, 2>> points;
        for (const auto& p : sets[s])
            if (std::find(points.begin(), points.end(), p) == points.end()) points.push_back(p);
        MessageLog fastLog, plainLog;
        TDelaunay d(fastLog);
        std::vector<dVertex> v;
        for (const auto& p : points) v.push_back({p[0], p[1]});
        d.setPoints(v);
        d.Mesh();
        const auto plain = reference::triangulate(points, plainLog);
        ASSERT_EQ(d.HowMany, static_cast<int>(plain.size())) << "set " << s;
        for (int j = 1; j <= d.HowMany; ++j) {
            const dTriangle& t = d.Triangle[static_cast<std::size_t>(j)];
            auto V = [&](int k) { return d.Vertex[static_cast<std::size_t>(k)]; };
            const reference::Corners c{V(t.vv0).x, V(t.vv0).y, V(t.vv1).x,
                                       V(t.vv1).y, V(t.vv2).x, V(t.vv2).y};
            ASSERT_TRUE(c == plain[static_cast<std::size_t>(j - 1)])
                << "set " << s << " triangle " << j;
        }
        // The plain scan may repeat a flat triangle's message (its completion test uses the
        // circle of whatever triangle it tested before); the mesher reports it once.
        EXPECT_EQ(distinctTexts(fastLog), distinctTexts(plainLog)) << "set " << s;
        EXPECT_LE(fastLog.total(), plainLog.total()) << "set " << s;
        messages += static_cast<int>(fastLog.total());
    }
    EXPECT_GT(messages, 0) << "the coincidence path was exercised";
}
