// Printed reports and charts without a window: `report` writes one of the printed documents as a
// PDF file, `chart` one of the dialogs' charts as a PNG picture. Both mesh the section first,
// as the analysis commands do, and draw with the compositions the application prints.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "cli/analysis_inputs.h"
#include "cli/cli.h"
#include "cli/section_setup.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "reports/code_comparison.h"
#include "reports/interaction_charts.h"
#include "reports/key_point_marks.h"
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

#include "render/output_files.h"
#include "render/printing_pages.h"
#include "render/qt_canvas.h"
#endif

namespace qav::cli {
namespace {

#ifdef QAVSEC_WITH_QT
// The section prepared as for every command; with combinations at hand the member check runs,
// so charts and the load report show load fractions and the critical combination.
SectionModel prepareChecked(Args& args, std::ostream& err) {
    const auto pos = args.positional(1);
    SectionModel m = prepareSection(pos[0], args.shared(), err);
    if (m.document.NFORCE > 0) {
        MessageLog log;
        NullProgress progress;
        CHECK_MEMBER(m, inputDefault(KP_INPUT), inputDefault(KMY_INPUT), inputDefault(KMX_INPUT),
                     log, progress);
        printMessages(log, err);
    }
    return m;
}

// The document of --doc figure|text|section-data|loads, by its index. The earlier switches
// --figure, --text and --section-data still choose it; so does --loads alone, as long as neither
// --doc nor one of those switches is there (otherwise --loads names the load file, as it does in
// every command).
int chooseDocument(Args& args) {
    static const char* const names[] = {"figure", "text", "section-data", "loads"};
    int chosen = -1;
    auto choose = [&](int i) {
        if (chosen >= 0) throw UsageError("choose one document");
        chosen = i;
    };
    if (const auto doc = args.take("--doc")) {
        const auto it = std::find(std::begin(names), std::end(names), *doc);
        if (it == std::end(names))
            throw UsageError("--doc takes figure, text, section-data or loads");
        choose(static_cast<int>(it - std::begin(names)));
    }
    for (int i = 0; i < 3; ++i)
        if (args.flag(std::string("--") + names[i])) choose(i);
    // "--loads=F.csv" names the load file, never the earlier switch.
    if (chosen < 0 && args.alone("--loads") && args.flag("--loads")) chosen = 3;
    if (chosen < 0) throw UsageError("choose one document with --doc");
    return chosen;
}

// The report takes the load options itself, after its document: "--loads" alone may still be
// the earlier switch of the load report.
void takeLoadOptions(Args& args) {
    for (const SharedOption& s : sharedOptions()) {
        if ((s.group & LOAD_OPTIONS) == 0) continue;
        std::optional<std::string> value;
        for (const std::string& name : s.oldNames)
            if (auto v = args.take(name)) value = v;
        if (auto v = args.take(s.option.name)) {
            if (value)
                throw UsageError(s.oldNames.front() + " is the earlier name of " + s.option.name +
                                 ": give one");
            value = v;
        }
        if (value) s.apply(args.shared(), *value);
    }
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

int report(Args& args, std::ostream&, std::ostream& err) {
    const int document = chooseDocument(args);
    takeLoadOptions(args);
    const std::string out = outputPath(args, "OUT.pdf");
    ReportInputs in;
    in.marks = {args.flag("--critical"), args.flag("--all")};
    const double angle = inputNumber(args, ANGLE_INPUT);
    const double axial = inputNumber(args, AXIAL_INPUT);
    in.angle = [angle] { return angle; };
    in.axial = [axial] { return axial; };
    SectionModel m = prepareChecked(args, err);
    OffscreenGui gui;
    RecordedDocument doc(pageTextMeasure());
    MessageLog log;
    NullProgress progress;
    switch (document) {
        case 0:
            printFigureReport(doc, m, in, log, progress);
            break;
        case 1:
            printTextReport(doc, m, in, log, progress);
            break;
        case 2:
            printSectionDataPage(doc, m);
            break;
        default:
            PRINT_OUT_REPORT(doc, LOAD_REPORT_LINES(m), sectionCode(m));
            break;
    }
    printMessages(log, err);
    {
        OutputWriting writing;
        writePdfFile(doc, out, document == 0 || document == 3);
    }
    err << Format("%D page(s) written to %s", {doc.pageCount(), out}) << "\n";
    return 0;
}

// Draws a chart on a white picture of the charts' size and writes it as a PNG file.
void writeChartPicture(const std::string& out,
                       const std::function<void(Canvas&, const ChartFrame&)>& draw) {
    OffscreenGui gui;
    QImage image(CHART_PICTURE_W, CHART_PICTURE_H, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        draw(canvas, ChartFrame{0, 0, image.width(), image.height(), 1});
    }
    OutputWriting writing;
    writeImageFile(image, out, "PNG");
}

int chart(Args& args, std::ostream&, std::ostream& err) {
    const auto pm = args.take("--pm");
    const auto mm = args.take("--mm");
    const auto mphi = args.take("--mphi");
    if ((pm ? 1 : 0) + (mm ? 1 : 0) + (mphi ? 1 : 0) != 1)
        throw UsageError("choose one of --pm, --mm, --mphi");
    const std::string out = outputPath(args, "OUT.png");
    const LoadMarks marks{args.flag("--critical"), args.flag("--all")};
    const bool keyPoints = args.flag("--key-points");
    if (keyPoints && !pm) throw UsageError("--key-points belongs to --pm");
    MphiInput mp;
    if (mphi) {
        mp = takeMphiInput(args, "--mphi", *mphi);
        refuseGiven(args, MPHI_TIES);
    }
    const double angle = pm ? numberValue("--pm", *pm) : 0;
    const double axial = mm ? numberValue("--mm", *mm) : 0;
    SectionModel m = prepareChecked(args, err);
    if (mphi) settleMaxStrain(m, mp);

    MessageLog log;
    double mphiAngle = 0;
    if (pm) RUN_PM_CURVE_ANALYSIS(m, angle, log);
    const ChartMarkers markers =
        keyPoints ? keyPointMarkers(PM_KEY_POINTS(m, angle, log)) : ChartMarkers{};
    if (mm) RUN_MM_CURVE_ANALYSIS(m, axial, log);
    if (mphi) mphiAngle = RUN_MPHI_ANALYSIS(m, mp, log).angle;
    printMessages(log, err);

    writeChartPicture(out, [&](Canvas& canvas, const ChartFrame& frame) {
        if (pm) GEN_PM_CURVE_IMAGE(canvas, m, frame, angle, marks, markers);
        if (mm) {
            canvas.font.name = "Courier New";  // the face a P-M chart leaves on the picture
            GEN_MM_CURVE_IMAGE(canvas, m, frame, axial, marks);
        }
        if (mphi) GEN_M_fai_CURVE_IMAGE(canvas, m, frame.W, frame.H, mp.steps, mphiAngle);
    });
    return 0;
}

int compare(Args& args, std::ostream&, std::ostream& err) {
    const double angle = inputNumber(args, ANGLE_INPUT);
    const std::string out = outputPath(args, "OUT.png");
    const auto pos = args.positional(1);
    // The ties belong to the ACI 318-19 curve, whatever the section's own code.
    SharedOptions o = args.shared();
    o.ties.reset();
    SectionModel m = prepareSection(pos[0], o, err);
    if (args.shared().ties) m.document.TIES = *args.shared().ties;
    MessageLog log;
    const CodeComparison cmp = compareCodes(m, angle, log);
    for (const CodeCurve& k : cmp.curves)
        for (const std::string& g : k.grades) err << codeName(k.code) << ": " << g << "\n";
    printMessages(log, err);

    writeChartPicture(out, [&](Canvas& canvas, const ChartFrame& frame) {
        drawCodeComparison(canvas, cmp, frame);
    });
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
int compare(Args&, std::ostream&, std::ostream& err) {
    err << "compare: this qavsec-cli was built without Qt, which writes the PNG picture.\n";
    return 1;
}
#endif

// The load options as the report lists them (it takes them itself).
std::vector<Option> loadOptions() {
    std::vector<Option> all;
    for (const SharedOption& s : sharedOptions())
        if ((s.group & LOAD_OPTIONS) != 0) all.push_back(s.option);
    return all;
}

const std::vector<Option> MARK_OPTIONS{{"--all", "", "marks every load combination"},
                                       {"--critical", "", "marks the critical load combination"}};

QAVSEC_COMMAND(
    "report", "prints the figure, text, section data or loads report as a PDF", "FILE.sec",
    {{"--doc", "figure|text|section-data|loads",
      "the figure report, the text report, the section data page or the load combination report "
      "(--figure, --text, --section-data, --loads alone: the earlier spellings)",
      Option::Required},
     outputOption("OUT.pdf", "the document as a PDF file"),
     ANGLE_INPUT.option,
     AXIAL_INPUT.option,
     loadOptions()[0],
     loadOptions()[1],
     MARK_OPTIONS[0],
     MARK_OPTIONS[1]},
    ANALYSIS_COMMAND, report);
QAVSEC_COMMAND("chart", "draws a P-M, Myy-Mxx or M-Phi chart as a picture",
               "FILE.sec (--pm DEG|--mm KN|--mphi x|y)",
               {{"--pm", "DEG", "the P-M chart at a moment angle", Option::InOperands},
                {"--mm", "KN", "the Myy-Mxx chart at an axial force", Option::InOperands},
                {"--mphi", "x|y", "the M-Phi chart about the X or the Y axis", Option::InOperands},
                {"--key-points", "", "marks the key points of the P-M curve"},
                {"--negative", "", "negative moment (M-Phi)"},
                AXIAL_INPUT.option,
                MAX_STRAIN_INPUT.option,
                STEPS_INPUT.option,
                outputOption("OUT.png", "the chart as a PNG picture"),
                MARK_OPTIONS[0],
                MARK_OPTIONS[1]},
               ANALYSIS_COMMAND | LOAD_OPTIONS, chart);
QAVSEC_COMMAND("compare", "draws the design P-M curves under the three codes on one chart",
               "FILE.sec",
               {ANGLE_INPUT.option,
                outputOption("OUT.png",
                             "the design P-M curves under HK-COP-2013, EN 1992-1-1 and "
                             "ACI 318-19 (code limits) on one chart")},
               ANALYSIS_COMMAND, compare, {},
               {{"--strain-limit",
                 "each code's curve is drawn at that code's own ultimate "
                 "limits, the comparison's point"}});

}  // namespace
}  // namespace qav::cli
