#include "reports/export_tables.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "analysis/load_combinations.h"
#include "model/number_text.h"
#include "model/tables.h"
#include "reports/report_curves.h"

namespace qav {

namespace {

const TableEntry ENTRIES[TABLE_ENTRY_COUNT] = {
    {"Section Model", -1, nullptr},
    {"Concrete Section Information", 0, "Concrete_Section"},
    {"Cover Line", 0, "Cover Line"},
    {"Steel Section Information", 0, "Steel_Section"},
    {"Rebars Properties", 0, "Rebars_Information"},
    {"Opening Properties", 0, "Opening_Information"},
    {"Mesh Information", 0, "Mehs_Information"},
    {"Material", -1, nullptr},
    {"Concrete", 7, "Concrete_Material"},
    {"Steel", 7, "Steel_Material"},
    {"ConcCover", 7, "Cover_Material"},
    {"Loading", 7, "Loading"},
    {"Analysis Result", -1, nullptr},
    {"P-Mx Curve", 12, "P_Mx_Curve"},
    {"P-My Curve", 12, "P_My_Curve"},
    {"P-M(ang)Curve", 12, "P_Ma_Curve"},
    {"Mx-My Curve", 12, "Mx_My_Curve"},
};

TableCell textCell(std::string s) {
    return {std::move(s), false, -1};
}

TableCell intCell(int v) {
    return {Format("%D", {v}), true, -1};
}

// A fixed-point number; a value that prints as "NAN" or "INF" stays text.
TableCell fixedCell(double v, int decimals) {
    const std::string fmt = "%0." + std::to_string(decimals) + "F";
    return {Format(fmt, {v}), std::isfinite(v), decimals};
}

TableCell fractionCell(double lf) {
    return {LoadFractionText(lf), std::isfinite(lf), 3};
}

// Rows built one at a time under a heading row.
class TableBuilder {
public:
    TableBuilder(DataTable& grid, std::initializer_list<const char*> headings)
        : TableBuilder(grid, std::vector<const char*>(headings)) {}
    TableBuilder(DataTable& grid, const std::vector<const char*>& headings) : grid_(grid) {
        grid_.rows.clear();
        std::vector<TableCell> head;
        for (const char* h : headings) head.push_back(textCell(h));
        grid_.rows.push_back(std::move(head));
    }
    void row(std::vector<TableCell> cells) { grid_.rows.push_back(std::move(cells)); }

private:
    DataTable& grid_;
};

void pointTable(DataTable& grid, const std::vector<TPOS>& pt, int n) {
    TableBuilder t(grid, {"NUM", "X", "Y"});
    int i = 0;
    for (const TPOS& p : corners(pt, n)) {
        t.row({intCell(i), fixedCell(p.X, 3), fixedCell(p.Y, 3)});
        ++i;
    }
}

void polygonTable(DataTable& grid, const std::vector<TPOLYSHAPE>& sec, int n) {
    TableBuilder t(grid, {"SEC", "NUM", "X", "Y"});
    const auto polygons = rows(sec, n);
    for (const TPOLYSHAPE& poly : polygons) {
        int i = 0;
        for (const TPOS& p : corners(poly.PT, poly.NPOINT)) {
            t.row({intCell(rowNumber(polygons, poly)), intCell(i), fixedCell(p.X, 3),
                   fixedCell(p.Y, 3)});
            ++i;
        }
    }
}

void barTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "X", "Y", "Dia"});
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (const TBAR& b : bars)
        t.row({intCell(rowNumber(bars, b)), fixedCell(b.X, 3), fixedCell(b.Y, 3),
               fixedCell(b.DB, 2)});
}

void fibreTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "X", "Y", "Area", "Type", "Mat"});
    const auto fibres = rows(m.mesh.FIB, m.mesh.NFIB);
    for (const TFIB& f : fibres)
        t.row({intCell(rowNumber(fibres, f)), fixedCell(f.X, 3), fixedCell(f.Y, 3),
               fixedCell(f.AREA, 2), intCell(f.TY), intCell(f.MAT)});
}

void concreteMaterialTable(DataTable& grid, const std::vector<TMAT>& mat, int n) {
    TableBuilder t(grid, {"NUM", "Name", "Ec", "fc", "eps_0", "eps_cu"});
    const auto grades = rows(mat, n);
    for (const TMAT& c : grades)
        t.row({intCell(rowNumber(grades, c)), textCell(c.NAME), fixedCell(c.EC, 0),
               fixedCell(c.FC, 2), fixedCell(c.EPS_0, 5), fixedCell(c.EPS_CU, 5)});
}

void steelMaterialTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "Name", "Es", "fy"});
    const auto grades = rows(m.document.STEEL_MAT, m.document.NSTEELMAT);
    for (const TMAT& s : grades)
        t.row({intCell(rowNumber(grades, s)), textCell(s.NAME), fixedCell(s.ES, 0),
               fixedCell(s.FY, 1)});
}

// The loads whose fractions the last check listed (raised where a minimum governs), each
// fraction cut at its decimals (never rounded up); a "Mark" column ("*" raised, "<1" below 1)
// follows when the check marked any combination.
void loadTable(DataTable& grid, const SectionModel& m) {
    const bool marked = !checkLegend(m).empty();
    std::vector<const char*> headings{"NUM", "LoadComb", "P", "My", "Mx", "LoadFraction"};
    if (marked) headings.push_back("Mark");
    TableBuilder t(grid, headings);
    const auto loads = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : loads) {
        const int i = rowNumber(loads, f);
        const ListedLoad L = listedLoad(m, i);
        std::vector<TableCell> cells{
            intCell(i),         textCell(f.COMB_NAME),
            fixedCell(L.P, 3),  fixedCell(L.MX, 3),
            fixedCell(L.MY, 3), isChecked(f) ? fractionCell(f.LOAD_FRACTION) : textCell("")};
        if (marked) cells.push_back(textCell(checkMarks(m, i)));
        t.row(std::move(cells));
    }
}

// The last index both columns of a curve hold (-1 when either is empty).
int heldUpTo(const std::vector<double>& a, const std::vector<double>& b) {
    return static_cast<int>(std::min(a.size(), b.size())) - 1;
}

// A curve whose points all converged keeps its three columns. Otherwise a fourth, "Converged",
// says "yes" or "no" for each point, so an exported table never passes off a point that did
// not converge as one that did. Row r holds point first + r - 1.
void addConvergedColumn(DataTable& grid, const std::vector<uint8_t>& flags, int first) {
    const int points = grid.rowCount() - 1;
    if (points < 1 || !anyUnconverged(flags, static_cast<std::size_t>(first + points - 1))) return;
    grid.rows[0].push_back(textCell("Converged"));
    for (int r = 1; r <= points; ++r) {
        const bool ok = pointConverged(flags, static_cast<std::size_t>(first + r - 1));
        grid.rows[static_cast<std::size_t>(r)].push_back(textCell(ok ? "yes" : "no"));
    }
}

// Under a strength reduction the curve's columns are the design strength; the nominal strength
// and phi follow them, one column each, for the rows the tables hold (nothing otherwise).
void addNominalColumns(
    DataTable& grid,
    std::initializer_list<std::pair<const char*, const std::vector<double>*>> columns, int first) {
    for (const auto& [heading, values] : columns)
        if (values->empty()) return;
    const int points = grid.rowCount() - 1;
    for (const auto& [heading, values] : columns) {
        grid.rows[0].push_back(textCell(heading));
        for (int r = 1; r <= points; ++r) {
            const auto i = static_cast<std::size_t>(first + r - 1);
            grid.rows[static_cast<std::size_t>(r)].push_back(
                i < values->size() ? fixedCell((*values)[i], 3) : textCell(""));
        }
    }
}

}  // namespace

void pmCurveTable(DataTable& grid, const SectionModel& m, const SectionResults& r) {
    TableBuilder t(grid, {"NUM", "Axial(P)", "Moment(M)"});
    // Points 1 .. 2 NPM + 2, as far as the curve holds them.
    const int last = std::min(2 * m.settings.NPM + 2, heldUpTo(r.PM_P, r.PM_M));
    for (int j = 1; j <= last; ++j)
        t.row({intCell(j), fixedCell(r.PM_P[static_cast<std::size_t>(j)], 3),
               fixedCell(r.PM_M[static_cast<std::size_t>(j)], 3)});
    addNominalColumns(
        grid, {{"Nominal(P)", &r.PM_NOM_P}, {"Nominal(M)", &r.PM_NOM_M}, {"Phi", &r.PM_PHI}}, 1);
    addConvergedColumn(grid, r.PM_CONVERGED, 1);
}

void mmCurveTable(DataTable& grid, const SectionModel& m, const SectionResults& r) {
    TableBuilder t(grid, {"NUM", "Moment(My)", "Moment(Mx)"});
    const int last = std::min(m.settings.NMM, heldUpTo(r.MM_MX, r.MM_MY));
    for (int j = 0; j <= last; ++j)
        t.row({intCell(j), fixedCell(r.MM_MX[static_cast<std::size_t>(j)], 3),
               fixedCell(r.MM_MY[static_cast<std::size_t>(j)], 3)});
    addNominalColumns(
        grid, {{"Nominal(My)", &r.MM_NOM_MX}, {"Nominal(Mx)", &r.MM_NOM_MY}, {"Phi", &r.MM_PHI}},
        0);
    addConvergedColumn(grid, r.MM_CONVERGED, 0);
}

const std::string& DataTable::text(int r, int c) const {
    return rows.at(static_cast<std::size_t>(r)).at(static_cast<std::size_t>(c)).text;
}

const TableEntry& tableEntry(int KI) {
    if (KI < 0 || KI >= TABLE_ENTRY_COUNT) throw std::out_of_range("table entry out of range");
    return ENTRIES[KI];
}

bool isCurveTable(int KI) {
    return KI >= 13 && KI <= 16;
}

bool hasSheet(int KI) {
    return KI >= 0 && KI < TABLE_ENTRY_COUNT && ENTRIES[KI].sheet != nullptr;
}

void CLEAR_TABLE(DataTable& grid) {
    grid.rows.assign(1, std::vector<TableCell>(3, textCell(" ")));
}

namespace {

// Tables 1 .. 11, from the model as it stands; false for an entry without one of them.
bool modelTable(const SectionModel& m, int KI, DataTable& t) {
    switch (KI) {
        case 1:
            pointTable(t, m.document.CONC_PT, m.document.NCONC_PT);
            return true;
        case 2:
            pointTable(t, m.document.COVER_PT, m.document.NCOVER_PT);
            return true;
        case 3:
            polygonTable(t, m.document.STEEL_SEC, m.document.NSTEEL_SEC);
            return true;
        case 4:
            barTable(t, m);
            return true;
        case 5:
            polygonTable(t, m.document.OPEN_SEC, m.document.NOPEN_SEC);
            return true;
        case 6:
            fibreTable(t, m);
            return true;
        case 8:
            concreteMaterialTable(t, m.document.CONC_MAT, m.document.NCONCMAT);
            return true;
        case 9:
            steelMaterialTable(t, m);
            return true;
        case 10:
            concreteMaterialTable(t, m.document.COVER_MAT, m.document.NCOVERMAT);
            return true;
        case 11:
            loadTable(t, m);
            return true;
        default:
            return false;
    }
}

// The curve behind table 13 .. 16.
ReportCurve tableCurve(int KI, double angle, double axial) {
    return KI == 16 ? mmCurve(axial) : pmCurve(KI == 13 ? 0.0 : KI == 14 ? 90.0 : angle);
}

// A curve table from the model holding the curve's results.
void curveTable(const SectionModel& m, const SectionResults& r, int KI, DataTable& t) {
    if (KI == 16)
        mmCurveTable(t, m, r);
    else
        pmCurveTable(t, m, r);
}

}  // namespace

void SHOW_TABLE(SectionModel& m, int KI, const std::string& angleText, const std::string& axialText,
                Messages& msgs, DataTable& grid, Progress* progress) {
    const double angle = ToFloat(angleText);
    const double axial = ToFloat(axialText);
    // The curve tables are built in a scratch grid, so a failing run leaves the cleared one.
    DataTable t;
    if (isCurveTable(KI)) {
        const ReportCurves runs =
            runReportCurves(m, {tableCurve(KI, angle, axial)}, msgs, progress);
        curveTable(m, runs.result(0), KI, t);
    } else if (!modelTable(m, KI, t)) {
        return;
    }
    grid = std::move(t);
}

void showTableEntry(SectionModel& m, int KI, const std::string& angleText,
                    const std::string& axialText, Messages& msgs, DataTable& grid,
                    Progress* progress) {
    CLEAR_TABLE(grid);
    SHOW_TABLE(m, KI, angleText, axialText, msgs, grid, progress);
}

std::vector<DataTable> makeAllTables(SectionModel& m, const std::string& angleText,
                                     const std::string& axialText, Messages& msgs,
                                     Progress* progress) {
    const double angle = ToFloat(angleText);
    const double axial = ToFloat(axialText);
    // The curve tables in the order the workbook shows them, last entry first.
    std::vector<int> entries;
    std::vector<ReportCurve> curves;
    for (int KI = TABLE_ENTRY_COUNT - 1; KI >= 0; --KI) {
        if (!isCurveTable(KI)) continue;
        entries.push_back(KI);
        curves.push_back(tableCurve(KI, angle, axial));
    }
    const ReportCurves runs = runReportCurves(m, curves, msgs, progress);
    std::vector<DataTable> tables(TABLE_ENTRY_COUNT);
    for (int KI = 0; KI < TABLE_ENTRY_COUNT; ++KI) {
        DataTable& t = tables[static_cast<std::size_t>(KI)];
        CLEAR_TABLE(t);
        modelTable(m, KI, t);
    }
    for (std::size_t k = 0; k < entries.size(); ++k)
        curveTable(m, runs.result(static_cast<int>(k)), entries[k],
                   tables[static_cast<std::size_t>(entries[k])]);
    return tables;
}

std::vector<std::string> tableCsvLines(const DataTable& grid) {
    std::vector<std::string> lines;
    lines.reserve(grid.rows.size());
    for (const auto& row : grid.rows) {
        std::string line;
        for (const auto& cell : row) line += cell.text + ",";
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace qav
