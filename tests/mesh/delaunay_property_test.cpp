// The property that makes a triangulation Delaunay, checked where a user meets it: no point lies
// strictly inside the circumcircle of a triangle, on random point sets of every kind the mesher
// is fed (scattered, on a grid with many points on one circle, in clusters) and on the mesh of
// every example section.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "mesh/delaunay.h"
#include "mesh/mesh_command.h"
#include "model/section_file.h"

using namespace qav;

namespace {

struct Pt {
    double x, y;
};

// The first corner-free point strictly inside the circle through a, b, c (within a relative
// tolerance, so that points on the circle, as a grid has many, count as outside); -1 when none.
// A triangle whose corners lie on one line has no circle and is skipped.
int pointInside(const Pt& a, const Pt& b, const Pt& c, const std::vector<Pt>& points) {
    const long double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const long double d = 2 * (bx * cy - by * cx);
    if (std::fabs(static_cast<double>(d)) < 1e-12) return -1;
    const long double ux = (cy * (bx * bx + by * by) - by * (cx * cx + cy * cy)) / d;
    const long double uy = (bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by)) / d;
    const long double r2 = ux * ux + uy * uy;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const long double dx = points[k].x - a.x - ux, dy = points[k].y - a.y - uy;
        if (dx * dx + dy * dy < r2 * (1 - 1e-9L)) return static_cast<int>(k);
    }
    return -1;
}

// Triangulates the points and checks every triangle; also that no point is left out.
void expectDelaunay(const std::vector<Pt>& input, const std::string& what) {
    MessageLog log;
    TDelaunay d(log);
    std::vector<dVertex> vertices;
    for (const Pt& p : input) vertices.push_back({p.x, p.y});
    d.setPoints(vertices);
    d.Mesh();
    if (d.HowMany == 0) {
        // Only points on one line make no triangle.
        for (const Pt& p : input)
            ASSERT_NEAR((input[1].x - input[0].x) * (p.y - input[0].y),
                        (input[1].y - input[0].y) * (p.x - input[0].x), 1e-6)
                << what << ": no triangle from points not on one line";
        return;
    }
    std::vector<Pt> points;
    for (int i = 1; i <= static_cast<int>(input.size()); ++i)
        points.push_back(
            {d.Vertex[static_cast<std::size_t>(i)].x, d.Vertex[static_cast<std::size_t>(i)].y});
    std::vector<bool> corner(points.size() + 1, false);
    for (int j = 1; j <= d.HowMany; ++j) {
        const dTriangle& t = d.Triangle[static_cast<std::size_t>(j)];
        for (int v : {t.vv0, t.vv1, t.vv2}) corner[static_cast<std::size_t>(v)] = true;
        const auto P = [&](int v) { return points[static_cast<std::size_t>(v - 1)]; };
        const int k = pointInside(P(t.vv0), P(t.vv1), P(t.vv2), points);
        ASSERT_EQ(k, -1) << what << ": triangle " << j << " holds point " << k + 1 << " ("
                         << points[k].x << ", " << points[k].y << ")";
    }
    for (std::size_t i = 1; i <= points.size(); ++i)
        EXPECT_TRUE(corner[i]) << what << ": point " << i << " left out";
}

}  // namespace

TEST(DelaunayProperty, RandomPointSets) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 12; ++round) {
        const int n = 8 + round * round * 10;
        std::uniform_real_distribution<double> coord(-500, 500);
        std::uniform_int_distribution<int> grid(-12, 12);
        std::normal_distribution<double> spread(0, 3);
        std::vector<Pt> scattered, onGrid, clustered;
        for (int i = 0; i < n; ++i) scattered.push_back({coord(random), coord(random)});
        // Distinct grid points: many on one line and on one circle.
        std::vector<bool> taken(25 * 25, false);
        for (int i = 0; i < n; ++i) {
            const int x = grid(random), y = grid(random);
            if (taken[static_cast<std::size_t>((x + 12) * 25 + y + 12)]) continue;
            taken[static_cast<std::size_t>((x + 12) * 25 + y + 12)] = true;
            onGrid.push_back({x * 25.0, y * 25.0});
        }
        for (int i = 0; i < n; ++i) {
            const double cx = (i % 3) * 200.0, cy = (i % 2) * 150.0;
            clustered.push_back({cx + spread(random), cy + spread(random)});
        }
        expectDelaunay(scattered, "scattered n=" + std::to_string(n));
        if (onGrid.size() >= 3) expectDelaunay(onGrid, "grid n=" + std::to_string(onGrid.size()));
        expectDelaunay(clustered, "clustered n=" + std::to_string(n));
    }
}

TEST(DelaunayProperty, MeshOfEveryExample) {
    int examples = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QAVSEC_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".sec") continue;
        ++examples;
        const std::string name = entry.path().filename().string();
        SectionModel m;
        openSectionFile(m, entry.path().string());
        MessageLog log;
        FIBER_SECTION_MESH(m, log);
        std::vector<Pt> nodes;
        for (int i = 1; i <= m.mesh.NMESH_NODE; ++i)
            nodes.push_back({m.mesh.MESH_NODE[static_cast<std::size_t>(i)].PX,
                             m.mesh.MESH_NODE[static_cast<std::size_t>(i)].PY});
        int used = 0;
        for (int j = 1; j <= m.mesh.NSHELL; ++j) {
            const TSHELL& t = m.mesh.SHELL[static_cast<std::size_t>(j)];
            if (!t.USED) continue;
            ++used;
            const int k = pointInside({t.AX, t.AY}, {t.BX, t.BY}, {t.CX, t.CY}, nodes);
            ASSERT_EQ(k, -1) << name << ": triangle " << j << " holds mesh node " << k + 1;
        }
        EXPECT_GT(used, 0) << name;
    }
    EXPECT_GE(examples, 6);
}
