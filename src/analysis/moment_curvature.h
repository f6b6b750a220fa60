#pragma once
// The moment-curvature (M-Phi) curve under a constant axial force: the extreme compressive
// strain is stepped from 0 to a maximum and the solver's strain variant finds the moment the
// section carries at each step. The analysis reads the model and returns the curve; kept in the
// model it goes to MPHI_M (kNm, >= 0) and MPHI_PHI (1/m).
#include <string>
#include <vector>

#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Extents in X and Y of the control points (FIB_ZONE_WIDTH, FIB_ZONE_HEIGHT).
void GET_FIB_ZONE(SectionModel& m);

// The least ultimate strain of the grades of the section's concrete outline (0 without one),
// under either limit: an M-Phi run beyond it is said to pass that state.
double codeUltimateStrain(const SectionModel& m);

// The Max Comp strain an M-Phi run takes unless one is given: under the code's limits the
// section's least ultimate strain, else the program's 0.0035.
constexpr double MPHI_MAX_STRAIN = 0.0035;
double mphiDefaultMaxStrain(const SectionModel& m);

struct MphiInput {
    bool aboutY = false;    // "Myy aoubt Y Axis" instead of "Mxx about X Axis"
    bool negative = false;  // "Negative" moment
    double axialForce = 0;  // kN, compression positive
    double maxStrain = 0;   // largest extreme strain of the run
    int steps = 0;          // NSTEP
};

struct MphiRun {
    RunStats stats;
    double angle = 0;  // moment angle shown by the chart: 0 about X, -90 about Y
};

// Throws InputError when steps is not within 1 .. MAX_CURVE_STEPS, there are no fibres or the
// axial force lies outside the ends of the section's P-M curve; ResultError when a moment or
// curvature comes out not finite. A progress, when given, sees 0..100 as the strain steps are done.
// The closing count of unconverged solves is the caller's.
struct MphiResult {
    std::vector<double> M, PHI;
    std::vector<uint8_t> converged;
    double width = 0, height = 0;  // FIB_ZONE_WIDTH, FIB_ZONE_HEIGHT
    MphiRun run;
    SolverState state;
    MeshStamp stamp;
};
MphiResult mphiAnalysis(const SectionModel& m, const MphiInput& in, Messages& msgs,
                        Progress* progress = nullptr);
// Keeps the curve in the model, the fibres in the state of its last solve.
void keepMphiResult(SectionModel& m, MphiResult&& r);

// The run of the program's command: the analysis, kept in the model, then the count of
// unconverged solves.
MphiRun RUN_MPHI_ANALYSIS(SectionModel& m, const MphiInput& in, Messages& msgs,
                          Progress* progress = nullptr);

}  // namespace qav
