#include "interchange/dxf_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "interchange/dxf_index.h"
#include "model/errors.h"
#include "model/feedback.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_properties.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav {

namespace {

// The value on line i as a coordinate in millimetres (the drawing's unit scaled), refused with
// its line unless it is an accepted length.
double lengthOn(const DxfIndex& dx, int i) {
    const double v = ToFloat(dx.line(i)) * dx.unitScale();
    if (!isAcceptedLength(v)) refuseLineValue(i + 1, dx.line(i), dx.line(i));
    return v;
}

// A circle's radius on line i as a bar diameter: not negative, and twice it an accepted length.
double diameterOn(const DxfIndex& dx, int i) {
    const double r = ToFloat(dx.line(i)) * dx.unitScale();
    if (!(r >= 0) || !isAcceptedLength(2 * r)) refuseLineValue(i + 1, dx.line(i), dx.line(i));
    return 2 * r;
}

// The layers the section is read from; any other layer's circles are bars.
constexpr const char* SECTION_LAYERS[] = {"POLY", "REBARLINE", "STEEL", "OPENING"};

bool sameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// An entity whose extrusion points down the Z axis (code 230 negative) is drawn in an object
// coordinate system seen from below: its X runs the other way.
bool mirrored(const DxfIndex& dx, int r) {
    const std::string* z = dx.entityValue(r, 230);
    return z && ToFloat(*z) < 0;
}

bool isPolylineName(const std::string& s) {
    return s == "LWPOLYLINE" || s == "POLYLINE";
}

// A polyline named on line r is on the layer when its own layer pair (code 8, read as a code
// wherever it stands among the entity's pairs) names it. Handles, owners and subclass markers
// before the layer do not hide it, and a following VERTEX or entity cannot lend its layer.
bool onLayer(const DxfIndex& dx, int r, const std::string& layer) {
    const std::string* l = dx.entityValue(r, 8);
    return l && trimmedEquals(*l, layer);
}

// Name lines of the polylines on the layer, in file order.
std::vector<int> polylinesOn(const DxfIndex& dx, const std::string& layer) {
    std::vector<int> found;
    for (int z : dx.zeros()) {
        const int r = z + 1;
        if (r < dx.size() && !dx.inBlocks(z) && isPolylineName(dx.line(r)) && onLayer(dx, r, layer))
            found.push_back(r);
    }
    return found;
}

struct CornerLine {
    int line;  // the code line; the value is on the next line
    bool x;
    bool bulge = false;  // code 42: the arc from this corner to the next
};

// The corners' X (10), Y (20) and bulge (42) code lines between lines from and to.
void collectCorners(const DxfIndex& dx, int from, int to, std::vector<CornerLine>& out) {
    for (int i = from; i < to; ++i) {
        if (!dx.isCode(i) || i + 1 >= dx.size()) continue;
        if (dx.code(i) == 10)
            out.push_back({i, true});
        else if (dx.code(i) == 20)
            out.push_back({i, false});
        else if (dx.code(i) == 42)
            out.push_back({i, false, true});
    }
}

// The corner code lines of the polyline named on line r, in file order. An LWPOLYLINE holds
// its corners itself; an old-style POLYLINE has them in the VERTEX entities that follow it (its
// own point is a placeholder, not a corner).
std::vector<CornerLine> cornerLines(const DxfIndex& dx, int r) {
    std::vector<CornerLine> out;
    int z = dx.nextZero(r);
    if (dx.line(r) == "LWPOLYLINE") {
        collectCorners(dx, r + 1, z, out);
        return out;
    }
    while (z + 1 < dx.size() && trimmedEquals(dx.line(z + 1), "VERTEX")) {
        const int next = dx.nextZero(z);
        collectCorners(dx, z + 2, next, out);
        z = next;
    }
    return out;
}

// Fills a point list from the corner lines: the j-th X line gives the X of point j-1 and the
// j-th Y line its Y; Y values beyond the last X have no slot and are dropped. A bulge (the
// tangent of a quarter of the arc's angle) on a corner makes the side to the next corner an arc,
// drawn as chords that stay within ARC_TOLERANCE of it. A mirrored entity has its X negated.
constexpr double ARC_TOLERANCE = 0.5;  // mm

void arcPoints(TPOS a, TPOS b, double bulge, std::vector<TPOS>& out) {
    const double theta = 4 * std::atan(bulge);
    const double dx = b.X - a.X, dy = b.Y - a.Y, chord = std::hypot(dx, dy);
    if (!(std::fabs(theta) > 1e-9) || !(chord > 0) || !std::isfinite(theta)) return;
    const double r = chord / (2 * std::fabs(std::sin(theta / 2)));
    // An arc of a radius beyond any section (a bulge of a whole turn) stays its chord.
    if (!(r < 1e6)) return;
    // The centre lies off the chord's middle, to its left for an arc turning left.
    const double h = chord / 2 / std::tan(theta / 2);
    const TPOS c{a.X + dx / 2 - dy / chord * h, a.Y + dy / 2 + dx / chord * h};
    const double step = r > ARC_TOLERANCE ? 2 * std::acos(1 - ARC_TOLERANCE / r) : 1;
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(theta) / step)), 1, 1024);
    const double start = std::atan2(a.Y - c.Y, a.X - c.X);
    for (int k = 1; k < n; ++k) {
        const double t = start + theta * k / n;
        out.push_back({c.X + r * std::cos(t), c.Y + r * std::sin(t)});
    }
}

void readCorners(const DxfIndex& dx, const std::vector<CornerLine>& corners, bool mirror,
                 std::vector<TPOS>& pt, int32_t& n) {
    int count = 0;
    for (const auto& c : corners) count += c.x ? 1 : 0;
    std::vector<TPOS> corner(static_cast<std::size_t>(count));
    std::vector<double> bulge(static_cast<std::size_t>(count), 0.0);
    std::size_t nx = 0, ny = 0;
    for (const auto& c : corners) {
        if (c.x) {
            corner[nx++].X = lengthOn(dx, c.line + 1) * (mirror ? -1 : 1);
        } else if (c.bulge) {
            if (nx > 0) bulge[nx - 1] = ToFloat(dx.line(c.line + 1));
        } else if (ny < static_cast<std::size_t>(count)) {
            corner[ny++].Y = lengthOn(dx, c.line + 1);
        }
    }
    std::vector<TPOS> out;
    for (std::size_t i = 0; i < corner.size(); ++i) {
        out.push_back(corner[i]);
        // Mirrored, an arc turns the other way.
        if (bulge[i] != 0)
            arcPoints(corner[i], corner[(i + 1) % corner.size()], mirror ? -bulge[i] : bulge[i],
                      out);
    }
    n = static_cast<int32_t>(out.size());
    out.push_back(TPOS{});
    pt = std::move(out);
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
    if (found.size() > 1)
        throw InputError(
            "Layer " + layer + " holds " + std::to_string(found.size()) + " polylines (lines " +
            std::to_string(found[0] + 1) + " and " + std::to_string(found[1] + 1) +
            "): it takes one closed polyline. Keep one and move or delete the others.");
    readCorners(dx, cornerLines(dx, found.back()), mirrored(dx, found.back()), pt, n);
}

void readPolygons(const DxfIndex& dx, const std::string& layer, std::vector<TPOLYSHAPE>& table,
                  int32_t& count) {
    const std::vector<int> found = polylinesOn(dx, layer);
    count = static_cast<int32_t>(found.size());
    table.assign(found.size() + 1, TPOLYSHAPE{});
    for (std::size_t k = 0; k < found.size(); ++k) {
        TPOLYSHAPE& poly = table[k + 1];
        readCorners(dx, cornerLines(dx, found[k]), mirrored(dx, found[k]), poly.PT, poly.NPOINT);
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

// A circle on a layer the section is read from is not a bar: it was meant as a shape.
void refuseCircleOnSectionLayer(const DxfIndex& dx, int name) {
    const std::string* layer = dx.entityValue(name, 8);
    if (!layer) return;
    for (const char* l : SECTION_LAYERS)
        if (Trim(*layer) == l)
            throw InputError(
                "Line " + std::to_string(name + 1) + ": a CIRCLE on layer " + l + ". Layer " + l +
                " holds polylines; a circle there is not read as a shape. Draw it as a closed "
                "polyline (an arc-shaped outline as a polyline with bulges).");
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
        const bool mirror = mirrored(dx, start);
        for (int p = start; p < end; ++p) {
            if (!dx.isCode(p) || p + 1 >= dx.size()) continue;
            const std::string& code = dx.line(p);
            if (trimmedEquals(code, "10")) {
                bar.X = lengthOn(dx, p + 1) * (mirror ? -1 : 1);
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
        if (name >= dx.size() || dx.line(name) != "CIRCLE" || dx.inBlocks(z)) continue;
        refuseCircleOnSectionLayer(dx, name);
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

namespace {

// What the readers would pass over without a word: a section layer spelt in another case, LINEs
// on a section layer, a block of shapes placed by INSERT. Each is refused with its line.
void refuseUnreadShapes(const DxfIndex& dx) {
    for (int z : dx.zeros()) {
        const int r = z + 1;
        if (r >= dx.size() || dx.inBlocks(z)) continue;
        const std::string* layer = dx.entityValue(r, 8);
        if (!layer) continue;
        const std::string name = Trim(*layer);
        for (const char* l : SECTION_LAYERS) {
            if (name != l && sameLetters(name, l))
                throw InputError("Line " + std::to_string(r + 1) + ": layer \"" + name +
                                 "\" is not read; the section layers are POLY, REBARLINE, STEEL "
                                 "and OPENING, in capitals. Rename the layer " +
                                 l + ".");
            if (name == l && trimmedEquals(dx.line(r), "LINE"))
                throw InputError("Line " + std::to_string(r + 1) + ": a LINE on layer " + l +
                                 ". Layer " + l +
                                 " is read as closed polylines only: join the lines into one "
                                 "closed polyline.");
        }
    }
    for (const DxfIndex::Insert& in : dx.inserts()) {
        for (const std::string& type : dx.blockContents(in.block)) {
            const std::string t = Trim(type);
            if (t == "CIRCLE" || isPolylineName(t))
                throw InputError("Line " + std::to_string(in.line + 1) + ": block \"" + in.block +
                                 "\" is placed by an INSERT and holds a " + t +
                                 ", which the import does not read inside blocks. Explode the "
                                 "blocks into plain entities before importing.");
        }
    }
}

// A bar wider than the section's narrower side is a shape drawn as a circle, not a bar.
void refuseOversizedBars(const SectionModel& m) {
    const SectionDocument& d = m.document;
    std::vector<TPOS> pts(
        d.CONC_PT.begin(),
        d.CONC_PT.begin() + std::clamp<std::ptrdiff_t>(
                                d.NCONC_PT, 0, static_cast<std::ptrdiff_t>(d.CONC_PT.size())));
    for (int k = 1; k <= d.NSTEEL_SEC && k < static_cast<int>(d.STEEL_SEC.size()); ++k) {
        const TPOLYSHAPE& s = d.STEEL_SEC[static_cast<std::size_t>(k)];
        for (int i = 0; i < s.NPOINT && i < static_cast<int>(s.PT.size()); ++i)
            pts.push_back(s.PT[static_cast<std::size_t>(i)]);
    }
    if (pts.empty()) return;
    double x0 = pts[0].X, x1 = x0, y0 = pts[0].Y, y1 = y0;
    for (const TPOS& p : pts) {
        x0 = std::min(x0, p.X), x1 = std::max(x1, p.X);
        y0 = std::min(y0, p.Y), y1 = std::max(y1, p.Y);
    }
    const double side = std::min(x1 - x0, y1 - y0);
    for (int i = 1; i <= d.NBAR && i < static_cast<int>(d.BAR.size()); ++i) {
        const TBAR& b = d.BAR[static_cast<std::size_t>(i)];
        if (b.DB > side)
            throw InputError("Line " + std::to_string(b.RS + 1) + ": a circle of diameter " +
                             Format("%0.1f", {b.DB}) +
                             " mm is wider than the section's narrower side (" +
                             Format("%0.1f", {side}) +
                             " mm): it is no bar. Draw a circular outline as a closed polyline "
                             "on layer POLY.");
    }
}

// One note naming the layers the bars came from, so that a circle on a stray layer is seen.
void noteBarLayers(const DxfIndex& dx, const SectionModel& m, Messages* notes) {
    if (!notes || m.document.NBAR <= 0) return;
    std::vector<std::string> layers;
    for (int i = 1; i <= m.document.NBAR && i < static_cast<int>(m.document.BAR.size()); ++i) {
        const int start = m.document.BAR[static_cast<std::size_t>(i)].RS;
        const std::string* l = start >= 0 && start < dx.size() ? dx.entityValue(start, 8) : nullptr;
        const std::string name = l ? Trim(*l) : std::string("0");
        if (std::find(layers.begin(), layers.end(), name) == layers.end()) layers.push_back(name);
    }
    std::string list;
    for (std::size_t k = 0; k < layers.size(); ++k) list += (k ? ", " : "") + layers[k];
    notes->message(Format(m.document.NBAR == 1 ? "%D bar read from the circles on layer"
                                               : "%D bars read from the circles on layer",
                          {m.document.NBAR}) +
                   (layers.size() > 1 ? "s " : " ") + list + ".");
}

}  // namespace

void importDxfLines(SectionModel& m, std::vector<std::string> lines, Messages* notes) {
    CLEAR_MODEL(m);
    m.document.SECTION_TEXT = std::move(lines);
    // One index serves the five readers.
    const DxfIndex dx(m.document.SECTION_TEXT);
    refuseUnreadShapes(dx);
    readOutline(m, dx);
    readSinglePolyline(dx, "REBARLINE", m.document.COVER_PT, m.document.NCOVER_PT);
    readPolygons(dx, "STEEL", m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    readPolygons(dx, "OPENING", m.document.OPEN_SEC, m.document.NOPEN_SEC);
    readBars(m, dx);
    REMOVE_REP_REBAR(m);
    refuseOversizedBars(m);
    noteBarLayers(dx, m, notes);
    checkTables(m);
    refreshGeometry(m);
}

void importDxfFile(SectionModel& m, const std::string& path, Messages* notes) {
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
    MessageLog heard;
    try {
        importDxfLines(m, std::move(lines), &heard);
    } catch (const InputError&) {
        // A drawing refused for what it holds leaves the section as it was.
        m = std::move(before);
        throw;
    }
    if (m.document.NCONC_PT <= 0 && m.document.NCOVER_PT <= 0 && m.document.NSTEEL_SEC <= 0 &&
        m.document.NOPEN_SEC <= 0 && m.document.NBAR <= 0) {
        m = std::move(before);
        throw FileRefusedError(
            "No section found in " + path +
            ": it has no outline, cover line, steel polygon, opening or bar on the layers the "
            "import reads.");
    }
    if (notes)
        for (const auto& e : heard.entries()) notes->message(e.text);
}

}  // namespace qav
