#pragma once
// The step counts of the interaction curves as the "General Setting " dialog sets them.
#include <string>

#include "model/section_model.h"

namespace qav {

// "Okay": NPM and NMM from the texts of "P-M Analysis Axial Force Num of Steps" and "Myy-Mxx
// Analysis Angle Num of Steps", in that order. A text that is not a whole number throws
// ConversionError and stops there (a good P-M count before it is kept); a P-M count below 2, a
// Myy-Mxx count below 1 or either above MAX_CURVE_STEPS throws InputError naming the box by its
// caption, and nothing changes.
void applyCurveSteps(SectionModel& m, const std::string& npmText, const std::string& nmmText);

}  // namespace qav
