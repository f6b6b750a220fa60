#include "interchange/dxf_import.h"

#include <cmath>

#include "interchange/dxf_index.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_properties.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav {

namespace {

constexpr int LAYER_WINDOW = 10;

// The value on line i as a coordinate, refused with its line unless it is an accepted length.
double lengthOn(const DxfIndex& dx, int i) {
    const double v = ToFloat(dx.line(i));
    if (!isAcceptedLength(v)) refuseLineValue(i + 1, dx.line(i), dx.line(i));
    return v;
}

// A circle's radius on line i as a bar diameter: not negative, and twice it an accepted length.
double diameterOn(const DxfIndex& dx, int i) {
    const double r = ToFloat(dx.line(i));
    if (!(r >= 0) || !isAcceptedLength(2 * r)) refuseLineValue(i + 1, dx.line(i), dx.line(i));
    return 2 * r;
}

bool isPolylineName(const std::string& s) {
    return s == "LWPOLYLINE" || s == "POLYLINE";
}

// A polyline named on line r is on the layer when one of the ten lines after its name reads
// "8" and the line after that reads the layer name. The test stays inside the entity, so a
// following VERTEX or entity cannot lend its layer.
bool onLayer(const DxfIndex& dx, int r, const std::string& layer) {
    const int end = dx.nextZero(r);
    for (int k = 1; k <= LAYER_WINDOW; ++k) {
        if (r + k + 1 >= end) break;
        if (trimmedEquals(dx.line(r + k), "8") && trimmedEquals(dx.line(r + k + 1), layer))
            return true;
    }
    return false;
}

// Name lines of the polylines on the layer, in file order.
std::vector<int> polylinesOn(const DxfIndex& dx, const std::string& layer) {
    std::vector<int> found;
    for (int z : dx.zeros()) {
        const int r = z + 1;
        if (r < dx.size() && isPolylineName(dx.line(r)) && onLayer(dx, r, layer))
            found.push_back(r);
    }
    return found;
}

// How a reader recognises the X and Y code lines of the corners.
struct CornerCodes {
    bool trimmed;  // true: "10" with any blanks; false: exactly " 10" and " 20"
    bool isX(const std::string& s) const { return trimmed ? trimmedEquals(s, "10") : s == " 10"; }
    bool isY(const std::string& s) const { return trimmed ? trimmedEquals(s, "20") : s == " 20"; }
};

struct CornerLine {
    int line;  // the code line; the value is on the next line
    bool x;
};

void collectCorners(const DxfIndex& dx, int from, int to, CornerCodes codes,
                    std::vector<CornerLine>& out) {
    for (int i = from; i < to; ++i) {
        if (!dx.isCode(i) || i + 1 >= dx.size()) continue;
        if (codes.isX(dx.line(i)))
            out.push_back({i, true});
        else if (codes.isY(dx.line(i)))
            out.push_back({i, false});
    }
}

// The corner code lines of the polyline named on line r, in file order. An LWPOLYLINE holds
// its corners itself; an old-style POLYLINE has them in the VERTEX entities that follow it (its
// own point is a placeholder, not a corner).
std::vector<CornerLine> cornerLines(const DxfIndex& dx, int r, CornerCodes codes) {
    std::vector<CornerLine> out;
    int z = dx.nextZero(r);
    if (dx.line(r) == "LWPOLYLINE") {
        collectCorners(dx, r + 1, z, codes, out);
        return out;
    }
    while (z + 1 < dx.size() && trimmedEquals(dx.line(z + 1), "VERTEX")) {
        const int next = dx.nextZero(z);
        collectCorners(dx, z + 2, next, codes, out);
        z = next;
    }
    return out;
}

// Fills a point list from the corner lines: the j-th X line gives the X of point j-1 and the
// j-th Y line its Y; Y values beyond the last X have no slot and are dropped.
void readCorners(const DxfIndex& dx, const std::vector<CornerLine>& corners, std::vector<TPOS>& pt,
                 int32_t& n) {
    int count = 0;
    for (const auto& c : corners) count += c.x ? 1 : 0;
    n = count;
    pt.assign(static_cast<std::size_t>(count) + 1, TPOS{});
    std::size_t nx = 0, ny = 0;
    for (const auto& c : corners) {
        if (c.x) {
            pt[nx++].X = lengthOn(dx, c.line + 1);
        } else if (ny < static_cast<std::size_t>(count)) {
            pt[ny++].Y = lengthOn(dx, c.line + 1);
        }
    }
}

void readSinglePolyline(const DxfIndex& dx, const std::string& layer, std::vector<TPOS>& pt,
                        int32_t& n) {
    const std::vector<int> found = polylinesOn(dx, layer);
    if (found.empty()) {
        // No polyline on the layer: nothing of the file is taken for it.
        n = 0;
        pt.assign(1, TPOS{});
        return;
    }
    readCorners(dx, cornerLines(dx, found.back(), CornerCodes{true}), pt, n);
}

void readPolygons(const DxfIndex& dx, const std::string& layer, std::vector<TPOLYSHAPE>& table,
                  int32_t& count) {
    const std::vector<int> found = polylinesOn(dx, layer);
    count = static_cast<int32_t>(found.size());
    table.assign(found.size() + 1, TPOLYSHAPE{});
    for (std::size_t k = 0; k < found.size(); ++k) {
        TPOLYSHAPE& poly = table[k + 1];
        readCorners(dx, cornerLines(dx, found[k], CornerCodes{false}), poly.PT, poly.NPOINT);
    }
}

void readOutline(SectionModel& m, const DxfIndex& dx) {
    readSinglePolyline(dx, "POLY", m.document.CONC_PT, m.document.NCONC_PT);
    if (m.document.NCONC_PT > 0) {
        const PolygonMeasure pm = polygonMeasure(m.document.CONC_PT, m.document.NCONC_PT);
        if (std::isfinite(pm.CX) && std::isfinite(pm.CY)) {
            m.document.CONC_CX = pm.CX;
            m.document.CONC_CY = pm.CY;
        }
    }
}

void readBars(SectionModel& m, const DxfIndex& dx) {
    m.document.NBAR = 0;
    resizeTable(m.document.BAR, 1);
    // One bar starts at each CIRCLE entity name and one more at its "AcDbCircle" subclass
    // marker, where a drawing writes one; both read the same range (the duplicate goes with
    // REMOVE_REP_REBAR). A range runs to the next entity. A bar whose range gives no centre or
    // no radius is not a bar.
    auto readBar = [&](int start, int end) {
        TBAR bar;
        bar.RS = start;
        bar.RE = end < dx.size() ? end : dx.size() - 1;
        bool hasX = false, hasY = false, hasR = false;
        for (int p = start; p < end; ++p) {
            if (!dx.isCode(p) || p + 1 >= dx.size()) continue;
            const std::string& code = dx.line(p);
            if (trimmedEquals(code, "10")) {
                bar.X = lengthOn(dx, p + 1);
                hasX = true;
            } else if (trimmedEquals(code, "20")) {
                bar.Y = lengthOn(dx, p + 1);
                hasY = true;
            } else if (trimmedEquals(code, "40")) {
                bar.DB = diameterOn(dx, p + 1);
                hasR = true;
            }
        }
        if (hasX && hasY && hasR) {
            ++m.document.NBAR;
            resizeTable(m.document.BAR, m.document.NBAR + 1);
            m.document.BAR[static_cast<std::size_t>(m.document.NBAR)] = bar;
        }
    };
    for (int z : dx.zeros()) {
        const int name = z + 1;
        if (name >= dx.size() || dx.line(name) != "CIRCLE") continue;
        const int end = dx.nextZero(z);
        readBar(name, end);
        for (int p = name + 1; p + 1 < end; ++p)
            if (dx.isCode(p) && trimmedEquals(dx.line(p), "100") && dx.line(p + 1) == "AcDbCircle")
                readBar(p + 1, end);
    }
}

}  // namespace

void GET_CONC_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA) {
    readOutline(m, DxfIndex(DATA));
}

void GET_REBAR_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA) {
    readSinglePolyline(DxfIndex(DATA), "REBARLINE", m.document.COVER_PT, m.document.NCOVER_PT);
}

void GET_STEEL_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA) {
    readPolygons(DxfIndex(DATA), "STEEL", m.document.STEEL_SEC, m.document.NSTEEL_SEC);
}

void GET_OPEN_POLY_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA) {
    readPolygons(DxfIndex(DATA), "OPENING", m.document.OPEN_SEC, m.document.NOPEN_SEC);
}

void GET_REBAR_INFO_DXF(SectionModel& m, const std::vector<std::string>& DATA) {
    readBars(m, DxfIndex(DATA));
}

void importDxfLines(SectionModel& m, std::vector<std::string> lines) {
    CLEAR_MODEL(m);
    m.document.SECTION_TEXT = std::move(lines);
    // One index serves the five readers.
    const DxfIndex dx(m.document.SECTION_TEXT);
    readOutline(m, dx);
    readSinglePolyline(dx, "REBARLINE", m.document.COVER_PT, m.document.NCOVER_PT);
    readPolygons(dx, "STEEL", m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    readPolygons(dx, "OPENING", m.document.OPEN_SEC, m.document.NOPEN_SEC);
    readBars(m, dx);
    REMOVE_REP_REBAR(m);
    checkTables(m);
    refreshGeometry(m);
}

void importDxfFile(SectionModel& m, const std::string& path) {
    std::vector<std::string> lines;
    {
        // The file's bytes go before the import starts; only its lines are kept.
        const std::string bytes = readTextFile(path);
        if (bytes.rfind("AutoCAD Binary DXF", 0) == 0)
            throw InputError(
                "\"" + path +
                "\" is a binary DXF file. Only DXF files saved as text (ASCII) can be imported.");
        lines = splitLines(bytes);
    }
    // An import that finds nothing would empty the model for nothing: the section stays.
    SectionModel before = m;
    importDxfLines(m, std::move(lines));
    if (m.document.NCONC_PT <= 0 && m.document.NCOVER_PT <= 0 && m.document.NSTEEL_SEC <= 0 &&
        m.document.NOPEN_SEC <= 0 && m.document.NBAR <= 0) {
        m = std::move(before);
        throw FileRefusedError(
            "No section found in " + path +
            ": it has no outline, cover line, steel polygon, opening or bar on the layers the "
            "import reads.");
    }
}

}  // namespace qav
