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
    std::vector<int> offBalance;
    std::vector<int> notFinite;
};

// "3 (DCON1), 7 (DCON3), ... and 12 more": the first few combinations of a list by number and
// name, and how many more there are.
std::string combinationName(const SectionModel& m, int i) {
    const std::string& name = m.document.FORCE[static_cast<std::size_t>(i)].COMB_NAME;
    return Format("%D", {i}) + (name.empty() ? "" : " (" + name + ")");
}

std::string namedCombinations(const SectionModel& m, const std::vector<int>& numbers) {
    std::string list;
    const std::size_t shown = std::min<std::size_t>(numbers.size(), NAMED_COMBINATIONS);
    for (std::size_t k = 0; k < shown; ++k)
        list += (k ? ", " : "") + combinationName(m, numbers[k]);
    if (numbers.size() > shown)
        list += Format(", and %D more", {static_cast<int>(numbers.size() - shown)});
    return list;
}

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
    std::vector<RaisedLoad> load;  // the raised load listed (compression positive)
    std::vector<uint8_t> raised, capped;
};

// The loads a combination is checked with (compression positive): the load as given first, then
// each load a minimum raises it to that differs from it. The fixed magnitudes raise all three
// components at once; the code's minimum eccentricity raises one moment at a time (the other
// as given), and a tension not at all.
std::vector<RaisedLoad> checkedLoads(const SectionModel& m, const CheckBasis& c, const TFORCE& f) {
    const RaisedLoad given{-f.P, f.MX, f.MY};
    std::vector<RaisedLoad> loads{given};
    auto add = [&](const RaisedLoad& L) {
        if (L.P != given.P || L.MX != given.MX || L.MY != given.MY) loads.push_back(L);
    };
    if (!c.codeMinimum) {
        add(raiseToMinimum(given.P, given.MX, given.MY, c.K[0], c.K[1], c.K[2]));
    } else if (given.P > 0) {
        const std::array<double, 2> k = minimumEccentricityMoments(m, f.P);
        add(raiseToMinimum(given.P, given.MX, given.MY, 0, k[0], 0));
        add(raiseToMinimum(given.P, given.MX, given.MY, 0, 0, k[1]));
    }
    return loads;
}

// One load's solve: its (design) fraction, 0 when no state carries it.
struct LoadSolve {
    double fraction = 0, nominal = 0, phi = 0;
    bool capped = false;
};

LoadSolve solveLoad(Block& b, int i, const TFORCE& f, const CheckBasis& c, const RaisedLoad& L) {
    LoadSolve out;
    if (!b.solver->carries(L.P, L.MX, L.MY, 0, 0, 0)) {
        b.messages.message(notCarriedText(i, f.COMB_NAME));
        return out;
    }
    const SolveResult r = b.solver->loadFraction(L.P, L.MX, L.MY, 0, 0, 0, c.mode);
    b.stats.add(r, b.solver->fibreCount());
    if (!r.converged && (b.unconverged.empty() || b.unconverged.back() != i))
        b.unconverged.push_back(i);
    if (r.offBalance && (b.offBalance.empty() || b.offBalance.back() != i))
        b.offBalance.push_back(i);
    out.fraction = r.loadFraction;
    if (c.design.applies && std::isfinite(out.fraction)) {
        const SolverState s = b.solver->lastState();
        const DesignFraction d =
            designFractionOfState(c.design, s.evaluated ? s.fibreAbc : nullptr, out.fraction, L.P);
        out.phi = d.phi;
        out.nominal = out.fraction;
        out.capped = d.capGoverns;
        out.fraction = d.fraction;
    }
    return out;
}

// The fraction of combination i into the slots: the smallest of its checked loads' fractions, a
// raised load listed only where its fraction is strictly the smaller; 999 where a solve fails or
// gives no finite number, with a message.
void checkOne(const SectionModel& m, Block& b, int i, const CheckBasis& c, CheckSlots& out) {
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
    const auto ui = static_cast<std::size_t>(i);
    double lf = 999;
    try {
        const std::vector<RaisedLoad> loads = checkedLoads(m, c, f);
        LoadSolve best;
        for (std::size_t k = 0; k < loads.size(); ++k) {
            const LoadSolve s = solveLoad(b, i, f, c, loads[k]);
            if (!std::isfinite(s.fraction)) {
                best = s;
                break;
            }
            if (k > 0 && !(s.fraction < best.fraction)) continue;
            best = s;
            out.raised[ui] = k > 0 ? 1 : 0;
            out.load[ui] = loads[k];
            // A load no state carries lists 0: no raised load can list less.
            if (best.fraction <= 0) break;
        }
        lf = best.fraction;
        if (c.design.applies) {
            out.nominal[ui] = best.nominal;
            out.phi[ui] = best.phi;
            out.capped[ui] = best.capped ? 1 : 0;
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
        out.raised[ui] = 0;
    }
    out.fractions[ui] = lf;
}

// A combination with no load at all has no load fraction: the check is refused, naming the
// first few such combinations.
void refuseZeroLoads(const SectionModel& m, int n) {
    std::vector<int> zero;
    for (int i = 1; i <= n; ++i) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
        if (f.P == 0 && f.MX == 0 && f.MY == 0) zero.push_back(i);
    }
    if (zero.empty()) return;
    throw InputError(
        Format("%D load %s no load (P and both moments 0), so no load fraction: ",
               {static_cast<int>(zero.size()),
                std::string(zero.size() == 1 ? "combination has" : "combinations have")}) +
        namedCombinations(m, zero) + ". Give each a load or remove it.");
}

// Solves every block: one at a time on this thread (the progress moving with every
// combination) or side by side on the worker threads.
template <class CheckOne>
void solveBlocks(const SectionModel& m, std::vector<Block>& blocks, int n, Progress& progress,
                 CheckOne check) {
    const SharedSection section = compileSection(m);
    auto run = [&](Block& b, auto before, auto after) {
        b.solver = std::make_unique<SectionSolver>(section, b.messages, m.settings.SOLVER);
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

namespace {

// What every combination of a check is solved on: the rule, the minimum magnitudes and the
// code's design strength; refuses a check with nothing to check or minimums that are no
// magnitudes.
CheckBasis checkBasis(const SectionModel& m, double K_P, double K_MX, double K_MY) {
    if (m.document.NFORCE < 1 ||
        static_cast<std::size_t>(m.document.NFORCE) >= m.document.FORCE.size())
        throw InputError("There are no load combinations to check: import them first.");
    requireFibres(m);
    refuseZeroLoads(m, m.document.NFORCE);
    for (double K : {K_P, K_MX, K_MY})
        if (!(K >= 0) || !std::isfinite(K))
            throw InputError(
                Format("The minimum axial force and moments are magnitudes: %g is "
                       "not a number of 0 or more.",
                       {K}));
    CheckBasis basis;
    basis.mode = sectionStrainLimitMode(m);
    basis.K[0] = K_P;
    basis.K[1] = K_MX;
    basis.K[2] = K_MY;
    basis.codeMinimum = m.settings.CODE_MIN_ECC;
    basis.design = designStrength(m);
    if (!basis.design.refused.empty()) throw InputError(basis.design.refused);
    return basis;
}

// The blocks' results gathered into the check's, the critical combination among them.
void gatherBlocks(const std::vector<Block>& blocks, int n, Messages& msgs, CheckResult& result) {
    for (const Block& b : blocks) {
        b.messages.replayTo(msgs);
        result.stats.add(b.stats);
        result.unconverged.insert(result.unconverged.end(), b.unconverged.begin(),
                                  b.unconverged.end());
        result.offBalance.insert(result.offBalance.end(), b.offBalance.begin(), b.offBalance.end());
        result.notFinite.insert(result.notFinite.end(), b.notFinite.begin(), b.notFinite.end());
    }
    result.critical =
        leastFraction(n, [&](int i) { return result.fractions[static_cast<std::size_t>(i)]; });
    result.state = blocks.back().solver->lastState();
}

// What the check says of its combinations, each named: unconverged ones (so the critical one is
// never taken silently from them), reference solves off balance, raised loads, the cap.
void sayOfCombinations(const SectionModel& m, const CheckResult& result, Messages& msgs) {
    if (!result.unconverged.empty()) msgs.message(UNCONVERGED_COMBINATIONS_TEXT(m, result));
    if (!result.offBalance.empty())
        msgs.message(Format("The load fraction of %D combinations comes from reference solves "
                            "whose forces still miss the load (worst balanced residual %s): ",
                            {static_cast<int>(result.offBalance.size()),
                             residualText(result.stats.worstBalance)}) +
                     namedCombinations(m, result.offBalance) + ".");
    if (!result.raised.empty()) msgs.message(RAISED_COMBINATIONS_TEXT(m, result));
    if (!result.capGoverns.empty()) msgs.message(CAP_GOVERNS_TEXT(m, result));
}

}  // namespace

CheckResult memberCheck(const SectionModel& m, double K_P, double K_MX, double K_MY, Messages& msgs,
                        Progress& progress) {
    const CheckBasis basis = checkBasis(m, K_P, K_MX, K_MY);
    const int n = m.document.NFORCE;
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
    gatherBlocks(blocks, n, msgs, result);
    result.mode = basis.mode;
    result.stamp = m.mesh.MESH_STAMP;
    sayOfCombinations(m, result, msgs);
    progress.setPosition(0);
    return result;
}

void keepCheckResult(SectionModel& m, const CheckResult& r) {
    const int n = std::min<int>(static_cast<int>(r.fractions.size()) - 1,
                                static_cast<int>(m.document.FORCE.size()) - 1);
    for (int i = 1; i <= n; ++i)
        m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION =
            r.fractions[static_cast<std::size_t>(i)];
    m.results.RAISED_LOADS.clear();
    for (const RaisedCombination& c : r.raised) {
        if (c.number > n) continue;
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(c.number)];
        m.results.RAISED_LOADS.push_back(
            {c.number, c.P, c.MX, c.MY, f.P, f.MX, f.MY, f.LOAD_FRACTION});
    }
    m.results.RAISED_BY = r.codeMinimum ? CheckMinimum::CodeEccentricity : CheckMinimum::Magnitudes;
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

std::string RAISED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.raised.empty()) return "";
    // One sentence: each raised load stands in its own row of the table and of the listing
    // (marked *, the load as given in the table's tool tip).
    const std::string rule = r.codeMinimum ? designCode(sectionCode(m)).minimumEccentricityRule
                                           : std::string("The minimum axial force and moments");
    const int n = static_cast<int>(r.raised.size());
    return Format(
        "%s raised the load of %D %s to a smaller load fraction; each is listed with "
        "its raised load, marked *.",
        {rule, n, std::string(n == 1 ? "combination" : "combinations")});
}

std::string CAP_GOVERNS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.capGoverns.empty()) return "";
    return Format(
               "The axial cap phi Pn,max = %0.3F kN, not phi times the nominal strength, "
               "governs the load fraction of %D combinations: ",
               {r.cap, static_cast<int>(r.capGoverns.size())}) +
           namedCombinations(m, r.capGoverns) + ".";
}

std::string UNCONVERGED_COMBINATIONS_TEXT(const SectionModel& m, const CheckResult& r) {
    if (r.unconverged.empty()) return "";
    return Format("The load fraction of %D combinations did not converge (worst residual %s): ",
                  {static_cast<int>(r.unconverged.size()), residualText(r.stats.worstResidual)}) +
           namedCombinations(m, r.unconverged) + ".";
}

namespace {
// The record of a raised load for combination i, when it still describes the combination as it
// stands and its listed fraction.
const TRAISED_LOAD* raisedRecord(const SectionModel& m, int i) {
    const std::vector<TRAISED_LOAD>& all = m.results.RAISED_LOADS;
    const auto it = std::lower_bound(all.begin(), all.end(), i,
                                     [](const TRAISED_LOAD& r, int n) { return r.NUM < n; });
    if (it == all.end() || it->NUM != i || i > m.document.NFORCE ||
        static_cast<std::size_t>(i) >= m.document.FORCE.size())
        return nullptr;
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
    const bool same = f.P == it->GIVEN_P && f.MX == it->GIVEN_MX && f.MY == it->GIVEN_MY &&
                      f.LOAD_FRACTION == it->LOAD_FRACTION;
    return same ? &*it : nullptr;
}
}  // namespace

ListedLoad listedLoad(const SectionModel& m, int i) {
    if (const TRAISED_LOAD* r = raisedRecord(m, i)) return {r->P, r->MX, r->MY, true};
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
    return {f.P, f.MX, f.MY, false};
}

std::string checkMarks(const SectionModel& m, int i) {
    const double lf = m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION;
    std::string marks = raisedRecord(m, i) ? "*" : "";
    // A combination not yet checked (fraction 0 after an import) is not marked.
    if (lf != 0 && lf < 1) marks += "<1";
    return marks;
}

std::vector<std::string> checkLegend(const SectionModel& m) {
    bool raised = false, below = false;
    const int n = std::min<int>(m.document.NFORCE, static_cast<int>(m.document.FORCE.size()) - 1);
    for (int i = 1; i <= n && !(raised && below); ++i) {
        const std::string marks = checkMarks(m, i);
        raised = raised || marks.find('*') != std::string::npos;
        below = below || marks.find("<1") != std::string::npos;
    }
    std::vector<std::string> out;
    if (raised)
        out.push_back(m.results.RAISED_BY == CheckMinimum::CodeEccentricity
                          ? "*  raised to the code's minimum eccentricity: it governs"
                          : "*  raised to the minimum axial force and moments: it governs");
    if (below) out.push_back("<1 load fraction below 1: the section does not carry it");
    return out;
}

}  // namespace qav
