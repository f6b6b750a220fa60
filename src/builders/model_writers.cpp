#include "builders/model_writers.h"

#include <string>

#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"

namespace qav {

void requireAcceptedShape(const std::vector<TPOS>& corners, const std::vector<TBAR>& bars) {
    auto refuse = [](const std::string& what, double v) {
        throw InputError("These boxes would place " + what + " at " + Format("%g", {v}) +
                         " mm; coordinates and sizes must stay within " +
                         Format("%0.0F", {MAX_LENGTH_MM}) + " mm. Nothing was changed.");
    };
    for (const TPOS& c : corners) {
        if (!isAcceptedLength(c.X)) refuse("a corner", c.X);
        if (!isAcceptedLength(c.Y)) refuse("a corner", c.Y);
    }
    for (const TBAR& b : bars) {
        if (!isAcceptedLength(b.X)) refuse("a bar", b.X);
        if (!isAcceptedLength(b.Y)) refuse("a bar", b.Y);
        if (!isAcceptedLength(b.DB) || b.DB < 0) refuse("a bar diameter", b.DB);
    }
}

void writePoints(std::vector<TPOS>& table, int32_t& count, const std::vector<TPOS>& corners) {
    count = static_cast<int32_t>(corners.size());
    resizeTable(table, count + 1);
    for (std::size_t i = 0; i < corners.size(); ++i) table[i] = corners[i];
    table[corners.size()] = corners.empty() ? TPOS{} : corners.front();
}

void writePolygon(TPOLYSHAPE& poly, const std::vector<TPOS>& corners) {
    writePoints(poly.PT, poly.NPOINT, corners);
}

void writeBars(SectionModel& m, const std::vector<TBAR>& bars) {
    m.document.NBAR = static_cast<int32_t>(bars.size());
    resizeTable(m.document.BAR, m.document.NBAR + 1);
    for (std::size_t i = 0; i < bars.size(); ++i) m.document.BAR[i + 1] = bars[i];
}

void writeConcrete(SectionModel& m, const std::vector<TPOS>& outline,
                   const std::vector<TPOS>& cover, const std::vector<TBAR>& bars) {
    writePoints(m.document.CONC_PT, m.document.NCONC_PT, outline);
    writePoints(m.document.COVER_PT, m.document.NCOVER_PT, cover);
    writeBars(m, bars);
    m.document.CONC_CX = 0;
    m.document.CONC_CY = 0;
}

}  // namespace qav
