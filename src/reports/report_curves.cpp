#include "reports/report_curves.h"

#include <atomic>

#include "analysis/interaction_curves.h"
#include "analysis/parallel_runs.h"

namespace qav {

namespace {

// A curve's messages, kept in order to be handed on once the run is over.
class Recorder : public Messages {
public:
    explicit Recorder(std::vector<std::string>& texts) : texts_(texts) {}
    void message(const std::string& text) override { texts_.push_back(text); }

private:
    std::vector<std::string>& texts_;
};

bool isPm(const ReportCurve& c) {
    return c.kind == ReportCurve::Kind::Pm;
}

}  // namespace

ReportCurve pmCurve(double angle) {
    return {ReportCurve::Kind::Pm, angle, nullptr};
}
ReportCurve mmCurve(double axial) {
    return {ReportCurve::Kind::Mm, axial, nullptr};
}

ReportCurves::ReportCurves(const SectionModel& m, const std::vector<ReportCurve>& curves,
                           Progress* progress) {
    runs_.resize(curves.size());
    const int mode = sectionStrainLimitMode(m);
    bool pmBefore = false;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        Run& r = runs_[k];
        r.curve = curves[k];
        r.results = m.results;
        r.results.STRAIN_LIMIT_MODE = mode;
        // A Myy-Mxx chart after a P-M run finds PMAX and PMIN as that run left them.
        if (!isPm(r.curve) && pmBefore) {
            const AxialCapacity cap = axialCapacity(m);
            r.results.PMAX = cap.PMAX;
            r.results.PMIN = cap.PMIN;
        }
        pmBefore = pmBefore || isPm(r.curve);
    }
    // A curve after one that has already failed is of no use: it is not run. Every curve reads
    // the one model; each keeps its results apart.
    std::atomic<int> firstFailure{count()};
    runPieces(
        count(), m.settings.THREADS,
        [this, &m, mode, &firstFailure](int k, Progress& p) {
            Run& r = runs_[static_cast<std::size_t>(k)];
            if (firstFailure.load() < k) return;
            Recorder messages(r.messages);
            try {
                if (r.curve.inputError) std::rethrow_exception(r.curve.inputError);
                // The count of unconverged solves is given once for the whole run.
                if (isPm(r.curve)) {
                    PmResult pm = pmCurveAnalysis(m, r.curve.value, messages, &p, mode);
                    r.stats = pm.curve.stats;
                    r.state = pm.state;
                    keepPmResult(r.results, std::move(pm));
                } else {
                    MmResult mm = mmCurveAnalysis(m, r.curve.value, messages, &p, mode);
                    r.stats = mm.stats;
                    r.state = mm.state;
                    keepMmResult(r.results, std::move(mm));
                }
            } catch (const RunCancelled&) {
                throw;
            } catch (...) {
                r.error = std::current_exception();
                int f = firstFailure.load();
                while (k < f && !firstFailure.compare_exchange_weak(f, k)) continue;
                return;
            }
        },
        progress);
}

int ReportCurves::failure() const {
    for (int k = 0; k < count(); ++k)
        if (run(k).error) return k;
    return -1;
}

const SectionResults& ReportCurves::result(int k) const {
    const Run& r = run(k);
    if (r.error) std::rethrow_exception(r.error);
    return r.results;
}

RunStats ReportCurves::stats() const {
    RunStats total;
    for (int k = 0; k < count() && !run(k).error; ++k) total.add(run(k).stats);
    return total;
}

void ReportCurves::replayMessages(Messages& msgs) const {
    const int last = failure() < 0 ? count() - 1 : failure();
    for (int k = 0; k <= last; ++k)
        for (const std::string& t : run(k).messages) msgs.message(t);
    reportUnconverged(stats(), msgs);
}

void ReportCurves::commit(SectionModel& m) const {
    if (const int f = failure(); f >= 0) std::rethrow_exception(run(f).error);
    if (runs_.empty()) return;
    int lastPm = -1, lastMm = -1;
    for (int k = 0; k < count(); ++k) (isPm(run(k).curve) ? lastPm : lastMm) = k;
    const SectionResults& last = runs_.back().results;
    m.results.STRAIN_LIMIT_MODE = last.STRAIN_LIMIT_MODE;
    m.results.RESULTS_STAMP = last.RESULTS_STAMP;
    if (lastPm >= 0) {
        const SectionResults& r = run(lastPm).results;
        m.results.PMAX = r.PMAX;
        m.results.PMIN = r.PMIN;
        m.results.PM_P = r.PM_P;
        m.results.PM_MX = r.PM_MX;
        m.results.PM_MY = r.PM_MY;
        m.results.PM_M = r.PM_M;
        m.results.PM_CONVERGED = r.PM_CONVERGED;
        m.results.PM_NOM_P = r.PM_NOM_P;
        m.results.PM_NOM_MX = r.PM_NOM_MX;
        m.results.PM_NOM_MY = r.PM_NOM_MY;
        m.results.PM_NOM_M = r.PM_NOM_M;
        m.results.PM_PHI = r.PM_PHI;
    }
    if (lastMm >= 0) {
        const SectionResults& r = run(lastMm).results;
        m.results.MM_MX = r.MM_MX;
        m.results.MM_MY = r.MM_MY;
        m.results.MM_CONVERGED = r.MM_CONVERGED;
        m.results.MM_NOM_MX = r.MM_NOM_MX;
        m.results.MM_NOM_MY = r.MM_NOM_MY;
        m.results.MM_PHI = r.MM_PHI;
    }
    // The fibres and control points keep the state of the last solve.
    keepSolverState(m, runs_.back().state);
}

ReportCurves runReportCurves(SectionModel& m, const std::vector<ReportCurve>& curves,
                             Messages& msgs, Progress* progress) {
    ReportCurves runs(m, curves, progress);
    runs.replayMessages(msgs);
    runs.commit(m);
    return runs;
}

}  // namespace qav
