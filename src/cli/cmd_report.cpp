// Printed reports and charts without a window: `report` writes one of the printed documents as a
// PDF file, `chart` one of the dialogs' charts as a PNG picture. Both mesh the section first,
// as the analysis commands do, and draw with the compositions the application prints.
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <ostream>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "cli/cli.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/interaction_charts.h"
#include "reports/load_report.h"
#include "reports/mphi_chart.h"
#include "reports/printed_pages.h"

#ifdef QAVSEC_WITH_QT
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "app/printing_pages.h"
#include "app/qt_canvas.h"
#endif

namespace qav::cli {
namespace {

#ifdef QAVSEC_WITH_QT
// Loads the section, applies the common options, meshes it, and takes in the load combinations
// of --loads (--csv, its older name in the report): with combinations at hand the member check
// runs, so charts and the load report show load fractions and the critical combination.
SectionModel prepareSection(Args& args, std::ostream& err) {
    const auto npm = args.take("--npm");
    const auto nmm = args.take("--nmm");
    const auto meshSize = args.take("--mesh-size");
    auto loads = args.take("--loads");
    if (const auto csv = args.take("--csv")) {
        if (loads) throw UsageError("--csv is the older name of --loads: give one of them");
        loads = csv;
    }
    const std::string units = args.take("--units").value_or("N,mm");
    if (units != "N,mm" && units != "kN,m") throw UsageError("--units takes N,mm or kN,m");
    const auto pos = args.positional(1);
    SectionModel m = loadSection(pos[0]);
    if (npm) m.NPM = ToInt(*npm);
    if (nmm) m.NMM = ToInt(*nmm);
    if (meshSize) m.MESH_SIZE_TEXT = *meshSize;
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    if (loads) IMPORT_FORCE_CSV(m, readTextLines(*loads), units == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m);
    if (m.NFORCE > 0) {
        NullProgress progress;
        CHECK_MEMBER(m, 1000, 1000, 1000, log, progress);
    }
    for (const auto& e : log.entries()) err << e.text << "\n";
    m.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

// The document of --doc figure|text|section-data|loads, by its index. The older flags --figure,
// --text and --section-data still choose it; so does --loads, as long as neither --doc nor one
// of those flags is there (then --loads names the load file, as in every other command).
int chooseDocument(Args& args) {
    static const char* const names[] = {"figure", "text", "section-data", "loads"};
    int chosen = -1;
    auto choose = [&](int i) {
        if (chosen >= 0) throw UsageError("choose one document");
        chosen = i;
    };
    if (const auto doc = args.take("--doc")) {
        const auto it = std::find(std::begin(names), std::end(names), *doc);
        if (it == std::end(names)) throw UsageError("--doc takes figure, text, section-data or loads");
        choose(static_cast<int>(it - std::begin(names)));
    }
    for (int i = 0; i < 3; ++i)
        if (args.flag(std::string("--") + names[i])) choose(i);
    if (chosen < 0 && args.flag("--loads")) chosen = 3;
    if (chosen < 0) throw UsageError("choose one document with --doc");
    return chosen;
}

// Fonts and pictures need a GUI application; the command line has no screen.
class OffscreenGui {
public:
    OffscreenGui() {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }

private:
    int argc_ = 1;
    char name_[11] = "qavsec-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

void writePdf(const RecordedDocument& doc, const std::string& path, bool landscape) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(PAGE_DPI);
    writer.setCreator("QAV Section");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    renderDocument(doc, writer, PAGE_DPI);
}

int report(Args& args, std::ostream&, std::ostream& err) {
    const int document = chooseDocument(args);
    const auto out = args.take("-o");
    if (!out) throw UsageError("-o OUT.pdf is needed");
    ReportInputs in;
    in.marks = {args.flag("--critical"), args.flag("--all")};
    const double angle = numberOption(args, "--angle", 45);
    const double axial = numberOption(args, "--axial", 1000);
    in.angle = [angle] { return angle; };
    in.axial = [axial] { return axial; };
    SectionModel m = prepareSection(args, err);
    OffscreenGui gui;
    RecordedDocument doc(pageTextMeasure());
    MessageLog log;
    NullProgress progress;
    switch (document) {
        case 0: printFigureReport(doc, m, in, log, progress); break;
        case 1: printTextReport(doc, m, in, log, progress); break;
        case 2: printSectionDataPage(doc, m); break;
        default: PRINT_OUT_REPORT(doc, LOAD_REPORT_LINES(m)); break;
    }
    for (const auto& e : log.entries()) err << e.text << "\n";
    writePdf(doc, *out, document == 0 || document == 3);
    err << Format("%D page(s) written to %s", {doc.pageCount(), *out}) << "\n";
    return 0;
}

int chart(Args& args, std::ostream&, std::ostream& err) {
    const auto pm = args.take("--pm");
    const auto mm = args.take("--mm");
    const auto mphi = args.take("--mphi");
    if ((pm ? 1 : 0) + (mm ? 1 : 0) + (mphi ? 1 : 0) != 1) throw UsageError("choose one of --pm, --mm, --mphi");
    const auto out = args.take("-o");
    if (!out) throw UsageError("-o OUT.png is needed");
    const LoadMarks marks{args.flag("--critical"), args.flag("--all")};
    MphiInput mp;
    if (mphi) {
        if (*mphi != "x" && *mphi != "y") throw UsageError("--mphi takes x or y");
        mp.aboutY = *mphi == "y";
        mp.negative = args.flag("--negative");
        mp.axialForce = numberOption(args, "--axial", 1000);
        mp.maxStrain = numberOption(args, "--max-strain", 0.0035);
        mp.steps = integerOption(args, "--steps", 20);
    }
    const double angle = pm ? ToFloat(*pm) : 0;
    const double axial = mm ? ToFloat(*mm) : 0;
    SectionModel m = prepareSection(args, err);

    MessageLog log;
    double mphiAngle = 0;
    if (pm) RUN_PM_CURVE_ANALYSIS(m, angle, log);
    if (mm) RUN_MM_CURVE_ANALYSIS(m, axial, log);
    if (mphi) mphiAngle = RUN_MPHI_ANALYSIS(m, mp, log).angle;
    for (const auto& e : log.entries()) err << e.text << "\n";

    OffscreenGui gui;
    QImage image(CHART_PICTURE_W, CHART_PICTURE_H, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        const ChartFrame frame{0, 0, image.width(), image.height(), 1};
        if (pm) GEN_PM_CURVE_IMAGE(canvas, m, frame, angle, marks);
        if (mm) {
            canvas.font.name = "Courier New";  // the face a P-M chart leaves on the picture
            GEN_MM_CURVE_IMAGE(canvas, m, frame, axial, marks);
        }
        if (mphi) GEN_M_fai_CURVE_IMAGE(canvas, m, image.width(), image.height(), mp.steps, mphiAngle);
    }
    if (!image.save(QString::fromStdString(*out), "PNG"))
        throw FileError("Cannot write file \"" + *out + "\".");
    return 0;
}
#else
int report(Args&, std::ostream&, std::ostream& err) {
    err << "report: this qavsec-cli was built without Qt, which writes the PDF file.\n";
    return 1;
}
int chart(Args&, std::ostream&, std::ostream& err) {
    err << "chart: this qavsec-cli was built without Qt, which writes the PNG picture.\n";
    return 1;
}
#endif

QAVSEC_COMMAND("report",
               "report FILE.sec --doc figure|text|section-data|loads -o OUT.pdf [--angle DEG] [--axial KN] "
               "[--loads F.csv --units N,mm|kN,m] [--all] [--critical]",
               report, "Prints one of the printed reports to a PDF file.",
               {{"--doc figure|text|section-data|loads",
                 "the report: figure, text, section data or load check (--figure, --text, --section-data "
                 "and --loads alone still work)"},
                {"-o OUT.pdf", "the PDF file to write"},
                {"--angle DEG", "moment angle of the P-M curve (default 45)"},
                {"--axial KN", "axial force of the Myy-Mzz curve (default 1000)"},
                {"--loads F.csv", "load combinations to import and check (--csv is the older name)"},
                help::units,
                {"--all", "mark every load combination on the charts"},
                {"--critical", "mark the critical load combination on the charts"},
                help::npm, help::nmm, help::meshSize});
QAVSEC_COMMAND("chart",
               "chart FILE.sec (--pm DEG|--mm KN|--mphi x|y [--negative --axial KN --max-strain E --steps N]) "
               "-o OUT.png [--loads F.csv --units N,mm|kN,m] [--all] [--critical]",
               chart, "Draws one chart as a PNG picture.",
               {{"--pm DEG", "the P-M chart at this moment angle"},
                {"--mm KN", "the Myy-Mzz chart at this axial force"},
                {"--mphi x|y", "the moment-curvature chart about this axis"},
                {"--negative", "moment-curvature: negative moment"},
                {"--axial KN", "moment-curvature: axial force (default 1000)"},
                {"--max-strain E", "moment-curvature: largest strain (default 0.0035)"},
                {"--steps N", "moment-curvature: strain steps (default 20)"},
                {"-o OUT.png", "the picture to write"},
                help::loads, help::units,
                {"--all", "mark every load combination"},
                {"--critical", "mark the critical load combination"},
                help::npm, help::nmm, help::meshSize});

}  // namespace
}  // namespace qav::cli
