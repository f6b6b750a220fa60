#pragma once
// The grade tables of the design codes other than the two the program started with, and the
// design values each code derives from a characteristic strength. Plain data, no model: the
// tables come back as TMAT lists laid out as GEN_MAT lays out its own (slot 0 unused).
#include <algorithm>
#include <string>
#include <vector>

#include "model/design_code.h"
#include "model/section_model.h"

namespace qav {

// Partial factors of EN 1992-1-1 (2.4.2.4) and the steel modulus both codes take.
constexpr double EC2_GAMMA_C = 1.5;
constexpr double EC2_GAMMA_S = 1.15;
constexpr double EC2_GAMMA_M0 = 1.0;  // structural steel (EN 1993-1-1 6.1)
constexpr double CODE_STEEL_ES = 200000.0;
constexpr double ACI_EPS_CU = 0.003;  // ACI 318-19 22.2.2.1

// What a concrete law of a code needs beyond TMAT: the exponent of the parabola (the field the
// law will read from the grade; 2 is today's parabola) and, for ACI 318, the depth factor of
// the stress block.
struct CodeConcrete {
    double fck = 0;     // characteristic (cylinder) strength, N/mm2
    double fcube = 0;   // characteristic cube strength (EN 1992-1-1 grades; 0 otherwise)
    double fcd = 0;     // peak stress of the law
    double epsC2 = 0;   // strain at the peak
    double epsCu2 = 0;  // ultimate strain
    double n = 2;       // exponent of the parabola
    double Ecm = 0;     // modulus, N/mm2
    double beta1 = 0;   // ACI 318 stress block depth over neutral axis depth (0 for EC2)
};

// EN 1992-1-1 Table 3.1 and 3.1.6(1): fcd = alphaCC fck / gamma_c, epsC2, epsCu2 and n by the
// table's formulas above 50 N/mm2, Ecm = 22 (fcm / 10)^0.3 GPa with fcm = fck + 8.
CodeConcrete ec2Concrete(double fck, double alphaCC = 1.0);

// ACI 318-19 Table 22.2.2.4.3: 0.85 up to 28 N/mm2, 0.05 less per 7 N/mm2, not below 0.65.
double aciBeta1(double fc);
// ACI 318-19 19.2.2.1(b): Ec = 4700 sqrt(f'c).
double aciEc(double fc);
// The ACI 318 grade as the laws take it: the block at 0.85 f'c to epsCu = 0.003 for the
// ultimate state; for moment-curvature a parabola with a plateau at 0.85 f'c reached at
// eps0 = 2 x 0.85 f'c / Ec (fcd and epsC2 hold those two, n = 2).
CodeConcrete aciConcrete(double fc);

// A code's grades as the program's tables hold them (slot 0 unused), concrete and cover grades
// in the same order, and the concrete law of each concrete slot beside them.
struct CodeGradeTables {
    std::vector<TMAT> concrete, cover, steel;
    std::vector<CodeConcrete> law;  // law[i] belongs to concrete[i] and cover[i]
    int reinforcementCount = 0;     // steel[1..count] are reinforcement, the rest sections
};

// The tables of EN 1992-1-1 (alphaCC 1.0 or 0.85) or ACI 318-19 (alphaCC unused). The two
// first codes keep the tables of GEN_MAT: asked for them, this returns empty tables.
//   EN 1992-1-1: "C12/15" ... "C90/105", "C12/15_Cover" ...; "B500B", "B450C" (FY fyk,
//     RF 1/1.15), "S235", "S275", "S355" (RF 1/gamma_M0).
//   ACI 318-19: "FC20" ... "FC80", "FC20_Cover" ...; "GR420", "GR550", "A36", "A992" (RF 1:
//     the strength reduction factor applies to the section).
// Concrete: FCU the characteristic strength, EC the modulus, FC and EPS_0 the peak of the law,
// EPS_CU the ultimate strain.
CodeGradeTables codeGradeTables(CodeId code, double alphaCC = 1.0);

// The grade as a TMAT record: the concrete fields from the law, the name given.
TMAT concreteMaterial(const CodeConcrete& c, const std::string& name);

// ---- Matching grades across codes ----------------------------------------------------------

// A cube strength as a cylinder strength, by the grade pairs of EN 1992-1-1 Table 3.1,
// interpolated; outside them the ratio of the nearest pair.
double cubeToCylinder(double fcube);
// The inverse: a cylinder strength as a cube strength, by the same pairs.
double cylinderToCube(double fcyl);
// The cylinder strength a concrete grade stands for: EN 1992-1-1 and ACI 318 grades hold it as
// FCU; the cube grades of HK-COP 2013 and BS 8110 are converted.
double cylinderStrength(CodeId code, const TMAT& grade);

// How two codes' concrete grades are compared: by cube strength where the target's grades are
// cube grades (HK-COP 2013, BS 8110) or both codes hold one (EN 1992-1-1 with a cube code), else
// by cylinder strength. Only a comparison between a cube code and ACI 318 converts a strength.
enum class StrengthMeasure { Cube, Cylinder };
StrengthMeasure concreteMeasure(CodeId from, CodeId to);
// A concrete grade's strength of `code` in the measure given (N/mm2).
double concreteStrength(CodeId code, const TMAT& grade, StrengthMeasure measure);
// "cube 20 N/mm2" / "cylinder 16.0 N/mm2".
std::string strengthText(double strength, StrengthMeasure measure);

// The slot (1-based) among first..last of `table` with the greatest strength not above `limit`
// (a thousandth of a per cent of rounding allowed), the first of equals; 0 when every grade is
// stronger or the range is empty. `strength` gives a grade's strength in the measure of `limit`.
template <class Strength>
int strongestNotAbove(const std::vector<TMAT>& table, int first, int last, double limit,
                      Strength strength) {
    int best = 0;
    double bestValue = 0;
    last = std::min(last, static_cast<int>(table.size()) - 1);
    for (int i = std::max(first, 1); i <= last; ++i) {
        const double v = strength(table[static_cast<std::size_t>(i)]);
        if (!(v <= limit * (1 + 1e-8))) continue;
        if (best == 0 || v > bestValue) best = i, bestValue = v;
    }
    return best;
}
// The slot with the smallest strength above `limit`: the nearest grade a conversion may not take.
template <class Strength>
int weakestAbove(const std::vector<TMAT>& table, int first, int last, double limit,
                 Strength strength) {
    int best = 0;
    double bestValue = 0;
    last = std::min(last, static_cast<int>(table.size()) - 1);
    for (int i = std::max(first, 1); i <= last; ++i) {
        const double v = strength(table[static_cast<std::size_t>(i)]);
        if (!(v > limit * (1 + 1e-8))) continue;
        if (best == 0 || v < bestValue) best = i, bestValue = v;
    }
    return best;
}

// ---- Which code a grade belongs to --------------------------------------------------------

// The kind of grade table.
enum class GradeKind { Concrete, Cover, Steel };
// Whether `name` is a grade of `code`'s own tables of that kind: the program's own tables for
// HK-COP 2013 and BS 8110 (the two share them), the code's tables otherwise.
bool codeHasGrade(CodeId code, GradeKind kind, const std::string& name);

}  // namespace qav
