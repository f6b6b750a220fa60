#pragma once
// Fibre sections built by hand for the analysis tests: a rectangle gridded into square concrete
// fibres with bars, its four corners as control points.
#include <vector>

#include "model/materials.h"
#include "model/section_model.h"
#include "model/section_state.h"

namespace qav::test {

struct Bar {
    double x, y, db;
};

struct HandColumn {
    double b = 400;  // width (X)
    double h = 600;  // height (Y)
    int nx = 20;     // concrete fibres across
    int ny = 30;     // concrete fibres up
    double fc = 26.8, eps0 = 0.002136, ec = 25093;
    double fy1 = 435;
    std::vector<Bar> bars;
};

inline void addFibre(SectionModel& m, TFIB f) {
    m.mesh.FIB.push_back(f);
    m.mesh.NFIB = static_cast<int32_t>(m.mesh.FIB.size()) - 1;
}

inline SectionModel handRectangle(const HandColumn& s) {
    SectionModel m;
    m.mesh.FIB.assign(1, TFIB{});
    m.mesh.NFIB = 0;
    const double dx = s.b / s.nx, dy = s.h / s.ny;
    for (int j = 0; j < s.ny; ++j)
        for (int i = 0; i < s.nx; ++i) {
            TFIB f;
            f.X = -s.b / 2 + (i + 0.5) * dx;
            f.Y = -s.h / 2 + (j + 0.5) * dy;
            f.AREA = dx * dy;
            f.TY = FIB_CORE_CONCRETE;
            f.SHAPE = 3;
            f.E = s.ec;
            f.FC = s.fc;
            f.EPS_0 = s.eps0;
            addFibre(m, f);
        }
    for (const Bar& bar : s.bars) {
        TFIB f;
        f.X = bar.x;
        f.Y = bar.y;
        f.DB = bar.db;
        f.AREA = 3.14 * bar.db * bar.db / 4;
        f.TY = FIB_REBAR;
        f.SHAPE = 2;
        f.E = 205000;
        f.FY1 = s.fy1;
        addFibre(m, f);
    }
    m.mesh.CFIB.assign(5, TCFIB{});
    m.mesh.NCFIB = 4;
    m.mesh.CFIB[1] = {-s.b / 2, -s.h / 2, 0};
    m.mesh.CFIB[2] = {s.b / 2, -s.h / 2, 0};
    m.mesh.CFIB[3] = {s.b / 2, s.h / 2, 0};
    m.mesh.CFIB[4] = {-s.b / 2, s.h / 2, 0};
    m.document.CONC_PT = {{-s.b / 2, -s.h / 2},
                          {s.b / 2, -s.h / 2},
                          {s.b / 2, s.h / 2},
                          {-s.b / 2, s.h / 2},
                          {-s.b / 2, -s.h / 2}};
    m.document.NCONC_PT = 4;
    m.results.STRAIN_LIMIT_MODE = 1;
    stampMesh(m);  // as the mesh command leaves its fibres
    return m;
}

// Eight bars of 25 in a 400 x 600 column, symmetric about both axes.
inline HandColumn symmetricColumn() {
    HandColumn s;
    for (double x : {-150.0, 150.0})
        for (double y : {-250.0, -85.0, 85.0, 250.0}) s.bars.push_back({x, y, 25});
    return s;
}

// The deformation (a1, a2, a3) of the fibres' stored strains, from three fibres not on a line.
inline std::vector<double> fibrePlane(const SectionModel& m, int i, int j, int k) {
    const TFIB &p = m.mesh.FIB[static_cast<std::size_t>(i)],
               &q = m.mesh.FIB[static_cast<std::size_t>(j)],
               &r = m.mesh.FIB[static_cast<std::size_t>(k)];
    const double det = (q.X - p.X) * (r.Y - p.Y) - (r.X - p.X) * (q.Y - p.Y);
    const double a2 = ((q.EPS - p.EPS) * (r.Y - p.Y) - (r.EPS - p.EPS) * (q.Y - p.Y)) / det;
    const double a3 = ((q.X - p.X) * (r.EPS - p.EPS) - (r.X - p.X) * (q.EPS - p.EPS)) / det;
    return {p.EPS - a2 * p.X - a3 * p.Y, a2, a3};
}

}  // namespace qav::test
