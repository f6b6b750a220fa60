#include "model/section_model.h"

#include <algorithm>
#include <unordered_set>

#include "model/materials.h"
#include "model/tables.h"

namespace qav {

SectionModel::SectionModel() {
    resizeTable(document.CONC_PT, 1);
    resizeTable(document.COVER_PT, 1);
    resizeTable(document.STEEL_SEC, 1);
    resizeTable(document.OPEN_SEC, 1);
    resizeTable(document.BAR, 1);
    // Copied from one zeroed list made once: cheaper than filling 10001 slots one by one for
    // every model (the readers and the instrumented builds make many).
    static const std::vector<int32_t> noSelection(SEL_BAR_CAPACITY + 1);
    view.SEL_BAR = noSelection;
    resizeTable(document.FORCE, 1);
    resizeTable(mesh.FIB, 1);
    resizeTable(mesh.CFIB, 1);
    resizeTable(mesh.SHELL, 1);
    GEN_MAT(*this);
}

namespace {
// The whole mesh: fibres, control points, triangles, nodes and the selection.
void clearWholeMesh(SectionModel& m) {
    m.mesh.NFIB = 0;
    m.mesh.NCFIB = 0;
    m.mesh.NMESH_NODE = 0;
    m.mesh.NSLINE_NODE = 0;
    m.mesh.NKEY_NODE = 0;
    m.mesh.NCLINE_NODE = 0;
    m.mesh.NGRID_NODE = 0;
    m.mesh.NSHELL = 0;
    m.view.NSEL_BAR = 0;
    m.mesh.MESH_STAMP = {};
}
}  // namespace

void CLEAR_MODEL(SectionModel& m) {
    clearWholeMesh(m);
    m.document.NCONC_PT = 0;
    m.document.NCOVER_PT = 0;
    m.document.NSTEEL_SEC = 0;
    m.document.NOPEN_SEC = 0;
    m.document.NBAR = 0;
    m.view.VIEW_SCALE = 1.0;
}

void CLEAR_MESH(SectionModel& m) {
    m.mesh.NFIB = 0;
    m.mesh.NCFIB = 0;
    m.mesh.NSHELL = 0;
    m.view.NSEL_BAR = 0;
    m.mesh.MESH_STAMP = {};
}

void DELETE_STEEL_SECTION(SectionModel& m) {
    clearWholeMesh(m);
    m.document.NSTEEL_SEC = 0;
}

void ADD_SINGLE_REBAR(SectionModel& m, double PX, double PY, double DB) {
    ++m.document.NBAR;
    resizeTable(m.document.BAR, m.document.NBAR + 1);
    TBAR& b = m.document.BAR[static_cast<std::size_t>(m.document.NBAR)];
    b.X = PX;
    b.Y = PY;
    b.DB = DB;
}

bool DELETE_SINGLE_BAR(SectionModel& m, double PX, double PY) {
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (TBAR& b : bars) {
        if (b.X == PX && b.Y == PY) {
            b = bars.back();
            --m.document.NBAR;
            resizeTable(m.document.BAR, m.document.NBAR + 1);
            return true;
        }
    }
    return false;
}

void REMOVE_REP_REBAR(SectionModel& m) {
    struct Key {
        double x, y;
        bool operator==(const Key& o) const { return x == o.x && y == o.y; }
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            // +0.0 and -0.0 compare equal, so they must hash alike.
            const double x = k.x == 0 ? 0.0 : k.x, y = k.y == 0 ? 0.0 : k.y;
            return std::hash<double>()(x) * 31u ^ std::hash<double>()(y);
        }
    };
    std::unordered_set<Key, KeyHash> seen;
    std::vector<TBAR> kept;
    kept.reserve(static_cast<std::size_t>(m.document.NBAR) + 1);
    kept.push_back(TBAR{});
    for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
        if (seen.insert({b.X, b.Y}).second) kept.push_back(b);
    }
    m.document.NBAR = static_cast<int32_t>(kept.size()) - 1;
    m.document.BAR = std::move(kept);
}

bool IS_BAR_SELECTED(const SectionModel& m, int32_t bar) {
    const auto selected = rows(m.view.SEL_BAR, m.view.NSEL_BAR);
    return std::find(selected.begin(), selected.end(), bar) != selected.end();
}

bool SELECT_BAR(SectionModel& m, int32_t bar) {
    if (IS_BAR_SELECTED(m, bar)) return true;
    if (m.view.NSEL_BAR >= SEL_BAR_CAPACITY) return false;
    ++m.view.NSEL_BAR;
    m.view.SEL_BAR[static_cast<std::size_t>(m.view.NSEL_BAR)] = bar;
    return true;
}

TPOS sectionCentre(const SectionModel& m) {
    if (m.document.NCONC_PT > 0) return {m.document.CONC_CX, m.document.CONC_CY};
    if (m.document.NSTEEL_SEC > 0) return {m.document.STEEL_CX, m.document.STEEL_CY};
    return {0, 0};
}

}  // namespace qav
