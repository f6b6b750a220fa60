// The printed documents: frames, page compositions and the recorded document they are drawn in.
#include "reports/printed_pages.h"

#include <gtest/gtest.h>

#include "analysis/example_sections.h"
#include "analysis/load_combinations.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/design_code.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "reports/load_report.h"
#include "reports/text_reports.h"

using namespace qav;
using Kind = RecordingCanvas::Kind;

namespace {

std::vector<std::vector<Point>> segments(const RecordingCanvas& c) {
    std::vector<std::vector<Point>> out;
    for (const auto& l : c.callsOf(Kind::Line)) out.push_back(l.points);
    return out;
}

const RecordingCanvas::Call* textCall(const RecordingCanvas& c, const std::string& text) {
    for (const auto& call : c.calls())
        if (call.kind == Kind::Text && call.text == text) return &call;
    return nullptr;
}

SectionModel meshedExample() {
    return qav::test::meshedExample("rectangular_column", {.npm = 6, .nmm = 8});
}

// The same converted to a code first.
SectionModel meshedExampleUnder(CodeId code) {
    SectionModel m = test::openedExample("rectangular_column");
    EXPECT_TRUE(convertSectionCode(m, code).ok) << codeName(code);
    test::meshWith(m, {.npm = 6, .nmm = 8});
    return m;
}

void addLoads(SectionModel& m, int n) {
    m.document.FORCE.assign(static_cast<std::size_t>(n) + 1, TFORCE{-1000, 10, 20, "C", 1.5});
    m.document.NFORCE = n;
}

}  // namespace

TEST(PrintedPages, TableGridLinesAndLabels) {
    RecordingCanvas c;
    PRINT_TABLE_GRID(c, 1);
    const std::vector<std::vector<Point>> expected{
        {{262, 162}, {13740, 162}},    {{13740, 162}, {13740, 9060}}, {{13740, 9060}, {262, 9060}},
        {{262, 9060}, {262, 162}},     {{425, 324}, {13553, 324}},    {{425, 1212}, {13553, 1212}},
        {{425, 1212}, {425, 324}},     {{13553, 1212}, {13553, 324}}, {{2289, 1212}, {2289, 324}},
        {{11212, 1212}, {11212, 324}}, {{12237, 1212}, {12237, 324}}, {{11212, 552}, {13553, 552}},
        {{11212, 779}, {13553, 779}},  {{11212, 995}, {13553, 995}},  {{425, 4095}, {3005, 4095}},
        {{3005, 8912}, {3005, 4095}},  {{425, 8912}, {425, 4095}},    {{3005, 8912}, {425, 8912}},
    };
    EXPECT_EQ(segments(c), expected);
    struct Label {
        const char* text;
        Point at;
    };
    const Label labels[] = {{"SECTION ANALYSIS", {514, 875}},    {"AND DESIGN", {514, 1042}},
                            {"Project", {11330, 404}},           {"Prepared by", {11334, 620}},
                            {"Checked by", {11341, 841}},        {"Date", {11346, 1040}},
                            {"QAV SECTION V1.0", {12557, 9131}}, {"BS-8110", {12858, 9277}}};
    for (const Label& l : labels) {
        const auto* t = textCall(c, l.text);
        ASSERT_NE(t, nullptr) << l.text;
        EXPECT_EQ(t->points[0], l.at) << l.text;
    }
}

TEST(PrintedPages, SectionDataPageColumns) {
    SectionModel m;
    std::vector<std::string> base;
    GEN_SECTION_SUMMARY(m, base);
    struct Case {
        const char* name;
        int lines;
        int pages;
        std::vector<std::pair<int, Point>> at;  // printed line i and where
    };
    const Case cases[] = {
        {"130 lines fill three columns",
         130,
         1,
         {{1, {425, 590}},
          {60, {425, 8850}},
          {61, {3675, 590}},
          {121, {6925, 590}},
          {129, {6925, 1710}}}},
        {"a longer summary goes on to a second page",
         200,
         2,
         {{180, {6925, 8850}}, {181, {425, 590}}}},
    };
    for (const Case& k : cases) {
        SectionModel s;
        const int bars = k.lines - static_cast<int>(base.size());
        s.document.BAR.assign(static_cast<std::size_t>(bars) + 1, TBAR{1, 2, 20});
        s.document.NBAR = bars;
        std::vector<std::string> lines;
        GEN_SECTION_SUMMARY(s, lines);
        ASSERT_EQ(static_cast<int>(lines.size()), k.lines) << k.name;
        RecordedDocument doc;
        printSectionDataPage(doc, s);
        ASSERT_EQ(doc.pageCount(), k.pages) << k.name;
        std::vector<RecordingCanvas::Call> texts;
        for (int p = 0; p < doc.pageCount(); ++p) {
            for (const auto& t : doc.pageAt(p).callsOf(Kind::Text)) texts.push_back(t);
            const auto frame = doc.pageAt(p).callsOf(Kind::Rectangle);
            ASSERT_EQ(frame.size(), 1u) << k.name;
            EXPECT_EQ(frame[0].points, (std::vector<Point>{{425, 450}, {9450, 13425}})) << k.name;
            EXPECT_EQ(frame[0].brush.style, BrushStyle::Clear) << k.name;
        }
        ASSERT_EQ(static_cast<int>(texts.size()), k.lines - 1)
            << k.name << ": the first rule is not printed";
        for (const auto& [i, at] : k.at) {
            EXPECT_EQ(texts[static_cast<std::size_t>(i - 1)].text,
                      lines[static_cast<std::size_t>(i)])
                << k.name << " line " << i;
            EXPECT_EQ(texts[static_cast<std::size_t>(i - 1)].points[0], at)
                << k.name << " line " << i;
        }
    }
}

TEST(PrintedPages, FigureReportRunsEachAnalysisBeforeItsChart) {
    SectionModel m = meshedExample();
    RecordedDocument doc;
    NullMessages msgs;
    NullProgress progress;
    ReportInputs in{{}, [] { return 30.0; }, [] { return 500.0; }};
    printFigureReport(doc, m, in, msgs, progress);
    ASSERT_EQ(doc.pageCount(), 1);
    const RecordingCanvas& page = doc.pageAt(0);
    std::vector<std::vector<Point>> frames;
    for (const auto& r : page.callsOf(Kind::Rectangle)) frames.push_back(r.points);
    const std::vector<std::vector<Point>> expected{{{425, 1350}, {3005, 3930}},
                                                   {{3100, 1350}, {8250, 5070}},
                                                   {{8350, 1350}, {13500, 5070}},
                                                   {{3100, 5150}, {8250, 8870}},
                                                   {{8350, 5150}, {13500, 8870}}};
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(textCall(page, "Material Properties")->points[0], (Point{425, 4100}));
    EXPECT_NE(textCall(page, "Moment angle = 90"), nullptr);
    EXPECT_NE(textCall(page, "Moment angle = 45"), nullptr);
    EXPECT_NE(textCall(page, "Axial Load = 500.00 kN"), nullptr);
    EXPECT_EQ(m.results.MM_MX.size(), 9u) << "the Myy-Mxx run is left in the results";

    // A field that is not a number stops the document after the charts before it.
    RecordedDocument stopped;
    ReportInputs bad{
        {},
        [] { return 30.0; },
        []() -> double { throw ConversionError("'x' is not a valid floating point value"); }};
    EXPECT_THROW(printFigureReport(stopped, m, bad, msgs, progress), ConversionError);
    EXPECT_EQ(stopped.pageAt(0).callsOf(Kind::Rectangle).size(), 4u);
}

// The section data beside the charts stays inside its frame under each code, with the loads
// checked (its longest form).
TEST(PrintedPages, FigureReportSectionDataStaysInsideItsFrame) {
    for (const CodeId code : {CodeId::HkCop2013, CodeId::Ec2, CodeId::Aci318}) {
        SCOPED_TRACE(codeName(code));
        SectionModel m = meshedExampleUnder(code);
        IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
        NullMessages msgs;
        NullProgress progress;
        CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
        RecordedDocument doc([](const Font& f, const std::string& s) {
            return TextSize{static_cast<int>(s.size()) * f.size * 10, f.size * 20};
        });
        printFigureReport(doc, m, ReportInputs{{}, [] { return 30.0; }, [] { return 500.0; }}, msgs,
                          progress);
        RecordingCanvas& page = const_cast<RecordingCanvas&>(doc.pageAt(0));
        ASSERT_NE(textCall(page, "Loading Checking"), nullptr);
        for (const auto& t : page.callsOf(Kind::Text)) {
            if (t.points[0].x != 425 || t.points[0].y < 4095) continue;
            page.font = t.font;
            EXPECT_LE(t.points[0].x + page.textWidth(t.text), 3005) << t.text;
            EXPECT_LE(t.points[0].y + page.textHeight(t.text), 8912) << t.text;
        }
    }
}

// The four tables go two to a page, each whole inside its page's frame, under each code (their
// tables differ); a table longer than the frame goes on in the next column.
TEST(PrintedPages, TextReportTablesStayInsideTheFrame) {
    for (const CodeId code : {CodeId::HkCop2013, CodeId::Ec2, CodeId::Aci318}) {
        SCOPED_TRACE(codeName(code));
        SectionModel m = meshedExampleUnder(code);
        NullMessages msgs;
        NullProgress progress;
        struct Heading {
            const char* text;
            int page, x;
        };
        const Heading headings[] = {{"P-M Angle = 0.0", 0, 425},
                                    {"P-M Angle = 90.0", 0, 3825},
                                    {"P-M Angle = 30.0", 1, 425},
                                    {"Axial Force = 500.0", 1, 3825}};
        for (int npm : {0, 120}) {
            if (npm > 0) m.settings.NPM = npm;  // tables of some 250 lines: longer than a frame
            // Courier's advance at 1200 dpi: 0.6 of the point size in 72ths of an inch.
            RecordedDocument doc([](const Font& f, const std::string& s) {
                return TextSize{static_cast<int>(s.size()) * f.size * 10, f.size * 20};
            });
            printTextReport(doc, m, ReportInputs{{}, [] { return 30.0; }, [] { return 500.0; }},
                            msgs, progress);
            ASSERT_GE(doc.pageCount(), 2);
            if (npm == 0) {
                ASSERT_EQ(doc.pageCount(), 2);
                for (const Heading& h : headings) {
                    const auto* t = textCall(doc.pageAt(h.page), h.text);
                    ASSERT_NE(t, nullptr) << h.text;
                    EXPECT_EQ(t->points[0], (Point{h.x, 540})) << h.text;
                    EXPECT_EQ(t->font.size, 5) << h.text;
                    EXPECT_EQ(t->font.name, "Courier New") << h.text;
                }
            }
            for (int p = 0; p < doc.pageCount(); ++p) {
                RecordingCanvas& page = const_cast<RecordingCanvas&>(doc.pageAt(p));
                const auto frame = page.callsOf(Kind::Rectangle);
                ASSERT_EQ(frame.size(), 1u);
                EXPECT_EQ(frame[0].points, (std::vector<Point>{{420, 445}, {9445, 13420}}));
                for (const auto& t : page.callsOf(Kind::Text)) {
                    page.font = t.font;
                    EXPECT_LE(t.points[0].x + page.textWidth(t.text), 9445) << t.text;
                    EXPECT_LE(t.points[0].y + page.textHeight(t.text), 13420) << t.text;
                }
            }
        }
    }
}

TEST(PrintedPages, ReplayScalesCoordinatesButNotFonts) {
    RecordedDocument doc([](const Font& f, const std::string& s) {
        return TextSize{static_cast<int>(s.size()) * f.size * 10, f.size * 20};
    });
    Canvas& c = doc.page();
    c.font.size = 8;
    EXPECT_EQ(c.textWidth("abc"), 240) << "the measure of the target device";
    c.pen.width = 4;
    c.line(100, 200, 1201, 2400);
    c.textOut(600, 600, "x");
    doc.newPage();
    EXPECT_EQ(doc.page().pen.width, 4) << "a new page keeps the tools";
    RecordingCanvas target;
    replayPage(doc.pageAt(0), target, 0.5);
    const auto line = target.callsOf(Kind::Line);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].points, (std::vector<Point>{{50, 100}, {600, 1200}}));
    EXPECT_EQ(line[0].pen.width, 2);
    EXPECT_EQ(target.callsOf(Kind::Text)[0].points[0], (Point{300, 300}));
    EXPECT_EQ(target.callsOf(Kind::Text)[0].font.size, 8);
}

TEST(LoadReport, LinesAndPages) {
    struct Case {
        const char* name;
        int combinations;
        int pages;
        int textsOnLastPage;
    };
    // Each page also carries the 23 texts of its frame; the last line names the strain limit.
    const Case cases[] = {
        {"no combinations", 0, 1, 4 + 23},
        {"180 lines fill one page", 176, 1, 180 + 23},
        {"181 lines start a second page", 177, 2, 1 + 23},
    };
    for (const Case& k : cases) {
        SectionModel m;
        addLoads(m, k.combinations);
        const auto lines = LOAD_REPORT_LINES(m);
        ASSERT_EQ(static_cast<int>(lines.size()), k.combinations + 4) << k.name;
        EXPECT_EQ(lines.back(), "Strain limit: control strain 0.005") << k.name;
        RecordedDocument doc;
        PRINT_OUT_REPORT(doc, lines);
        ASSERT_EQ(doc.pageCount(), k.pages) << k.name;
        const RecordingCanvas& last = doc.pageAt(k.pages - 1);
        EXPECT_EQ(static_cast<int>(last.callsOf(Kind::Text).size()), k.textsOnLastPage) << k.name;
    }
    SectionModel m;
    addLoads(m, 178);
    RecordedDocument doc;
    PRINT_OUT_REPORT(doc, LOAD_REPORT_LINES(m));
    const auto first = doc.pageAt(0).callsOf(Kind::Text);
    const auto* header =
        textCall(doc.pageAt(0), "COMB        P(kN)       My(kNm)     Mx(kNm)     LoadFraction");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->points[0], (Point{500, 1740}));
    EXPECT_EQ(header->font, (Font{"Courier New", 7}));
    const auto* row61 =
        textCall(doc.pageAt(0), "58 C        -1000.000   10.000      20.000      1.500       ");
    ASSERT_NE(row61, nullptr);
    EXPECT_EQ(row61->points[0], (Point{4900, 1620})) << "line 61 opens the second column";
    const auto* lastLine =
        textCall(doc.pageAt(1), "178 C       -1000.000   10.000      20.000      1.500       ");
    ASSERT_NE(lastLine, nullptr);
    EXPECT_EQ(lastLine->points[0], (Point{500, 1620}));

    // A fraction below 1 is cut, never rounded up to 1, and marked; the legend follows.
    // Each combination by its number and name; one without a name as COMB_n; a long name cut
    // to its column, so the line stays inside its column on the page.
    addLoads(m, 3);
    m.document.FORCE[2].LOAD_FRACTION = 0.99971;
    m.document.FORCE[1].COMB_NAME = "";
    m.document.FORCE[3].COMB_NAME = "ULS_WIND_LEFT_MAX_SUCTION";
    const auto marked = LOAD_REPORT_LINES(m);
    ASSERT_EQ(marked.size(), 3u + 3 + 2 + 1);
    EXPECT_EQ(marked[3].rfind("COMB_1      -1000.000", 0), 0u) << marked[3];
    EXPECT_EQ(marked[5].rfind("3 ULS_WIND~ -1000.000", 0), 0u) << marked[5];
    EXPECT_EQ(marked[5].size(), 60u);
    EXPECT_EQ(marked[4], "2 C         -1000.000   10.000      20.000      0.999<1     ");
    EXPECT_EQ(marked[7].rfind("<1 ", 0), 0u) << marked[7];
}

TEST(LoadReport, FrameAndLogo) {
    RecordingCanvas c;
    c.font = Font{"Courier New", 7};
    PRINT_OUT_TABLE_GRID(c);
    const auto lines = segments(c);
    ASSERT_EQ(lines.size(), 14u + 3 * 9);
    EXPECT_EQ(lines[0], (std::vector<Point>{{262, 162}, {13740, 162}}));
    EXPECT_EQ(lines[14], (std::vector<Point>{{425, 1355}, {4725, 1355}})) << "table group 1";
    EXPECT_EQ(lines[18], (std::vector<Point>{{425, 1535}, {4725, 1535}})) << "its header line";
    EXPECT_EQ(lines[19], (std::vector<Point>{{1269, 1355}, {1269, 8912}}));
    EXPECT_EQ(lines.back(), (std::vector<Point>{{12622, 1355}, {12622, 8912}}));
    const auto* title = textCall(c, "LOAD COMB");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->points[0], (Point{487, 1415}));
    EXPECT_EQ(title->font.name, "Arial");
    EXPECT_EQ(textCall(c, "HK-COP-2013")->points[0], (Point{12822, 9291}));
    EXPECT_EQ(c.font, (Font{"Courier New", 7})) << "the line font comes back";
    // BS-8110 is not named here (as specified); a code's own grades are.
    for (const CodeId code : {CodeId::Bs8110, CodeId::Aci318}) {
        RecordingCanvas named;
        PRINT_OUT_TABLE_GRID(named, code);
        EXPECT_NE(textCall(named, code == CodeId::Aci318 ? "ACI 318-19" : "HK-COP-2013"), nullptr);
    }

    RecordingCanvas logo;
    PRINT_PROGRAM_LOGO(logo);
    const auto strokes = segments(logo);
    ASSERT_GT(strokes.size(), 50u);
    for (const auto& s : strokes)
        for (const Point& p : s) {
            EXPECT_GE(p.x, LOGO_X1);
            EXPECT_LE(p.x, LOGO_X2);
            EXPECT_GE(p.y, LOGO_Y1);
            EXPECT_LE(p.y, LOGO_Y2);
        }
}
