#include "mesh/delaunay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace qav;

namespace {
struct Result {
    int count;
    double area;
    std::vector<dTriangle> triangles;
    std::vector<dVertex> vertices;
};

Result triangulate(const std::vector<dVertex>& points, MessageLog& log) {
    TDelaunay d(log);
    d.setPoints(points);
    d.Mesh();
    Result r{d.HowMany, 0, {}, d.Vertex};
    for (int j = 1; j <= d.HowMany; ++j) {
        const dTriangle& t = d.Triangle[static_cast<std::size_t>(j)];
        r.triangles.push_back(t);
        const dVertex &a = d.Vertex[static_cast<std::size_t>(t.vv0)],
                      &b = d.Vertex[static_cast<std::size_t>(t.vv1)],
                      &c = d.Vertex[static_cast<std::size_t>(t.vv2)];
        r.area += std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2;
    }
    return r;
}
}  // namespace

TEST(Delaunay, SmallPointSets) {
    std::vector<dVertex> grid;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) grid.push_back({100.0 * i, 100.0 * j});
    struct Case {
        std::string name;
        std::vector<dVertex> points;
        int triangles;
        double area;
    };
    const std::vector<Case> cases{
        {"three points", {{0, 0}, {1, 0}, {0, 1}}, 1, 0.5},
        {"two points", {{0, 0}, {1, 0}}, 0, 0},
        {"no points", {}, 0, 0},
        {"square corners", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 2, 1},
        {"line of four and one above", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1.5, 1}}, 3, 1.5},
        {"5 x 5 grid", grid, 32, 160000},
    };
    for (const Case& c : cases) {
        MessageLog log;
        const Result r = triangulate(c.points, log);
        EXPECT_EQ(r.count, c.triangles) << c.name;
        EXPECT_NEAR(r.area, c.area, 1e-9) << c.name;
        EXPECT_TRUE(log.empty()) << c.name << ": " << (log.empty() ? "" : log.entries()[0].text);
    }
}

TEST(Delaunay, ResultCornersReferToSortedPoints) {
    MessageLog log;
    const Result three = triangulate({{0, 1}, {1, 0}, {0, 0}}, log);
    ASSERT_EQ(three.count, 1);
    const dTriangle& t = three.triangles[0];
    EXPECT_EQ(std::set<int>({t.vv0, t.vv1, t.vv2}), std::set<int>({1, 2, 3}));
    EXPECT_EQ(three.vertices[3].x, 1) << "sorted by x";

    const Result line = triangulate({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1.5, 1}}, log);
    for (const dTriangle& tri : line.triangles) {
        auto y = [&](int v) { return line.vertices[static_cast<std::size_t>(v)].y; };
        const bool upper = y(tri.vv0) == 1 || y(tri.vv1) == 1 || y(tri.vv2) == 1;
        EXPECT_TRUE(upper) << "every triangle uses the upper point";
    }
}

TEST(Delaunay, AddPointSkipsHeldPoints) {
    NullMessages none;
    TDelaunay d(none);
    d.AddPoint(10, 20);
    d.AddPoint(30, 20);
    d.AddPoint(10, 20);
    EXPECT_EQ(d.tPoints, 3);
    d.AddPoint(20, 40);
    d.Mesh();
    EXPECT_EQ(d.HowMany, 1);
}

TEST(Delaunay, CoincidenceIsReportedAndTheRunGoesOn) {
    // Three points on one level form a flat triangle; the message names its first corner.
    MessageLog log;
    TDelaunay d(log);
    d.setPoints({{0, 0}, {1, 0}, {2, 0}});
    d.Triangle.resize(2);
    double xc = 7, yc = 8, r = 9;
    EXPECT_FALSE(d.InCircumcircle(1, 0, 0, 0, 1, 0, 2, 0, 1, xc, yc, r));
    EXPECT_EQ(xc, 7) << "the circle of the last test stays";
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(log.entries()[0].text, "INCIRCUM - F - Points are coincident !!0.000,0.000");
}

TEST(Delaunay, CircumcircleIsCachedAndEqualSlopesUseTheCentroid) {
    NullMessages none;
    TDelaunay d(none);
    d.Triangle.resize(2);
    double xc = 0, yc = 0, r = 0;
    EXPECT_TRUE(d.InCircumcircle(0, 0, 0, 0, 2, 0, 0, 2, 1, xc, yc, r));
    EXPECT_DOUBLE_EQ(xc, 1);
    EXPECT_DOUBLE_EQ(yc, 1);
    EXPECT_EQ(d.Triangle[1].PreCalc, 1);
    d.Triangle[1].r = 100;  // a cached circle is used as it is
    EXPECT_TRUE(d.InCircumcircle(50, 50, 0, 0, 2, 0, 0, 2, 1, xc, yc, r));

    d.Triangle[1] = dTriangle{};
    EXPECT_TRUE(d.InCircumcircle(1, 1, 0, 0, 1, 1, 2, 2, 1, xc, yc, r)) << "collinear on a slope";
    EXPECT_DOUBLE_EQ(xc, 1);
    EXPECT_DOUBLE_EQ(yc, 1);
}
