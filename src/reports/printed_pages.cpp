#include "reports/printed_pages.h"

#include <algorithm>

#include "analysis/interaction_curves.h"
#include "model/design_code.h"
#include "reports/interaction_charts.h"
#include "reports/report_curves.h"
#include "reports/section_picture.h"
#include "reports/text_reports.h"

namespace qav {

namespace {

// Frame and title block of the one-page reports.
const std::vector<Segment> kTableGrid = {
    {262, 162, 13740, 162},    {13740, 162, 13740, 9060}, {13740, 9060, 262, 9060},
    {262, 9060, 262, 162},     {425, 324, 13553, 324},    {425, 1212, 13553, 1212},
    {425, 1212, 425, 324},     {13553, 1212, 13553, 324}, {2289, 1212, 2289, 324},
    {11212, 1212, 11212, 324}, {12237, 1212, 12237, 324}, {11212, 552, 13553, 552},
    {11212, 779, 13553, 779},  {11212, 995, 13553, 995},  {425, 4095, 3005, 4095},
    {3005, 8912, 3005, 4095},  {425, 8912, 425, 4095},    {3005, 8912, 425, 8912},
};

void courier(Canvas& c, int size) {
    c.font.name = "Courier New";
    c.font.size = size;
}

}  // namespace

void PRINT_TABLE_GRID(Canvas& c, const std::string& codeLabel) {
    c.pen = Pen{};
    drawSegments(c, kTableGrid);
    c.textOut(514, 875, "SECTION ANALYSIS");
    c.textOut(514, 1042, "AND DESIGN");
    c.textOut(11330, 404, "Project");
    c.textOut(11334, 620, "Prepared by");
    c.textOut(11341, 841, "Checked by");
    c.textOut(11346, 1040, "Date");
    c.textOut(12557, 9131, "QAV SECTION V1.0");
    c.textOut(12858, 9277, codeLabel);
}

void PRINT_PM_TEXT(Canvas& c, const std::vector<std::string>& data, int SX, int SY) {
    courier(c, 5);
    for (std::size_t k = 0; k < data.size(); ++k)
        c.textOut(SX, SY + 90 * static_cast<int>(k), data[k]);
}

void PRINT_SECTION_DATA_TEXT(Canvas& c, const std::vector<std::string>& data, int SX, int SY,
                             int TH) {
    for (std::size_t k = 0; k < data.size(); ++k)
        c.textOut(SX, SY + TH * static_cast<int>(k), data[k]);
}

void printFigureReport(PageDocument& doc, SectionModel& m, const ReportInputs& in, Messages& msgs,
                       Progress& progress) {
    Canvas& c = doc.page();
    PRINT_DESIGN_SECTION(c, m, 425, 1350, 2580, 2580);
    std::vector<std::string> lines;
    GEN_SECTION_DATA_TEXT(m, lines);
    // The block fits its frame below the picture (down to 8912): where it has more lines than
    // the frame holds at 8 points (a check's "Loading Checking" lines), they stand closer and
    // the type is smaller with them.
    constexpr int top = 4100, bottom = 8912 - 40, lineHeight = 140, points = 8;
    const int th =
        std::min(lineHeight, (bottom - top) / std::max(1, static_cast<int>(lines.size())));
    courier(c, std::max(4, points * th / lineHeight));
    PRINT_SECTION_DATA_TEXT(c, lines, 425, top, th);
    courier(c, 8);
    PRINT_TABLE_GRID(c, codeName(sectionCode(m)));
    struct Chart {
        double angle;
        int x, y;
    };
    constexpr Chart pmCharts[] = {{0, 3100, 1350}, {90, 8350, 1350}, {45, 3100, 5150}};
    // The four curves run side by side; the charts are drawn from their results in turn.
    std::vector<ReportCurve> curves;
    for (const Chart& ch : pmCharts) curves.push_back(pmCurve(ch.angle));
    curves.push_back(readCurve(ReportCurve::Kind::Mm, in.axial));
    const ReportCurves runs(m, curves, &progress);
    runs.replayMessages(msgs);
    for (int k = 0; k < 3; ++k) {
        const Chart& ch = pmCharts[k];
        PRINT_PM_CURVE_IMAGE_PDF(c, m, runs.result(k), ch.x, ch.y, 5150, 3720, ch.angle, in.marks);
    }
    PRINT_MM_CURVE_IMAGE_PDF(c, m, runs.result(3), 8350, 5150, 5150, 3720, curves[3].value,
                             in.marks);
    runs.commit(m);
    progress.setPosition(100);
}

void printTextReport(PageDocument& doc, SectionModel& m, const ReportInputs& in, Messages& msgs,
                     Progress& progress) {
    Canvas& c = doc.page();
    courier(c, 5);
    const std::vector<ReportCurve> curves = {pmCurve(0), pmCurve(90),
                                             readCurve(ReportCurve::Kind::Pm, in.angle),
                                             readCurve(ReportCurve::Kind::Mm, in.axial)};
    const ReportCurves runs(m, curves, &progress);
    runs.replayMessages(msgs);
    // The tables stand side by side, 3400 apart from the frame's left edge, as many as fit in the
    // frame; a table longer than the frame goes on in the next column, and a page whose columns
    // are full is framed and followed by another.
    constexpr int left = 425, top = 450, step = 3400, right = 9445, bottom = 13420, line = 90;
    const auto frame = [&doc] {
        doc.page().brush.style = BrushStyle::Clear;
        doc.page().rectangle(420, 445, right, bottom);
    };
    int x = left;
    bool pageUsed = false;
    const auto nextColumn = [&](int width) {
        if (!pageUsed) {
            pageUsed = true;
            return;
        }
        x += step;
        if (x + width <= right) return;
        frame();
        doc.newPage();
        courier(doc.page(), 5);
        x = left;
    };
    const int rows = std::max(1, (bottom - top) / line - 1);
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const ReportCurve& curve = curves[k];
        std::vector<std::string> table;
        if (curve.kind == ReportCurve::Kind::Pm)
            GEN_PM_analysis_result(runs.result(static_cast<int>(k)), table, curve.value);
        else
            GEN_MM_analysis_result(runs.result(static_cast<int>(k)), table, curve.value);
        int width = 0;
        for (const std::string& l : table) width = std::max(width, doc.page().textWidth(l));
        for (std::size_t first = 0; first < table.size(); first += static_cast<std::size_t>(rows)) {
            nextColumn(width);
            const auto end = std::min(table.size(), first + static_cast<std::size_t>(rows));
            PRINT_PM_TEXT(doc.page(),
                          {table.begin() + static_cast<std::ptrdiff_t>(first),
                           table.begin() + static_cast<std::ptrdiff_t>(end)},
                          x, top);
        }
    }
    runs.commit(m);
    frame();
}

void printSectionDataPage(PageDocument& doc, const SectionModel& m) {
    std::vector<std::string> lines;
    GEN_SECTION_SUMMARY(m, lines);
    courier(doc.page(), 8);
    auto frame = [&doc] {
        doc.page().brush.style = BrushStyle::Clear;
        doc.page().rectangle(425, 450, 9450, 13425);
    };
    int x = 425, y = 450;
    const int count = static_cast<int>(lines.size());
    for (int i = 1; i < count; ++i) {
        y += 140;
        doc.page().textOut(x, y, lines[static_cast<std::size_t>(i)]);
        if (i % 60 == 0) {
            x += 3250;
            y = 450;
            // Three columns fill the frame; a longer summary goes on to another page rather
            // than off the paper.
            if (i % 180 == 0 && i + 1 < count) {
                frame();
                doc.newPage();
                courier(doc.page(), 8);
                doc.page().brush.style = BrushStyle::Solid;
                x = 425;
            }
        }
    }
    frame();
}

}  // namespace qav
