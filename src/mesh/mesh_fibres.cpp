#include "mesh/mesh_fibres.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "mesh/delaunay.h"
#include "mesh/fibre_clip.h"
#include "mesh/inside_test.h"
#include "model/errors.h"
#include "model/materials.h"
#include "model/tables.h"

namespace qav {

namespace {
constexpr double STEEL_E = 205000;  // N/mm2, every steel and rebar fibre

const TMAT& material(const std::vector<TMAT>& table, int count, int n, const char* kind) {
    if (n < 1 || n > count || n >= static_cast<int>(table.size()))
        throw InputError(std::string("The section has no ") + kind + " material number " +
                         std::to_string(n) + ".");
    return table[static_cast<std::size_t>(n)];
}

template <class F>
void forEachTriangle(SectionModel& m, F&& f) {
    for (TSHELL& t : rows(m.mesh.SHELL, m.mesh.NSHELL)) f(t);
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
    for (int k = 0; k < n; ++k)
        p.push_back({pt[static_cast<std::size_t>(k)].X, pt[static_cast<std::size_t>(k)].Y});
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
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        polygons.push_back(clipPolygon(s.PT, s.NPOINT));
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        polygons.push_back(clipPolygon(s.PT, s.NPOINT));
    const SectionSides sides(polygons);
    std::vector<ClipTriangle> pieces, extra;
    for (TSHELL& s : rows(m.mesh.SHELL, m.mesh.NSHELL)) {
        pieces.clear();
        if (!sides.split({{s.AX, s.AY}, {s.BX, s.BY}, {s.CX, s.CY}}, pieces) || pieces.empty())
            continue;
        s = shellOf(pieces[0]);
        for (std::size_t i = 1; i < pieces.size(); ++i) extra.push_back(pieces[i]);
    }
    const int n = m.mesh.NSHELL;
    m.mesh.NSHELL = n + static_cast<int>(extra.size());
    resizeTable(m.mesh.SHELL, m.mesh.NSHELL + 1);
    const auto added = rows(m.mesh.SHELL, m.mesh.NSHELL).subspan(static_cast<std::size_t>(n));
    std::transform(extra.begin(), extra.end(), added.begin(), shellOf);
}

void GEN_MESH_TRIANGLE(SectionModel& m, Messages& messages, Progress* progress) {
    TDelaunay mesher(messages);
    mesher.setProgress(progress);
    std::vector<dVertex> points;
    const auto nodes = rows(m.mesh.MESH_NODE, m.mesh.NMESH_NODE);
    points.reserve(nodes.size());
    for (const TNODE& node : nodes) points.push_back({node.PX, node.PY});
    mesher.setPoints(points);
    mesher.Mesh();

    m.mesh.NSHELL = mesher.HowMany;
    resizeTable(m.mesh.SHELL, m.mesh.NSHELL + 1);
    const auto triangles = rows(m.mesh.SHELL, m.mesh.NSHELL);
    const auto made = rows(mesher.Triangle, mesher.HowMany);
    const auto vertex = [&mesher](int v) -> const dVertex& {
        return mesher.Vertex.at(static_cast<std::size_t>(v));
    };
    std::transform(made.begin(), made.end(), triangles.begin(), [&](const dTriangle& t) {
        const dVertex &a = vertex(t.vv0), &b = vertex(t.vv1), &c = vertex(t.vv2);
        return shellOf({{a.x, a.y}, {b.x, b.y}, {c.x, c.y}});
    });
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
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        classify(m, s.PT, s.NPOINT, true, steel, FIB_STEEL);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        classify(m, s.PT, s.NPOINT, false, 0, 0);
}

void GEN_USER_DEFINE_SECTION(SectionModel& m) {
    int nt = 0;
    forEachTriangle(m, [&](TSHELL& t) { nt += t.USED ? 1 : 0; });
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    const auto keys = rows(m.mesh.KEY_NODE, m.mesh.NKEY_NODE);
    m.mesh.NFIB = nt + m.document.NBAR;
    // Fresh records: no field of an earlier mesh or analysis survives in a reused slot.
    m.mesh.FIB.assign(static_cast<std::size_t>(m.mesh.NFIB) + 1, TFIB{});
    const TPOS c = sectionCentre(m);
    m.mesh.NCFIB = m.mesh.NKEY_NODE;
    m.mesh.CFIB.assign(keys.size() + 1, TCFIB{});

    const auto fibres = rows(m.mesh.FIB, m.mesh.NFIB);
    auto next = fibres.begin();
    forEachTriangle(m, [&](TSHELL& t) {
        if (!t.USED) return;
        TFIB& f = *next++;
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
    for (const TBAR& bar : bars) {
        TFIB& f = *next++;
        f.X = bar.X - c.X;
        f.Y = bar.Y - c.Y;
        f.AREA = 3.14 * (bar.DB * bar.DB) / 4;  // the program's bar area uses 3.14
        f.DB = bar.DB;
        f.TY = FIB_REBAR;
        f.MAT = m.document.USE_REBAR + 1;
        f.SHAPE = 2;
    }
    std::transform(keys.begin(), keys.end(), rows(m.mesh.CFIB, m.mesh.NCFIB).begin(),
                   [&c](const TNODE& k) {
                       return TCFIB{k.PX - c.X, k.PY - c.Y, 0};
                   });
}

void GEN_FIB_MAT(SectionModel& m) {
    // Every grade of the steel grade lists.
    for (TMAT& t : rows(m.document.STEEL_MAT, std::min(OWN_STEEL_GRADES, m.document.NSTEELMAT)))
        t.FY1 = t.FY * t.RF;
    for (TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
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
                f.EPS_CU = mat.EPS_CU;
                f.N_EXP = mat.N_EXP;
                f.BETA1 = mat.BETA1;
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
    for (TCFIB& k : rows(m.mesh.CFIB, m.mesh.NCFIB)) k.EPS = 0;
}

}  // namespace qav
