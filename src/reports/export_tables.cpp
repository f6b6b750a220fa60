#include "reports/export_tables.h"

#include <cmath>
#include <stdexcept>

#include "model/number_text.h"
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

// Rows built one at a time under a heading row.
class TableBuilder {
public:
    TableBuilder(DataTable& grid, std::initializer_list<const char*> headings) : grid_(grid) {
        grid_.rows.clear();
        std::vector<TableCell> head;
        for (const char* h : headings) head.push_back(textCell(h));
        grid_.rows.push_back(std::move(head));
    }
    void row(std::vector<TableCell> cells) { grid_.rows.push_back(std::move(cells)); }

private:
    DataTable& grid_;
};

template <class T>
const T* slot(const std::vector<T>& table, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < table.size()
               ? &table[static_cast<std::size_t>(i)]
               : nullptr;
}

void pointTable(DataTable& grid, const std::vector<TPOS>& pt, int n) {
    TableBuilder t(grid, {"NUM", "X", "Y"});
    for (int i = 0; i < n; ++i) {
        const TPOS* p = slot(pt, i);
        if (!p) break;
        t.row({intCell(i), fixedCell(p->X, 3), fixedCell(p->Y, 3)});
    }
}

void polygonTable(DataTable& grid, const std::vector<TPOLYSHAPE>& sec, int n) {
    TableBuilder t(grid, {"SEC", "NUM", "X", "Y"});
    for (int s = 1; s <= n; ++s) {
        const TPOLYSHAPE* poly = slot(sec, s);
        if (!poly) break;
        for (int i = 0; i < poly->NPOINT; ++i) {
            const TPOS* p = slot(poly->PT, i);
            if (!p) break;
            t.row({intCell(s), intCell(i), fixedCell(p->X, 3), fixedCell(p->Y, 3)});
        }
    }
}

void barTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "X", "Y", "Dia"});
    for (int i = 1; i <= m.document.NBAR; ++i) {
        const TBAR* b = slot(m.document.BAR, i);
        if (!b) break;
        t.row({intCell(i), fixedCell(b->X, 3), fixedCell(b->Y, 3), fixedCell(b->DB, 2)});
    }
}

void fibreTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "X", "Y", "Area", "Type", "Mat"});
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        const TFIB* f = slot(m.mesh.FIB, i);
        if (!f) break;
        t.row({intCell(i), fixedCell(f->X, 3), fixedCell(f->Y, 3), fixedCell(f->AREA, 2),
               intCell(f->TY), intCell(f->MAT)});
    }
}

void concreteMaterialTable(DataTable& grid, const std::vector<TMAT>& mat, int n) {
    TableBuilder t(grid, {"NUM", "Name", "Ec", "fc", "eps_0", "eps_cu"});
    for (int i = 1; i <= n; ++i) {
        const TMAT* c = slot(mat, i);
        if (!c) break;
        t.row({intCell(i), textCell(c->NAME), fixedCell(c->EC, 0), fixedCell(c->FC, 2),
               fixedCell(c->EPS_0, 5), fixedCell(c->EPS_CU, 5)});
    }
}

void steelMaterialTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "Name", "Es", "fy"});
    for (int i = 1; i <= m.document.NSTEELMAT; ++i) {
        const TMAT* s = slot(m.document.STEEL_MAT, i);
        if (!s) break;
        t.row({intCell(i), textCell(s->NAME), fixedCell(s->ES, 0), fixedCell(s->FY, 1)});
    }
}

void loadTable(DataTable& grid, const SectionModel& m) {
    TableBuilder t(grid, {"NUM", "LoadComb", "P", "Mx", "My", "LoadFraction"});
    for (int i = 1; i <= m.document.NFORCE; ++i) {
        const TFORCE* f = slot(m.document.FORCE, i);
        if (!f) break;
        t.row({intCell(i), textCell(f->COMB_NAME), fixedCell(f->P, 3), fixedCell(f->MX, 3),
               fixedCell(f->MY, 3), fixedCell(f->LOAD_FRACTION, 3)});
    }
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

void pmTable(DataTable& grid, const SectionModel& m, const SectionResults& r) {
    TableBuilder t(grid, {"NUM", "Axial(P)", "Moment(M)"});
    for (int j = 1; j <= 2 * m.settings.NPM + 2; ++j) {
        const double* p = slot(r.PM_P, j);
        const double* mm = slot(r.PM_M, j);
        if (!p || !mm) break;
        t.row({intCell(j), fixedCell(*p, 3), fixedCell(*mm, 3)});
    }
    addConvergedColumn(grid, r.PM_CONVERGED, 1);
}

void mmTable(DataTable& grid, const SectionModel& m, const SectionResults& r) {
    TableBuilder t(grid, {"NUM", "Moment(Mx)", "Moment(My)"});
    for (int j = 0; j <= m.settings.NMM; ++j) {
        const double* x = slot(r.MM_MX, j);
        const double* y = slot(r.MM_MY, j);
        if (!x || !y) break;
        t.row({intCell(j), fixedCell(*x, 3), fixedCell(*y, 3)});
    }
    addConvergedColumn(grid, r.MM_CONVERGED, 0);
}

}  // namespace

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
        mmTable(t, m, r);
    else
        pmTable(t, m, r);
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
