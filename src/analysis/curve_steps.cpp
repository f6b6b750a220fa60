#include "analysis/curve_steps.h"

#include "analysis/interaction_curves.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

namespace {
void requireSteps(int n, int least, const char* caption) {
    if (n >= least && n <= MAX_CURVE_STEPS) return;
    throw InputError(Format("\"%s\" must lie within %D .. %D (it is %D).",
                            {caption, least, MAX_CURVE_STEPS, n}));
}
}  // namespace

void applyCurveSteps(SectionModel& m, const std::string& npmText, const std::string& nmmText) {
    const int npm = ToInt(npmText);
    requireSteps(npm, 2, "P-M Analysis Axial Force Num of Steps");
    int nmm = 0;
    try {
        nmm = ToInt(nmmText);
    } catch (const ConversionError&) {
        m.settings.NPM = npm;  // the boxes are read in order; the bad one stops the rest
        throw;
    }
    requireSteps(nmm, 1, "Myy-Mxx Analysis Angle Num of Steps");
    m.settings.NPM = npm;
    m.settings.NMM = nmm;
}

}  // namespace qav
