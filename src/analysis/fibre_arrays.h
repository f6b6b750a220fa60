#pragma once
// The fibres as the solvers read them: flat arrays (structure of arrays) copied once from the
// model's fibre table, ordered so that fibres of one law and one set of material values stand
// together. The hot loop then reads only position and area per fibre, 24 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/code_laws.h"
#include "analysis/triangle_integral.h"
#include "model/section_model.h"

namespace qav {

// The law a group of fibres follows.
enum class FibreLaw {
    Parabola,   // the program's parabola with a plateau (FC, EPS_0)
    Steel,      // elastic-perfectly plastic (FY1, modulus 200000)
    ParabolaN,  // the parabola-rectangle with an exponent n other than 2 (FC, EPS_0, n)
    Block,      // the ACI 318 stress block over each triangle, integrated exactly
    BlockBar,   // the block on a bar's own area (the concrete a bar displaces)
    // The parabola (FC, EPS_0, n) and the steel law (FY1) integrated exactly over each
    // triangle (exactIntegration).
    ParabolaExact,
    SteelExact,
};

struct FibreGroup {
    bool concrete = true;  // a concrete law (any but Steel)
    FibreLaw law = FibreLaw::Parabola;
    double fc = 0, eps0 = 0, fy = 0;
    double n = 2;                 // ParabolaN
    double epsCu = 0, beta1 = 0;  // Block, BlockBar
    // Concrete taken out where bars stand: the core grade's law on the bars' areas, negated.
    bool displaced = false;
    std::size_t begin = 0, end = 0;  // range in the arrays
};

// Which laws the fibres follow: at the ultimate state (the limit rule of the model's settings:
// under the code's limit, ACI 318 concrete as its stress block) or along a moment-curvature run
// (a prescribed strain: ACI 318 concrete as its parabola with a plateau at 0.85 f'c).
enum class FibreLaws { Ultimate, MomentCurvature };

struct FibreArrays {
    std::vector<double> x, y, area;
    std::vector<int32_t> fibre;  // fibre number in the model
    std::vector<FibreGroup> groups;
    // Fibres of any other kind keep their stored stress: their forces are constant.
    double fixedForce[3] = {0, 0, 0};
    int otherCount = 0;
    // Control points.
    std::vector<double> cpX, cpY;
    // The triangles (corners and moments) of the groups that integrate their law over them (the
    // stress block, the exact laws), at the fibres' indices; empty without such groups.
    TriangleArrays triangles;
    // The code's limit rule applies (its settings, and a concrete outline): the control points
    // with their grades' ultimate strains (and, under EN 1992-1-1, the pivot strain).
    bool codeRule = false;
    // Triangles are integrated exactly (exactIntegration).
    bool exact = false;
    std::vector<LimitPoint> limitPoints;

    explicit FibreArrays(const SectionModel& m, FibreLaws laws = FibreLaws::Ultimate);
    int fibreCount() const { return static_cast<int>(x.size()) + otherCount; }

private:
    // Keeps triangle fibre f at index i of n.
    void keepCorners(std::size_t i, std::size_t n, const TFIB& f);
};

// The points whose strain the limit rule reads: the section's corners (CFIB); a section that
// has none (bars without an outline or a steel section) is limited at its fibres, the bars.
struct ControlPoint {
    double X = 0, Y = 0;
};
// Under exact integration a triangle's strain is extreme at its corners, so those stand for it.
std::vector<ControlPoint> strainControlPoints(const SectionModel& m);
// The points of one fibre where its strain is extreme: a triangle's corners under exact
// integration (exactIntegration), else its centre.
void addFibrePoints(bool exact, const TFIB& f, std::vector<ControlPoint>& out);

// The control points as the code's limit rule reads them: a point of the outline of a section
// with a cover takes the cover grade's ultimate strain, every other the core grade's; under
// EN 1992-1-1 each also carries its grade's peak strain for the pivot. Empty when the section
// has no concrete outline or its grade is missing.
std::vector<LimitPoint> codeLimitPoints(const SectionModel& m);

// The ultimate limit in force for the model, the one place that decides it: a section without a
// concrete outline keeps the control strain; one under EN 1992-1-1 or ACI 318-19 is held to its
// code's limits whatever the setting; under HK-COP-2013 and BS-8110 the setting chooses.
StrainLimit strainLimitInForce(const SectionModel& m);

// Whether the code's ultimate limit governs the model's ultimate states (strainLimitInForce).
bool codeLimitApplies(const SectionModel& m);

// Whether concrete and steel triangles are integrated exactly over their area rather than at
// their centres: as the setting says, and for Auto under a code's limit and under the codes with
// their own tables (a steel section without concrete included).
bool exactIntegration(const SectionModel& m);

// Internal forces (sum of stress x area, x X, x Y) of the fibres at the deformation abc, the
// strain at (X, Y) being abc[0] + abc[1] X + abc[2] Y.
void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]);

// The same forces and, in the same pass, two section stiffnesses at abc: the sums of
// E x area x (1, X, Y)(1, X, Y)^T as (S, SX, SY, SXX, SXY, SYY), with E the slope of each
// fibre's law at its strain (kt: tangent, 0 on a plateau, in yield and for concrete in tension)
// and with E its stress over its strain (ks: secant, positive in yield too; skipped when null).
void sumFibreForcesAndStiffness(const FibreArrays& f, const double abc[3], double ss[3],
                                double kt[6], double ks[6]);

// What decides the laws of a model's fibres: the stress block (the code's limit applies and the
// laws are the ultimate ones), the core grade whose concrete the bars displace (null under the
// program's own codes at the control strain) and BS 8110's own parabola (its code limit).
struct FibreLawContext {
    bool block = false;
    const TMAT* core = nullptr;
    bool bsParabola = false;
    bool exact = false;  // exactIntegration
};
// Whether a BS 8110 section is analysed under its code's limit: its concrete then follows
// BS 8110's own parabola and ultimate strain (bsPeakStrain, BS_EPS_CU) instead of its grade's.
bool bsCodeLaw(const SectionModel& m);
FibreLawContext fibreLawContext(const SectionModel& m, FibreLaws laws = FibreLaws::Ultimate);
// The force (N, N X, N Y) of one concrete, steel or bar fibre of the model at the deformation
// abc, by the laws the arrays give it (a bar's less the concrete it displaces): one fibre at a
// time, for callers that evaluate a few planes.
BlockForces modelFibreForce(const FibreLawContext& c, const TFIB& f, const double abc[3]);

// Writes strain and stress of every fibre at the deformation abc into the model's fibres: a
// triangle under the stress block its mean stress, a bar that displaces concrete its steel
// stress less the concrete's.
void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m);

}  // namespace qav
