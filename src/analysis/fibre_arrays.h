#pragma once
// The fibres as the solvers read them: flat arrays (structure of arrays) copied once from the
// model's fibre table, ordered so that fibres of one law and one set of material values stand
// together. The hot loop then reads only position and area per fibre, 24 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct FibreGroup {
    bool concrete = true;  // concrete law (FC, EPS_0) or steel law (FY1, modulus 200000)
    double fc = 0, eps0 = 0, fy = 0;
    std::size_t begin = 0, end = 0;  // range in the arrays
};

struct FibreArrays {
    std::vector<double> x, y, area;
    std::vector<int32_t> fibre;  // fibre number in the model
    std::vector<FibreGroup> groups;
    // Fibres of any other kind keep their stored stress: their forces are constant.
    double fixedForce[3] = {0, 0, 0};
    int otherCount = 0;
    // Control points.
    std::vector<double> cpX, cpY;

    explicit FibreArrays(const SectionModel& m);
    int fibreCount() const { return static_cast<int>(x.size()) + otherCount; }
};

// The points whose strain the limit rule reads: the section's corners (CFIB); a section that
// has none (bars without an outline or a steel section) is limited at its fibres, the bars.
struct ControlPoint {
    double X = 0, Y = 0;
};
std::vector<ControlPoint> strainControlPoints(const SectionModel& m);

// Internal forces (sum of stress x area, x X, x Y) of the fibres at the deformation abc, the
// strain at (X, Y) being abc[0] + abc[1] X + abc[2] Y.
void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]);

// The same forces and, in the same pass, two section stiffnesses at abc: the sums of
// E x area x (1, X, Y)(1, X, Y)^T as (S, SX, SY, SXX, SXY, SYY), with E the slope of each
// fibre's law at its strain (kt: tangent, 0 on a plateau, in yield and for concrete in tension)
// and with E its stress over its strain (ks: secant, positive in yield too; skipped when null).
void sumFibreForcesAndStiffness(const FibreArrays& f, const double abc[3], double ss[3],
                                double kt[6], double ks[6]);

// Writes strain and stress of every fibre at the deformation abc into the model's fibres.
void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m);

}  // namespace qav
