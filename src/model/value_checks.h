#pragma once
// The numbers a reader takes into the model and a writer puts into a file: finite, and
// coordinates and sizes within MAX_LENGTH_MM (model/limits.h). A reader refuses any other
// value with the line that carried it; a writer refuses it before the file is touched.
#include <string>

namespace qav {

struct SectionModel;
struct TMAT;

// The strongest concrete the program takes (FC, N/mm2). The strongest concretes made reach
// some 150 to 250 N/mm2, so a larger figure is a slip of units (kN/m2 or Pa typed for N/mm2);
// and as such a grade is thousands of times stiffer than the cover and the steel beside it, its
// compressed zone at the limit strain is thinner than one row of fibres, and the section has no
// state at the limit for most directions.
constexpr double MAX_CONCRETE_FC = 250;

// Throws InputError when the concrete grade t (named by `what`, e.g. "Concrete grade 3") has an
// FC above MAX_CONCRETE_FC.
void requireConcreteStrength(const TMAT& t, const std::string& what);

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
