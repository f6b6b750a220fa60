#include "model/value_checks.h"

#include <cmath>
#include <initializer_list>

#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

namespace {
constexpr std::size_t SHOWN_LINE = 80;
}  // namespace

std::string acceptedValuesRule() {
    return Format(
        "numbers must be finite, and coordinates and sizes at most %g mm in magnitude "
        "(sizes not negative).",
        {MAX_LENGTH_MM});
}

void refuseLineValue(int lineNo, const std::string& line, const std::string& value) {
    const std::string shown = line.size() > SHOWN_LINE ? line.substr(0, SHOWN_LINE) + "..." : line;
    const std::string v = value.size() > SHOWN_LINE ? value.substr(0, SHOWN_LINE) + "..." : value;
    throw InputError(
        Format("Line %D: \"%s\": %s is refused: %s", {lineNo, shown, v, acceptedValuesRule()}));
}

void refuseSavedValue(const std::string& what, double v) {
    throw InputError(Format("%s holds %s, which cannot be saved: %s",
                            {what, Format("%g", {v}), acceptedValuesRule()}));
}

void requireConcreteStrength(const TMAT& t, const std::string& what) {
    if (!(t.FC > MAX_CONCRETE_FC)) return;
    throw InputError(
        Format("%s (%s) has FC %s N/mm2: a concrete stronger than %s N/mm2 is "
               "refused; the strongest concretes made reach about that (are the "
               "units N/mm2?).",
               {what, t.NAME, Format("%g", {t.FC}), Format("%g", {MAX_CONCRETE_FC})}));
}

namespace {

// `what` names the values' place; it is only asked for when one of them is not finite, since a
// mesh passes here fibre by fibre.
template <class What>
void requireFinite(std::initializer_list<double> values, const What& what) {
    for (double v : values)
        if (!std::isfinite(v))
            throw NumericError(
                Format("%s holds %s, which is not a finite number: nothing was computed or listed.",
                       {what(), Format("%g", {v})}));
}

template <class T, class Fn>
void forEach(const std::vector<T>& table, int n, Fn&& fn) {
    for (int i = 0; i <= n && static_cast<std::size_t>(i) < table.size(); ++i)
        fn(table[static_cast<std::size_t>(i)], i);
}

void requirePoints(const std::vector<TPOS>& pt, int n, const std::string& what) {
    forEach(pt, n, [&](const TPOS& p, int i) {
        requireFinite({p.X, p.Y}, [&] { return Format("%s point %D", {what, i}); });
    });
}

void requireMaterials(const std::vector<TMAT>& table, int n, const std::string& what) {
    forEach(table, n, [&](const TMAT& t, int i) {
        requireFinite({t.FCU, t.EC, t.EPS_0, t.FC, t.EPS_CU, t.FY1, t.FY, t.ES, t.RF}, [&] {
            return Format("%s material %D", {what, i});
        });
    });
}

}  // namespace

void requireFiniteSection(const SectionModel& m) {
    requirePoints(m.document.CONC_PT, m.document.NCONC_PT, "Concrete section");
    requirePoints(m.document.COVER_PT, m.document.NCOVER_PT, "Concrete cover line");
    forEach(m.document.STEEL_SEC, m.document.NSTEEL_SEC, [&](const TPOLYSHAPE& s, int k) {
        requirePoints(s.PT, s.NPOINT, Format("Steel section %D", {k}));
    });
    forEach(m.document.OPEN_SEC, m.document.NOPEN_SEC, [&](const TPOLYSHAPE& s, int k) {
        requirePoints(s.PT, s.NPOINT, Format("Opening %D", {k}));
    });
    forEach(m.document.BAR, m.document.NBAR, [&](const TBAR& b, int i) {
        requireFinite({b.X, b.Y, b.DB}, [i] { return Format("Bar %D", {i}); });
    });
    requireMaterials(m.document.CONC_MAT, m.document.NCONCMAT, "Concrete");
    requireMaterials(m.document.COVER_MAT, m.document.NCOVERMAT, "Cover concrete");
    requireMaterials(m.document.STEEL_MAT, m.document.NSTEELMAT, "Steel");
    forEach(m.document.FORCE, m.document.NFORCE, [&](const TFORCE& f, int i) {
        requireFinite({f.P, f.MX, f.MY}, [i] { return Format("Load combination %D", {i}); });
    });
    forEach(m.mesh.FIB, m.mesh.NFIB, [&](const TFIB& f, int i) {
        requireFinite({f.X, f.Y, f.AREA, f.DB}, [i] { return Format("Fibre %D", {i}); });
    });
    requireFinite({m.mesh.SEC_AREA, m.mesh.STEEL_AREA, m.mesh.REBAR_AREA, m.mesh.STEEL_RATIO,
                   m.mesh.REBAR_RATIO, m.document.CONC_CX, m.document.CONC_CY, m.document.STEEL_CX,
                   m.document.STEEL_CY},
                  [] { return std::string("The section's properties"); });
}

}  // namespace qav
