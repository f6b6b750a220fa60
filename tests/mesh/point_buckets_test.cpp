// The node buckets and the triangulator's circle filing stay fine-grained wherever the points
// lie: one far-out point must not crowd all the others into one cell (which made the merge a
// scan of every node).
#include "mesh/point_buckets.h"

#include <gtest/gtest.h>

#include "mesh/open_circles.h"

using namespace qav;

TEST(PointBuckets, FarOutPointsStillSpreadOverTheCells) {
    for (double offset : {0.0, 4e6, -1e6}) {
        BucketBox box;
        box.add(0, 0);  // one corner at the origin, the rest far out
        std::vector<std::pair<double, double>> pts;
        for (int i = 0; i < 100; ++i)
            for (int j = 0; j < 100; ++j) pts.push_back({offset + i * 10.0, offset + j * 10.0});
        for (const auto& [x, y] : pts) box.add(x, y);
        PointBuckets cells(1e-3, box);
        for (std::size_t k = 0; k < pts.size(); ++k)
            cells.insert(pts[k].first, pts[k].second, static_cast<int>(k));
        int seen = 0;
        bool found = false;
        cells.forEachNear(offset + 500, offset + 500, 1e-4, [&](int k) {
            ++seen;
            found = found || (pts[static_cast<std::size_t>(k)].first == offset + 500 &&
                              pts[static_cast<std::size_t>(k)].second == offset + 500);
            return true;
        });
        EXPECT_TRUE(found) << offset;
        EXPECT_LE(seen, 4) << "offset " << offset << ": the points share cells";
        EXPECT_LE(cells.cell(), 1e-2);
    }
}

TEST(PointBuckets, PointsOutsideTheBoxAreStillFound) {
    BucketBox box;
    box.add(0, 0);
    box.add(10, 10);
    PointBuckets cells(1, box);
    cells.insert(-50, 3, 7);
    cells.insert(1e9, 3, 8);
    std::vector<int> near;
    cells.forEachNear(-50, 3, 0.5, [&](int k) { return near.push_back(k), true; });
    cells.forEachNear(1e9, 3, 0.5, [&](int k) { return near.push_back(k), true; });
    EXPECT_NE(std::find(near.begin(), near.end(), 7), near.end());
    EXPECT_NE(std::find(near.begin(), near.end(), 8), near.end());
}

TEST(OpenCircles, OneFarPointDoesNotCrowdTheRows) {
    // A 100 x 100 grid of points and one far corner: a small circle around each grid point.
    std::vector<double> xs, ys;
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) {
            xs.push_back(i);
            ys.push_back(j);
        }
    xs.push_back(1e6);
    ys.push_back(1e6);
    std::vector<double> sorted = xs;
    std::sort(sorted.begin(), sorted.end());
    OpenCircles open(sorted, ys);
    std::vector<SweepTriangle> pool;
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) {
            SweepTriangle t;
            t.circle.xc = i;
            t.circle.yc = j;
            t.circle.r = 0.4;
            t.circle.rsqr = 0.16;
            pool.push_back(t);
        }
    open.advanceTo(50, pool);
    for (int id = 0; id < static_cast<int>(pool.size()); ++id) open.add(id, pool);
    const auto& candidates = open.near(50);
    EXPECT_LE(candidates.size(), 100u)
        << "the rows of the slab hold far more than the circles near y = 50";
    bool holds = false;
    for (const auto& e : candidates) holds = holds || (e.xc == 50 && e.yc == 50);
    EXPECT_TRUE(holds);
}
