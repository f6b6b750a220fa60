#pragma once
// The P-MX-MY interaction surface from six P-M curves 30 degrees apart (twelve meridians) and
// the wire model the 3-D view draws: surface nodes, ring and meridian lines, the
// reference frame, the bounding box, the stretch factors and the load points.
#include <array>
#include <string>
#include <vector>

#include "analysis/interaction_curves.h"
#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// The six P-M curves of the surface (rows 0..5 as PMM_P, PMM_MX, PMM_MY hold them) under the
// section's own STRAIN_LIMIT_MODE, and the last curve as a P-M result. Throws InputError as the
// P-M run does. A progress, when given, sees 0..100 over the six curves.
struct PmmResult {
    std::vector<std::vector<double>> P, MX, MY;
    std::vector<std::vector<uint8_t>> converged;
    // Under a strength reduction the rows above are the design surface and these the nominal
    // one and phi, point for point; empty otherwise.
    std::vector<std::vector<double>> nomP, nomMX, nomMY, phi;
    int mode = 1;
    PmResult last;
    RunStats stats;
};
PmmResult pmmSurfaceAnalysis(const SectionModel& m, Messages& msgs, Progress* progress = nullptr);
// Keeps the surface in the model with its STRAIN_LIMIT_MODE; the P-M results and the fibres
// hold the 150 degree curve, as after six runs one after the other.
void keepPmmResult(SectionModel& m, PmmResult&& r);

// "Run": the surface, kept in the model, then the count of unconverged solves.
RunStats RUN_PMM_ANALYSIS(SectionModel& m, Messages& msgs, Progress* progress = nullptr);

// The six curves of a run, 30 degrees apart.
constexpr int PMM_CURVES = 6;

// Points per curve stored by the last run are 2 n + 2: n, from the arrays themselves (whatever
// NPM says now); -1 when the arrays do not hold six curves of one length.
int pmmStoredSteps(const SectionModel& m);

struct TNODE3D {
    double X = 0;  // MX, kNm
    double Y = 0;  // MY, kNm
    double Z = 0;  // P, kN, compression up
};

struct TFRAME {
    int I = 0;
    int J = 0;
    int CL = 0;  // 1 ring segment, 2 closing ring segment, 3 meridian segment, 4 frame line
};

// Tables are 1-based (slot 0 unused).
struct PmmWireModel {
    std::vector<TNODE3D> PMM_NODE;
    int NPMM_NODE = 0;
    std::vector<TFRAME> PMM_LINE;
    int NPMM_LINE = 0;
    std::vector<TNODE3D> AXIS_NODE;  // 1..30
    std::vector<TFRAME> AXIS_LINE;   // 1..15
    std::vector<TNODE3D> LOAD_NODE;  // 1..NFORCE
    // Surface nodes (numbers into PMM_NODE) whose point a solve did not converge for: the view
    // marks them apart from the others.
    std::vector<int> UNCONVERGED_NODE;
    double XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0, ZMIN = 0, ZMAX = 0;
    // R / range per axis, R the largest range; not a number when a range is 0.
    std::array<double, 3> AXIS_STRETCH{0, 0, 0};
};

// Builds the wire model from the stored curves (their own point count, whatever NPM says now)
// and the current load combinations.
PmmWireModel BUILD_PMM_WIRE_MODEL(const SectionModel& m);

}  // namespace qav
