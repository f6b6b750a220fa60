// state: the section's state for one load (a combination of a load file, the critical one, or a
// load typed on the command line), at capacity or at the load itself, as a picture, its summary
// on stdout (or a JSON document) and, when asked, one CSV line per fibre.
#include <memory>
#include <ostream>
#include <sstream>

#include "analysis/load_combinations.h"
#include "analysis/section_state.h"
#include "cli/analysis_inputs.h"
#include "cli/cli.h"
#include "cli/json_documents.h"
#include "cli/section_setup.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/state_picture.h"

#ifdef QAVSEC_WITH_QT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "render/output_files.h"
#include "render/qt_canvas.h"
#endif

namespace qav::cli {
namespace {

// "P,Mx,My" in kN and kNm, P negative in compression as in load files; Mx bends about X (the
// solver's MY), My about Y (the solver's MX).
void parseLoad(const std::string& text, double& P, double& MX, double& MY) {
    std::vector<std::string> parts;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) parts.push_back(part);
    if (parts.size() != 3)
        throw UsageError("--load takes P,Mx,My (three numbers separated by commas)");
    P = numberValue("--load", parts[0]);
    MY = numberValue("--load", parts[1]);
    MX = numberValue("--load", parts[2]);
}

// "--at load|capacity"; nullopt when not given.
std::optional<StateAt> stateAtOption(Args& args) {
    const auto at = args.take("--at");
    if (!at) return std::nullopt;
    if (*at == "capacity") return StateAt::Capacity;
    if (*at == "load") return StateAt::Load;
    throw UsageError("--at takes load or capacity, not '" + *at + "'");
}

Json forceJson(const ForceSum& f) {
    return {{"P_kN", f.N / 1e3}, {"Mx_kNm", f.MY / 1e6}, {"My_kNm", f.MX / 1e6}};
}

// The summary's numbers, with which state it is.
Json stateJson(const std::string& what, const SectionState& s) {
    Json doc;
    doc["load"] = what;
    doc["at"] = s.at == StateAt::Load ? "load" : "capacity";
    doc["P_kN"] = s.P;
    doc["Mx_kNm"] = s.MY;
    doc["My_kNm"] = s.MX;
    // load_fraction is the one the check lists: the design fraction where phi applies.
    doc["load_fraction"] = s.phi > 0 ? s.designFraction : s.solve.loadFraction;
    if (s.phi > 0) {
        doc["load_fraction_nominal"] = s.solve.loadFraction;
        doc["phi"] = s.phi;
    }
    doc["converged"] = s.converged();
    if (s.at == StateAt::Load)
        doc["equilibrium"] = {{"passes", s.atLoad.iterations}, {"residual", s.atLoad.residual}};
    doc["strain_plane"] = {s.plane.a1, s.plane.a2, s.plane.a3};
    if (s.axis.exists)
        doc["neutral_axis"] = {{"angle_deg", s.axis.angle}, {"depth_mm", s.axis.depth}};
    else
        doc["neutral_axis"] = nullptr;
    doc["largest_compressive_strain"] = s.largestCompression;
    doc["largest_tensile_strain"] = s.largestTension;
    doc["forces"] = {{"concrete", forceJson(s.forces.concrete)},
                     {"bars", forceJson(s.forces.bars)},
                     {"steel", forceJson(s.forces.steel)},
                     {"other", forceJson(s.forces.other)},
                     {"total", forceJson(s.forces.total())}};
    return doc;
}

#ifdef QAVSEC_WITH_QT
void savePicture(const SectionModel& m, const SectionState& s, const std::string& path) {
    std::unique_ptr<QGuiApplication> app;
    int argc = 1;
    char name[] = "qavsec-cli";
    char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        // Fonts need a GUI application; the command line has no screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QImage image(STATE_PICTURE_W, STATE_PICTURE_H, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QtCanvas canvas(painter);
        drawSectionState(canvas, m, s, image.width(), image.height());
    }
    writeImageFile(image, path, "PNG");
}
#else
void savePicture(const SectionModel&, const SectionState&, const std::string&) {
    throw InputError("state: this qavsec-cli was built without Qt, which writes the PNG picture.");
}
#endif

int state(Args& args, std::ostream& out, std::ostream& err) {
    const auto comb = args.take("--comb");
    const auto load = args.take("--load");
    const std::string picture = outputPath(args, "OUT.png");
    const auto fibres = args.take("--fibres");
    const std::optional<StateAt> at = stateAtOption(args);
    const bool loads = args.shared().loads.has_value();
    // A combination's state is that of the load the check lists for it, with the check's
    // minimums; a typed load and the state at the load are never raised.
    const auto kpText = args.take("--kp"), kmxText = args.take("--kmx"),
               kmyText = args.take("--kmy");
    const bool minEcc = args.flag("--min-ecc");
    const bool raises = kpText || kmxText || kmyText || minEcc;
    if (raises && (load || at == StateAt::Load))
        throw UsageError(load ? "a typed load is never raised: --kp, --kmx, --kmy and --min-ecc "
                                "serve the check of a load file's combinations"
                              : "the state at the load is that of the load as given: --kp, "
                                "--kmx, --kmy and --min-ecc serve the state at capacity");
    auto least = [](const char* name, const std::optional<std::string>& text) {
        return text ? numberValue(name, *text) : 0.0;
    };
    // --kmx is the least moment about X, the solver's K_MY; --kmy the one about Y, its K_MX.
    const double kp = least("--kp", kpText), kmx = least("--kmy", kmyText),
                 kmy = least("--kmx", kmxText);
    if (minEcc && (kp != 0 || kmx != 0 || kmy != 0))
        throw UsageError(
            "--min-ecc takes the place of --kp, --kmx and --kmy: give one or the other");
    const auto pos = args.positional(1);
    if (load && (comb || loads))
        throw UsageError("give either --load or a combination of --loads, not both");
    if (!load && !loads) throw UsageError("give --load P,Mx,My or --loads F.csv [--comb N]");
    if (comb && !loads) throw UsageError("--comb needs --loads F.csv");
    // The state is the section's own; phi only takes part in picking the critical combination.
    if (load || comb)
        refuseGiven(args, {"--ties",
                           "the state of a given load is the section's own, not reduced "
                           "by phi (the ties take part only in choosing the critical "
                           "combination of --loads without --comb)"});
    double P = 0, MX = 0, MY = 0;
    if (load) parseLoad(*load, P, MX, MY);

    SectionModel m = prepareSection(pos[0], args.shared(), err);
    m.settings.CODE_MIN_ECC = minEcc;
    if (m.mesh.NFIB <= 0)
        throw InputError("The section has no fibres: there is nothing to mesh in " + pos[0] + ".");
    MessageLog log;
    std::string what;
    if (load) {
        what = "Load " + *load;
    } else {
        int n = 0;
        if (comb) {
            n = integerValue("--comb", *comb);
            if (n < 1 || n > m.document.NFORCE)
                throw InputError(
                    Format("There is no load combination %D: the file holds %D (1 to %D).",
                           {n, m.document.NFORCE, m.document.NFORCE}));
        }
        // The check says which load of a combination governs where a minimum may raise it.
        if (!comb || raises) {
            NullProgress progress;
            const int critical = CHECK_MEMBER(m, kp, kmx, kmy, log, progress).critical;
            if (!comb) n = critical;
            if (n < 1) throw InputError("The load file holds no combination.");
        }
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(n)];
        const ListedLoad L =
            at == StateAt::Load ? ListedLoad{f.P, f.MX, f.MY, false} : listedLoad(m, n);
        P = L.P;
        MX = L.MX;
        MY = L.MY;
        what = Format("Load combination %D (%s)%s%s",
                      {n, f.COMB_NAME, std::string(comb ? "" : ", the critical one"),
                       std::string(L.raised ? ", raised to the check's minimum" : "")});
    }
    // Load files count compression negative; the solver counts it positive.
    const SectionState s =
        SECTION_STATE(m, -P, MX, MY, 0, 0, 0, log, at.value_or(StateAt::Capacity));
    reportStateUnconverged(s, log);
    savePicture(m, s, picture);
    // Without --at the outputs stay as they were before the choice existed.
    if (fibres) writeTextLines(*fibres, sectionStateCsv(m, s, at.has_value()));
    if (args.shared().json) {
        RunStats stats;
        stats.add(s.solve, static_cast<int>(s.fibres.size()));
        Json doc = stateJson(what, s);
        doc["strain_limit"] = strainLimitJson(m);
        doc["status"] = runStatusJson(stats, log);
        printJson(out, "state", pos[0], doc);
    } else {
        out << what << "\n";
        if (at) out << stateHeading(s) << "\n";
        printLines(sectionStateSummary(s), out);
    }
    printMessages(log, err);
    return 0;
}

QAVSEC_COMMAND(
    "state", "draws the strains and stresses of the section at a load",
    "FILE.sec (--loads F.csv [--comb N] | --load P,Mx,My)",
    {{"--comb", "N", "the combination of the load file (the critical one unless given)",
      Option::InOperands},
     {"--load", "P,Mx,My",
      "a load in kN and kNm, P negative in compression as in load files; Mx bends "
      "about X, My about Y",
      Option::InOperands},
     outputOption("OUT.png", "the state as a PNG picture"),
     {"--fibres", "OUT.csv", "writes one line per fibre: strain, stress and force"},
     {"--at", "load|capacity",
      "the state at capacity (the load times its load fraction, the default) or at "
      "the load itself (as it is, without the least magnitudes)"},
     {"--kp", "K", "the check's least axial force in kN (0), for a combination"},
     {"--kmx", "K", "the check's least moment Mx (about X) in kNm (0), for a combination"},
     {"--kmy", "K", "the check's least moment My (about Y) in kNm (0), for a combination"},
     {"--min-ecc", "", "the check's code minimum eccentricity, for a combination"}},
    ANALYSIS_COMMAND | LOAD_OPTIONS | JSON_OUTPUT, state);

}  // namespace
}  // namespace qav::cli
