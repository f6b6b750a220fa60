// Analysis commands: pm, mm, mphi, pmm, check and sample-loads. Each analysis meshes the section
// first with the file's grades and mesh size, sets the strain limit mode from the section, runs,
// prints the program's own listing on stdout, and says on stderr how many solves did not
// converge.
#include <ostream>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "cli/analysis_inputs.h"
#include "cli/cli.h"
#include "cli/json_documents.h"
#include "cli/section_setup.h"
#include "interchange/force_csv.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/load_report.h"
#include "reports/text_reports.h"

namespace qav::cli {
namespace {

// The listing on stdout (with --json the document instead, the run's status added), never cut
// by Ctrl-C; the run's messages on stderr, among them the count of solves that did not converge
// when there are any.
struct Output {
    bool json = false;
    std::string command, file;
};

int finish(const Output& o, const std::vector<std::string>& listing, Json doc,
           const MessageLog& log, const RunStats& s, std::ostream& out, std::ostream& err) {
    {
        OutputWriting writing;
        if (o.json) {
            doc["status"] = runStatusJson(s, log);
            printJson(out, o.command, o.file, doc);
        } else {
            printLines(listing, out);
        }
        out.flush();
    }
    printMessages(log, err);
    return 0;
}

// pm and mm differ only in their option, their run and their listing.
template <class Run, class Listing, class Document>
int curveCommand(Args& args, const char* command, const InputOption& input, Run run,
                 Listing listing, Document document, std::ostream& out, std::ostream& err) {
    const double value = inputNumber(args, input);
    const auto pos = args.positional(1);
    SectionModel m = prepareSection(pos[0], args.shared(), err);
    MessageLog log;
    const RunStats s = run(m, value, log);
    std::vector<std::string> lines;
    listing(m, lines);
    return finish({args.shared().json, command, pos[0]}, lines, document(m, value), log, s, out,
                  err);
}

// The key points as the --json document names them; a point that does not exist says why.
Json keyPointsJson(const std::vector<KeyPoint>& points) {
    Json all = Json::array();
    for (const KeyPoint& k : points) {
        Json j;
        j["label"] = k.label;
        j["strain_limit"] = strainLimitWord(k.limit);
        if (k.exists) {
            j["P"] = k.P;
            j["M"] = k.M;
            j["Mx"] = k.MY;
            j["My"] = k.MX;
            j["na_depth"] = k.axis.exists ? Json(k.axis.depth) : Json(nullptr);
            // Under a code with a strength reduction factor P and M are the design strength.
            if (k.design) {
                j["P_nominal"] = k.nomP;
                j["M_nominal"] = k.nomM;
                j["phi"] = k.phi;
            }
        } else {
            j["missing"] = k.missing;
        }
        all.push_back(j);
    }
    return all;
}

int pm(Args& args, std::ostream& out, std::ostream& err) {
    const bool keyPoints = args.flag("--key-points");
    double angle = 0;
    MessageLog keyLog;
    std::vector<KeyPoint> points;
    const int status = curveCommand(
        args, "pm", ANGLE_INPUT,
        [&](SectionModel& m, double a, Messages& l) {
            angle = a;
            return RUN_PM_CURVE_ANALYSIS(m, a, l);
        },
        [&](const SectionModel& m, std::vector<std::string>& l) {
            GEN_PM_CURVE_TEXT(m, l);
            // The listing stays as it is; the key points follow it.
            if (keyPoints) {
                points = PM_KEY_POINTS(m, angle, keyLog);
                const auto table = keyPointsText(points, angle);
                l.insert(l.end(), table.begin(), table.end());
            }
        },
        [&](const SectionModel& m, double a) {
            Json doc = pmJson(m, a);
            if (keyPoints) doc["key_points"] = keyPointsJson(points);
            return doc;
        },
        out, err);
    // The key points' own solves speak after the curve's.
    printMessages(keyLog, err);
    return status;
}

int mm(Args& args, std::ostream& out, std::ostream& err) {
    return curveCommand(
        args, "mm", AXIAL_INPUT,
        [](SectionModel& m, double p, Messages& l) { return RUN_MM_CURVE_ANALYSIS(m, p, l); },
        [](const SectionModel& m, std::vector<std::string>& l) { GEN_MM_CURVE_TEXT(m, l); }, mmJson,
        out, err);
}

int mphi(Args& args, std::ostream& out, std::ostream& err) {
    MphiInput in = takeMphiInput(args, "--axis", args.take("--axis").value_or("x"));
    const auto pos = args.positional(1);
    SectionModel m = prepareSection(pos[0], args.shared(), err);
    settleMaxStrain(m, in);
    MessageLog log;
    const MphiRun run = RUN_MPHI_ANALYSIS(m, in, log);
    std::vector<std::string> lines;
    GEN_M_fai_CURVE_TEXT(m, in.steps, lines);
    return finish({args.shared().json, "mphi", pos[0]}, lines, mphiJson(m, in), log, run.stats, out,
                  err);
}

int pmm(Args& args, std::ostream& out, std::ostream& err) {
    const auto pos = args.positional(1);
    SectionModel m = prepareSection(pos[0], args.shared(), err);
    MessageLog log;
    const RunStats s = RUN_PMM_ANALYSIS(m, log);
    std::vector<std::string> lines;
    GEN_PMM_CURVE_TEXT(m, lines);
    return finish({args.shared().json, "pmm", pos[0]}, lines, pmmJson(m), log, s, out, err);
}

int check(Args& args, std::ostream& out, std::ostream& err) {
    const double kp = inputNumber(args, KP_INPUT);
    // The solver's K_MX is the least moment about Y (--kmy), its K_MY the one about X (--kmx).
    const double kmx = inputNumber(args, KMY_INPUT);
    const double kmy = inputNumber(args, KMX_INPUT);
    const bool minEcc = args.flag("--min-ecc");
    if (minEcc && (kp != 0 || kmx != 0 || kmy != 0))
        throw UsageError(
            "--min-ecc takes the place of --kp, --kmx and --kmy: give one or the other");
    const auto pos = args.positional(1);
    SectionModel m = prepareSection(pos[0], args.shared(), err);
    m.settings.CODE_MIN_ECC = minEcc;
    MessageLog log;
    NullProgress progress;
    const CheckResult r = CHECK_MEMBER(m, kp, kmx, kmy, log, progress);
    const std::vector<std::string> lines = CHECK_LISTING_LINES(m, r.critical);
    const int status = finish({args.shared().json, "check", pos[0]}, lines, checkJson(m, r), log,
                              r.stats, out, err);
    // The messages name the combinations without a finite fraction.
    return r.notFinite.empty() ? status : 1;
}

int sampleLoads(Args& args, std::ostream&, std::ostream&) {
    const auto pos = args.positionalOr(1, args.take("-o"));
    OutputWriting writing;
    writeTextLines(pos[0], SAMPLE_FORCE_CSV());
    return 0;
}

QAVSEC_COMMAND("pm", "lists the P-M interaction curve at a moment angle", "FILE.sec",
               {ANGLE_INPUT.option,
                {"--key-points", "", "adds the key points of the curve after the listing"}},
               ANALYSIS_COMMAND | JSON_OUTPUT, pm);
QAVSEC_COMMAND("mm", "lists the Myy-Mxx curve at an axial force", "FILE.sec", {AXIAL_INPUT.option},
               ANALYSIS_COMMAND | JSON_OUTPUT, mm);
QAVSEC_COMMAND("mphi", "lists the moment-curvature curve about an axis", "FILE.sec",
               {{"--axis", "x|y", "moment about the X (Mxx) or the Y axis (Myy); x"},
                {"--negative", "", "negative moment"},
                AXIAL_INPUT.option,
                MAX_STRAIN_INPUT.option,
                STEPS_INPUT.option},
               ANALYSIS_COMMAND | JSON_OUTPUT, mphi, {}, {MPHI_TIES});
QAVSEC_COMMAND("pmm", "lists the P-Mx-My surface", "FILE.sec", {}, ANALYSIS_COMMAND | JSON_OUTPUT,
               pmm);
QAVSEC_COMMAND("check", "finds the load fraction of every load combination and the critical one",
               "FILE.sec",
               {KP_INPUT.option,
                KMX_INPUT.option,
                KMY_INPUT.option,
                {"--min-ecc", "",
                 "also checks a compression with each moment in turn raised to at least P times "
                 "the code's minimum eccentricity (ACI 318-19: its slenderness rules' minimum "
                 "moment), the smaller fraction governing; the fixed magnitudes are then not "
                 "used"}},
               ANALYSIS_COMMAND | LOAD_OPTIONS | JSON_OUTPUT, check);
QAVSEC_COMMAND("sample-loads", "writes the sample load combinations as a CSV file", "",
               {outputOption("OUT.csv", "the built-in sample force file")}, 0, sampleLoads);

}  // namespace
}  // namespace qav::cli
