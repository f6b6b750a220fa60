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

std::string BoxReader::caption(const std::string& box) const {
    const auto it = captions_.find(box);
    return it == captions_.end() || it->second.empty() ? box : it->second;
}

double BoxReader::real(const std::string& box) const {
    try {
        return ToFloat(text(box));
    } catch (const ConversionError& e) {
        throw ConversionError(caption(box) + ": " + e.what());
    }
}

int BoxReader::count(const std::string& box) const {
    try {
        return ToInt(text(box));
    } catch (const ConversionError& e) {
        throw ConversionError(caption(box) + ": " + e.what());
    }
}

namespace {
std::string bound() {
    return Format("%0.0F", {MAX_LENGTH_MM});
}
std::string shown(double v) {
    return Format("%g", {v});
}
// Bounds are worked out from other boxes (730 / 3): six digits say them well enough.
std::string shownBound(double v) {
    return Format("%0.6g", {v});
}

void requireSizeWithinBound(double value, const std::string& caption) {
    if (value > MAX_LENGTH_MM)
        throw InputError(caption + " must not exceed " + bound() + " mm (it is " + shown(value) +
                         ").");
}
}  // namespace

void requireAcceptedLength(double value, const std::string& caption) {
    if (std::isnan(value) || isAcceptedLength(value)) return;
    throw InputError(caption + " must lie between -" + bound() + " and " + bound() + " mm (it is " +
                     shown(value) + ").");
}

void requirePositive(double value, const std::string& caption) {
    if (!(value > 0) || !std::isfinite(value))
        throw InputError(caption + " must be greater than 0 (it is " + shown(value) + ").");
    requireSizeWithinBound(value, caption);
}

void requireNotNegative(double value, const std::string& caption) {
    if (!(value >= 0) || !std::isfinite(value))
        throw InputError(caption + " must not be negative (it is " + shown(value) + ").");
    requireSizeWithinBound(value, caption);
}

void requireCountNotNegative(int value, const std::string& caption) {
    if (value < 0)
        throw InputError(caption + " must not be negative (it is " + std::to_string(value) + ").");
}

Bound tightest(std::initializer_list<Bound> bounds) {
    Bound best = *bounds.begin();
    for (const Bound& b : bounds)
        if (b.value < best.value) best = b;
    return best;
}

void requireWithin(double value, const std::string& caption, From from, To to, const Bound& b) {
    const bool low = from == From::Zero ? value >= 0 : value > 0;
    const bool high = to == To::Below ? value < b.value : value <= b.value;
    if (low && high && std::isfinite(value)) return;
    throw InputError(caption + " must be " +
                     (from == From::Zero ? "at least 0" : "greater than 0") + " and " +
                     (to == To::Below ? "less than " : "at most ") + shownBound(b.value) + " mm, " +
                     b.why + " (it is " + shown(value) + ").");
}

void requireBetween(double value, const std::string& caption, double limit,
                    const std::string& why) {
    if (std::isfinite(value) && std::fabs(value) <= limit) return;
    throw InputError(caption + " must lie between " + shownBound(-limit) + " and " +
                     shownBound(limit) + " mm, " + why + " (it is " + shown(value) + ").");
}

}  // namespace qav
