// state: the section's state at one load (a combination of a load file, the critical one, or a
// load typed on the command line) as a picture, its summary on stdout and, when asked, one CSV
// line per fibre.
#include <memory>
#include <ostream>
#include <sstream>

#include "analysis/load_combinations.h"
#include "analysis/section_state.h"
#include "cli/cli.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/state_picture.h"

#ifdef QAVSEC_WITH_QT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/qt_canvas.h"
#endif

namespace qav::cli {
namespace {

// "P,MX,MY" in kN and kNm, P negative in compression as in load files.
void parseLoad(const std::string& text, double& P, double& MX, double& MY) {
    std::vector<std::string> parts;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) parts.push_back(part);
    if (parts.size() != 3) throw UsageError("--load takes P,MX,MY (three numbers separated by commas)");
    P = ToFloat(parts[0]);
    MX = ToFloat(parts[1]);
    MY = ToFloat(parts[2]);
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
    if (!image.save(QString::fromStdString(path), "PNG")) throw FileError("Cannot write file \"" + path + "\".");
}
#else
void savePicture(const SectionModel&, const SectionState&, const std::string&) {
    throw InputError("state: this qavsec-cli was built without Qt, which writes the PNG picture.");
}
#endif

int state(Args& args, std::ostream& out, std::ostream& err) {
    const auto comb = args.take("--comb");
    const auto loads = args.take("--loads");
    const auto load = args.take("--load");
    const std::string units = args.take("--units").value_or("N,mm");
    if (units != "N,mm" && units != "kN,m") throw UsageError("--units takes N,mm or kN,m");
    const auto picture = args.take("-o");
    const auto fibres = args.take("--fibres");
    const auto meshSize = args.take("--mesh-size");
    // A combination is solved with the check's minimum magnitudes, so its load fraction is the
    // one `check` lists; a typed load with none unless asked.
    const double kDefault = load ? 0 : 1000;
    const double kp = numberOption(args, "--kp", kDefault);
    const double kmx = numberOption(args, "--kmx", kDefault);
    const double kmy = numberOption(args, "--kmy", kDefault);
    const auto pos = args.positional(1);
    if (!picture) throw UsageError("-o OUT.png is needed");
    if (load && (comb || loads)) throw UsageError("give either --load or a combination of --loads, not both");
    if (!load && !loads) throw UsageError("give --load P,MX,MY or --loads F.csv [--comb N]");
    if (comb && !loads) throw UsageError("--comb needs --loads F.csv");

    SectionModel m = loadSection(pos[0]);
    if (meshSize) m.MESH_SIZE_TEXT = *meshSize;
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    m.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    if (m.NFIB <= 0) throw InputError("The section has no fibres: there is nothing to mesh in " + pos[0] + ".");

    double P = 0, MX = 0, MY = 0;
    std::string what;
    if (load) {
        parseLoad(*load, P, MX, MY);
        what = "Load " + *load;
    } else {
        IMPORT_FORCE_CSV(m, readTextLines(*loads), units == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m);
        int n = 0;
        if (comb) {
            n = ToInt(*comb);
            if (n < 1 || n > m.NFORCE)
                throw InputError(Format("There is no load combination %D: the file holds %D (1 to %D).",
                                        {n, m.NFORCE, m.NFORCE}));
        } else {
            NullProgress progress;
            n = CHECK_MEMBER(m, kp, kmx, kmy, log, progress).critical;
            if (n < 1) throw InputError("The load file holds no combination.");
        }
        const TFORCE& f = m.FORCE[static_cast<std::size_t>(n)];
        P = f.P;
        MX = f.MX;
        MY = f.MY;
        what = Format("Load combination %D (%s)%s", {n, f.COMB_NAME, comb ? "" : ", the critical one"});
    }
    // Load files count compression negative; the solver counts it positive.
    const SectionState s = SECTION_STATE(m, -P, MX, MY, kp, kmx, kmy, log);
    savePicture(m, s, *picture);
    if (fibres) writeTextLines(*fibres, sectionStateCsv(m, s));
    out << what << "\n";
    for (const auto& l : sectionStateSummary(s)) out << l << "\n";
    for (const auto& e : log.entries()) err << e.text << "\n";
    return 0;
}

QAVSEC_COMMAND("state",
               "state FILE.sec (--loads F.csv [--units N,mm|kN,m] [--comb N] | --load P,MX,MY) -o OUT.png "
               "[--fibres OUT.csv] [--kp K --kmx K --kmy K] [--mesh-size H]",
               state);

}  // namespace
}  // namespace qav::cli
