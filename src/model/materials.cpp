#include "model/materials.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "model/code_convert.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/value_checks.h"

namespace qav {

namespace {
TMAT concreteGrade(int g) {
    TMAT t;
    const double gd = g;
    t.FCU = gd;
    t.EC = (std::sqrt(gd / 1.5) * 3.46 + 3.21) * 1000.0;
    t.FC = gd * 0.67 / 1.5;
    t.EPS_0 = gd * 1.34 / 1.5 / t.EC;
    t.EPS_CU = g > 60 ? 0.0035 - 6e-5 * std::sqrt(gd - 60.0) : 0.0035;
    return t;
}

// The fixed grade lists, slot 0 unused: made once, copied into every new model.
struct GradeLists {
    std::vector<TMAT> concrete, cover, steel;
};

const GradeLists& gradeLists() {
    static const GradeLists lists = [] {
        GradeLists l;
        l.concrete.resize(18);
        l.cover.resize(18);
        l.steel.resize(OWN_STEEL_GRADES + 1);
        for (int i = 1; i <= 17; ++i) {
            const int g = 5 * i + 15;
            TMAT c = concreteGrade(g);
            c.NAME = Format("C%D", {g});
            l.concrete[static_cast<std::size_t>(i)] = c;
            c.NAME = Format("C%D_Cover", {g});
            l.cover[static_cast<std::size_t>(i)] = c;
        }
        for (int i = 1; i <= 5; ++i) {
            TMAT s;
            s.NAME = Format("STEEL%D", {i});
            s.ES = 200000.0;
            s.FY = 500.0;
            s.FY1 = 435.0;
            s.RF = 0.87;
            l.steel[static_cast<std::size_t>(i)] = s;
        }
        // Structural steel for steel shapes: the design strength py = fy (gamma_m 1.0) of
        // sections up to 16 mm thick.
        for (const auto& [i, name, fy] : {std::tuple{6, "S275", 275.0}, {7, "S355", 355.0}}) {
            TMAT s;
            s.NAME = name;
            s.ES = 200000.0;
            s.FY = fy;
            s.RF = 1.0;
            s.FY1 = fy;
            l.steel[static_cast<std::size_t>(i)] = s;
        }
        return l;
    }();
    return lists;
}

// Slots 1.. of the table take the list's; slot 0 stays as it is.
void takeGrades(std::vector<TMAT>& table, const std::vector<TMAT>& list) {
    resizeTable(table, static_cast<int32_t>(list.size()));
    std::copy(list.begin() + 1, list.end(), table.begin() + 1);
}
}  // namespace

void GEN_MAT(SectionModel& m) {
    const GradeLists& lists = gradeLists();
    m.document.NCONCMAT = 17;
    m.document.NCOVERMAT = 17;
    m.document.NSTEELMAT = OWN_STEEL_GRADES;
    takeGrades(m.document.CONC_MAT, lists.concrete);
    takeGrades(m.document.COVER_MAT, lists.cover);
    takeGrades(m.document.STEEL_MAT, lists.steel);
}

namespace {
template <class Model>
auto& gradeOf(Model& m, MaterialTable table, int grade) {
    auto* t = &m.document.CONC_MAT;
    if (table == MaterialTable::Steel) t = &m.document.STEEL_MAT;
    if (table == MaterialTable::CoverConcrete) t = &m.document.COVER_MAT;
    if (grade < 1 || static_cast<std::size_t>(grade) >= t->size())
        throw std::out_of_range(Format("material grade %D does not exist", {grade}));
    return (*t)[static_cast<std::size_t>(grade)];
}
}  // namespace

TMAT& materialOf(SectionModel& m, MaterialTable table, int grade) {
    return gradeOf(m, table, grade);
}

MaterialBoxes materialBoxes(const SectionModel& m, MaterialTable table, int grade) {
    const TMAT& t = gradeOf(m, table, grade);
    MaterialBoxes b;
    b.Edit1 = t.NAME;
    if (table == MaterialTable::Steel) {
        b.Edit2 = Format("%0.2F", {t.ES});
        b.Edit3 = Format("%0.2F", {t.FY});
        b.Edit4 = Format("%0.2F", {t.FY * t.RF});
        b.Edit5 = Format("%0.2F", {t.RF});
    } else {
        b.Edit2 = Format("%0.2F", {t.EC});
        b.Edit3 = Format("%0.2F", {t.FC});
        b.Edit4 = Format("%0.5F", {t.EPS_0});
        b.Edit5 = Format("%0.5F", {t.EPS_CU});
    }
    return b;
}

const std::vector<MaterialRule>& materialRules(MaterialTable table) {
    static const std::vector<MaterialRule> concrete = {
        {&TMAT::EC, "EC", "Elastic Mudulus E (MPa)", true, false},
        {&TMAT::FC, "FC", "Yield Stress Fc(MPa)", true, false},
        {&TMAT::EPS_0, "EPS_0", "Yield Strain eps_0", true, false},
        {&TMAT::EPS_CU, "EPS_CU", "Ultimate Strain eps_cu", false, false}};
    static const std::vector<MaterialRule> steel = {
        {&TMAT::ES, "ES", "Elastic Mudulus E (MPa)", true, false},
        {&TMAT::FY, "FY", "Yield Stress Fy(MPa)", true, false},
        {&TMAT::RF, "RF", "ay Reduct. Factor", true, true}};
    return table == MaterialTable::Steel ? steel : concrete;
}

std::string materialFault(const MaterialRule& rule, double v) {
    if (!std::isfinite(v)) return "must be a finite number.";
    if (rule.positive && !(v > 0))
        return "must be greater than 0 (it is " + Format("%g", {v}) + ").";
    if (rule.atMostOne && v > 1)
        return "must not be greater than 1 (it is " + Format("%g", {v}) + ").";
    return {};
}

std::string steelModulusNote(const TMAT& grade) {
    if (grade.ES == STEEL_LAW_ES) return {};
    return Format("ES of %s (%s) is not used: the steel law takes Es = %s N/mm\u00b2.",
                  {grade.NAME, Format("%g", {grade.ES}), Format("%g", {STEEL_LAW_ES})});
}

std::vector<std::string> materialWarnings(const SectionModel& m) {
    std::vector<std::string> notes;
    std::vector<int> seen;
    auto note = [&](bool used, int listIndex) {
        const int grade = listIndex + 1;
        if (!used || grade < 1 || grade > m.document.NSTEELMAT ||
            static_cast<std::size_t>(grade) >= m.document.STEEL_MAT.size())
            return;
        if (std::find(seen.begin(), seen.end(), grade) != seen.end()) return;
        seen.push_back(grade);
        std::string n = steelModulusNote(m.document.STEEL_MAT[static_cast<std::size_t>(grade)]);
        if (!n.empty()) notes.push_back(std::move(n));
    };
    note(m.document.NBAR > 0, m.document.USE_REBAR);
    note(m.document.NSTEEL_SEC > 0, m.document.USE_STEEL);
    if (std::string n = steelShapeGradeNote(m); !n.empty()) notes.push_back(std::move(n));
    return notes;
}

std::string steelShapeGradeNote(const SectionModel& m) {
    const SectionDocument& d = m.document;
    const int slot = d.USE_STEEL + 1;
    const int count = std::min<int>(d.NSTEELMAT, static_cast<int>(d.STEEL_MAT.size()) - 1);
    const SteelRanges r = steelRanges(sectionCode(m), count);
    if (d.NSTEEL_SEC <= 0 || slot < 1 || slot > r.rebarLast) return {};
    const TMAT& g = d.STEEL_MAT[static_cast<std::size_t>(slot)];
    // The structural steels of the code's table (the program's own: S275, S355, which a
    // conversion adds to the table of an earlier file).
    const bool code = codeHasOwnTables(d.CODE);
    const std::vector<TMAT>& table = code ? d.STEEL_MAT : gradeLists().steel;
    const int first = code ? r.rebarLast + 1 : REBAR_GRADE_ITEMS + 1;
    const int last = code ? count : OWN_STEEL_GRADES;
    std::string structural;
    for (int i = first; i <= last; ++i)
        structural += (structural.empty() ? "" : ", ") + table[static_cast<std::size_t>(i)].NAME;
    return Format(
        "The steel shapes take %s, a reinforcement grade (fy %s, design strength %s "
        "N/mm\u00b2)%s.",
        {g.NAME, Format("%g", {g.FY}), Format("%g", {g.FY * g.RF}),
         structural.empty() ? std::string() : "; the structural steel grades are " + structural});
}

namespace {
// Converts and checks the boxes in the dialog's order. A value its rule refuses stops the
// click and changes nothing (InputError naming the box by its caption); a text that is not a
// number stops it there, the boxes before it keeping their new values.
void storeBoxes(TMAT& t, const std::vector<MaterialRule>& rules,
                const std::vector<const std::string*>& texts) {
    std::vector<double> values;
    auto store = [&] {
        for (std::size_t i = 0; i < values.size(); ++i) t.*(rules[i].field) = values[i];
    };
    for (std::size_t i = 0; i < rules.size(); ++i) {
        double v = 0;
        try {
            v = ToFloat(*texts[i]);
        } catch (const ConversionError&) {
            store();
            throw;
        }
        const std::string fault = materialFault(rules[i], v);
        if (!fault.empty()) throw InputError(std::string("\"") + rules[i].caption + "\" " + fault);
        values.push_back(v);
    }
    store();
}
}  // namespace

std::string modifyMaterial(SectionModel& m, MaterialTable table, int grade,
                           const MaterialBoxes& boxes) {
    TMAT& t = materialOf(m, table, grade);
    const auto& rules = materialRules(table);
    if (table == MaterialTable::Steel) {
        storeBoxes(t, rules, {&boxes.Edit2, &boxes.Edit3, &boxes.Edit5});
        t.FY1 = t.FY * t.RF;
        return Format("%0.3F", {t.FY * t.RF});
    }
    // A concrete beyond any made is refused here, before it can reach a mesh, and the grade
    // keeps what it held.
    const TMAT before = t;
    storeBoxes(t, rules, {&boxes.Edit2, &boxes.Edit3, &boxes.Edit4, &boxes.Edit5});
    if (t.FC > MAX_CONCRETE_FC) {
        const TMAT refused = t;
        t = before;
        requireConcreteStrength(
            refused,
            Format("%s grade %D", {table == MaterialTable::CoverConcrete ? std::string("Cover")
                                                                         : std::string("Concrete"),
                                   grade}));
    }
    return boxes.Edit4;
}

}  // namespace qav
