#include "mesh/mesh_fibres.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "mesh/delaunay.h"
#include "mesh/fibre_clip.h"
#include "mesh/inside_test.h"
#include "model/errors.h"

namespace qav {

namespace {
constexpr double STEEL_E = 205000;  // N/mm2, every steel and rebar fibre

std::size_t slot(int k) {
    return static_cast<std::size_t>(k);
}

const TMAT& material(const std::vector<TMAT>& table, int count, int n, const char* kind) {
    if (n < 1 || n > count || n >= static_cast<int>(table.size()))
        throw InputError(std::string("The section has no ") + kind + " material number " +
                         std::to_string(n) + ".");
    return table[slot(n)];
}

template <class F>
void forEachTriangle(SectionModel& m, F&& f) {
    for (int j = 1; j <= m.mesh.NSHELL; ++j) f(m.mesh.SHELL[slot(j)]);
}

TSHELL shellOf(const ClipTriangle& t) {
    TSHELL s;  // a fresh record: nothing of an earlier mesh stays in the slot
    s.AX = t.a.x;
    s.AY = t.a.y;
    s.BX = t.b.x;
    s.BY = t.b.y;
    s.CX = t.c.x;
    s.CY = t.c.y;
    s.OX = (s.AX + s.BX + s.CX) / 3;
    s.OY = (s.AY + s.BY + s.CY) / 3;
    s.USED = false;
    return s;
}

ClipPolygon clipPolygon(const std::vector<TPOS>& pt, int npoint) {
    ClipPolygon p;
    const int n = polygonCorners(pt, npoint);
    for (int k = 0; k < n; ++k) p.push_back({pt[slot(k)].X, pt[slot(k)].Y});
    return p;
}

void classify(SectionModel& m, const std::vector<TPOS>& pt, int n, bool used, int mat, int kind) {
    const InsideTest polygon(pt, n);
    forEachTriangle(m, [&](TSHELL& t) {
        if (!polygon.inside(t.OX, t.OY)) return;
        t.USED = used;
        t.MAT = mat;
        t.MATTY = kind;
    });
}
}  // namespace

void splitAtSectionSides(SectionModel& m) {
    std::vector<ClipPolygon> polygons{clipPolygon(m.document.CONC_PT, m.document.NCONC_PT)};
    if (m.document.NCOVER_PT > 0)
        polygons.push_back(clipPolygon(m.document.COVER_PT, m.document.NCOVER_PT));
    for (int k = 1; k <= m.document.NSTEEL_SEC && k < static_cast<int>(m.document.STEEL_SEC.size());
         ++k)
        polygons.push_back(
            clipPolygon(m.document.STEEL_SEC[slot(k)].PT, m.document.STEEL_SEC[slot(k)].NPOINT));
    for (int k = 1; k <= m.document.NOPEN_SEC && k < static_cast<int>(m.document.OPEN_SEC.size());
         ++k)
        polygons.push_back(
            clipPolygon(m.document.OPEN_SEC[slot(k)].PT, m.document.OPEN_SEC[slot(k)].NPOINT));
    const SectionSides sides(polygons);
    std::vector<ClipTriangle> pieces, extra;
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        TSHELL& s = m.mesh.SHELL[slot(j)];
        pieces.clear();
        if (!sides.split({{s.AX, s.AY}, {s.BX, s.BY}, {s.CX, s.CY}}, pieces) || pieces.empty())
            continue;
        s = shellOf(pieces[0]);
        for (std::size_t i = 1; i < pieces.size(); ++i) extra.push_back(pieces[i]);
    }
    const int n = m.mesh.NSHELL;
    m.mesh.NSHELL = n + static_cast<int>(extra.size());
    resizeTable(m.mesh.SHELL, m.mesh.NSHELL + 1);
    for (std::size_t i = 0; i < extra.size(); ++i)
        m.mesh.SHELL[slot(n + 1) + i] = shellOf(extra[i]);
}

void GEN_MESH_TRIANGLE(SectionModel& m, Messages& messages, Progress* progress) {
    TDelaunay mesher(messages);
    mesher.setProgress(progress);
    std::vector<dVertex> points;
    const int n = std::min<int>(m.mesh.NMESH_NODE, static_cast<int>(m.mesh.MESH_NODE.size()) - 1);
    points.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 1; i <= n; ++i)
        points.push_back({m.mesh.MESH_NODE[slot(i)].PX, m.mesh.MESH_NODE[slot(i)].PY});
    mesher.setPoints(points);
    mesher.Mesh();

    m.mesh.NSHELL = mesher.HowMany;
    resizeTable(m.mesh.SHELL, m.mesh.NSHELL + 1);
    for (int j = 1; j <= m.mesh.NSHELL; ++j) {
        const dTriangle& t = mesher.Triangle[slot(j)];
        const dVertex& a = mesher.Vertex[slot(t.vv0)];
        const dVertex& b = mesher.Vertex[slot(t.vv1)];
        const dVertex& c = mesher.Vertex[slot(t.vv2)];
        m.mesh.SHELL[slot(j)] = shellOf({{a.x, a.y}, {b.x, b.y}, {c.x, c.y}});
    }
    splitAtSectionSides(m);
}

void CALC_TRI_AREA(SectionModel& m) {
    forEachTriangle(m, [](TSHELL& t) {
        t.AREA = std::fabs(t.AX * t.BY - t.BX * t.AY + t.BX * t.CY - t.CX * t.BY + t.CX * t.AY -
                           t.AX * t.CY) *
                 0.5;
    });
}

void CHECK_MESH_AREA(SectionModel& m) {
    const int concrete = m.document.USE_CONC + 1, cover = m.document.USE_COVER + 1,
              steel = m.document.USE_STEEL + 1;
    forEachTriangle(m, [](TSHELL& t) { t.USED = false; });
    if (m.document.NCOVER_PT > 0) {
        classify(m, m.document.CONC_PT, m.document.NCONC_PT, true, cover, FIB_COVER_CONCRETE);
        classify(m, m.document.COVER_PT, m.document.NCOVER_PT, true, concrete, FIB_CORE_CONCRETE);
    } else {
        classify(m, m.document.CONC_PT, m.document.NCONC_PT, true, concrete, FIB_CORE_CONCRETE);
    }
    for (int k = 1; k <= m.document.NSTEEL_SEC && k < static_cast<int>(m.document.STEEL_SEC.size());
         ++k)
        classify(m, m.document.STEEL_SEC[slot(k)].PT, m.document.STEEL_SEC[slot(k)].NPOINT, true,
                 steel, FIB_STEEL);
    for (int k = 1; k <= m.document.NOPEN_SEC && k < static_cast<int>(m.document.OPEN_SEC.size());
         ++k)
        classify(m, m.document.OPEN_SEC[slot(k)].PT, m.document.OPEN_SEC[slot(k)].NPOINT, false, 0,
                 0);
}

void GEN_USER_DEFINE_SECTION(SectionModel& m) {
    int nt = 0;
    forEachTriangle(m, [&](TSHELL& t) { nt += t.USED ? 1 : 0; });
    const int nbar =
        std::clamp<int>(m.document.NBAR, 0, static_cast<int>(m.document.BAR.size()) - 1);
    m.mesh.NFIB = nt + nbar;
    // Fresh records: no field of an earlier mesh or analysis survives in a reused slot.
    m.mesh.FIB.assign(slot(m.mesh.NFIB) + 1, TFIB{});
    const TPOS c = sectionCentre(m);
    const int nkey = std::min<int>(m.mesh.NKEY_NODE, static_cast<int>(m.mesh.KEY_NODE.size()) - 1);
    m.mesh.NCFIB = std::max(nkey, 0);
    m.mesh.CFIB.assign(slot(m.mesh.NCFIB) + 1, TCFIB{});

    int i = 0;
    forEachTriangle(m, [&](TSHELL& t) {
        if (!t.USED) return;
        TFIB& f = m.mesh.FIB[slot(++i)];
        f.X = t.OX - c.X;
        f.Y = t.OY - c.Y;
        f.AREA = t.AREA;
        f.TY = t.MATTY;
        f.MAT = t.MAT;
        f.POS[0] = {t.AX - c.X, t.AY - c.Y};
        f.POS[1] = {t.BX - c.X, t.BY - c.Y};
        f.POS[2] = {t.CX - c.X, t.CY - c.Y};
        f.SHAPE = 3;
    });
    for (int b = 1; b <= nbar; ++b) {
        const TBAR& bar = m.document.BAR[slot(b)];
        TFIB& f = m.mesh.FIB[slot(++i)];
        f.X = bar.X - c.X;
        f.Y = bar.Y - c.Y;
        f.AREA = 3.14 * (bar.DB * bar.DB) / 4;  // the program's bar area uses 3.14
        f.DB = bar.DB;
        f.TY = FIB_REBAR;
        f.MAT = m.document.USE_REBAR + 1;
        f.SHAPE = 2;
    }
    for (int j = 1; j <= m.mesh.NCFIB; ++j) {
        const TNODE& k = m.mesh.KEY_NODE[slot(j)];
        m.mesh.CFIB[slot(j)] = {k.PX - c.X, k.PY - c.Y, 0};
    }
}

void GEN_FIB_MAT(SectionModel& m) {
    const int steelGrades =
        std::min({5, m.document.NSTEELMAT, static_cast<int>(m.document.STEEL_MAT.size()) - 1});
    for (int k = 1; k <= steelGrades; ++k)
        m.document.STEEL_MAT[slot(k)].FY1 =
            m.document.STEEL_MAT[slot(k)].FY * m.document.STEEL_MAT[slot(k)].RF;
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        TFIB& f = m.mesh.FIB[slot(i)];
        switch (f.TY) {
            case FIB_CORE_CONCRETE:
            case FIB_COVER_CONCRETE: {
                const TMAT& mat =
                    f.TY == FIB_CORE_CONCRETE
                        ? material(m.document.CONC_MAT, m.document.NCONCMAT, f.MAT, "concrete")
                        : material(m.document.COVER_MAT, m.document.NCOVERMAT, f.MAT,
                                   "cover concrete");
                f.FC = mat.FC;
                f.EPS_0 = mat.EPS_0;
                f.E = mat.EC;
                break;
            }
            case FIB_STEEL:
            case FIB_REBAR:
                f.FY1 = material(m.document.STEEL_MAT, m.document.NSTEELMAT, f.MAT, "steel").FY1;
                f.E = STEEL_E;
                break;
            default:
                break;
        }
    }
    for (int j = 1; j <= m.mesh.NCFIB; ++j) m.mesh.CFIB[slot(j)].EPS = 0;
}

}  // namespace qav
