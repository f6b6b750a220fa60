#include "model/section_model.h"

#include <algorithm>
#include <unordered_set>

#include "model/materials.h"

namespace qav {

SectionModel::SectionModel() {
    resizeTable(CONC_PT, 1);
    resizeTable(COVER_PT, 1);
    resizeTable(STEEL_SEC, 1);
    resizeTable(OPEN_SEC, 1);
    resizeTable(BAR, 1);
    // Copied from one zeroed list made once: cheaper than filling 10001 slots one by one for
    // every model (the readers and the instrumented builds make many).
    static const std::vector<int32_t> noSelection(SEL_BAR_CAPACITY + 1);
    SEL_BAR = noSelection;
    resizeTable(FORCE, 1);
    resizeTable(FIB, 1);
    resizeTable(CFIB, 1);
    resizeTable(SHELL, 1);
    GEN_MAT(*this);
}

namespace {
// The whole mesh: fibres, control points, triangles, nodes and the selection.
void clearWholeMesh(SectionModel& m) {
    m.NFIB = 0;
    m.NCFIB = 0;
    m.NMESH_NODE = 0;
    m.NSLINE_NODE = 0;
    m.NKEY_NODE = 0;
    m.NCLINE_NODE = 0;
    m.NGRID_NODE = 0;
    m.NSHELL = 0;
    m.NSEL_BAR = 0;
    m.MESH_STAMP = {};
}
}  // namespace

void CLEAR_MODEL(SectionModel& m) {
    clearWholeMesh(m);
    m.NCONC_PT = 0;
    m.NCOVER_PT = 0;
    m.NSTEEL_SEC = 0;
    m.NOPEN_SEC = 0;
    m.NBAR = 0;
    m.VIEW_SCALE = 1.0;
}

void CLEAR_MESH(SectionModel& m) {
    m.NFIB = 0;
    m.NCFIB = 0;
    m.NSHELL = 0;
    m.NSEL_BAR = 0;
    m.MESH_STAMP = {};
}

void DELETE_STEEL_SECTION(SectionModel& m) {
    clearWholeMesh(m);
    m.NSTEEL_SEC = 0;
}

void ADD_SINGLE_REBAR(SectionModel& m, double PX, double PY, double DB) {
    ++m.NBAR;
    resizeTable(m.BAR, m.NBAR + 1);
    TBAR& b = m.BAR[static_cast<std::size_t>(m.NBAR)];
    b.X = PX;
    b.Y = PY;
    b.DB = DB;
}

bool DELETE_SINGLE_BAR(SectionModel& m, double PX, double PY) {
    for (int32_t i = 1; i <= m.NBAR; ++i) {
        const TBAR& b = m.BAR[static_cast<std::size_t>(i)];
        if (b.X == PX && b.Y == PY) {
            m.BAR[static_cast<std::size_t>(i)] = m.BAR[static_cast<std::size_t>(m.NBAR)];
            --m.NBAR;
            resizeTable(m.BAR, m.NBAR + 1);
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
    kept.reserve(static_cast<std::size_t>(m.NBAR) + 1);
    kept.push_back(TBAR{});
    for (int32_t i = 1; i <= m.NBAR; ++i) {
        const TBAR& b = m.BAR[static_cast<std::size_t>(i)];
        if (seen.insert({b.X, b.Y}).second) kept.push_back(b);
    }
    m.NBAR = static_cast<int32_t>(kept.size()) - 1;
    m.BAR = std::move(kept);
}

bool IS_BAR_SELECTED(const SectionModel& m, int32_t bar) {
    for (int32_t i = 1; i <= m.NSEL_BAR; ++i)
        if (m.SEL_BAR[static_cast<std::size_t>(i)] == bar) return true;
    return false;
}

bool SELECT_BAR(SectionModel& m, int32_t bar) {
    if (IS_BAR_SELECTED(m, bar)) return true;
    if (m.NSEL_BAR >= SEL_BAR_CAPACITY) return false;
    ++m.NSEL_BAR;
    m.SEL_BAR[static_cast<std::size_t>(m.NSEL_BAR)] = bar;
    return true;
}

TPOS sectionCentre(const SectionModel& m) {
    if (m.NCONC_PT > 0) return {m.CONC_CX, m.CONC_CY};
    if (m.NSTEEL_SEC > 0) return {m.STEEL_CX, m.STEEL_CY};
    return {0, 0};
}

}  // namespace qav
