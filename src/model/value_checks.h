#pragma once
// The numbers a reader takes into the model and a writer puts into a file: finite, and
// coordinates and sizes within MAX_LENGTH_MM (model/limits.h). A reader refuses any other
// value with the line that carried it; a writer refuses it before the file is touched.
#include <string>

namespace qav {

struct SectionModel;

// Why a value was refused, for the end of a message.
std::string acceptedValuesRule();

// Throws InputError "Line <lineNo>: "<line>": <value> is refused: <rule>". A long line is shown
// by its start only.
[[noreturn]] void refuseLineValue(int lineNo, const std::string& line, const std::string& value);

// Throws InputError "<what> holds <v>, which cannot be saved: <rule>".
[[noreturn]] void refuseSavedValue(const std::string& what, double v);

// Listings and analyses call this before they print or compute: throws NumericError naming the
// first value of the section (a coordinate, a bar, a material, a load, a fibre, a derived
// property) that is not a finite number.
void requireFiniteSection(const SectionModel& m);

}  // namespace qav
