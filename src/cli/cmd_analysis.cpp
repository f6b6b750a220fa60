// Analysis commands: pm, mm, mphi, pmm, check and sample-loads. Each analysis meshes the section
// first with the file's grades and mesh size, sets the strain limit mode from the section, runs,
// prints the program's own listing on stdout, and says on stderr how many solves did not
// converge.
#include <ostream>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "cli/cli.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "model/value_checks.h"
#include "reports/text_reports.h"

namespace qav::cli {
namespace {

void printMessages(const MessageLog& log, std::ostream& err) {
    for (const auto& e : log.entries())
        err << e.text << (e.count > 1 ? Format(" (%D times)", {static_cast<int>(e.count)}) : "") << "\n";
}

void printLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const auto& l : lines) out << l << "\n";
}

// The listing on stdout; the solver's messages and the count of solves that did not converge
// on stderr.
int finish(const std::vector<std::string>& listing, const MessageLog& log, const RunStats& s, std::ostream& out,
           std::ostream& err) {
    printLines(listing, out);
    printMessages(log, err);
    err << Format("%D of %D solves did not converge.", {s.notConverged, s.solves}) << "\n";
    return 0;
}

// The options every analysis command takes, read before the positional file name.
struct Common {
    std::optional<std::string> npm, nmm, meshSize;
};

Common takeCommon(Args& args) {
    Common c;
    c.npm = args.take("--npm");
    c.nmm = args.take("--nmm");
    c.meshSize = args.take("--mesh-size");
    return c;
}

// Loads the section, applies the common options, meshes it and sets the strain limit mode.
SectionModel prepare(const std::string& path, const Common& c, std::ostream& err) {
    SectionModel m = loadSection(path);
    if (c.npm) m.NPM = ToInt(*c.npm);
    if (c.nmm) m.NMM = ToInt(*c.nmm);
    if (c.meshSize) m.MESH_SIZE_TEXT = *c.meshSize;
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    printMessages(log, err);
    requireFiniteSection(m);
    m.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

// pm and mm differ only in their option, their run and their listing.
template <class Run, class Listing>
int curveCommand(Args& args, const char* option, double fallback, Run run, Listing listing, std::ostream& out,
                 std::ostream& err) {
    const Common c = takeCommon(args);
    const double value = numberOption(args, option, fallback);
    const auto pos = args.positional(1);
    SectionModel m = prepare(pos[0], c, err);
    MessageLog log;
    const RunStats s = run(m, value, log);
    std::vector<std::string> lines;
    listing(m, lines);
    return finish(lines, log, s, out, err);
}

int pm(Args& args, std::ostream& out, std::ostream& err) {
    return curveCommand(
        args, "--angle", 0, [](SectionModel& m, double a, Messages& l) { return RUN_PM_CURVE_ANALYSIS(m, a, l); },
        [](const SectionModel& m, std::vector<std::string>& l) { GEN_PM_CURVE_TEXT(m, l); }, out, err);
}

int mm(Args& args, std::ostream& out, std::ostream& err) {
    return curveCommand(
        args, "--axial", 1000, [](SectionModel& m, double p, Messages& l) { return RUN_MM_CURVE_ANALYSIS(m, p, l); },
        [](const SectionModel& m, std::vector<std::string>& l) { GEN_MM_CURVE_TEXT(m, l); }, out, err);
}

int mphi(Args& args, std::ostream& out, std::ostream& err) {
    const Common c = takeCommon(args);
    MphiInput in;
    const std::string axis = args.take("--axis").value_or("x");
    if (axis != "x" && axis != "y") throw UsageError("--axis takes x or y");
    in.aboutY = axis == "y";
    in.negative = args.flag("--negative");
    in.axialForce = numberOption(args, "--axial", 1000);
    in.maxStrain = numberOption(args, "--max-strain", 0.0035);
    in.steps = integerOption(args, "--steps", 20);
    const auto pos = args.positional(1);
    SectionModel m = prepare(pos[0], c, err);
    MessageLog log;
    const MphiRun run = RUN_MPHI_ANALYSIS(m, in, log);
    std::vector<std::string> lines;
    GEN_M_fai_CURVE_TEXT(m, in.steps, lines);
    return finish(lines, log, run.stats, out, err);
}

int pmm(Args& args, std::ostream& out, std::ostream& err) {
    const Common c = takeCommon(args);
    const auto pos = args.positional(1);
    SectionModel m = prepare(pos[0], c, err);
    MessageLog log;
    const RunStats s = RUN_PMM_ANALYSIS(m, log);
    std::vector<std::string> lines;
    GEN_PMM_CURVE_TEXT(m, lines);
    return finish(lines, log, s, out, err);
}

int check(Args& args, std::ostream& out, std::ostream& err) {
    const Common c = takeCommon(args);
    const auto loads = args.take("--loads");
    const std::string units = args.take("--units").value_or("N,mm");
    if (units != "N,mm" && units != "kN,m") throw UsageError("--units takes N,mm or kN,m");
    const double kp = numberOption(args, "--kp", 1000);
    const double kmx = numberOption(args, "--kmx", 1000);
    const double kmy = numberOption(args, "--kmy", 1000);
    const auto pos = args.positional(1);
    SectionModel m = prepare(pos[0], c, err);
    if (loads) IMPORT_FORCE_CSV(m, readTextLines(*loads), units == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m);
    MessageLog log;
    NullProgress progress;
    const CheckResult r = CHECK_MEMBER(m, kp, kmx, kmy, log, progress);
    std::vector<std::string> lines = EXPORT_FORCE_CSV(m);
    const TFORCE& f = m.FORCE[static_cast<std::size_t>(r.critical)];
    lines.push_back("Critical LoadComb   " + Format("%D", {r.critical}));
    lines.push_back("Comb Name           " + f.COMB_NAME);
    lines.push_back("Min Load Fraction   " + Format("%0.3f", {f.LOAD_FRACTION}));
    lines.push_back("Axial Force P[kN]   " + Format("%0.3f", {f.P}));
    lines.push_back("Moment Mxx[kNm]     " + Format("%0.3f", {f.MX}));
    lines.push_back("Moment Myy[kNm]     " + Format("%0.3f", {f.MY}));
    const int status = finish(lines, log, r.stats, out, err);
    // The messages name the combinations without a finite fraction.
    return r.notFinite.empty() ? status : 1;
}

int sampleLoads(Args& args, std::ostream&, std::ostream&) {
    const auto pos = args.positional(1);
    writeTextLines(pos[0], SAMPLE_FORCE_CSV());
    return 0;
}

QAVSEC_COMMAND("pm", "pm FILE.sec [--angle DEG] [--npm N] [--nmm N] [--mesh-size H]", pm);
QAVSEC_COMMAND("mm", "mm FILE.sec [--axial KN] [--npm N] [--nmm N] [--mesh-size H]", mm);
QAVSEC_COMMAND("mphi",
               "mphi FILE.sec [--axis x|y] [--negative] [--axial KN] [--max-strain E] [--steps N] [--mesh-size H]",
               mphi);
QAVSEC_COMMAND("pmm", "pmm FILE.sec [--npm N] [--mesh-size H]", pmm);
QAVSEC_COMMAND("check",
               "check FILE.sec [--loads F.csv --units N,mm|kN,m] [--kp K --kmx K --kmy K] [--mesh-size H]",
               check);
QAVSEC_COMMAND("sample-loads", "sample-loads OUT.csv", sampleLoads);

}  // namespace
}  // namespace qav::cli
