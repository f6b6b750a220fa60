#include "mesh/section_sync.h"

#include "mesh/mesh_fibres.h"
#include "model/section_properties.h"
#include "model/tables.h"

namespace qav {

namespace {
// The material number of the selected item of a grade list (item index + 1), 0 when the table
// has no such grade.
int32_t selectedGrade(const std::vector<TMAT>& table, int32_t count, int32_t index) {
    const int32_t grade = index + 1;
    return grade >= 1 && grade <= count && grade < static_cast<int32_t>(table.size()) ? grade : 0;
}

// The grade every fibre kind takes, as the mesh command gives it; 0 when it is missing.
int32_t gradeOf(const SectionModel& m, int32_t kind) {
    const SectionDocument& d = m.document;
    switch (kind) {
        case FIB_CORE_CONCRETE:
            return selectedGrade(d.CONC_MAT, d.NCONCMAT, d.USE_CONC);
        case FIB_COVER_CONCRETE:
            return selectedGrade(d.COVER_MAT, d.NCOVERMAT, d.USE_COVER);
        case FIB_STEEL:
            return selectedGrade(d.STEEL_MAT, d.NSTEELMAT, d.USE_STEEL);
        case FIB_REBAR:
            return selectedGrade(d.STEEL_MAT, d.NSTEELMAT, d.USE_REBAR);
        default:
            return -1;  // no material
    }
}

// The fibres keep their place and area and take the current grades. False, changing nothing,
// when a grade a fibre needs is missing.
bool refreshFibreMaterials(SectionModel& m) {
    const auto fibres = rows(m.mesh.FIB, m.mesh.NFIB);
    for (const TFIB& f : fibres)
        if (gradeOf(m, f.TY) == 0) return false;
    for (TFIB& f : fibres) {
        const int32_t grade = gradeOf(m, f.TY);
        if (grade > 0) f.MAT = grade;
    }
    GEN_FIB_MAT(m);
    return true;
}

// The "Section Properties" are sums over the fibres: without fibres the areas go too. True when
// there were areas to clear.
bool clearProperties(SectionModel& m) {
    const SectionMesh& h = m.mesh;
    const bool shown = h.SEC_AREA != 0 || h.STEEL_AREA != 0 || h.REBAR_AREA != 0;
    CALC_AREA_RATIO(m);
    return shown;
}

// The fibres, control points and triangles go. The bar selection stays: it names bars, which
// are still there.
void clearFibres(SectionModel& m) {
    m.mesh.NFIB = 0;
    m.mesh.NCFIB = 0;
    m.mesh.NSHELL = 0;
    m.mesh.MESH_STAMP = {};
}
}  // namespace

void CLEAR_RESULTS(SectionModel& m) {
    m.results.PMAX = 0;
    m.results.PMIN = 0;
    for (auto* v : {&m.results.PM_P, &m.results.PM_MX, &m.results.PM_MY, &m.results.PM_M,
                    &m.results.MM_MX, &m.results.MM_MY, &m.results.MPHI_M, &m.results.MPHI_PHI})
        v->clear();
    m.results.PMM_P.clear();
    m.results.PMM_MX.clear();
    m.results.PMM_MY.clear();
    for (auto* v : {&m.results.PM_CONVERGED, &m.results.MM_CONVERGED, &m.results.MPHI_CONVERGED})
        v->clear();
    m.results.PMM_CONVERGED.clear();
    for (auto* v :
         {&m.results.PM_NOM_P, &m.results.PM_NOM_MX, &m.results.PM_NOM_MY, &m.results.PM_NOM_M,
          &m.results.PM_PHI, &m.results.MM_NOM_MX, &m.results.MM_NOM_MY, &m.results.MM_PHI})
        v->clear();
    for (auto* v :
         {&m.results.PMM_NOM_P, &m.results.PMM_NOM_MX, &m.results.PMM_NOM_MY, &m.results.PMM_PHI})
        v->clear();
    for (TFORCE& f : rows(m.document.FORCE, m.document.NFORCE)) f.LOAD_FRACTION = 0;
    m.results.CRITICAL_COMB = 0;
    m.results.RAISED_LOADS.clear();
    m.results.RESULTS_STAMP = m.mesh.MESH_STAMP;
}

SectionSync SYNC_SECTION_STATE(SectionModel& m) {
    checkTables(m);
    SectionSync s;
    s.found = meshState(m);
    if (s.found == MeshState::MaterialsChanged) {
        s.materialsRefreshed = refreshFibreMaterials(m);
        if (s.materialsRefreshed) stampMesh(m);
    }
    if (s.found == MeshState::GeometryChanged || s.found == MeshState::OptionsChanged ||
        (s.found == MeshState::MaterialsChanged && !s.materialsRefreshed)) {
        clearFibres(m);
        s.meshCleared = true;
    }
    if (m.mesh.NFIB <= 0) s.propertiesCleared = clearProperties(m);
    if (m.results.RESULTS_STAMP != m.mesh.MESH_STAMP) {
        CLEAR_RESULTS(m);
        s.resultsCleared = true;
    }
    return s;
}

}  // namespace qav
