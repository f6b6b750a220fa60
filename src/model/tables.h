#pragma once
// The used rows of the model's tables, and a check that every count fits its storage.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "model/errors.h"
#include "model/section_model.h"

namespace qav {

// Throws InternalError unless 0 <= count < size: slots 1..count of a 1-based table must exist.
void requireRows(std::size_t size, int32_t count, const char* table = nullptr);

// Slots 1..count of a 1-based table (slot 0 unused). The count is checked once, here: a count
// outside the storage is our fault (the file reader refuses such counts and every operation
// sizes its table before it counts), so it throws InternalError rather than reading past it.
template <class T>
std::span<T> rows(std::vector<T>& table, int32_t count) {
    requireRows(table.size(), count);
    if (count == 0) return {};
    return std::span<T>(table).subspan(1, static_cast<std::size_t>(count));
}
template <class T>
std::span<const T> rows(const std::vector<T>& table, int32_t count) {
    requireRows(table.size(), count);
    if (count == 0) return {};
    return std::span<const T>(table).subspan(1, static_cast<std::size_t>(count));
}

// Corners 0..count-1 of a 0-based corner list; a count outside the list throws InternalError.
std::span<const TPOS> corners(const std::vector<TPOS>& list, int32_t count);

// The table number (1-based) of a row of `used`, a span that rows() gave.
template <class T>
int32_t rowNumber(std::span<T> used, const std::remove_const_t<T>& row) {
    return static_cast<int32_t>(&row - used.data()) + 1;
}

// Every count of the document, the mesh and the bar selection against its table, and every
// polygon's corner count against its corner list; throws InternalError naming the first table
// that does not fit. Run after every load and every sync with the mesh.
void checkTables(const SectionModel& m);

}  // namespace qav
