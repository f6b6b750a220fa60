#pragma once
// How the builders write into the model: counts first, tables sized count + 1, then the slots.
#include <vector>

#include "model/section_model.h"

namespace qav {

// A point list by the outline convention: corners in 0..count-1 and the spare slot a copy of
// corner 0 (so no stale point of an earlier section is left in it).
void writePoints(std::vector<TPOS>& table, int32_t& count, const std::vector<TPOS>& corners);
// The same for a polygon record (PT and NPOINT only).
void writePolygon(TPOLYSHAPE& poly, const std::vector<TPOS>& corners);
// Refuses a built shape that would put a corner, a bar centre or a bar diameter beyond what the
// model may hold (finite, within MAX_LENGTH_MM), before anything is written: boxes that are each
// in range can still place bars far away (counts times spacings).
void requireAcceptedShape(const std::vector<TPOS>& corners, const std::vector<TBAR>& bars = {});
// Replaces the bars: bars in 1..NBAR.
void writeBars(SectionModel& m, const std::vector<TBAR>& bars);
// Replaces the concrete outline, the cover line and the bars of a section centred on the origin
// (CONC_CX = CONC_CY = 0).
void writeConcrete(SectionModel& m, const std::vector<TPOS>& outline,
                   const std::vector<TPOS>& cover, const std::vector<TBAR>& bars);

}  // namespace qav
