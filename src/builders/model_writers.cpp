#include "builders/model_writers.h"

namespace qav {

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
    m.NBAR = static_cast<int32_t>(bars.size());
    resizeTable(m.BAR, m.NBAR + 1);
    for (std::size_t i = 0; i < bars.size(); ++i) m.BAR[i + 1] = bars[i];
}

void writeConcrete(SectionModel& m, const std::vector<TPOS>& outline,
                   const std::vector<TPOS>& cover, const std::vector<TBAR>& bars) {
    writePoints(m.CONC_PT, m.NCONC_PT, outline);
    writePoints(m.COVER_PT, m.NCOVER_PT, cover);
    writeBars(m, bars);
    m.CONC_CX = 0;
    m.CONC_CY = 0;
}

}  // namespace qav
