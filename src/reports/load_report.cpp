#include "reports/load_report.h"

#include <utility>
#include <vector>

#include "analysis/fibre_arrays.h"
#include "analysis/load_combinations.h"
#include "model/design_code.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {

constexpr int LINES_PER_COLUMN = 60;
constexpr int LINES_PER_PAGE = 3 * LINES_PER_COLUMN;

const std::vector<Segment> kFrame = {
    // page border
    {262, 162, 13740, 162},
    {13740, 162, 13740, 9060},
    {13740, 9060, 262, 9060},
    {262, 9060, 262, 162},
    // title block and its dividers
    {425, 324, 13553, 324},
    {13553, 324, 13553, 1212},
    {13553, 1212, 425, 1212},
    {425, 1212, 425, 324},
    {2289, 324, 2289, 1212},
    {11212, 324, 11212, 1212},
    {12237, 324, 12237, 1212},
    {11212, 552, 13553, 552},
    {11212, 779, 13553, 779},
    {11212, 995, 13553, 995},
};

// The three column groups: left and right edges, and the four inner column lines.
struct Group {
    int x1, x2;
    int columns[4];
    int titles[5];
};
constexpr Group kGroups[] = {
    {425, 4725, {1269, 2113, 2957, 3801}, {487, 1331, 2175, 3019, 3863}},
    {4838, 9133, {5682, 6526, 7370, 8214}, {4900, 5744, 6588, 7433, 8277}},
    {9246, 13553, {10090, 10934, 11778, 12622}, {9308, 10152, 10996, 11840, 12685}},
};
constexpr int TABLE_TOP = 1355, TABLE_BOTTOM = 8912, HEADER_LINE = 1535, TITLE_Y = 1415;
const char* const kColumnTitles[] = {"LOAD COMB", "P(kN)", "Myy(kNm)", "Mxx(kNm)", "LoadFraction"};

// Outline letters on a grid 4 units wide (Q 5) and 7 high, y downwards; each letter is one or
// two closed outlines (the second the counter of A, O and Q).
struct Letter {
    double width;
    std::vector<std::vector<std::pair<double, double>>> outlines;
};

const std::vector<Letter>& logoLetters() {
    static const std::vector<Letter> letters = {
        {5,
         {{{0, 0}, {4, 0}, {4, 5}, {5, 7}, {0, 7}},
          {{1, 1}, {3, 1}, {3, 5}, {2.5, 6}, {1, 6}}}},  // Q
        {4,
         {{{0, 7}, {1.5, 0}, {2.5, 0}, {4, 7}, {3, 7}, {2.7, 5}, {1.3, 5}, {1, 7}},
          {{1.5, 4}, {2.5, 4}, {2, 1.5}}}},                                     // A
        {4, {{{0, 0}, {1, 0}, {2, 5.5}, {3, 0}, {4, 0}, {2.5, 7}, {1.5, 7}}}},  // V
        {2, {}},                                                                // space
        {4,
         {{{0, 0},
           {4, 0},
           {4, 1},
           {1, 1},
           {1, 3},
           {4, 3},
           {4, 7},
           {0, 7},
           {0, 6},
           {3, 6},
           {3, 4},
           {0, 4}}}},  // S
        {4,
         {{{0, 0},
           {4, 0},
           {4, 1},
           {1, 1},
           {1, 3},
           {3, 3},
           {3, 4},
           {1, 4},
           {1, 6},
           {4, 6},
           {4, 7},
           {0, 7}}}},                                                                     // E
        {4, {{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 6}, {4, 6}, {4, 7}, {0, 7}}}},          // C
        {4, {{{0, 0}, {4, 0}, {4, 1}, {2.5, 1}, {2.5, 7}, {1.5, 7}, {1.5, 1}, {0, 1}}}},  // T
        {4,
         {{{0.5, 0},
           {3.5, 0},
           {3.5, 1},
           {2.5, 1},
           {2.5, 6},
           {3.5, 6},
           {3.5, 7},
           {0.5, 7},
           {0.5, 6},
           {1.5, 6},
           {1.5, 1},
           {0.5, 1}}}},                                                             // I
        {4, {{{0, 0}, {4, 0}, {4, 7}, {0, 7}}, {{1, 1}, {3, 1}, {3, 6}, {1, 6}}}},  // O
        {4,
         {{{0, 0},
           {1, 0},
           {3, 4.5},
           {3, 0},
           {4, 0},
           {4, 7},
           {3, 7},
           {1, 2.5},
           {1, 7},
           {0, 7}}}},  // N
    };
    return letters;
}

}  // namespace

std::vector<std::string> LOAD_REPORT_LINES(const SectionModel& m) {
    const std::string rule(60, '-');
    std::vector<std::string> lines{
        rule, "COMB        P(kN)       My(kNm)     Mx(kNm)     LoadFraction", rule};
    const auto forceRows = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : forceRows) {
        const int32_t i = rowNumber(forceRows, f);
        // The load whose fraction is listed, the fraction cut (never rounded up) and marked.
        const ListedLoad L = listedLoad(m, i);
        // The combination by its number and name (COMB_n where it has none), cut to its column
        // with a ~ where longer (the number names it all the same): a longer line would run
        // into the page's next column.
        std::string comb = f.COMB_NAME.empty() ? "COMB_" + Format("%D", {i})
                                               : Format("%D", {i}) + " " + f.COMB_NAME;
        if (comb.size() > 11) comb = comb.substr(0, 10) + "~";
        lines.push_back(PAD_RIGHT(12, comb) + PAD_RIGHT(12, Format("%0.3F", {L.P})) +
                        PAD_RIGHT(12, Format("%0.3F", {L.MX})) +
                        PAD_RIGHT(12, Format("%0.3F", {L.MY})) +
                        PAD_RIGHT(12, LoadFractionText(f.LOAD_FRACTION) + checkMarks(m, i)));
    }
    const std::vector<std::string> legend = checkLegend(m);
    if (!legend.empty()) lines.push_back(rule);
    lines.insert(lines.end(), legend.begin(), legend.end());
    // The limit the fractions were found at, so that the page says what it was checked to.
    lines.push_back(std::string("Strain limit: ") + strainLimitCaption(strainLimitInForce(m)));
    return lines;
}

std::vector<std::string> CHECK_LISTING_LINES(const SectionModel& m, int critical) {
    std::vector<std::string> out{"No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,Mark,"};
    const auto forceRows = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : forceRows) {
        const int32_t i = rowNumber(forceRows, f);
        const ListedLoad L = listedLoad(m, i);
        out.push_back(Format("%D", {i}) + "," + f.COMB_NAME + "," +
                      Format("%0.3F,%0.3F,%0.3F,", {L.P, L.MX, L.MY}) +
                      LoadFractionText(f.LOAD_FRACTION) + "," + checkMarks(m, i) + ",");
    }
    if (critical >= 1 && critical <= m.document.NFORCE &&
        static_cast<std::size_t>(critical) < m.document.FORCE.size()) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(critical)];
        const ListedLoad L = listedLoad(m, critical);
        const std::string marks = checkMarks(m, critical);
        out.push_back("Critical LoadComb   " + Format("%D", {critical}));
        out.push_back("Comb Name           " + f.COMB_NAME);
        out.push_back("Min Load Fraction   " + LoadFractionText(f.LOAD_FRACTION) +
                      (marks.empty() ? "" : " " + marks));
        out.push_back("Axial Force P[kN]   " + Format("%0.3f", {L.P}));
        // "Moment Mxx" bends about X: the solver's MY; "Moment Myy" its MX.
        out.push_back("Moment Mxx[kNm]     " + Format("%0.3f", {L.MY}));
        out.push_back("Moment Myy[kNm]     " + Format("%0.3f", {L.MX}));
    }
    const std::vector<std::string> legend = checkLegend(m);
    out.insert(out.end(), legend.begin(), legend.end());
    return out;
}

void PRINT_OUT_TABLE_GRID(Canvas& c, CodeId code) {
    c.pen = Pen{};
    c.font.name = "Arial";
    c.font.bold = c.font.italic = c.font.underline = false;
    c.font.color = colors::black;
    drawSegments(c, kFrame);
    for (const Group& g : kGroups) {
        std::vector<Segment> group{{g.x1, TABLE_TOP, g.x2, TABLE_TOP},
                                   {g.x2, TABLE_TOP, g.x2, TABLE_BOTTOM},
                                   {g.x2, TABLE_BOTTOM, g.x1, TABLE_BOTTOM},
                                   {g.x1, TABLE_BOTTOM, g.x1, TABLE_TOP},
                                   {g.x1, HEADER_LINE, g.x2, HEADER_LINE}};
        for (int x : g.columns) group.push_back({x, TABLE_TOP, x, TABLE_BOTTOM});
        drawSegments(c, group);
    }
    c.textOut(11553, 404, "Date");
    c.textOut(11459, 620, "Calc. by");
    c.textOut(11341, 841, "Reviewed. by");
    c.textOut(11346, 1040, "Checked. by");
    c.textOut(514, 914, "SECTION ANALYSIS");
    c.textOut(514, 1081, "AND DESIGN");
    for (const Group& g : kGroups)
        for (int k = 0; k < 5; ++k) c.textOut(g.titles[k], TITLE_Y, kColumnTitles[k]);
    c.textOut(12614, 9131, "QAV SECTION V1.0");
    // HK-COP-2013 whatever the general setting selects; a code's own grades name their code.
    c.textOut(12822, 9291, codeHasOwnTables(code) ? codeName(code) : DESIGN_CODE_NAMES[0]);
    c.font.name = "Courier New";
}

void PRINT_PROGRAM_LOGO(Canvas& c) {
    double units = 0;
    for (const Letter& l : logoLetters()) units += l.width + 1;
    units -= 1;  // no gap after the last letter
    const double ux = (LOGO_X2 - LOGO_X1) / units;
    const double uy = (LOGO_Y2 - LOGO_Y1) / 7.0;
    double left = 0;
    for (const Letter& l : logoLetters()) {
        for (const auto& outline : l.outlines) {
            auto at = [&](std::size_t i) {
                return Point{LOGO_X1 + Round((left + outline[i].first) * ux),
                             LOGO_Y1 + Round(outline[i].second * uy)};
            };
            const Point start = at(0);
            c.moveTo(start.x, start.y);
            for (std::size_t i = 1; i < outline.size(); ++i) c.lineTo(at(i).x, at(i).y);
            c.lineTo(start.x, start.y);
        }
        left += l.width + 1;
    }
}

void PRINT_OUT_REPORT(PageDocument& doc, const std::vector<std::string>& lines, CodeId code) {
    Canvas& first = doc.page();
    first.brush.style = BrushStyle::Clear;
    first.font.name = "Courier New";
    first.font.size = 7;
    const int count = static_cast<int>(lines.size());
    const int pages = (count + LINES_PER_PAGE - 1) / LINES_PER_PAGE;
    for (int p = 1; p <= pages; ++p) {
        Canvas& c = doc.page();
        PRINT_PROGRAM_LOGO(c);
        PRINT_OUT_TABLE_GRID(c, code);
        for (int col = 1; col <= 3; ++col)
            for (int j = 1; j <= LINES_PER_COLUMN; ++j) {
                const int n = (p - 1) * LINES_PER_PAGE + (col - 1) * LINES_PER_COLUMN + j;
                if (n <= count)
                    c.textOut(500 + (col - 1) * 4400, 1000 + 120 * j + 500,
                              lines[static_cast<std::size_t>(n - 1)]);
            }
        if (LINES_PER_PAGE * p < count) doc.newPage();
    }
}

}  // namespace qav
