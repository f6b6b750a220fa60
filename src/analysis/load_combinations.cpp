#include "analysis/load_combinations.h"

#include <cmath>

#include "analysis/interaction_curves.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

int CRITICAL_COMBINATION(const SectionModel& m) {
    // A fraction that is not a finite number compares false with everything: it is passed
    // over rather than let decide by where it stands.
    double least = 0;
    int c = 0;
    for (int i = 1; i <= m.NFORCE && static_cast<std::size_t>(i) < m.FORCE.size(); ++i) {
        const double lf = m.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION;
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
    if (m.NFORCE < 1 || static_cast<std::size_t>(m.NFORCE) >= m.FORCE.size())
        throw InputError("There are no load combinations to check: import them first.");
    requireFibres(m);
    m.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    CheckResult result;
    SectionSolver solver(m, msgs);
    const int fibres = solver.fibreCount();
    for (int i = 1; i <= m.NFORCE; ++i) {
        progress.setPosition(Round(static_cast<double>(i) / m.NFORCE * 100));
        TFORCE& f = m.FORCE[static_cast<std::size_t>(i)];
        double lf = 999;
        try {
            const SolveResult r = solver.loadFraction(-f.P, f.MX, f.MY, K_P, K_MX, K_MY, m.STRAIN_LIMIT_MODE);
            result.stats.add(r, fibres);
            lf = r.loadFraction;
        } catch (const std::exception&) {
            msgs.message(Format("case Error:%D", {i}));
        }
        if (!std::isfinite(lf)) {
            // Forces too large for the arithmetic: no fraction, so no say in the critical one.
            msgs.message(Format("Load combination %D (%s): the load fraction is not a finite number; "
                                "it is shown as 999 and not taken as the critical combination.",
                                {i, f.COMB_NAME}));
            result.notFinite.push_back(i);
            lf = 999;
        }
        f.LOAD_FRACTION = lf;
    }
    solver.storeState(m);
    result.critical = CRITICAL_COMBINATION(m);
    m.CRITICAL_COMB = result.critical;
    progress.setPosition(0);
    return result;
}

}  // namespace qav
