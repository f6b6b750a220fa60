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

PmmResult pmmSurfaceAnalysis(const SectionModel& m, Messages& msgs, Progress* progress) {
    requirePmCurveInput(m);
    const int n = m.settings.NPM;
    const int mode = sectionStrainLimitMode(m);
    const AxialCapacity cap = axialCapacity(m);
    const double PMAX = cap.PMAX, PMIN = cap.PMIN;
    requireRegularStiffness(SectionSolver(m, msgs), "PMM surface");

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
            c.solver = std::make_unique<SectionSolver>(m, c.messages);
            c.curve = computePmCurve(*c.solver, mode, n, PMAX, PMIN, 30.0 * r, &p);
        },
        progress);

    RunStats total;
    std::vector<std::vector<double>> P(
        7, std::vector<double>(static_cast<std::size_t>(2 * n + 3), 0.0));
    std::vector<std::vector<double>> MX = P, MY = P;
    std::vector<std::vector<uint8_t>> converged(
        7, std::vector<uint8_t>(static_cast<std::size_t>(2 * n + 3), 1));
    for (int r = 0; r < PMM_CURVES; ++r) {
        Curve& c = curves[static_cast<std::size_t>(r)];
        c.messages.replayTo(msgs);
        total.add(c.curve.stats);
        const auto ur = static_cast<std::size_t>(r);
        for (std::size_t j = 1; j <= static_cast<std::size_t>(2 * n + 2); ++j) {
            P[ur][j] = c.curve.P[j];
            MX[ur][j] = c.curve.MX[j];
            MY[ur][j] = c.curve.MY[j];
            converged[ur][j] = c.curve.converged[j];
        }
    }
    PmmResult out;
    out.P = std::move(P);
    out.MX = std::move(MX);
    out.MY = std::move(MY);
    out.converged = std::move(converged);
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

PmmWireModel BUILD_PMM_WIRE_MODEL(const SectionModel& m) {
    PmmWireModel w;
    const int n = pmmStoredSteps(m);
    if (n >= 0) {
        w.NPMM_NODE = 12 * (n + 1);
        w.PMM_NODE.resize(static_cast<std::size_t>(w.NPMM_NODE) + 1);
        for (int k = 1; k <= n + 1; ++k) {
            for (int r = 0; r < PMM_CURVES; ++r) {
                const auto ur = static_cast<std::size_t>(r);
                const auto a = static_cast<std::size_t>(k);
                const auto b = static_cast<std::size_t>(2 * n + 3 - k);
                w.PMM_NODE[static_cast<std::size_t>(12 * (k - 1) + r + 1)] = {
                    m.results.PMM_MX[ur][a], m.results.PMM_MY[ur][a], m.results.PMM_P[ur][a]};
                w.PMM_NODE[static_cast<std::size_t>(12 * (k - 1) + r + 7)] = {
                    m.results.PMM_MX[ur][b], m.results.PMM_MY[ur][b], m.results.PMM_P[ur][b]};
            }
        }
        w.PMM_LINE.resize(1);
        for (int a = 0; a <= n; ++a) {
            for (int j = 1; j <= 11; ++j) w.PMM_LINE.push_back({12 * a + j, 12 * a + j + 1, 1});
            w.PMM_LINE.push_back({12 * a + 12, 12 * a + 1, 2});
        }
        for (int a = 0; a < n; ++a)
            for (int j = 1; j <= 12; ++j) w.PMM_LINE.push_back({12 * a + j, 12 * a + j + 12, 3});
        w.NPMM_LINE = static_cast<int>(w.PMM_LINE.size()) - 1;

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
    const double rx = w.XMAX - w.XMIN, ry = w.YMAX - w.YMIN, rz = w.ZMAX - w.ZMIN;
    double R = rx;
    if (ry > R) R = ry;
    if (rz > R) R = rz;
    w.AXIS_STRETCH = {R / rx, R / ry, R / rz};

    const double x0 = w.XMIN, x1 = w.XMAX, y0 = w.YMIN, y1 = w.YMAX, z0 = w.ZMIN, z1 = w.ZMAX;
    const TNODE3D frame[15][2] = {
        {{x0, 0, 0}, {x1, 0, 0}},   {{0, y0, 0}, {0, y1, 0}},   {{x0, 0, z0}, {x1, 0, z0}},
        {{0, y1, z0}, {0, y0, z0}}, {{x0, 0, z1}, {x1, 0, z1}}, {{0, y1, z1}, {0, y0, z1}},
        {{x1, y0, 0}, {x1, y1, 0}}, {{x0, y0, 0}, {x0, y1, 0}}, {{x1, y0, 0}, {x0, y0, 0}},
        {{x1, y1, 0}, {x0, y1, 0}}, {{0, 0, z0}, {0, 0, z1}},   {{x1, 0, z1}, {x1, 0, z0}},
        {{x0, 0, z1}, {x0, 0, z0}}, {{0, y1, z1}, {0, y1, z0}}, {{0, y0, z1}, {0, y0, z0}},
    };
    w.AXIS_NODE.resize(31);
    w.AXIS_LINE.resize(16);
    for (int k = 1; k <= 15; ++k) {
        w.AXIS_NODE[static_cast<std::size_t>(2 * k - 1)] = frame[k - 1][0];
        w.AXIS_NODE[static_cast<std::size_t>(2 * k)] = frame[k - 1][1];
        w.AXIS_LINE[static_cast<std::size_t>(k)] = {2 * k - 1, 2 * k, 4};
    }

    const int nf = m.document.NFORCE > 0 &&
                           static_cast<std::size_t>(m.document.NFORCE) < m.document.FORCE.size()
                       ? m.document.NFORCE
                       : 0;
    w.LOAD_NODE.resize(static_cast<std::size_t>(nf) + 1);
    for (int i = 1; i <= nf; ++i) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
        w.LOAD_NODE[static_cast<std::size_t>(i)] = {f.MX, f.MY, -f.P};
    }
    return w;
}

}  // namespace qav
