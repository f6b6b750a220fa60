#include "mesh/section_sync.h"

#include "mesh/mesh_fibres.h"
#include "model/section_properties.h"

namespace qav {

namespace {
std::size_t slot(int k) {
    return static_cast<std::size_t>(k);
}

bool gradeExists(const std::vector<TMAT>& table, int32_t count, int32_t index) {
    const int32_t grade = index + 1;
    return grade >= 1 && grade <= count && grade < static_cast<int32_t>(table.size());
}

// The grade every fibre kind takes, as the mesh command gives it; 0 when it is missing.
int32_t gradeOf(const SectionModel& m, int32_t kind) {
    switch (kind) {
        case FIB_CORE_CONCRETE:
            return gradeExists(m.CONC_MAT, m.NCONCMAT, m.USE_CONC) ? m.USE_CONC + 1 : 0;
        case FIB_COVER_CONCRETE:
            return gradeExists(m.COVER_MAT, m.NCOVERMAT, m.USE_COVER) ? m.USE_COVER + 1 : 0;
        case FIB_STEEL:
            return gradeExists(m.STEEL_MAT, m.NSTEELMAT, m.USE_STEEL) ? m.USE_STEEL + 1 : 0;
        case FIB_REBAR:
            return gradeExists(m.STEEL_MAT, m.NSTEELMAT, m.USE_REBAR) ? m.USE_REBAR + 1 : 0;
        default:
            return -1;  // no material
    }
}

// The fibres keep their place and area and take the current grades. False, changing nothing,
// when a grade a fibre needs is missing.
bool refreshFibreMaterials(SectionModel& m) {
    for (int i = 1; i <= m.NFIB; ++i)
        if (gradeOf(m, m.FIB[slot(i)].TY) == 0) return false;
    for (int i = 1; i <= m.NFIB; ++i) {
        TFIB& f = m.FIB[slot(i)];
        const int32_t grade = gradeOf(m, f.TY);
        if (grade > 0) f.MAT = grade;
    }
    GEN_FIB_MAT(m);
    return true;
}

// The "Section Properties" boxes are sums over the fibres: without fibres they show nothing
// rather than the areas of a section that is gone. True when they showed something.
bool clearProperties(SectionModel& m) {
    const SectionPropertiesText empty;
    const SectionPropertiesText& p = m.PROPERTIES_TEXT;
    const bool shown = p.Edit2 != empty.Edit2 || p.Edit3 != empty.Edit3 || p.Edit4 != empty.Edit4 ||
                       p.Edit5 != empty.Edit5 || p.Edit6 != empty.Edit6;
    CALC_AREA_RATIO(m);
    m.PROPERTIES_TEXT = empty;
    return shown;
}

// The fibres, control points and triangles go. The bar selection stays: it names bars, which
// are still there.
void clearFibres(SectionModel& m) {
    m.NFIB = 0;
    m.NCFIB = 0;
    m.NSHELL = 0;
    m.MESH_STAMP = {};
}
}  // namespace

void CLEAR_RESULTS(SectionModel& m) {
    m.PMAX = 0;
    m.PMIN = 0;
    for (auto* v :
         {&m.PM_P, &m.PM_MX, &m.PM_MY, &m.PM_M, &m.MM_MX, &m.MM_MY, &m.MPHI_M, &m.MPHI_PHI})
        v->clear();
    m.PMM_P.clear();
    m.PMM_MX.clear();
    m.PMM_MY.clear();
    for (auto* v : {&m.PM_CONVERGED, &m.MM_CONVERGED, &m.MPHI_CONVERGED}) v->clear();
    m.PMM_CONVERGED.clear();
    for (int i = 1; i <= m.NFORCE && i < static_cast<int>(m.FORCE.size()); ++i)
        m.FORCE[slot(i)].LOAD_FRACTION = 0;
    m.CRITICAL_COMB = 0;
    m.RESULTS_STAMP = m.MESH_STAMP;
}

SectionSync SYNC_SECTION_STATE(SectionModel& m) {
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
    if (m.NFIB <= 0) s.propertiesCleared = clearProperties(m);
    if (m.RESULTS_STAMP != m.MESH_STAMP) {
        CLEAR_RESULTS(m);
        s.resultsCleared = true;
    }
    return s;
}

}  // namespace qav
