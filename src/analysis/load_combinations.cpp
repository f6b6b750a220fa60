#include "analysis/load_combinations.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "analysis/interaction_curves.h"
#include "analysis/parallel_runs.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

int CRITICAL_COMBINATION(const SectionModel& m) {
    // A fraction that is not a finite number compares false with everything: it is passed
    // over rather than let decide by where it stands.
    double least = 0;
    int c = 0;
    for (int i = 1; i <= m.document.NFORCE && static_cast<std::size_t>(i) < m.document.FORCE.size();
         ++i) {
        const double lf = m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION;
        if (!std::isfinite(lf)) continue;
        if (c == 0 || least >= lf) {
            least = lf;
            c = i;
        }
    }
    return c;
}

CheckResult CHECK_MEMBER(SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                         Progress& progress) {
    if (m.document.NFORCE < 1 ||
        static_cast<std::size_t>(m.document.NFORCE) >= m.document.FORCE.size())
        throw InputError("There are no load combinations to check: import them first.");
    requireFibres(m);
    m.results.RESULTS_STAMP = m.mesh.MESH_STAMP;
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    const int mode = m.results.STRAIN_LIMIT_MODE;
    const int n = m.document.NFORCE;
    // Fractions go to fresh storage and into the combinations only when every one is found.
    std::vector<double> fractions(static_cast<std::size_t>(n) + 1, 0.0);

    // One block of combinations with its own solver, messages and counts.
    struct Block {
        int first = 0, last = 0;
        std::unique_ptr<SectionSolver> solver;
        RecordedMessages messages;
        RunStats stats;
        std::vector<int> unconverged;
        std::vector<int> notFinite;
    };
    auto checkOne = [&](Block& b, int i) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
        double lf = 999;
        try {
            if (!b.solver->carries(-f.P, f.MX, f.MY, K_P, K_MX, K_MY)) {
                b.messages.message(notCarriedText(i, f.COMB_NAME));
                fractions[static_cast<std::size_t>(i)] = 0;
                return;
            }
            const SolveResult r = b.solver->loadFraction(-f.P, f.MX, f.MY, K_P, K_MX, K_MY, mode);
            b.stats.add(r, b.solver->fibreCount());
            lf = r.loadFraction;
            if (!r.converged) b.unconverged.push_back(i);
        } catch (const std::exception&) {
            b.messages.message(Format("case Error:%D", {i}));
        }
        if (!std::isfinite(lf)) {
            // Forces too large for the arithmetic: no fraction, so no say in the critical one.
            b.messages.message(
                Format("Load combination %D (%s): the load fraction is not a finite number; "
                       "it is shown as 999 and not taken as the critical combination.",
                       {i, f.COMB_NAME}));
            b.notFinite.push_back(i);
            lf = 999;
        }
        fractions[static_cast<std::size_t>(i)] = lf;
    };

    constexpr int BLOCK = 256;
    const int threads = workerThreads(m.settings.THREADS);
    std::vector<Block> blocks;
    for (int first = 1; first <= n; first += BLOCK) {
        Block b;
        b.first = first;
        b.last = std::min(n, first + BLOCK - 1);
        blocks.push_back(std::move(b));
    }
    if (threads == 1 || blocks.size() == 1) {
        // One block at a time on this thread, the progress moving with every combination.
        for (Block& b : blocks) {
            b.solver = std::make_unique<SectionSolver>(m, b.messages);
            for (int i = b.first; i <= b.last; ++i) {
                if (progress.cancelled()) throw RunCancelled();
                progress.setPosition(Round(static_cast<double>(i) / n * 100));
                checkOne(b, i);
            }
        }
    } else {
        runPieces(
            static_cast<int>(blocks.size()), threads,
            [&](int k, Progress& p) {
                Block& b = blocks[static_cast<std::size_t>(k)];
                b.solver = std::make_unique<SectionSolver>(m, b.messages);
                StepProgress steps(&p, b.last - b.first + 1);
                for (int i = b.first; i <= b.last; ++i) {
                    checkOne(b, i);
                    steps.step();
                }
            },
            &progress);
    }

    CheckResult result;
    for (const Block& b : blocks) {
        b.messages.replayTo(msgs);
        result.stats.add(b.stats);
        result.unconverged.insert(result.unconverged.end(), b.unconverged.begin(),
                                  b.unconverged.end());
        result.notFinite.insert(result.notFinite.end(), b.notFinite.begin(), b.notFinite.end());
    }
    for (int i = 1; i <= n; ++i)
        m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION =
            fractions[static_cast<std::size_t>(i)];
    // The fibres keep the state of the last combination's solve.
    blocks.back().solver->storeState(m);
    result.critical = CRITICAL_COMBINATION(m);
    m.results.CRITICAL_COMB = result.critical;
    // Named one by one, so the critical combination is never taken silently from one of them.
    if (!result.unconverged.empty()) msgs.message(UNCONVERGED_COMBINATIONS_TEXT(m, result));
    progress.setPosition(0);
    return result;
}

}  // namespace qav

namespace qav {

std::string UNCONVERGED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.unconverged.empty()) return "";
    std::string names;
    for (int i : r.unconverged) {
        if (!names.empty()) names += ", ";
        const std::string& name = m.document.FORCE[static_cast<std::size_t>(i)].COMB_NAME;
        names += Format("%D", {i}) + (name.empty() ? "" : " (" + name + ")");
    }
    return Format("The load fraction of %D combinations did not converge (worst residual %s): ",
                  {static_cast<int>(r.unconverged.size()), residualText(r.stats.worstResidual)}) +
           names + ".";
}

}  // namespace qav
