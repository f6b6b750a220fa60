#include "interchange/dxf_export.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/tables.h"
#include "model/text_file.h"

namespace qav {

namespace {

void add(DxfDrawing& d, std::initializer_list<const char*> lines) {
    for (const char* l : lines) d.DXF_TEXT.emplace_back(l);
}

std::string num(double v) {
    return Format("%0.3f", {v});
}

std::string nextHandle(DxfDrawing& d) {
    return Format("%D", {++d.DXF_HANDLE});
}

struct LayerRow {
    const char* name;
    int colour;
};
// The layer table, in the order written.
constexpr LayerRow LAYERS[] = {
    {"POLY", 2}, {"REBAR", 1}, {"STEEL", 4}, {"OPENING", 40}, {"REBARLINE", 6}};

}  // namespace

void DRAW_DXF_HEADER(DxfDrawing& d) {
    d.DXF_TEXT.clear();
    // The drawing says its unit (4: millimetres), so that it is read back at its size.
    add(d, {"0", "SECTION", "2", "HEADER", "9", "$LTSCALE", "40", "30", "9", "$INSUNITS", "70", "4",
            "0", "ENDSEC"});
    add(d, {"0", "SECTION", "  2", "TABLES"});
    add(d, {"0",   "TABLE", "  2", "STYLE", " 70", "1",          "  0", "STYLE", "  2", "QAVSEC",
            " 70", "0",     " 40", "0.0",   " 41", "1.0",        " 50", "0.0",   " 71", "     0",
            " 42", "0.2",   "  3", " ",     "  4", "gbcbig.shx", "  0", "ENDTAB"});
    add(d, {"0",  "TABLE", "2",  "LTYPE", "0",   "LTYPE",
            "2",  "DASH",  "70", "0",     "3",   "ISO dash space __    __    __    __    __    __",
            "72", "65",    "73", "2",     "40",  "30.0",
            "49", "12.0",  "49", "-18.0", "  0", "ENDTAB"});
    add(d, {"  0", "TABLE", "  2", "LAYER", " 70", "18"});
    for (const LayerRow& layer : LAYERS) {
        add(d, {"  0 ", "LAYER", "  2 ", layer.name, " 70", "     0", " 62"});
        d.DXF_TEXT.push_back(Format("%D", {layer.colour}));
        add(d, {"  6", "CONTINUOUS"});
    }
    add(d, {"  0", "ENDTAB", "0", "ENDSEC"});
    add(d, {"0", "SECTION", "  2", "ENTITIES"});
}

void DRAW_DXF_POLY(DxfDrawing& d, int npt, const std::vector<TPOS>& pt, const std::string& layer) {
    npt = std::clamp(npt, 0, static_cast<int>(pt.size()));
    add(d, {"0", "POLYLINE", "5"});
    d.DXF_TEXT.push_back(nextHandle(d));
    d.DXF_TEXT.emplace_back("8");
    d.DXF_TEXT.push_back(layer);
    add(d, {"66", "1", "70", "1"});
    for (int i = 0; i < npt; ++i) {
        const TPOS& p = pt[static_cast<std::size_t>(i)];
        add(d, {"0", "VERTEX", "5"});
        d.DXF_TEXT.push_back(nextHandle(d));
        add(d, {"8", "0", " 10"});
        d.DXF_TEXT.push_back(num(p.X));
        d.DXF_TEXT.emplace_back(" 20");
        d.DXF_TEXT.push_back(num(p.Y));
        add(d, {" 30", "0"});
    }
    add(d, {"0", "SEQEND", "5"});
    d.DXF_TEXT.push_back(nextHandle(d));
    add(d, {"8", "0"});
}

void DRAW_DXF_CIRCLE(DxfDrawing& d, TPOS pt, float dia, const std::string& layer) {
    add(d, {"0", "CIRCLE", "5"});
    d.DXF_TEXT.push_back(nextHandle(d));
    d.DXF_TEXT.emplace_back("8");
    d.DXF_TEXT.push_back(layer);
    d.DXF_TEXT.emplace_back("10");
    d.DXF_TEXT.push_back(num(pt.X));
    d.DXF_TEXT.emplace_back("20");
    d.DXF_TEXT.push_back(num(pt.Y));
    add(d, {"30", "0.00", "40"});
    d.DXF_TEXT.push_back(num(static_cast<double>(dia)));
}

void DRAW_DXF_ENDER(DxfDrawing& d) {
    add(d, {"0", "ENDSEC", "  0", "EOF"});
}

std::vector<std::string> exportDxfLines(const SectionModel& m) {
    DxfDrawing d;
    d.DXF_HANDLE = 10000;
    DRAW_DXF_HEADER(d);
    DRAW_DXF_POLY(d, m.document.NCONC_PT, m.document.CONC_PT, "POLY");
    if (m.document.NCOVER_PT > 0)
        DRAW_DXF_POLY(d, m.document.NCOVER_PT, m.document.COVER_PT, "REBARLINE");
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC)) {
        DRAW_DXF_POLY(d, s.NPOINT, s.PT, "STEEL");
    }
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC)) {
        DRAW_DXF_POLY(d, s.NPOINT, s.PT, "OPENING");
    }
    for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
        DRAW_DXF_CIRCLE(d, TPOS{b.X, b.Y}, static_cast<float>(b.DB / 2), "REBAR");
    }
    DRAW_DXF_ENDER(d);
    return std::move(d.DXF_TEXT);
}

void exportDxfFile(const SectionModel& m, const std::string& path) {
    writeTextLines(path, exportDxfLines(m));
}

}  // namespace qav
