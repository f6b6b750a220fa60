#pragma once
// A section polygon prepared for many inside tests: the corners as predicate points and their
// bounding box. A point beyond the box on the right, above or below can touch no edge and
// cross none, so the answer there is "outside" without walking the edges; everything else
// goes through the full predicate, so the answers are exactly those of PointInPolygon.
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
    // The corners' x range (both 0 for a polygon without corners).
    double xmin() const { return xmin_; }
    double xmax() const { return xmax_; }

private:
    std::vector<Geometer::TGPointF> corners_;
    double xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
};

}  // namespace qav
