#include "analysis/pmm_surface.h"

#include <memory>

#include "analysis/interaction_curves.h"
#include "analysis/parallel_runs.h"

namespace qav {

// Points per curve stored by the last run (2 n + 2), from the arrays themselves.
int pmmStoredSteps(const SectionModel& m) {
    if (m.results.PMM_P.size() < PMM_CURVES) return -1;
    for (int r = 0; r < PMM_CURVES; ++r) {
        const auto ur = static_cast<std::size_t>(r);
        if (m.results.PMM_P[ur].size() < 3 ||
            m.results.PMM_MX[ur].size() != m.results.PMM_P[ur].size() ||
            m.results.PMM_MY[ur].size() != m.results.PMM_P[ur].size() ||
            m.results.PMM_P[ur].size() != m.results.PMM_P[0].size())
            return -1;
    }
    return static_cast<int>((m.results.PMM_P[0].size() - 3) / 2);
}

namespace {

// The surface's tables of 7 curves (the seventh closes it) of 2 n + 3 points, all zero and
// converged, with the nominal ones and phi under a strength reduction.
PmmResult emptySurface(int n, bool design) {
    PmmResult out;
    const std::size_t points = 2 * static_cast<std::size_t>(n) + 3;
    out.P.assign(7, std::vector<double>(points, 0.0));
    out.MX = out.MY = out.P;
    if (design) out.nomP = out.nomMX = out.nomMY = out.phi = out.P;
    out.converged.assign(7, std::vector<uint8_t>(points, 1));
    return out;
}

// The P-M curve's points 1 .. 2 n + 2 as the surface's curve r.
void copyCurve(const PmCurve& c, std::size_t r, int n, PmmResult& out) {
    for (std::size_t j = 1; j <= 2 * static_cast<std::size_t>(n) + 2; ++j) {
        out.P[r][j] = c.P[j];
        out.MX[r][j] = c.MX[j];
        out.MY[r][j] = c.MY[j];
        out.converged[r][j] = c.converged[j];
        if (out.nomP.empty()) continue;
        out.nomP[r][j] = c.nomP[j];
        out.nomMX[r][j] = c.nomMX[j];
        out.nomMY[r][j] = c.nomMY[j];
        out.phi[r][j] = c.phi[j];
    }
}

}  // namespace

PmmResult pmmSurfaceAnalysis(const SectionModel& m, Messages& msgs, Progress* progress) {
    requirePmCurveInput(m);
    const int n = m.settings.NPM;
    const int mode = sectionStrainLimitMode(m);
    const SharedSection section = compileSection(m);
    const AxialCapacity cap = section->axialCapacity();
    const double PMAX = cap.PMAX, PMIN = cap.PMIN;
    requireRegularStiffness(SectionSolver(section, msgs, m.settings.SOLVER), "PMM surface");
    const DesignStrength design = designStrength(m);

    // The six curves are independent: each has its own solver, messages and results.
    struct Curve {
        std::unique_ptr<SectionSolver> solver;
        RecordedMessages messages;
        PmCurve curve;
    };
    std::vector<Curve> curves(PMM_CURVES);
    runPieces(
        PMM_CURVES, m.settings.THREADS,
        [&](int r, Progress& p) {
            Curve& c = curves[static_cast<std::size_t>(r)];
            c.solver = std::make_unique<SectionSolver>(section, c.messages, m.settings.SOLVER);
            c.curve = computePmCurve(*c.solver, mode, n, PMAX, PMIN, 30.0 * r, &p);
            designPmCurve(design, c.curve);
        },
        progress);

    PmmResult out = emptySurface(n, design.applies);
    RunStats total;
    for (int r = 0; r < PMM_CURVES; ++r) {
        Curve& c = curves[static_cast<std::size_t>(r)];
        c.messages.replayTo(msgs);
        total.add(c.curve.stats);
        copyCurve(c.curve, static_cast<std::size_t>(r), n, out);
    }
    out.stats = total;
    out.mode = mode;
    Curve& last = curves.back();
    out.last.curve = std::move(last.curve);
    out.last.PMAX = PMAX;
    out.last.PMIN = PMIN;
    out.last.state = last.solver->lastState();
    out.last.stamp = m.mesh.MESH_STAMP;
    return out;
}

void keepPmmResult(SectionModel& m, PmmResult&& r) {
    m.results.STRAIN_LIMIT_MODE = r.mode;
    m.results.PMM_P = std::move(r.P);
    m.results.PMM_MX = std::move(r.MX);
    m.results.PMM_MY = std::move(r.MY);
    m.results.PMM_CONVERGED = std::move(r.converged);
    m.results.PMM_NOM_P = std::move(r.nomP);
    m.results.PMM_NOM_MX = std::move(r.nomMX);
    m.results.PMM_NOM_MY = std::move(r.nomMY);
    m.results.PMM_PHI = std::move(r.phi);
    // As after six runs one after the other: the P-M results and the fibres hold the last curve.
    const SolverState state = r.last.state;
    keepPmResult(m.results, std::move(r.last));
    keepSolverState(m, state);
}

RunStats RUN_PMM_ANALYSIS(SectionModel& m, Messages& msgs, Progress* progress) {
    PmmResult r = pmmSurfaceAnalysis(m, msgs, progress);
    const RunStats stats = r.stats;
    keepPmmResult(m, std::move(r));
    reportUnconverged(stats, msgs);
    return stats;
}

namespace {
// Each ring of the surface holds one point of every curve's two branches: the first branch of
// curve r is the meridian at 30 r degrees, the second the one opposite.
constexpr int MERIDIANS = 2 * PMM_CURVES;
enum LineKind { RING = 1, RING_CLOSE = 2, MERIDIAN = 3, FRAME = 4 };

// Ring k (1 .. n + 1) takes point k of each curve's first branch and point 2 n + 3 - k of its
// second, so ring 1 joins the two ends of every curve nearest the compression end.
void addSurfaceNodes(PmmWireModel& w, const SectionResults& r, int n) {
    w.NPMM_NODE = MERIDIANS * (n + 1);
    w.PMM_NODE.resize(static_cast<std::size_t>(w.NPMM_NODE) + 1);
    for (int k = 1; k <= n + 1; ++k) {
        for (int c = 0; c < PMM_CURVES; ++c) {
            const auto uc = static_cast<std::size_t>(c);
            const auto a = static_cast<std::size_t>(k);
            const auto b = static_cast<std::size_t>(2 * n + 3 - k);
            const int ring = MERIDIANS * (k - 1);
            w.PMM_NODE[static_cast<std::size_t>(ring + c + 1)] = {r.PMM_MX[uc][a], r.PMM_MY[uc][a],
                                                                  r.PMM_P[uc][a]};
            w.PMM_NODE[static_cast<std::size_t>(ring + c + 1 + PMM_CURVES)] = {
                r.PMM_MX[uc][b], r.PMM_MY[uc][b], r.PMM_P[uc][b]};
            if (uc < r.PMM_CONVERGED.size()) {
                if (!pointConverged(r.PMM_CONVERGED[uc], a))
                    w.UNCONVERGED_NODE.push_back(ring + c + 1);
                if (!pointConverged(r.PMM_CONVERGED[uc], b))
                    w.UNCONVERGED_NODE.push_back(ring + c + 1 + PMM_CURVES);
            }
        }
    }
}

// The rings (closed), then the meridians from each ring to the next.
void addSurfaceLines(PmmWireModel& w, int n) {
    w.PMM_LINE.resize(1);
    for (int a = 0; a <= n; ++a) {
        const int ring = MERIDIANS * a;
        for (int j = 1; j < MERIDIANS; ++j) w.PMM_LINE.push_back({ring + j, ring + j + 1, RING});
        w.PMM_LINE.push_back({ring + MERIDIANS, ring + 1, RING_CLOSE});
    }
    for (int a = 0; a < n; ++a)
        for (int j = 1; j <= MERIDIANS; ++j) {
            const int node = MERIDIANS * a + j;
            w.PMM_LINE.push_back({node, node + MERIDIANS, MERIDIAN});
        }
    w.NPMM_LINE = static_cast<int>(w.PMM_LINE.size()) - 1;
}

void boundSurface(PmmWireModel& w) {
    const TNODE3D& first = w.PMM_NODE[1];
    w.XMIN = w.XMAX = first.X;
    w.YMIN = w.YMAX = first.Y;
    w.ZMIN = w.ZMAX = first.Z;
    for (int i = 2; i <= w.NPMM_NODE; ++i) {
        const TNODE3D& p = w.PMM_NODE[static_cast<std::size_t>(i)];
        if (p.X < w.XMIN) w.XMIN = p.X;
        if (p.X > w.XMAX) w.XMAX = p.X;
        if (p.Y < w.YMIN) w.YMIN = p.Y;
        if (p.Y > w.YMAX) w.YMAX = p.Y;
        if (p.Z < w.ZMIN) w.ZMIN = p.Z;
        if (p.Z > w.ZMAX) w.ZMAX = p.Z;
    }
}

// Stretch factors that bring every axis to the largest range, so the surface is drawn as a
// roughly round body whatever its units.
void stretchAxes(PmmWireModel& w) {
    const double rx = w.XMAX - w.XMIN, ry = w.YMAX - w.YMIN, rz = w.ZMAX - w.ZMIN;
    double R = rx;
    if (ry > R) R = ry;
    if (rz > R) R = rz;
    w.AXIS_STRETCH = {R / rx, R / ry, R / rz};
}

// The reference frame: the MX and MY axes in the plane P = 0, the same two at the bottom and top
// of the box, the box's edges in the plane P = 0, the P axis and the box's upright edges in the
// two moment planes: 15 lines of two nodes each.
void addReferenceFrame(PmmWireModel& w) {
    constexpr int FRAME_LINES = 15;
    const double x0 = w.XMIN, x1 = w.XMAX, y0 = w.YMIN, y1 = w.YMAX, z0 = w.ZMIN, z1 = w.ZMAX;
    const TNODE3D frame[FRAME_LINES][2] = {
        {{x0, 0, 0}, {x1, 0, 0}},   {{0, y0, 0}, {0, y1, 0}},   {{x0, 0, z0}, {x1, 0, z0}},
        {{0, y1, z0}, {0, y0, z0}}, {{x0, 0, z1}, {x1, 0, z1}}, {{0, y1, z1}, {0, y0, z1}},
        {{x1, y0, 0}, {x1, y1, 0}}, {{x0, y0, 0}, {x0, y1, 0}}, {{x1, y0, 0}, {x0, y0, 0}},
        {{x1, y1, 0}, {x0, y1, 0}}, {{0, 0, z0}, {0, 0, z1}},   {{x1, 0, z1}, {x1, 0, z0}},
        {{x0, 0, z1}, {x0, 0, z0}}, {{0, y1, z1}, {0, y1, z0}}, {{0, y0, z1}, {0, y0, z0}},
    };
    w.AXIS_NODE.resize(2 * FRAME_LINES + 1);
    w.AXIS_LINE.resize(FRAME_LINES + 1);
    for (int k = 1; k <= FRAME_LINES; ++k) {
        w.AXIS_NODE[static_cast<std::size_t>(2 * k - 1)] = frame[k - 1][0];
        w.AXIS_NODE[static_cast<std::size_t>(2 * k)] = frame[k - 1][1];
        w.AXIS_LINE[static_cast<std::size_t>(k)] = {2 * k - 1, 2 * k, FRAME};
    }
}

// The load combinations as points (MX, MY, P with compression up).
void addLoads(PmmWireModel& w, const SectionDocument& d) {
    const int nf =
        d.NFORCE > 0 && static_cast<std::size_t>(d.NFORCE) < d.FORCE.size() ? d.NFORCE : 0;
    w.LOAD_NODE.resize(static_cast<std::size_t>(nf) + 1);
    for (int i = 1; i <= nf; ++i) {
        const TFORCE& f = d.FORCE[static_cast<std::size_t>(i)];
        w.LOAD_NODE[static_cast<std::size_t>(i)] = {f.MX, f.MY, -f.P};
    }
}
}  // namespace

PmmWireModel BUILD_PMM_WIRE_MODEL(const SectionModel& m) {
    PmmWireModel w;
    const int n = pmmStoredSteps(m);
    if (n >= 0) {
        addSurfaceNodes(w, m.results, n);
        addSurfaceLines(w, n);
        boundSurface(w);
    }
    stretchAxes(w);
    addReferenceFrame(w);
    addLoads(w, m.document);
    return w;
}

}  // namespace qav
