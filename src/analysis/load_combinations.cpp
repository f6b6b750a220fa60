#include "analysis/load_combinations.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "analysis/interaction_curves.h"
#include "analysis/parallel_runs.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

namespace {
// The last index holding the smallest finite fraction of slots 1 .. n; 0 when there is none. A
// fraction that is not a finite number compares false with everything: it is passed over rather
// than let decide by where it stands.
template <class Fraction>
int leastFraction(int n, Fraction fraction) {
    double least = 0;
    int c = 0;
    for (int i = 1; i <= n; ++i) {
        const double lf = fraction(i);
        if (!std::isfinite(lf)) continue;
        if (c == 0 || least >= lf) {
            least = lf;
            c = i;
        }
    }
    return c;
}

// One block of combinations with its own solver, messages and counts.
struct Block {
    int first = 0, last = 0;
    std::unique_ptr<SectionSolver> solver;
    RecordedMessages messages;
    RunStats stats;
    std::vector<int> unconverged;
    std::vector<int> notFinite;
};

std::vector<Block> makeBlocks(int n) {
    constexpr int BLOCK = 256;
    std::vector<Block> blocks;
    for (int first = 1; first <= n; first += BLOCK) {
        Block b;
        b.first = first;
        b.last = std::min(n, first + BLOCK - 1);
        blocks.push_back(std::move(b));
    }
    return blocks;
}

// The load fraction of combination i into fractions[i]; 999 where the solve fails or gives no
// finite number, with a message.
// What the check solves each combination against: the minimum rule and the design basis.
struct CheckBasis {
    int mode = 1;
    double K[3] = {0, 0, 0};
    bool codeMinimum = false;
    DesignStrength design;
};

// Slots 1 .. NFORCE of what each combination's solve found beyond its fraction.
struct CheckSlots {
    std::vector<double> fractions, nominal, phi;
    std::vector<RaisedLoad> load;  // the load solved (compression positive)
    std::vector<uint8_t> raised, capped;
};

RaisedLoad minimumLoad(const SectionModel& m, const CheckBasis& c, const TFORCE& f) {
    if (!c.codeMinimum) return raiseToMinimum(-f.P, f.MX, f.MY, c.K[0], c.K[1], c.K[2]);
    const std::array<double, 2> k = minimumEccentricityMoments(m, f.P);
    return raiseToMinimum(-f.P, f.MX, f.MY, 0, k[0], k[1]);
}

void checkOne(const SectionModel& m, Block& b, int i, const CheckBasis& c, CheckSlots& out) {
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
    const auto ui = static_cast<std::size_t>(i);
    std::vector<double>& fractions = out.fractions;
    double lf = 999;
    try {
        // The minimum is applied here, the solver given none: the same numbers either way, and
        // the load solved is known.
        const RaisedLoad L = minimumLoad(m, c, f);
        out.load[ui] = L;
        out.raised[ui] = L.P != -f.P || L.MX != f.MX || L.MY != f.MY ? 1 : 0;
        if (!b.solver->carries(L.P, L.MX, L.MY, 0, 0, 0)) {
            b.messages.message(notCarriedText(i, f.COMB_NAME));
            fractions[ui] = 0;
            return;
        }
        const SolveResult r = b.solver->combinationFraction(L.P, L.MX, L.MY, c.mode);
        b.stats.add(r, b.solver->fibreCount());
        lf = r.loadFraction;
        if (!r.converged) b.unconverged.push_back(i);
        if (c.design.applies && std::isfinite(lf)) {
            const SolverState s = b.solver->lastState();
            const double phi =
                s.evaluated ? phiOfState(c.design, s.fibreAbc) : c.design.phiCompression;
            const DesignFraction d = designFraction(c.design, phi, lf, L.P);
            out.nominal[ui] = lf;
            out.phi[ui] = phi;
            out.capped[ui] = d.capGoverns ? 1 : 0;
            lf = d.fraction;
        }
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
}

// Solves every block: one at a time on this thread (the progress moving with every
// combination) or side by side on the worker threads.
template <class CheckOne>
void solveBlocks(const SectionModel& m, std::vector<Block>& blocks, int n, Progress& progress,
                 CheckOne check) {
    auto run = [&](Block& b, auto before, auto after) {
        b.solver = std::make_unique<SectionSolver>(m, b.messages);
        for (int i = b.first; i <= b.last; ++i) {
            before(i);
            check(b, i);
            after();
        }
    };
    const int threads = workerThreads(m.settings.THREADS);
    if (threads == 1 || blocks.size() == 1) {
        for (Block& b : blocks)
            run(
                b,
                [&](int i) {
                    if (progress.cancelled()) throw RunCancelled();
                    progress.setPosition(Round(static_cast<double>(i) / n * 100));
                },
                [] {});
        return;
    }
    runPieces(
        static_cast<int>(blocks.size()), threads,
        [&](int k, Progress& p) {
            Block& b = blocks[static_cast<std::size_t>(k)];
            StepProgress steps(&p, b.last - b.first + 1);
            run(
                b, [](int) {}, [&] { steps.step(); });
        },
        &progress);
}
}  // namespace

int CRITICAL_COMBINATION(const SectionModel& m) {
    const int n = std::min<int>(m.document.NFORCE, static_cast<int>(m.document.FORCE.size()) - 1);
    return leastFraction(
        n, [&](int i) { return m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION; });
}

CheckResult memberCheck(const SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                        Progress& progress) {
    if (m.document.NFORCE < 1 ||
        static_cast<std::size_t>(m.document.NFORCE) >= m.document.FORCE.size())
        throw InputError("There are no load combinations to check: import them first.");
    requireFibres(m);
    const int mode = sectionStrainLimitMode(m);
    const int n = m.document.NFORCE;
    CheckBasis basis;
    basis.mode = mode;
    basis.K[0] = K_P;
    basis.K[1] = K_MX;
    basis.K[2] = K_MY;
    basis.codeMinimum = m.settings.CODE_MIN_ECC;
    basis.design = designStrength(m);
    if (!basis.design.refused.empty()) throw InputError(basis.design.refused);
    const auto slots = static_cast<std::size_t>(n) + 1;
    CheckSlots out;
    out.fractions.assign(slots, 0.0);
    out.load.assign(slots, RaisedLoad{});
    out.raised.assign(slots, 0);
    if (basis.design.applies) {
        out.nominal.assign(slots, 0.0);
        out.phi.assign(slots, 0.0);
        out.capped.assign(slots, 0);
    }
    std::vector<Block> blocks = makeBlocks(n);
    solveBlocks(m, blocks, n, progress, [&](Block& b, int i) { checkOne(m, b, i, basis, out); });

    CheckResult result;
    result.fractions = std::move(out.fractions);
    result.codeMinimum = basis.codeMinimum;
    for (int i = 1; i <= n; ++i) {
        const auto ui = static_cast<std::size_t>(i);
        if (out.raised[ui])
            result.raised.push_back({i, -out.load[ui].P, out.load[ui].MX, out.load[ui].MY});
        if (basis.design.applies && out.capped[ui]) result.capGoverns.push_back(i);
    }
    if (basis.design.applies) {
        result.nominalFractions = std::move(out.nominal);
        result.phi = std::move(out.phi);
        result.cap = basis.design.cap;
    }

    for (const Block& b : blocks) {
        b.messages.replayTo(msgs);
        result.stats.add(b.stats);
        result.unconverged.insert(result.unconverged.end(), b.unconverged.begin(),
                                  b.unconverged.end());
        result.notFinite.insert(result.notFinite.end(), b.notFinite.begin(), b.notFinite.end());
    }
    result.critical =
        leastFraction(n, [&](int i) { return result.fractions[static_cast<std::size_t>(i)]; });
    result.mode = mode;
    result.state = blocks.back().solver->lastState();
    result.stamp = m.mesh.MESH_STAMP;
    // Named one by one, so the critical combination is never taken silently from one of them.
    if (!result.unconverged.empty()) msgs.message(UNCONVERGED_COMBINATIONS_TEXT(m, result));
    if (!result.raised.empty()) msgs.message(RAISED_COMBINATIONS_TEXT(m, result));
    if (!result.capGoverns.empty()) msgs.message(CAP_GOVERNS_TEXT(m, result));
    progress.setPosition(0);
    return result;
}

void keepCheckResult(SectionModel& m, const CheckResult& r) {
    const int n = std::min<int>(static_cast<int>(r.fractions.size()) - 1,
                                static_cast<int>(m.document.FORCE.size()) - 1);
    for (int i = 1; i <= n; ++i)
        m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION =
            r.fractions[static_cast<std::size_t>(i)];
    m.results.CRITICAL_COMB = r.critical;
    m.results.STRAIN_LIMIT_MODE = r.mode;
    m.results.RESULTS_STAMP = r.stamp;
    // The fibres keep the state of the last combination's solve.
    keepSolverState(m, r.state);
}

CheckResult CHECK_MEMBER(SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                         Progress& progress) {
    CheckResult r = memberCheck(m, K_P, K_MX, K_MY, msgs, progress);
    keepCheckResult(m, r);
    return r;
}

}  // namespace qav

namespace qav {

namespace {
std::string combinationName(const SectionModel& m, int i) {
    const std::string& name = m.document.FORCE[static_cast<std::size_t>(i)].COMB_NAME;
    return Format("%D", {i}) + (name.empty() ? "" : " (" + name + ")");
}
}  // namespace

std::string RAISED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.raised.empty()) return "";
    std::string list;
    for (const RaisedCombination& c : r.raised) {
        if (!list.empty()) list += "; ";
        list += combinationName(m, c.number) +
                Format(" to P %0.3F kN, Mxx %0.3F kNm, Myy %0.3F kNm", {c.P, c.MY, c.MX});
    }
    const std::string rule = r.codeMinimum ? Format("The %s minimum eccentricity",
                                                    {std::string(codeName(sectionCode(m)))})
                                           : std::string("The minimum axial force and moments");
    return Format("%s raised the load of %D combinations: ",
                  {rule, static_cast<int>(r.raised.size())}) +
           list + ".";
}

std::string CAP_GOVERNS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.capGoverns.empty()) return "";
    std::string names;
    for (int i : r.capGoverns) {
        if (!names.empty()) names += ", ";
        names += combinationName(m, i);
    }
    return Format(
               "The axial cap phi Pn,max = %0.3F kN, not phi times the nominal strength, "
               "governs the load fraction of %D combinations: ",
               {r.cap, static_cast<int>(r.capGoverns.size())}) +
           names + ".";
}

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
