#pragma once
// Mesh triangles cut where a section polygon's side runs through them. The triangulation is not
// bound to the polygons' sides, so a triangle may reach across a thin steel wall or past a
// corner; kept or dropped whole by its centroid it then carries area the polygon does not have.
// Cut along every side that passes through it, a triangle falls into convex pieces that each lie
// wholly inside or wholly outside every polygon; each piece is handed back as triangles, so a
// piece is a fibre like any other (corners, centroid, area) and its material follows from its
// centroid by the usual rules.
#include <vector>

namespace qav {

struct ClipPoint {
    double x = 0;
    double y = 0;
};

struct ClipTriangle {
    ClipPoint a, b, c;
};

// A closed polygon's corners; the last joins the first.
using ClipPolygon = std::vector<ClipPoint>;

double triangleArea(const ClipTriangle& t);  // > 0 anticlockwise, < 0 clockwise

// The sides of all polygons, filed by horizontal bands so that a triangle looks only at the
// sides that reach its height.
class SectionSides {
public:
    explicit SectionSides(const std::vector<ClipPolygon>& polygons);

    // Appends to `out` the pieces of t, as triangles turning the way t turns, and returns true,
    // when some side passes through t's inside. The pieces make up t (their areas sum to its
    // area) and no side passes through the inside of any. Returns false, touching nothing, when
    // no side passes through t: a side along an edge or through a corner of t does not.
    bool split(const ClipTriangle& t, std::vector<ClipTriangle>& out) const;

private:
    struct Side {
        ClipPoint p, q;
        double xmin, xmax, ymin, ymax;
    };
    int bandOf(double y) const;

    std::vector<Side> sides_;
    double y0_ = 0, bandHeight_ = 1;
    int bands_ = 0;
    std::vector<int> first_;  // per band (and one past the last): where its sides start
    std::vector<int> filed_;  // side numbers, band by band
};

}  // namespace qav
