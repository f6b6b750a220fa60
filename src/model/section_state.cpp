#include "model/section_state.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "model/errors.h"
#include "model/tables.h"

namespace qav {

namespace {
// A word-at-a-time mix of the values' bit patterns (it runs on every repaint, over up to
// 100000 bars); -0 and 0 hash alike, as do all not-a-numbers.
class Hasher {
public:
    void add(uint64_t v) {
        h_ ^= v + 0x9E3779B97F4A7C15ull + (h_ << 6) + (h_ >> 2);
        h_ *= 0xBF58476D1CE4E5B9ull;
        h_ ^= h_ >> 31;
    }
    void add(double d) {
        if (d == 0) d = 0;
        if (std::isnan(d)) d = NAN;
        uint64_t bits = 0;
        std::memcpy(&bits, &d, sizeof bits);
        add(bits);
    }
    void add(int32_t v) { add(static_cast<uint64_t>(static_cast<int64_t>(v))); }
    void add(const std::string& s) {
        add(static_cast<uint64_t>(s.size()));
        for (const char c : s) add(static_cast<uint64_t>(static_cast<unsigned char>(c)));
    }
    void add(const TPOS& p) {
        add(p.X);
        add(p.Y);
    }
    // Corners 0..n-1 (as far as the table holds them) and the count.
    void addPolygon(const std::vector<TPOS>& pt, int32_t n) {
        add(n);
        const int32_t k = std::clamp<int32_t>(n, 0, static_cast<int32_t>(pt.size()));
        for (int32_t i = 0; i < k; ++i) add(pt[static_cast<std::size_t>(i)]);
    }
    void addPolygons(const std::vector<TPOLYSHAPE>& list, int32_t n) {
        add(n);
        for (const TPOLYSHAPE& s : rows(list, n)) addPolygon(s.PT, s.NPOINT);
    }
    // The grade index, and the record it selects when the table holds it.
    void addGrade(const std::vector<TMAT>& table, int32_t count, int32_t index) {
        add(index);
        const int32_t grade = index + 1;
        if (grade < 1 || grade > count || grade >= static_cast<int32_t>(table.size())) {
            add(uint64_t{0xDEAD});
            return;
        }
        const TMAT& t = table[static_cast<std::size_t>(grade)];
        for (double v : {t.FCU, t.EC, t.EPS_0, t.FC, t.EPS_CU, t.FY1, t.FY, t.ES, t.RF}) add(v);
        // The code laws' fields, only where they leave the program's own law, so that the
        // stamps of such grades stay as they were.
        if (t.N_EXP != 2 || t.BETA1 != 0)
            for (double v : {t.N_EXP, t.BETA1}) add(v);
        add(t.NAME);
    }
    uint64_t value() const { return h_; }

private:
    uint64_t h_ = 0xCBF29CE484222325ull;
};
}  // namespace

uint64_t geometryFingerprint(const SectionModel& m) {
    Hasher h;
    h.addPolygon(m.document.CONC_PT, m.document.NCONC_PT);
    h.addPolygon(m.document.COVER_PT, m.document.NCOVER_PT);
    h.addPolygons(m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    h.addPolygons(m.document.OPEN_SEC, m.document.NOPEN_SEC);
    h.add(m.document.NBAR);
    for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
        h.add(b.X);
        h.add(b.Y);
        h.add(b.DB);
    }
    return h.value();
}

uint64_t materialFingerprint(const SectionModel& m) {
    // The kinds the mesh command gives fibres to, as it chooses their grades.
    const bool outline = m.document.NCONC_PT > 0, cover = m.document.NCOVER_PT > 0;
    Hasher h;
    h.add(uint64_t{outline || cover});
    if (outline || cover) h.addGrade(m.document.CONC_MAT, m.document.NCONCMAT, m.document.USE_CONC);
    h.add(uint64_t{outline && cover});
    if (outline && cover)
        h.addGrade(m.document.COVER_MAT, m.document.NCOVERMAT, m.document.USE_COVER);
    h.add(uint64_t{m.document.NSTEEL_SEC > 0});
    if (m.document.NSTEEL_SEC > 0)
        h.addGrade(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_STEEL);
    h.add(uint64_t{m.document.NBAR > 0});
    if (m.document.NBAR > 0)
        h.addGrade(m.document.STEEL_MAT, m.document.NSTEELMAT, m.document.USE_REBAR);
    return h.value();
}

bool steelGridApplies(const SectionModel& m) {
    return m.settings.STEEL_GRID && m.document.NCONC_PT <= 0;
}

uint64_t optionsFingerprint(const SectionModel& m) {
    return steelGridApplies(m) ? 1 : 0;
}

MeshState meshState(const SectionModel& m) {
    if (m.mesh.NFIB <= 0) return MeshState::None;
    if (m.mesh.MESH_STAMP.serial == 0 || m.mesh.MESH_STAMP.geometry != geometryFingerprint(m))
        return MeshState::GeometryChanged;
    if (m.mesh.MESH_STAMP.options != optionsFingerprint(m)) return MeshState::OptionsChanged;
    if (m.mesh.MESH_STAMP.materials != materialFingerprint(m)) return MeshState::MaterialsChanged;
    return MeshState::Current;
}

void stampMesh(SectionModel& m) {
    m.mesh.MESH_STAMP = {geometryFingerprint(m), materialFingerprint(m), optionsFingerprint(m),
                         ++m.mesh.MESH_SERIAL};
}

void requireCurrentMesh(const SectionModel& m) {
    switch (meshState(m)) {
        case MeshState::None:
            throw InputError("The section has no fibres: mesh the section before the analysis.");
        case MeshState::GeometryChanged:
            throw InputError(
                "The section has changed since it was meshed: mesh the section first.");
        case MeshState::OptionsChanged:
            throw InputError(
                "The mesh options have changed since the section was meshed: mesh the section "
                "first.");
        case MeshState::MaterialsChanged:
            throw InputError(
                "The grades or materials have changed since the section was meshed: mesh the "
                "section first.");
        case MeshState::Current:
            break;
    }
}

}  // namespace qav
