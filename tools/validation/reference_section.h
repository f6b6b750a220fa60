#pragma once
// An independent reference for the validation table: the section's zones as polygons (core and
// cover concrete, structural steel) and its bars as points, integrated exactly under a plane of
// strain with the same two material laws, and a search of its own for the strain plane whose
// forces point along a load. Nothing here uses the program's fibres or its solver.
#include <array>
#include <vector>

#include "model/section_model.h"

namespace qav::validation {

struct Pt {
    double x = 0, y = 0;
};
using Polygon = std::vector<Pt>;

// One zone of one law: polygons added (+1) or taken away (-1).
struct Zone {
    bool concrete = true;
    double fc = 0, eps0 = 0;  // concrete law
    double fy = 0;            // steel law (modulus 200000)
    std::vector<std::pair<Polygon, int>> parts;
};

struct PointBar {
    double x = 0, y = 0, area = 0, fy = 0;
};

struct Forces {
    double N = 0, MX = 0, MY = 0;  // N, N mm
};

// The part of a polygon where s(x, y) = a1 + a2 x + a3 y is >= t (keep = +1) or <= t (keep = -1).
// A polygon that is not convex may come back with edges running to and fro along the cut; they
// add nothing to an area integral.
Polygon clip(const Polygon& poly, double a1, double a2, double a3, double t, int keep);

// How a strain plane is scaled onto the surface, and which planes may be: the branch of the
// program's normalisation that a state lies on.
struct Normalisation {
    enum class Kind {
        Largest,  // the largest control-point strain is `strain` (> 0)
        Tensile,  // no control point compressed, the smallest is `strain` (< 0)
        Smaller,  // both signs present, the smaller extreme magnitude is 0.005
    };
    Kind kind = Kind::Largest;
    double strain = 0.005;
};

// Corners 0..n-1 of a point list about (cx, cy), counter-clockwise.
Polygon polygonOf(const std::vector<TPOS>& pts, int n, double cx, double cy);
// Whether a point lies inside a polygon (even-odd rule).
bool insidePolygon(const Polygon& poly, Pt p);

class ReferenceSection {
public:
    // The zones of a meshed model, about the same reference point as its fibres (the section
    // centre), with the control points of its mesh. Throws std::runtime_error for a layout it
    // does not integrate (steel or openings outside the core line).
    explicit ReferenceSection(const SectionModel& m);

    // Exact forces of the plane eps = a1 + a2 x + a3 y.
    Forces forces(double a1, double a2, double a3) const;

    // The capacity factor along the load (P kN compression positive, MX, MY kNm): mu such that
    // mu x load is the force of a state normalised as asked. The search starts from the plane
    // `start` (a1, a2, a3) and keeps to planes of the same branch. angleError receives the
    // remaining angle (radians) between forces and load.
    double capacity(double P, double MX, double MY, const Normalisation& n,
                    const std::array<double, 3>& start, double& angleError) const;

    double size() const { return size_; }

private:
    // False when the plane lies off the branch.
    bool normalise(std::array<double, 3>& a, const Normalisation& n) const;
    std::vector<Zone> zones_;
    std::vector<PointBar> bars_;
    std::vector<Pt> control_;
    double size_ = 1;         // a length of the section, to scale moments against forces
    double kinv_[3][3] = {};  // inverse of the exact elastic stiffness, for a first direction
};

}  // namespace qav::validation
