#pragma once
// The curves a report or the table browser runs (P-M curves and a Myy-Mxx curve), run side by
// side on the model's THREADS. Every curve reads the one model and keeps its results apart, so
// the numbers do not depend on the thread count; the messages come out in the curves' order;
// the model changes only when the caller commits a run that completed, and then as if the
// curves had run one after the other (a cancelled or failed run leaves the previous results as
// they were).
#include <exception>
#include <vector>

#include "analysis/section_solver.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

struct ReportCurve {
    enum class Kind { Pm, Mm };
    Kind kind = Kind::Pm;
    double value =
        0;  // the moment angle (degrees) of a P-M curve, the axial force (kN) of a Myy-Mxx one
    // The curve's input could not be read: the curve fails with this error where it stands.
    std::exception_ptr inputError;
};

// A P-M curve at an angle, a Myy-Mxx curve at an axial force.
ReportCurve pmCurve(double angle);
ReportCurve mmCurve(double axial);
// A curve whose value is read now; an error of the reading becomes the curve's error, so a
// report fails with it only after the curves before it, as one run after another would.
template <class Read>
ReportCurve readCurve(ReportCurve::Kind kind, Read read) {
    ReportCurve c;
    c.kind = kind;
    try {
        c.value = read();
    } catch (...) {
        c.inputError = std::current_exception();
    }
    return c;
}

class ReportCurves {
public:
    // Runs every curve (STRAIN_LIMIT_MODE set from the section in each copy). The progress,
    // when given, sees 0..100 over the curves; its cancellation throws RunCancelled, the model
    // untouched and no message given. A curve's error is kept for failure() and result().
    ReportCurves(const SectionModel& m, const std::vector<ReportCurve>& curves, Progress* progress);

    int count() const { return static_cast<int>(runs_.size()); }
    // The first curve that failed (-1: none). Curves after it are of no use to the report.
    int failure() const;
    // The results as they stand after curve k alone (its P-M or Myy-Mxx arrays beside the
    // model's other results), for the chart or the table drawn from it. Throws the curve's
    // error when it failed.
    const SectionResults& result(int k) const;
    // Messages of the curves up to the first failure (all of them when none failed), in the
    // curves' order, then one count of the solves that did not converge, when there are any.
    void replayMessages(Messages& msgs) const;
    // The solves of the curves that completed before the first failure.
    RunStats stats() const;
    // Puts into m what the curves leave when run one after the other: STRAIN_LIMIT_MODE and the
    // results' stamp, the last P-M curve's results with PMAX and PMIN, the last Myy-Mxx curve's
    // results, the fibres in the state of the last curve. Throws the first curve's error, m
    // untouched, when one failed.
    void commit(SectionModel& m) const;

private:
    struct Run {
        ReportCurve curve;
        SectionResults results;
        SolverState state;
        std::vector<std::string> messages;
        RunStats stats;
        std::exception_ptr error;
    };
    std::vector<Run> runs_;
    const Run& run(int k) const { return runs_.at(static_cast<std::size_t>(k)); }
};

// Runs the curves, hands their messages on, commits them into m when none failed; then throws
// the first error, if any. The model of each curve stays readable through the returned runs.
ReportCurves runReportCurves(SectionModel& m, const std::vector<ReportCurve>& curves,
                             Messages& msgs, Progress* progress);

}  // namespace qav
