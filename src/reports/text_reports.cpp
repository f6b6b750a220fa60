#include "reports/text_reports.h"

#include <algorithm>

#include "analysis/load_combinations.h"
#include "analysis/material_laws.h"
#include "analysis/pmm_surface.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

// The listings take their point counts from the stored curves, so a setting changed after the
// run never reads past them.
int pmSteps(const SectionResults& r) {
    const std::size_t n = r.PM_P.size();
    if (n < 3 || r.PM_M.size() < n) return -1;
    return static_cast<int>((n - 3) / 2);
}

int mmSteps(const SectionResults& r) {
    const std::size_t n = r.MM_MX.size() < r.MM_MY.size() ? r.MM_MX.size() : r.MM_MY.size();
    return static_cast<int>(n) - 1;
}

namespace {

// A material by its number; a number outside the table names no material (blank record).
const TMAT& material(const std::vector<TMAT>& table, int count, int number) {
    static const TMAT none;
    if (number < 1 || number > count || static_cast<std::size_t>(number) >= table.size())
        return none;
    return table[static_cast<std::size_t>(number)];
}

std::string fixed3(double x) {
    return Format("%0.3F", {x});
}

std::string pointRow(int index, double x, double y) {
    return PAD_LEFT(5, Format("%D", {index})) + PAD_LEFT(12, fixed3(x)) + PAD_LEFT(12, fixed3(y));
}

void pointBlock(std::vector<std::string>& D, const std::string& dashes, const std::string& heading,
                const std::vector<TPOS>& pt, int n) {
    D.push_back(dashes);
    D.push_back(PAD_RIGHT(36, heading));
    D.push_back(dashes);
    D.push_back("   NO           X           Y");
    for (int i = 0; i < n && static_cast<std::size_t>(i) < pt.size(); ++i)
        D.push_back(
            pointRow(i, pt[static_cast<std::size_t>(i)].X, pt[static_cast<std::size_t>(i)].Y));
    D.push_back(dashes);
}

void concreteLines(std::vector<std::string>& D, const TMAT& c) {
    D.push_back(Format("Elastic Modulus     %0.0f", {c.EC}));
    D.push_back(Format("Yield Stress fc     %0.3f", {c.FC}));
    D.push_back(Format("Strain eps_0        %0.5f", {c.EPS_0}));
    D.push_back(Format("Strain eps_cu       %0.5f", {c.EPS_CU}));
}

// A steel grade as the analyses take it: the modulus of the steel law (whatever the grade's ES
// says), the grade's fy, and the design strength the fibres yield at (FY1, capped at the stress
// of the limit strain).
void steelLines(std::vector<std::string>& D, const TMAT& s) {
    D.push_back(Format("Elastic Modulus     %0.2f", {STEEL_LAW_MODULUS}));
    D.push_back(Format("Yield Stress fy     %0.0f", {s.FY}));
    D.push_back(Format("Design Stress fyd   %0.0f", {steelLawStrength(s.FY1)}));
}

}  // namespace

void GEN_PM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA) {
    DATA.clear();
    DATA.push_back(PAD_LEFT(12, "Axial_Force,") + PAD_LEFT(12, "Moment_M,"));
    const int n = pmSteps(m.results);
    for (int i = 1; i <= 2 * n + 2; ++i) {
        const auto u = static_cast<std::size_t>(i);
        DATA.push_back(PAD_LEFT(12, Format("%0.3F,", {m.results.PM_P[u]})) +
                       PAD_LEFT(12, Format("%0.3F,", {m.results.PM_M[u]})));
    }
}

void GEN_MM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA) {
    DATA.clear();
    DATA.push_back(PAD_LEFT(12, "Moment_Myy") + PAD_LEFT(12, "Moment_Mxx"));
    const int n = mmSteps(m.results);
    for (int i = 0; i <= n; ++i) {
        const auto u = static_cast<std::size_t>(i);
        DATA.push_back(PAD_LEFT(12, fixed3(m.results.MM_MX[u])) +
                       PAD_LEFT(12, fixed3(m.results.MM_MY[u])));
    }
}

void GEN_SECTION_DATA_TEXT(const SectionModel& m, std::vector<std::string>& DATA) {
    const std::string dashes(30, '-');
    const TMAT& conc = material(m.document.CONC_MAT, m.document.NCONCMAT, m.document.USE_CONC + 1);
    const TMAT& rebar =
        material(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_REBAR + 1);
    const TMAT& steel =
        material(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL + 1);
    const TMAT& cover =
        material(m.document.COVER_MAT, m.document.NCOVERMAT, m.document.USE_COVER + 1);
    auto& D = DATA;
    D.clear();
    D.push_back("Material Properties");
    D.push_back(dashes);
    D.push_back(Format("Concrete            %s", {conc.NAME}));
    concreteLines(D, conc);
    D.push_back("");
    D.push_back(Format("Rebar material      %s", {rebar.NAME}));
    steelLines(D, rebar);
    D.push_back("");
    D.push_back(Format("Steel material      %s", {steel.NAME}));
    steelLines(D, steel);
    D.push_back("");
    D.push_back(Format("Concrete Cover      %s", {cover.NAME}));
    concreteLines(D, cover);
    D.push_back("");
    D.push_back("Section Properties");
    D.push_back(dashes);
    D.push_back(Format("Conc Sec Points     %d", {m.document.NCONC_PT}));
    D.push_back(Format("Cover Line Points   %d", {m.document.NCOVER_PT}));
    D.push_back(Format("Num of Steel Sec    %d", {m.document.NSTEEL_SEC}));
    D.push_back(Format("Number of Rebars    %d", {m.document.NBAR}));
    D.push_back(Format("Section Area(mm2)   %0.0f", {m.mesh.SEC_AREA}));
    D.push_back(Format("Rebar Area(mm2)     %0.0f", {m.mesh.REBAR_AREA}));
    D.push_back(Format("Steel Area(mm2)     %0.0f", {m.mesh.STEEL_AREA}));
    D.push_back(Format("Rebar Ratio(%%)      %0.3f", {m.mesh.REBAR_RATIO}));
    D.push_back(Format("Steel Ratio(%%)      %0.3f", {m.mesh.STEEL_RATIO}));
    D.push_back("");
    if (m.results.CRITICAL_COMB != 0 && m.document.NFORCE != 0 && m.results.CRITICAL_COMB > 0 &&
        static_cast<std::size_t>(m.results.CRITICAL_COMB) < m.document.FORCE.size()) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(m.results.CRITICAL_COMB)];
        // The load whose fraction is listed (raised where a minimum governs), the fraction cut.
        const ListedLoad L = listedLoad(m, m.results.CRITICAL_COMB);
        const std::string marks = checkMarks(m, m.results.CRITICAL_COMB);
        D.push_back("Loading Checking");
        D.push_back(dashes);
        D.push_back(Format("Critical LoadComb   %d", {m.results.CRITICAL_COMB}));
        D.push_back(Format("Axial Force P       %0.0f", {L.P}));
        D.push_back(Format("Moment Mxx          %0.3f", {L.MY}));
        D.push_back(Format("Moment Myy          %0.3f", {L.MX}));
        D.push_back("Load Fraction       " + LoadFractionText(f.LOAD_FRACTION) +
                    (marks.empty() ? "" : " " + marks));
        for (const std::string& l : checkLegend(m)) D.push_back(l);
        D.push_back("");
    }
}

void GEN_SECTION_SUMMARY(const SectionModel& m, std::vector<std::string>& DATA) {
    const std::string dashes(36, '-');
    auto& D = DATA;
    D.clear();
    D.push_back(dashes);
    D.push_back("(1). Material Properties");
    D.push_back(dashes);
    D.push_back(
        "  Concrete     " +
        PAD_LEFT(8,
                 material(m.document.CONC_MAT, m.document.NCONCMAT, m.document.USE_CONC + 1).NAME));
    D.push_back(
        "  Rebar        " +
        PAD_LEFT(
            8,
            material(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_REBAR + 1).NAME));
    D.push_back(
        "  Steel        " +
        PAD_LEFT(
            8,
            material(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL + 1).NAME));
    D.push_back("  MeshSize     " + PAD_LEFT(8, m.document.MESH_SIZE_TEXT));
    D.push_back(dashes);
    pointBlock(D, dashes, "(2). Concrete Section", m.document.CONC_PT, m.document.NCONC_PT);
    pointBlock(D, dashes, "(3). Concrete Cover Line", m.document.COVER_PT, m.document.NCOVER_PT);
    D.push_back(dashes);
    D.push_back(PAD_RIGHT(36, "(4). Rebar Information"));
    D.push_back(dashes);
    D.push_back("   NO           X           Y     dB");
    const auto barRows = rows(m.document.BAR, m.document.NBAR);
    for (const TBAR& b : barRows) {
        const int32_t i = rowNumber(barRows, b);
        D.push_back(pointRow(i, b.X, b.Y) + PAD_LEFT(7, Format("%0.1F", {b.DB})));
    }
    D.push_back(dashes);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
        pointBlock(D, dashes, "(5). Stru Steel Section", s.PT, s.NPOINT);
    }
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC)) {
        pointBlock(D, dashes, "(6). Section Opening", s.PT, s.NPOINT);
    }
}

void GEN_PM_analysis_result(const SectionResults& r, std::vector<std::string>& data, double ANG) {
    const std::string dashes(62, '-');
    data.clear();
    data.push_back("P-M Curve:");
    data.push_back(Format("P-M Angle = %0.1f", {ANG}));
    data.push_back(dashes);
    data.push_back("  Num     Axial_P    Moment_M      Num     Axial_P    Moment_M");
    data.push_back(dashes);
    const int n = pmSteps(r);
    for (int i = 1; i <= n + 1; ++i) {
        const int j = n + 1 + i;
        const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
        data.push_back(PAD_LEFT(5, Format("%D", {i})) + PAD_LEFT(12, fixed3(r.PM_P[ui])) +
                       PAD_LEFT(12, fixed3(r.PM_M[ui])) + "    " + PAD_LEFT(5, Format("%D", {j})) +
                       PAD_LEFT(12, fixed3(r.PM_P[uj])) + PAD_LEFT(12, fixed3(r.PM_M[uj])));
    }
    data.push_back(dashes);
}

void GEN_MM_analysis_result(const SectionResults& r, std::vector<std::string>& data, double AXIAL) {
    const std::string dashes(29, '-');
    data.clear();
    data.push_back("Mx-My Curve:");
    data.push_back(Format("Axial Force = %0.1f", {AXIAL}));
    data.push_back(dashes);
    data.push_back("  Num   Moment_My   Moment_Mx");
    data.push_back(dashes);
    const int n = mmSteps(r);
    for (int i = 0; i <= n; ++i) {
        const auto u = static_cast<std::size_t>(i);
        data.push_back(PAD_LEFT(5, Format("%D", {i})) + PAD_LEFT(12, fixed3(r.MM_MX[u])) +
                       PAD_LEFT(12, fixed3(r.MM_MY[u])));
    }
    data.push_back(dashes);
}

void GEN_PMM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA) {
    DATA.clear();
    DATA.push_back("PMM_CURVE_DATA");
    DATA.push_back(PAD_LEFT(12, "P,") + PAD_LEFT(12, "My,") + PAD_LEFT(12, "Mx,"));
    const int n = pmmStoredSteps(m);
    for (int r = 0; r < PMM_CURVES && n >= 0; ++r) {
        const auto ur = static_cast<std::size_t>(r);
        for (std::size_t j = 1; j <= static_cast<std::size_t>(2 * n + 2); ++j)
            DATA.push_back(PAD_LEFT(12, Format("%0.3F,", {m.results.PMM_P[ur][j]})) +
                           PAD_LEFT(12, Format("%0.3F,", {m.results.PMM_MX[ur][j]})) +
                           PAD_LEFT(12, Format("%0.3F,", {m.results.PMM_MY[ur][j]})));
    }
}

void GEN_M_fai_CURVE_TEXT(const SectionModel& m, int NSTEP, std::vector<std::string>& DATA) {
    DATA.clear();
    DATA.push_back(PAD_LEFT(12, "Moment_M,") + PAD_LEFT(12, "Curvature,"));
    for (int i = 0; i <= NSTEP && static_cast<std::size_t>(i) < m.results.MPHI_M.size() &&
                    static_cast<std::size_t>(i) < m.results.MPHI_PHI.size();
         ++i)
        DATA.push_back(
            PAD_LEFT(12, Format("%0.3F,", {m.results.MPHI_M[static_cast<std::size_t>(i)]})) +
            PAD_LEFT(14, Format("%0.5E,", {m.results.MPHI_PHI[static_cast<std::size_t>(i)]})));
}

std::vector<std::string> mphiCsvLines(const SectionModel& m) {
    std::vector<std::string> lines{"Moment_M [kNm],Curvature [1/m]"};
    const std::size_t n = std::min(m.results.MPHI_M.size(), m.results.MPHI_PHI.size());
    for (std::size_t u = 0; u < n; ++u)
        lines.push_back(Format("%0.3F", {m.results.MPHI_M[u]}) + "," +
                        Format("%0.5E", {m.results.MPHI_PHI[u]}));
    return lines;
}

}  // namespace qav
