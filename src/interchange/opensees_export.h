#pragma once
// The meshed section as a fibre-section command in Tcl: one "fiber" line per fibre with its
// coordinates (relative to the section centre), its area and a material variable by kind.
// The model that sources the text defines the materials with tags 1 to 4.
#include <optional>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The lines "Generate" appends: the heading lines (units and axes in comments, the material
// variables), one line per fibre 1..NFIB (and, where bars displace concrete, one more after each
// bar), then "}".
std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m);

// A 3-D frame model needs the section's torsional stiffness: "-GJ" on the section line, in the
// export's units (N and mm: N mm2).
struct TorsionStiffness {
    double Jc = 0, Gc = 0;         // concrete outline: mm4, N/mm2
    double Js = 0, Gs = 0;         // steel polygons
    double GJ = 0;                 // N mm2
    std::vector<std::string> how;  // the comment lines that say where GJ comes from
};

// St Venant's torsion constant of one polygon (corners 0..n-1, mm4): a rectangle by the series
// approximation b h^3 (1/3 - 0.21 (h/b)(1 - h^4 / (12 b^4))) (b >= h; within 0.2 % of the
// exact series); a polygon whose edges all run along X or Y cut into rectangles at every
// corner's Y, and again at every corner's X, the larger sum of their J (thin-walled I, T, cross
// and channel shapes come within some 15 % of the thin-wall sum of b t^3 / 3); any other shape
// by Saint-Venant's approximation A^4 / (4 pi^2 Ip) (exact for circles and ellipses, within some
// 10 % for compact solid shapes). A closed tube drawn as one polygon with a slit is taken as
// open, far below its true J.
double polygonTorsionJ(const std::vector<TPOS>& pt, int n);

// "auto": GJ = Gc Jc + Gs Js, the concrete outline and the steel polygons as parts side by side.
// Jc is the outline's J (with openings, their area and polar moment taken off and Saint-Venant's
// approximation, which is below the true J of a hollow section), Gc = Ec / (2 (1 + 0.2)) with
// Ec the core concrete fibres' modulus; Js the sum of the steel polygons' J, each a piece of its
// own, Gs = Es / (2 (1 + 0.3)) with the steel grade's ES. Throws InputError when a part has
// no fibres to take its modulus from (mesh first) or the section has no shape.
TorsionStiffness autoTorsionStiffness(const SectionModel& m);
// A value the user gives (N mm2); throws InputError unless it is a positive finite number.
TorsionStiffness givenTorsionStiffness(double GJ);
// "auto" or a number, as the CLI option and the dialog box take it.
TorsionStiffness torsionStiffnessFromText(const SectionModel& m, const std::string& text);

// The same lines with "-GJ" on the section line, the comment lines that say how GJ was found
// just before it.
std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m, const TorsionStiffness& gj);

}  // namespace qav
