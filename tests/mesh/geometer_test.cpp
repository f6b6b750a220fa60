#include "mesh/geometer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qav::Geometer;

namespace {
int place(std::vector<TGPointF> poly, TGPointF p) {
    return PointInPolygon(poly.data(), static_cast<int>(poly.size()), p);
}
}  // namespace

TEST(Geometer, PointInPolygonCases) {
    const std::vector<TGPointF> square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const std::vector<TGPointF> squareClockwise{{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const std::vector<TGPointF> diamond{{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    struct Case {
        std::string name;
        std::vector<TGPointF> poly;
        TGPointF p;
        int expected;
    };
    const std::vector<Case> cases{
        {"centre of the unit square", square, {0.5, 0.5}, PIP_INSIDE},
        {"centre, corners listed clockwise", squareClockwise, {0.5, 0.5}, PIP_INSIDE},
        {"on the top edge", square, {0.5, 1}, PIP_BOUNDARY},
        {"on a corner", square, {1, 1}, PIP_BOUNDARY},
        {"right of the square", square, {2, 0.5}, PIP_OUTSIDE},
        {"left of the square, ray through it", square, {-1, 0.5}, PIP_OUTSIDE},
        {"left of the square on its bottom line", square, {-1, 0}, PIP_OUTSIDE},
        {"ray through a corner the outline passes", diamond, {0.5, 0}, PIP_INSIDE},
        {"ray through a local top", {{0, 0}, {2, 0}, {1, 1}}, {0, 1}, PIP_OUTSIDE},
        {"ray through a local bottom", {{0, 0}, {2, 1}, {-2, 1}}, {-1, 0}, PIP_OUTSIDE},
        {"no corners", {}, {0, 0}, PIP_OUTSIDE},
        {"huge coordinates stay exact",
         {{-1e150, -1e150}, {1e150, -1e150}, {1e150, 1e150}, {-1e150, 1e150}},
         {0, 0},
         PIP_INSIDE},
        {"tiny offsets stay exact",
         {{0, 0}, {1e-200, 0}, {1e-200, 1e-200}, {0, 1e-200}},
         {5e-201, 5e-201},
         PIP_INSIDE},
    };
    for (const Case& c : cases) EXPECT_EQ(place(c.poly, c.p), c.expected) << c.name;
}

TEST(Geometer, SegmentCases) {
    struct Case {
        std::string name;
        TGSegment a, b;
        bool intersect, cross;
    };
    const std::vector<Case> cases{
        {"proper crossing", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, true, true},
        {"collinear overlap", {{0, 0}, {2, 0}}, {{1, 0}, {3, 0}}, true, false},
        {"touching at an end", {{0, 0}, {1, 1}}, {{1, 1}, {2, 0}}, true, false},
        {"T junction", {{0, 0}, {2, 0}}, {{1, 0}, {1, 1}}, true, false},
        {"apart", {{0, 0}, {1, 0}}, {{0, 1}, {1, 1}}, false, false},
        {"collinear apart", {{0, 0}, {1, 0}}, {{2, 0}, {3, 0}}, false, false},
        {"against the far ray", {{0, 0.5}, {RAY_FAR_X, 0.5}}, {{1, 0}, {1, 1}}, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SegmentsIntersect(c.a, c.b), c.intersect) << c.name;
        EXPECT_EQ(SegmentsCross(c.a, c.b), c.cross) << c.name;
    }
    EXPECT_TRUE(PointOnSegment({{0, 0}, {2, 2}}, {1, 1}));
    EXPECT_FALSE(PointOnSegment({{0, 0}, {2, 2}}, {3, 3})) << "on the line but past the end";
    EXPECT_FALSE(PointOnSegment({{0, 0}, {3, 1}}, {1, 0.3333333333})) << "no tolerance";
}
