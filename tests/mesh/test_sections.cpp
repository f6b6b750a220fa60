#include "test_sections.h"

#include <cmath>

#include "builders/shape_forms.h"
#include "model/section_properties.h"

namespace qav::testing {

namespace {
double radians(double degrees) {
    return degrees * M_PI / 180;
}

void setOutline(std::vector<TPOS>& table, int32_t& count, std::vector<TPOS> corners) {
    count = static_cast<int32_t>(corners.size());
    table = closedPoints(std::move(corners));
}

std::vector<TPOS> rectangleCorners(double B, double H) {
    return {{-B / 2, -H / 2}, {-B / 2, 0}, {-B / 2, H / 2}, {0, H / 2},
            {B / 2, H / 2},   {B / 2, 0},  {B / 2, -H / 2}, {0, -H / 2}};
}
}  // namespace

std::vector<TPOS> closedPoints(std::vector<TPOS> corners) {
    if (!corners.empty())
        corners.push_back(corners.front());
    else
        corners.push_back({});
    return corners;
}

TPOLYSHAPE polygon(std::vector<TPOS> corners) {
    TPOLYSHAPE p;
    p.NPOINT = static_cast<int32_t>(corners.size());
    p.PT = closedPoints(std::move(corners));
    return p;
}

SectionModel rectangularColumn(double B, double H, double d1, int nx, int ny, double db) {
    SectionModel m;
    setOutline(m.document.CONC_PT, m.document.NCONC_PT, rectangleCorners(B, H));
    setOutline(m.document.COVER_PT, m.document.NCOVER_PT,
               {{-B / 2 + d1, -H / 2 + d1},
                {0, -H / 2 + d1},
                {B / 2 - d1, -H / 2 + d1},
                {B / 2 - d1, 0},
                {B / 2 - d1, H / 2 - d1},
                {0, H / 2 - d1},
                {-B / 2 + d1, H / 2 - d1},
                {-B / 2 + d1, 0}});
    for (int j = 1; j <= nx; ++j) {
        const double x = -B / 2 + d1 + j * (B - 2 * d1) / (nx + 1);
        ADD_SINGLE_REBAR(m, x, H / 2 - d1, db);
        ADD_SINGLE_REBAR(m, x, -H / 2 + d1, db);
    }
    for (int j = 1; j <= ny; ++j) {
        const double y = j * (H - 2 * d1) / (ny + 1);
        ADD_SINGLE_REBAR(m, -B / 2 + d1, H / 2 - d1 - y, db);
        ADD_SINGLE_REBAR(m, B / 2 - d1, -H / 2 + d1 + y, db);
    }
    ADD_SINGLE_REBAR(m, -B / 2 + d1, -H / 2 + d1, db);
    ADD_SINGLE_REBAR(m, B / 2 - d1, -H / 2 + d1, db);
    ADD_SINGLE_REBAR(m, B / 2 - d1, H / 2 - d1, db);
    ADD_SINGLE_REBAR(m, -B / 2 + d1, H / 2 - d1, db);
    refreshGeometry(m);
    return m;
}

SectionModel circularColumn(double D, double d1, int n, double db) {
    SectionModel m;
    std::vector<TPOS> outline, cover;
    for (int k = 1; k <= 24; ++k)
        outline.push_back(
            {D / 2 * std::cos(radians(15.0 * k)), D / 2 * std::sin(radians(15.0 * k))});
    for (int k = 0; k < 24; ++k)
        cover.push_back({(D / 2 - d1) * std::cos(radians(15.0 * k)),
                         (D / 2 - d1) * std::sin(radians(15.0 * k))});
    setOutline(m.document.CONC_PT, m.document.NCONC_PT, outline);
    setOutline(m.document.COVER_PT, m.document.NCOVER_PT, cover);
    for (int i = 1; i <= n; ++i) {
        const double a = radians(360.0 / n * i), rho = (D - 2 * d1) / 2;
        ADD_SINGLE_REBAR(m, rho * std::cos(a), rho * std::sin(a), db);
    }
    refreshGeometry(m);
    return m;
}

SectionModel compositeRectangle(double B, double H, double c) {
    SectionModel m;
    setOutline(m.document.CONC_PT, m.document.NCONC_PT, rectangleCorners(B, H));
    setOutline(m.document.COVER_PT, m.document.NCOVER_PT, rectangleCorners(B - 2 * c, H - 2 * c));
    refreshGeometry(m);
    return m;
}

TPOLYSHAPE iSection(double W, double D, double F, double T) {
    return polygon({{-W / 2, -D / 2},
                    {W / 2, -D / 2},
                    {W / 2, -D / 2 + F},
                    {T / 2, -D / 2 + F},
                    {T / 2, D / 2 - F},
                    {W / 2, D / 2 - F},
                    {W / 2, D / 2},
                    {-W / 2, D / 2},
                    {-W / 2, D / 2 - F},
                    {-T / 2, D / 2 - F},
                    {-T / 2, -D / 2 + F},
                    {-W / 2, -D / 2 + F}});
}

TPOLYSHAPE crossSection(double W, double D, double F, double T) {
    return polygon(crossOfTwoI(W, D, F, T, W, D, F, T));
}

TPOLYSHAPE rectangle(double W, double D, double x, double y) {
    std::vector<TPOS> c = rectangleCorners(W, D);
    for (TPOS& p : c) p = {p.X + x, p.Y + y};
    return polygon(c);
}

void addSteel(SectionModel& m, const TPOLYSHAPE& p) {
    ++m.document.NSTEEL_SEC;
    resizeTable(m.document.STEEL_SEC, m.document.NSTEEL_SEC + 1);
    m.document.STEEL_SEC[static_cast<std::size_t>(m.document.NSTEEL_SEC)] = p;
    refreshGeometry(m);
}

void addOpening(SectionModel& m, const TPOLYSHAPE& p) {
    ++m.document.NOPEN_SEC;
    resizeTable(m.document.OPEN_SEC, m.document.NOPEN_SEC + 1);
    m.document.OPEN_SEC[static_cast<std::size_t>(m.document.NOPEN_SEC)] = p;
    refreshGeometry(m);
}

}  // namespace qav::testing
