#pragma once
// A section polygon prepared for many inside tests: the corners as predicate points, their
// bounding box, and the edges filed by horizontal bands. A point beyond the box on the right,
// above or below can touch no edge and cross none, so the answer there is "outside" without
// walking the edges. Inside the box only the edges whose y range holds the point's y can touch
// or cross its ray, and those are found in the point's band; each goes through the full
// predicate, so the answers are exactly those of PointInPolygon, but a polygon of many corners
// no longer costs every test all its edges.
#include <vector>

#include "mesh/geometer.h"
#include "model/section_model.h"

namespace qav {

// Corners a polygon really has: its count, bounded by its point list.
int polygonCorners(const std::vector<TPOS>& pt, int n);

class InsideTest {
public:
    InsideTest(const std::vector<TPOS>& pt, int n);
    // 0 inside, 1 on the boundary, 2 outside.
    int place(double x, double y) const;
    bool inside(double x, double y) const { return place(x, y) == Geometer::PIP_INSIDE; }
    // Whether (x, y) lies within distance d of an edge.
    bool nearBoundary(double x, double y, double d) const;
    // The corners' x range (both 0 for a polygon without corners).
    double xmin() const { return xmin_; }
    double xmax() const { return xmax_; }

private:
    int bandOf(double y) const;
    void fileEdges(int bands);

    std::vector<Geometer::TGPointF> corners_;
    double xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
    std::vector<double> bandStart_;  // lowest y of each band, ascending
    std::vector<int> first_;         // per band (and one past the last): where its edges start
    std::vector<int> edges_;         // edge numbers, band by band
};

}  // namespace qav
