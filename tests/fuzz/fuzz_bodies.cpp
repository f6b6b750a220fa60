#include "fuzz/fuzz_bodies.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "analysis/load_combinations.h"
#include "analysis/section_solver.h"
#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "interchange/dxf_import.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav::fuzz {

namespace {

// Runs fn; the program's own refusals count as behaving. Returns true when fn finished.
template <class Fn>
bool refusedOrDone(Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const ConversionError&) {
    } catch (const InputError&) {
    } catch (const FileError&) {
    } catch (const NumericError&) {
    }
    return false;
}

std::vector<std::string> linesOf(const uint8_t* data, std::size_t size) {
    return splitLines(std::string(reinterpret_cast<const char*>(data), size));
}

// Saves the model, reads the lines back into a fresh model and saves that: the reading must
// succeed and both savings must be the same text.
std::string savesAndReadsBack(const SectionModel& m, const char* what) {
    std::vector<std::string> first;
    SAVE_QAV_SEC_DATA(m, first);  // a refusal here escapes: the model holds what it must not
    SectionModel back;
    try {
        LOAD_QAV_SEC_DATA(back, first);
    } catch (const std::exception& e) {
        return std::string(what) + ": the saved section does not read back: " + e.what() + "\n" +
               joinLinesCrLf(first);
    }
    std::vector<std::string> second;
    SAVE_QAV_SEC_DATA(back, second);
    if (second != first)
        return std::string(what) + ": the section read back saves differently:\n" +
               joinLinesCrLf(first) + "---\n" + joinLinesCrLf(second);
    return {};
}

std::string finiteModel(const SectionModel& m, const char* what) {
    try {
        requireFiniteSection(m);
    } catch (const NumericError& e) {
        return std::string(what) + ": " + e.what();
    }
    return {};
}

// Reads the input as consecutive fields, each a byte-length-prefixed text or a number.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string text() {
        const std::size_t n = std::min<std::size_t>(byte() % 24, size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }
    // A value in [-range, range] on a grid of 1/16 mm.
    double coordinate(double range) {
        const int raw = static_cast<int>(byte()) << 8 | byte();
        return std::round((raw / 65535.0 * 2 - 1) * range * 16) / 16;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

std::string sectionFile(const uint8_t* data, std::size_t size) {
    SectionModel m;
    if (!refusedOrDone([&] { LOAD_QAV_SEC_DATA(m, linesOf(data, size)); })) return {};
    if (auto bad = finiteModel(m, "section file"); !bad.empty()) return bad;
    return savesAndReadsBack(m, "section file");
}

std::string dxfImport(const uint8_t* data, std::size_t size) {
    SectionModel m;
    if (!refusedOrDone([&] { importDxfLines(m, linesOf(data, size)); })) return {};
    if (auto bad = finiteModel(m, "DXF import"); !bad.empty()) return bad;
    return savesAndReadsBack(m, "DXF import");
}

std::string forceCsv(const uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = linesOf(data, size);
    for (ForceUnits units : {ForceUnits::N_mm, ForceUnits::kN_m}) {
        SectionModel m;
        if (!refusedOrDone([&] { IMPORT_FORCE_CSV(m, lines, units); })) continue;
        if (auto bad = finiteModel(m, "force CSV"); !bad.empty()) return bad;
        SectionModel again;
        try {
            IMPORT_FORCE_CSV(again, EXPORT_FORCE_CSV(m), ForceUnits::kN_m);
        } catch (const std::exception& e) {
            return std::string("force CSV: the exported file does not read back: ") + e.what();
        }
        if (again.document.NFORCE != m.document.NFORCE)
            return "force CSV: the exported file reads back with another count";
        if (auto bad = savesAndReadsBack(m, "force CSV"); !bad.empty()) return bad;
    }
    return {};
}

std::string numberText(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 400));
    int i = 0;
    if (TryToInt(text, i)) {
        int back = 0;
        if (!TryToInt(Format("%D", {i}), back) || back != i)
            return "number text: the integer " + text + " does not read back";
    }
    double v = 0;
    if (!TryToFloat(text, v)) return {};
    if (!std::isfinite(v)) return "number text: '" + text + "' reads as a value that is not finite";
    for (const char* format : {"%g", "%0.17g", "%0.6E", "%0.5F", "%0.3f", "%n"}) {
        const std::string once = Format(format, {v});
        double back = 0;
        if (!TryToFloat(once, back) && std::string(format) != "%n")
            return "number text: " + std::string(format) + " of '" + text + "' gives '" + once +
                   "', not a number";
        if (std::string(format) == "%n") continue;
        const std::string twice = Format(format, {back});
        if (twice != once)
            return "number text: " + std::string(format) + " of '" + text + "' gives '" + once +
                   "', then '" + twice + "'";
    }
    double exact = 0;
    if (!TryToFloat(Format("%0.17g", {v}), exact) || exact != v)
        return "number text: 17 digits of '" + text + "' do not give the same number";
    for (auto conv : {&Round, &Trunc, &Ceil, &Floor}) refusedOrDone([&] { (void)conv(v); });
    return {};
}

std::string builderBoxes(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    const int kind = in.byte() % 3;
    const int shape = in.byte();
    SectionModel m;
    auto fill = [&](BoxTexts texts) {
        for (auto& [box, value] : texts)
            if (in.byte() % 2) value = in.text();  // else the dialog's own text stays
        return texts;
    };
    bool built = false;
    if (kind == 0) {
        BoxTexts texts = typicalDialogTexts();
        typicalShapeChange(texts, shape % TYPICAL_SHAPES);
        texts = fill(texts);
        built = refusedOrDone([&] { buildTypicalSection(m, shape % TYPICAL_SHAPES, texts); });
    } else if (kind == 1) {
        BoxTexts texts = steelDialogTexts();
        steelShapeChange(texts, shape % STEEL_SHAPES);
        texts = fill(texts);
        built = refusedOrDone([&] { buildSteelSection(m, shape % STEEL_SHAPES, texts); });
    } else {
        const BoxTexts texts = fill(openingDialogTexts());
        built = refusedOrDone([&] { buildOpening(m, shape % OPENING_SHAPES, texts); });
    }
    if (!built) return {};
    if (auto bad = finiteModel(m, "builder"); !bad.empty()) return bad;
    return savesAndReadsBack(m, "builder");
}

namespace {

// A small polygon (3 to 12 corners within 1000 mm) with up to 8 bars and a mesh size, meshed;
// random corners mostly cross themselves and are refused, so the same corners in order of
// their angle around their middle are tried next. False when the mesher refused both.
bool meshedPolygon(Bytes& in, SectionModel& m) {
    const int corners = 3 + in.byte() % 10;
    m.document.NCONC_PT = corners;
    m.document.CONC_PT.assign(static_cast<std::size_t>(corners) + 1, TPOS{});
    for (int i = 0; i < corners; ++i)
        m.document.CONC_PT[static_cast<std::size_t>(i)] = {in.coordinate(500), in.coordinate(500)};
    m.document.CONC_PT[static_cast<std::size_t>(corners)] = m.document.CONC_PT[0];
    const int bars = in.byte() % 9;
    for (int i = 0; i < bars; ++i) {
        const double x = in.coordinate(500), y = in.coordinate(500);
        ADD_SINGLE_REBAR(m, x, y, 6 + in.byte() % 40);
    }
    // 40 mm and more: at most a few hundred grid nodes on a 1000 mm square, so that one run
    // stays well below a second under the sanitizers.
    m.document.MESH_SIZE_TEXT = Format("%D", {40 + in.byte() % 160});
    MessageLog log;
    if (refusedOrDone([&] { FIBER_SECTION_MESH(m, log); })) return true;
    TPOS mid{0, 0};
    for (int i = 0; i < corners; ++i)
        mid = {mid.X + m.document.CONC_PT[static_cast<std::size_t>(i)].X / corners,
               mid.Y + m.document.CONC_PT[static_cast<std::size_t>(i)].Y / corners};
    std::sort(m.document.CONC_PT.begin(), m.document.CONC_PT.begin() + corners,
              [&](const TPOS& a, const TPOS& b) {
                  return std::atan2(a.Y - mid.Y, a.X - mid.X) <
                         std::atan2(b.Y - mid.Y, b.X - mid.X);
              });
    m.document.CONC_PT[static_cast<std::size_t>(corners)] = m.document.CONC_PT[0];
    return refusedOrDone([&] { FIBER_SECTION_MESH(m, log); });
}

// A code and grades of it: the program's own (HK-COP-2013 at the control strain or at its
// code's limit), EN 1992-1-1 or ACI 318-19 with a concrete grade from the lowest to the highest.
void underACode(Bytes& in, SectionModel& m) {
    const int code = in.byte() % 4;
    m.settings.STRAIN_LIMIT = code == 1 ? StrainLimit::Code : StrainLimit::Control;
    if (code < 2) return;
    static const char* const EC2[] = {"C20/25", "C30/37", "C50/60", "C70/85", "C90/105"};
    static const char* const ACI[] = {"FC20", "FC28", "FC40", "FC60", "FC80"};
    const std::string concrete = (code == 2 ? EC2 : ACI)[in.byte() % 5];
    const GradeNames names{concrete, concrete + "_Cover", code == 2 ? "B500B" : "GR420",
                           code == 2 ? "S355" : "A992"};
    const CodeConversion r = convertSectionCode(m, code == 2 ? CodeId::Ec2 : CodeId::Aci318, names);
    if (!r.ok) throw std::logic_error("the code's own grades are refused: " + r.error);
}

}  // namespace

std::string mesher(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    SectionModel m;
    if (!meshedPolygon(in, m)) return {};
    return finiteModel(m, "mesher");
}

std::string solver(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    SectionModel m;
    underACode(in, m);
    if (!meshedPolygon(in, m)) return {};
    const int mode = sectionStrainLimitMode(m);
    NullMessages quiet;
    SectionSolver solver(m, quiet, SolverKind::Fast);
    if (solver.singular()) return {};
    matrx2 k0{};
    FORM_SECTION_STIFF_MATRIX(m, k0);
    double w[3];
    balanceWeights(k0, w);
    const LimitRule rule = LimitRule::ofMode(solver.fibres(), mode);
    for (int k = 0; k < 3; ++k) {
        // kN and kNm, on grids of about 0.3 kN and 0.03 kNm.
        const double P = in.coordinate(20000), MX = in.coordinate(2000), MY = in.coordinate(2000);
        if (!solver.carries(P, MX, MY, 0, 0, 0)) continue;
        const SolveResult r = solver.loadFraction(P, MX, MY, 0, 0, 0, mode);
        // A solve that did not converge is said so by every run that meets it; one flagged
        // off balance likewise.
        if (!r.converged || r.offBalance) continue;
        const SolverState s = solver.lastState();
        double ss[3];
        sumFibreForces(solver.fibres(), s.fibreAbc, ss);
        const double lam = r.loadFraction;
        const double target[3] = {lam * 1e3 * P, lam * 1e6 * MX, lam * 1e6 * MY};
        const double balanced = balancedResidual(w, target, ss);
        const double tolerance = r.fellBack ? REFERENCE_BALANCE_TOLERANCE : 1e-6;
        const Limit lim = rule.limit(s.fibreAbc);
        const std::string load =
            Format("load %s kN, %s kNm, %s kNm, mode %D: ",
                   {Format("%g", {P}), Format("%g", {MX}), Format("%g", {MY}), mode});
        if (!(lam > 0))
            return "solver: " + load + "converged at the load fraction " + Format("%g", {lam});
        if (!(balanced <= tolerance))
            return "solver: " + load + "the state's forces miss the load times its fraction by " +
                   Format("%g", {balanced}) + (r.fellBack ? " (reference)" : " (fast)");
        if (!r.fellBack && !(lim.ok() && std::fabs(lim.factor - 1) <= 1e-6))
            return "solver: " + load + "the state is not at the limit (factor " +
                   Format("%g", {lim.factor}) + ")";
    }
    return {};
}

const std::vector<Target>& targets() {
    static const std::vector<Target> all{
        {"section_file", &sectionFile},
        {"dxf_import", &dxfImport},
        {"force_csv", &forceCsv},
        {"number_text", &numberText},
        {"builder_boxes", &builderBoxes},
        {"mesher", &mesher},
        {"solver", &solver},
    };
    return all;
}

}  // namespace qav::fuzz
