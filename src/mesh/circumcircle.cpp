#include "mesh/circumcircle.h"

#include <cmath>

namespace qav {

bool circumcircle(double x1, double y1, double x2, double y2, double x3, double y3, Circle& c) {
    if (std::fabs(y1 - y2) < LEVEL_TOLERANCE && std::fabs(y2 - y3) < LEVEL_TOLERANCE) return false;
    double xc, yc;
    if (std::fabs(y2 - y1) < LEVEL_TOLERANCE) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        const double mx2 = (x2 + x3) / 2;
        const double my2 = (y2 + y3) / 2;
        xc = (x2 + x1) / 2;
        yc = m2 * (xc - mx2) + my2;
    } else if (std::fabs(y3 - y2) < LEVEL_TOLERANCE) {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double mx1 = (x1 + x2) / 2;
        const double my1 = (y1 + y2) / 2;
        xc = (x3 + x2) / 2;
        yc = m1 * (xc - mx1) + my1;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double m2 = -(x3 - x2) / (y3 - y2);
        const double mx1 = (x1 + x2) / 2;
        const double mx2 = (x2 + x3) / 2;
        const double my1 = (y1 + y2) / 2;
        const double my2 = (y2 + y3) / 2;
        if (m1 - m2 == 0) {  // collinear on a slope: the centroid stands in
            xc = (x1 + x2 + x3) / 3;
            yc = (y1 + y2 + y3) / 3;
        } else {
            xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
            yc = m1 * (xc - mx1) + my1;
        }
    }
    const double dx = x2 - xc, dy = y2 - yc;
    c.xc = xc;
    c.yc = yc;
    c.rsqr = dx * dx + dy * dy;
    c.r = std::sqrt(c.rsqr);
    return true;
}

}  // namespace qav
