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

// The sides of all polygons, filed in the cells of a grid over them so that a triangle looks
// only at the sides whose boxes reach its cells.
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
        ClipPoint p;
        double ux, uy, length;  // unit direction from p to the other end, and the length
        double xmin, xmax, ymin, ymax;
        int column, row;  // the lowest cell it is filed in
    };
    int columnOf(double x) const { return cellOf(x, x0_, columns_); }
    int rowOf(double y) const { return cellOf(y, y0_, rows_); }
    int cellOf(double v, double v0, int count) const;
    // Calls f(side) for every side whose cells reach the box's, once each.
    template <class F>
    void forEachNear(double xmin, double xmax, double ymin, double ymax, F&& f) const;

    std::vector<Side> sides_;
    double x0_ = 0, y0_ = 0, cell_ = 1;
    int columns_ = 0, rows_ = 0;
    std::vector<int> first_;  // per cell (row by row, and one past the last): its first side
    std::vector<int> filed_;  // side numbers, cell by cell
};

}  // namespace qav
