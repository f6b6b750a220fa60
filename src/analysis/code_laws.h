#pragma once
// The laws and limits of the design codes, on plain numbers: the parabola-rectangle of
// EN 1992-1-1, the ACI 318 stress block integrated exactly over a triangle, the strength
// reduction factor and the axial cap of ACI 318, the minimum eccentricity of each code, and the
// limit rule that scales a strain plane to the code's ultimate state. Strain and stress are
// positive in compression, as in the program's own laws; lengths in mm, forces in N.
#include <array>
#include <cstddef>
#include <vector>

#include "model/code_grades.h"

namespace qav {

// ---- Concrete laws ------------------------------------------------------------------------

// Stress and tangent of a law at one strain.
struct LawPoint {
    double stress = 0;
    double tangent = 0;
};

// EN 1992-1-1 3.1.7 (3.17): sigma = fcd [1 - (1 - eps/epsC2)^n] up to epsC2, fcd above, 0 in
// tension. With n = 2 it is the program's parabola with a plateau, to the last bit.
LawPoint parabolaRectangle(double fcd, double epsC2, double n, double eps);

// BS 8110-1 Figure 2.1: the parabola of peak 0.67 fcu / gamma_m at
// eps0 = 2.4e-4 sqrt(fcu / gamma_m) (fcu and gamma_m in N/mm2), to 0.0035 at every grade. The
// peak strain from the peak stress fc = 0.67 fcu / gamma_m of a grade; 0 for no positive stress.
constexpr double BS_EPS_CU = 0.0035;
double bsPeakStrain(double fc);

// ---- ACI 318 stress block -----------------------------------------------------------------

struct Point2 {
    double x = 0, y = 0;
};

// Force and moments of a stress over an area: N, N x X, N x Y.
struct BlockForces {
    double N = 0, MX = 0, MY = 0;
};

// The strain at which the block's edge lies: depth beta1 c below the most compressed fibre is
// strain (1 - beta1) epsCu when that fibre is at epsCu, the state the limit rule brings every
// plane to. On such a plane the block is a law of the strain alone: 0.85 f'c above this strain,
// nothing below.
inline double blockEdgeStrain(double epsCu, double beta1) {
    return (1.0 - beta1) * epsCu;
}

// ACI 318-19 22.2.2.4.1: 0.85 fc over the part of the triangle whose strain
// plane[0] + plane[1] x + plane[2] y is at least the block's edge strain, integrated exactly
// (the triangle clipped at the edge). When `derivative` is given it receives
// d(N, MX, MY) / d(plane) row by row: the stress times the edge's line integral of
// (1, x, y)(1, x, y)^T over the strain gradient's length (0 for a plane of no gradient).
BlockForces blockForceOnTriangle(const std::array<Point2, 3>& corners,
                                 const std::array<double, 3>& plane, double epsCu, double beta1,
                                 double fc,
                                 std::array<std::array<double, 3>, 3>* derivative = nullptr);

// ---- ACI 318 strength reduction -----------------------------------------------------------

// ACI 318-19 Table 21.2.2: phi from the net tensile strain of the extreme tension bar (epsT,
// positive in tension) and the bar's yield strain epsTy: 0.65 (tied) or 0.75 (spiral) up to
// epsTy, 0.90 from epsTy + 0.003, linear between.
double aciPhi(double epsT, double epsTy, Ties ties);

// ACI 318-19 22.4.2.2: P0 = 0.85 f'c (Ag - Ast) + fy Ast (N, with mm2 and N/mm2).
double aciP0(double fc, double grossArea, double steelArea, double fy);
// ACI 318-19 Table 22.4.2.1: Pn,max = 0.80 P0 (tied) or 0.85 P0 (spiral).
double aciPnMax(double P0, Ties ties);

// ---- The code's ultimate limit ------------------------------------------------------------

// A control point of the concrete outline with the ultimate strain of its own grade, and the
// parabola's peak strain when the code also limits a wholly compressed section (EN 1992-1-1;
// 0 for a code that does not).
struct LimitPoint {
    double x = 0, y = 0;
    double epsCu = 0;
    double epsC2 = 0;
};

// What bounds the plane at its limit.
enum class LimitKind {
    None,      // no point bounds it (no control points, or a plane of zero strain)
    Control,   // a control point at the program's limit strain (compressed)
    Crushing,  // a point at its ultimate strain
    Pivot,     // a wholly compressed section, its pivot point at epsC2
    Tension,   // the most stretched point at the limit in tension (under the codes: none
               // compressed)
};

// The factor that brings a strain plane to its limit (the code's ultimate state, or the
// program's limit strain), and the constraint that then holds: row . plane = target (row =
// (1, x, y) of a point, or the pivot's weights).
struct Limit {
    LimitKind kind = LimitKind::None;
    double factor = 1;
    std::array<double, 3> row{0, 0, 0};
    double target = 0;
    std::size_t point = 0;  // the point at its limit; for the pivot, the most compressed one
    bool ok() const { return kind != LimitKind::None; }
};

// The limit rule of the codes: the smallest factor that puts a point at its ultimate strain
// (EN 1992-1-1 6.1(5), ACI 318-19 22.2.2.1) and, where the most compressed point carries an
// epsC2, the pivot of EN 1992-1-1 Figure 6.1: epsC2 at the depth (1 - epsC2 / epsCu2) h from
// the most compressed face, h the section's depth along the strain gradient, whichever governs
// (only a wholly compressed section can reach it first). With no point compressed the codes set
// no concrete limit and the most stretched point takes -tensionStrain, as the program's own
// rule does. A point whose epsCu is not positive (an edited grade) sets no limit; with none set,
// the result is None and the caller keeps its own rule.
Limit codeLimitScale(const std::vector<LimitPoint>& points, const std::array<double, 3>& plane,
                     double tensionStrain);

}  // namespace qav
