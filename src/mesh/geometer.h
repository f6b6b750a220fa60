#pragma once
// Exact planar predicates for the mesher's inside tests: cross product, point on segment,
// segment intersection with and without touching, and a ray-casting point-in-polygon test.
// No tolerances anywhere: equal means equal.

namespace qav::Geometer {

struct TGPointF {
    double x = 0;
    double y = 0;
};

struct TGSegment {
    TGPointF P1;
    TGPointF P2;
};

// Far end of the inside test's ray.
constexpr double RAY_FAR_X = 1e200;

// (a - o) x (b - o), rounded to a double.
double CrossProduct(const TGPointF& a, const TGPointF& b, const TGPointF& o);
bool PointOnSegment(const TGSegment& s, const TGPointF& p);
// The closed segments share at least one point.
bool SegmentsIntersect(const TGSegment& a, const TGSegment& b);
// They intersect and no endpoint of either lies on the other.
bool SegmentsCross(const TGSegment& a, const TGSegment& b);

enum PointPlace { PIP_INSIDE = 0, PIP_BOUNDARY = 1, PIP_OUTSIDE = 2 };
// One edge's part in the inside test of p along `ray` (from p to the far x): -1 when p lies
// on the edge, else how many crossings it adds (0, 1 or 2). Only an edge whose y range holds
// p.y can add anything, so a caller may skip the others without changing the answer.
int RayEdgeCount(const TGSegment& ray, const TGSegment& edge, const TGPointF& p);
// Polygon of n corners closed from corner n-1 back to corner 0. 0 inside, 1 on the boundary,
// 2 outside; n <= 0 gives 2.
int PointInPolygon(const TGPointF* poly, int n, const TGPointF& p);

// The exact sign of CrossProduct(a, b, o) as if computed without rounding: 1 when o, a, b turn
// anticlockwise, -1 clockwise, 0 when they lie on one line. For finite coordinates whose
// products neither overflow nor underflow (any section in mm).
int Orientation(const TGPointF& a, const TGPointF& b, const TGPointF& o);

}  // namespace qav::Geometer
