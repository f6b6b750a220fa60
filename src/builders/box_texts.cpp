#include "builders/box_texts.h"

#include <cmath>
#include <stdexcept>

#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"

namespace qav {

const std::string& BoxReader::text(const std::string& box) const {
    const auto it = texts_.find(box);
    if (it == texts_.end()) throw std::logic_error("no edit box named " + box);
    return it->second;
}

double BoxReader::real(const std::string& box) const { return ToFloat(text(box)); }

int BoxReader::count(const std::string& box) const { return ToInt(text(box)); }

namespace {
std::string bound() { return Format("%0.0F", {MAX_LENGTH_MM}); }

void requireSizeWithinBound(double value, const std::string& caption) {
    if (value > MAX_LENGTH_MM)
        throw InputError(caption + " must not exceed " + bound() + " mm (it is " + Format("%g", {value}) + ").");
}
}  // namespace

void requireAcceptedLength(double value, const std::string& caption) {
    if (std::isnan(value) || isAcceptedLength(value)) return;
    throw InputError(caption + " must lie between -" + bound() + " and " + bound() + " mm (it is " +
                     Format("%g", {value}) + ").");
}

void requirePositive(double value, const std::string& caption) {
    if (!(value > 0) || !std::isfinite(value))
        throw InputError(caption + " must be greater than 0 (it is " + Format("%g", {value}) + ").");
    requireSizeWithinBound(value, caption);
}

void requireNotNegative(double value, const std::string& caption) {
    if (!(value >= 0) || !std::isfinite(value))
        throw InputError(caption + " must not be negative (it is " + Format("%g", {value}) + ").");
    requireSizeWithinBound(value, caption);
}

void requireCountNotNegative(int value, const std::string& caption) {
    if (value < 0) throw InputError(caption + " must not be negative (it is " + std::to_string(value) + ").");
}

}  // namespace qav
