#include "builders/box_texts.h"

#include <cmath>
#include <stdexcept>

#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

const std::string& BoxReader::text(const std::string& box) const {
    const auto it = texts_.find(box);
    if (it == texts_.end()) throw std::logic_error("no edit box named " + box);
    return it->second;
}

double BoxReader::real(const std::string& box) const { return ToFloat(text(box)); }

int BoxReader::count(const std::string& box) const { return ToInt(text(box)); }

void requirePositive(double value, const std::string& caption) {
    if (!(value > 0) || !std::isfinite(value))
        throw InputError(caption + " must be greater than 0 (it is " + Format("%g", {value}) + ").");
}

void requireNotNegative(double value, const std::string& caption) {
    if (!(value >= 0) || !std::isfinite(value))
        throw InputError(caption + " must not be negative (it is " + Format("%g", {value}) + ").");
}

void requireCountNotNegative(int value, const std::string& caption) {
    if (value < 0) throw InputError(caption + " must not be negative (it is " + std::to_string(value) + ").");
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
    m.NBAR = static_cast<int32_t>(bars.size());
    resizeTable(m.BAR, m.NBAR + 1);
    for (std::size_t i = 0; i < bars.size(); ++i) m.BAR[i + 1] = bars[i];
}

}  // namespace qav
