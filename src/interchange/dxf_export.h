#pragma once
// "Export to DXF File": the section geometry as a DXF drawing that the DXF import reads back.
// Outline on "POLY", cover line on "REBARLINE", steel polygons on "STEEL", openings on
// "OPENING" (closed POLYLINE/VERTEX/SEQEND), bars as circles on "REBAR". Every line is written
// exactly, padding of the group codes included.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

struct DxfDrawing {
    std::vector<std::string> DXF_TEXT;
    int DXF_HANDLE = 10000;  // incremented before each entity, vertex and sequence end
};

// Clears the text and writes the header, the tables and the start of the entities.
void DRAW_DXF_HEADER(DxfDrawing& d);
// One closed polyline with corners 0..npt-1 of pt.
void DRAW_DXF_POLY(DxfDrawing& d, int npt, const std::vector<TPOS>& pt, const std::string& layer);
// One circle; `dia` is written as the radius group.
void DRAW_DXF_CIRCLE(DxfDrawing& d, TPOS pt, float dia, const std::string& layer);
void DRAW_DXF_ENDER(DxfDrawing& d);

// The whole drawing of the model, line by line.
std::vector<std::string> exportDxfLines(const SectionModel& m);
// Writes it with CR LF after every line. Throws FileError.
void exportDxfFile(const SectionModel& m, const std::string& path);

}  // namespace qav
