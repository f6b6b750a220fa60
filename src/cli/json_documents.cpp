#include "cli/json_documents.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "analysis/fibre_arrays.h"
#include "analysis/pmm_surface.h"
#include "model/tables.h"
#include "reports/text_reports.h"

namespace qav::cli {

using json = Json;

namespace {

// JSON has no NaN or infinity.
json number(double x) {
    return std::isfinite(x) ? json(x) : json(nullptr);
}

json points(const std::vector<TPOS>& pt, int n) {
    json a = json::array();
    for (int i = 0; i < n && static_cast<std::size_t>(i) < pt.size(); ++i)
        a.push_back({{"x", number(pt[static_cast<std::size_t>(i)].X)},
                     {"y", number(pt[static_cast<std::size_t>(i)].Y)}});
    return a;
}

json polygons(const std::vector<TPOLYSHAPE>& shapes, int n) {
    json a = json::array();
    for (const TPOLYSHAPE& s : rows(shapes, n)) a.push_back(points(s.PT, s.NPOINT));
    return a;
}

// A grade's material name; a selection outside the table names none.
json materialName(const std::vector<TMAT>& table, int count, int index) {
    const int number = index + 1;
    if (number < 1 || number > count || static_cast<std::size_t>(number) >= table.size())
        return nullptr;
    return table[static_cast<std::size_t>(number)].NAME;
}

json valueAt(const std::vector<double>& v, std::size_t i) {
    return i < v.size() ? number(v[i]) : json(nullptr);
}

}  // namespace

json strainLimitJson(const SectionModel& m) {
    return strainLimitWord(strainLimitInForce(m));
}

void printJson(std::ostream& out, const std::string& command, const std::string& file,
               const json& doc) {
    json head = {{"command", command}, {"file", file}};
    head.update(doc);
    out << head.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

json runStatusJson(const RunStats& s, const MessageLog& log) {
    json messages = json::array();
    for (const auto& e : log.entries()) messages.push_back({{"text", e.text}, {"count", e.count}});
    return {{"solves", s.solves},
            {"unconverged", s.notConverged},
            {"worst_residual",
             s.notConverged > 0 && std::isfinite(s.worstResidual) ? json(s.worstResidual) : json()},
            {"iterations", s.iterations},
            {"messages", messages}};
}

json sectionJson(const SectionModel& m) {
    json bars = json::array();
    for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
        bars.push_back({{"x", number(b.X)}, {"y", number(b.Y)}, {"diameter", number(b.DB)}});
    }
    return {
        {"materials",
         {{"concrete", materialName(m.document.CONC_MAT, m.document.NCONCMAT, m.document.USE_CONC)},
          {"cover", materialName(m.document.COVER_MAT, m.document.NCOVERMAT, m.document.USE_COVER)},
          {"rebar", materialName(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_REBAR)},
          {"steel",
           materialName(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL)}}},
        {"mesh_size", m.document.MESH_SIZE_TEXT},
        {"outline", points(m.document.CONC_PT, m.document.NCONC_PT)},
        {"cover_line", points(m.document.COVER_PT, m.document.NCOVER_PT)},
        {"bars", bars},
        {"steel_polygons", polygons(m.document.STEEL_SEC, m.document.NSTEEL_SEC)},
        {"openings", polygons(m.document.OPEN_SEC, m.document.NOPEN_SEC)},
        {"load_combinations", m.document.NFORCE}};
}

json meshJson(const MeshSummary& s, const SectionModel& m) {
    auto kind = [&](int k) {
        const FibreKindTotal& t = s.fibres[static_cast<std::size_t>(k)];
        return json{{"count", t.count}, {"area", number(t.area)}};
    };
    return {{"grid_nodes", s.NGRID_NODE},
            {"concrete_line_nodes", s.NCLINE_NODE},
            {"steel_line_nodes", s.NSLINE_NODE},
            {"key_nodes", s.NKEY_NODE},
            {"mesh_nodes", s.NMESH_NODE},
            {"triangles", s.NSHELL},
            {"used_triangles", s.usedTriangles},
            {"fibres",
             {{"core_concrete", kind(FIB_CORE_CONCRETE)},
              {"cover_concrete", kind(FIB_COVER_CONCRETE)},
              {"steel", kind(FIB_STEEL)},
              {"rebar", kind(FIB_REBAR)}}},
            {"NFIB", s.NFIB},
            {"NCFIB", s.NCFIB},
            {"section_area", number(m.mesh.SEC_AREA)},
            {"rebar_area", number(m.mesh.REBAR_AREA)},
            {"steel_area", number(m.mesh.STEEL_AREA)},
            {"rebar_ratio", number(m.mesh.REBAR_RATIO)},
            {"steel_ratio", number(m.mesh.STEEL_RATIO)}};
}

json pmJson(const SectionModel& m, double angle) {
    json pts = json::array();
    const int n = pmSteps(m);
    for (int i = 1; i <= 2 * n + 2; ++i) {
        const auto u = static_cast<std::size_t>(i);
        json p = {{"P", valueAt(m.results.PM_P, u)},
                  {"M", valueAt(m.results.PM_M, u)},
                  {"converged", pointConverged(m.results.PM_CONVERGED, u)}};
        if (!m.results.PM_PHI.empty()) {
            p["P_nominal"] = valueAt(m.results.PM_NOM_P, u);
            p["M_nominal"] = valueAt(m.results.PM_NOM_M, u);
            p["phi"] = valueAt(m.results.PM_PHI, u);
        }
        pts.push_back(std::move(p));
    }
    return {{"angle", number(angle)}, {"strain_limit", strainLimitJson(m)}, {"points", pts}};
}

json mmJson(const SectionModel& m, double axial) {
    json pts = json::array();
    const int n = mmSteps(m);
    for (int i = 0; i <= n; ++i) {
        const auto u = static_cast<std::size_t>(i);
        json p = {{"Mx", valueAt(m.results.MM_MY, u)},
                  {"My", valueAt(m.results.MM_MX, u)},
                  {"converged", pointConverged(m.results.MM_CONVERGED, u)}};
        if (!m.results.MM_PHI.empty()) {
            p["Mx_nominal"] = valueAt(m.results.MM_NOM_MY, u);
            p["My_nominal"] = valueAt(m.results.MM_NOM_MX, u);
            p["phi"] = valueAt(m.results.MM_PHI, u);
        }
        pts.push_back(std::move(p));
    }
    return {{"axial", number(axial)}, {"strain_limit", strainLimitJson(m)}, {"points", pts}};
}

json mphiJson(const SectionModel& m, const MphiInput& in) {
    json pts = json::array();
    for (int i = 0; i <= in.steps && static_cast<std::size_t>(i) < m.results.MPHI_M.size() &&
                    static_cast<std::size_t>(i) < m.results.MPHI_PHI.size();
         ++i) {
        const auto u = static_cast<std::size_t>(i);
        pts.push_back({{"M", number(m.results.MPHI_M[u])},
                       {"curvature", number(m.results.MPHI_PHI[u])},
                       {"converged", pointConverged(m.results.MPHI_CONVERGED, u)}});
    }
    return {{"axis", in.aboutY ? "y" : "x"},
            {"negative", in.negative},
            {"axial", number(in.axialForce)},
            {"max_strain", number(in.maxStrain)},
            {"steps", in.steps},
            {"strain_limit", strainLimitJson(m)},
            {"points", pts}};
}

json pmmJson(const SectionModel& m) {
    json curves = json::array();
    const int n = pmmStoredSteps(m);
    for (int r = 0; n >= 0 && r < PMM_CURVES; ++r) {
        const auto ur = static_cast<std::size_t>(r);
        json pts = json::array();
        const std::vector<uint8_t> none;
        const std::vector<uint8_t>& flags =
            ur < m.results.PMM_CONVERGED.size() ? m.results.PMM_CONVERGED[ur] : none;
        const bool design = ur < m.results.PMM_PHI.size() && ur < m.results.PMM_NOM_P.size() &&
                            ur < m.results.PMM_NOM_MX.size() && ur < m.results.PMM_NOM_MY.size();
        for (std::size_t j = 1; j <= static_cast<std::size_t>(2 * n + 2); ++j) {
            json p = {{"P", number(m.results.PMM_P[ur][j])},
                      {"Mx", number(m.results.PMM_MY[ur][j])},
                      {"My", number(m.results.PMM_MX[ur][j])},
                      {"converged", pointConverged(flags, j)}};
            if (design) {
                p["P_nominal"] = valueAt(m.results.PMM_NOM_P[ur], j);
                p["Mx_nominal"] = valueAt(m.results.PMM_NOM_MY[ur], j);
                p["My_nominal"] = valueAt(m.results.PMM_NOM_MX[ur], j);
                p["phi"] = valueAt(m.results.PMM_PHI[ur], j);
            }
            pts.push_back(std::move(p));
        }
        curves.push_back(pts);
    }
    return {{"strain_limit", strainLimitJson(m)}, {"curves", curves}};
}

json checkJson(const SectionModel& m, const CheckResult& r) {
    json combos = json::array();
    const auto forceRows = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : forceRows) {
        const int32_t i = rowNumber(forceRows, f);
        json c = {{"number", i},        {"name", f.COMB_NAME},
                  {"P", number(f.P)},   {"Mx", number(f.MY)},
                  {"My", number(f.MX)}, {"load_fraction", number(f.LOAD_FRACTION)}};
        // Where a minimum governs, the raised load whose fraction is listed.
        const ListedLoad L = listedLoad(m, i);
        c["raised"] = L.raised;
        if (L.raised)
            c["raised_load"] = {{"P", number(L.P)}, {"Mx", number(L.MY)}, {"My", number(L.MX)}};
        if (!r.phi.empty()) {
            const auto u = static_cast<std::size_t>(i);
            c["load_fraction_nominal"] = valueAt(r.nominalFractions, u);
            c["phi"] = valueAt(r.phi, u);
            c["cap_governs"] =
                std::find(r.capGoverns.begin(), r.capGoverns.end(), i) != r.capGoverns.end();
        }
        combos.push_back(std::move(c));
    }
    // The loads a minimum raised, as solved.
    json raised = json::array();
    for (const RaisedCombination& c : r.raised)
        raised.push_back({{"number", c.number},
                          {"name", m.document.FORCE[static_cast<std::size_t>(c.number)].COMB_NAME},
                          {"P", number(c.P)},
                          {"Mx", number(c.MY)},
                          {"My", number(c.MX)}});
    json critical = nullptr;
    if (r.critical >= 1 && r.critical <= m.document.NFORCE &&
        static_cast<std::size_t>(r.critical) < m.document.FORCE.size())
        critical = combos[static_cast<std::size_t>(r.critical - 1)];
    json doc = {
        {"combinations", combos}, {"critical", critical}, {"strain_limit", strainLimitJson(m)}};
    doc["minimum"] = r.codeMinimum ? "code eccentricity" : "fixed magnitudes";
    doc["raised"] = std::move(raised);
    if (!r.phi.empty()) doc["cap_kN"] = number(r.cap);
    return doc;
}

}  // namespace qav::cli
