#pragma once
// The meshed section as a fibre-section command in Tcl: one "fiber" line per fibre with its
// coordinates (relative to the section centre), its area and a material variable by kind.
// The model that sources the text defines the materials with tags 1 to 4.
#include <optional>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The lines "Generate" appends: six heading lines, one line per fibre 1..NFIB, then "}".
std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m);

// A 3-D frame model needs the section's torsional stiffness: "-GJ" on the section line, in the
// export's units (N and mm: N mm2).
struct TorsionStiffness {
    double J = 0;   // mm4
    double G = 0;   // N/mm2
    double GJ = 0;  // N mm2
    std::string how;  // the comment line that says where GJ comes from
};

// St Venant's torsion constant of one polygon (corners 0..n-1, mm4): a rectangle by the series
// approximation b h^3 (1/3 - 0.21 (h/b)(1 - h^4 / (12 b^4))) (b >= h; within 0.5 % of the
// exact series), any other shape by Saint-Venant's approximation J = A^4 / (4 pi^2 Ip) (exact
// for circles and ellipses, within some 10 % for compact solid shapes, well below the true value
// for hollow ones and unreliable for thin-walled open shapes).
double polygonTorsionJ(const std::vector<TPOS>& pt, int n);

// "auto": a section with a concrete outline takes J of the outline (openings taken off its area
// and polar moment, by Saint-Venant's approximation) and G = Ec / (2 (1 + 0.2)) with Ec the
// modulus of its core concrete fibres; a steel-only section takes the sum of its polygons' J
// (each a piece of its own) and G = Es / (2 (1 + 0.3)) with the steel fibres' modulus. Throws
// InputError when the section has no fibres to take the modulus from or no shape.
TorsionStiffness autoTorsionStiffness(const SectionModel& m);
// A value the user gives (N mm2); throws InputError unless it is a positive finite number.
TorsionStiffness givenTorsionStiffness(double GJ);
// "auto" or a number, as the CLI option and the dialog box take it.
TorsionStiffness torsionStiffnessFromText(const SectionModel& m, const std::string& text);

// The same lines with "-GJ" on the section line, the comment line that says how GJ was found
// just before it.
std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m, const TorsionStiffness& gj);

}  // namespace qav
