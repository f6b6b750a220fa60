#pragma once
// The triangulator's circumcircle, from the perpendicular bisectors' slopes. The arithmetic is
// fixed: every caller must get the same circle, to the last bit, for the same corners.
namespace qav {

struct Circle {
    double xc = 0, yc = 0;
    double r = 0;
    double rsqr = 0;  // r squared as computed before the root; r * r may differ in the last bit
};

// Corners closer than this in y are on one level.
constexpr double LEVEL_TOLERANCE = 1e-6;

// False when all three corners are on one level: no circle.
bool circumcircle(double x1, double y1, double x2, double y2, double x3, double y3, Circle& c);

}  // namespace qav
