#include "model/code_convert.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/code_grades.h"
#include "model/materials.h"
#include "model/number_text.h"

namespace qav {

namespace {

// The grade tables a code takes, laid out as the document holds them (slot 0 unused).
struct Tables {
    std::vector<TMAT> concrete, cover, steel;
};

// The program's own grade tables, as GEN_MAT makes them (HK-COP-2013 and BS-8110).
Tables ownTables() {
    SectionModel fresh;
    return {std::move(fresh.document.CONC_MAT), std::move(fresh.document.COVER_MAT),
            std::move(fresh.document.STEEL_MAT)};
}

Tables tablesOf(const SectionModel& m, CodeId code) {
    if (codeHasOwnTables(code)) {
        CodeGradeTables t = codeGradeTables(code, m.document.ALPHA_CC);
        return {std::move(t.concrete), std::move(t.cover), std::move(t.steel)};
    }
    if (!codeHasOwnTables(m.document.CODE)) {
        // Already the program's own tables: keep them as the engineer may have edited them,
        // and give a table of an earlier file the structural steels it lacks.
        const SectionDocument& d = m.document;
        Tables kept{d.CONC_MAT, d.COVER_MAT, d.STEEL_MAT};
        const std::vector<TMAT> own = ownTables().steel;
        const std::size_t n =
            std::min(kept.steel.size(), static_cast<std::size_t>(d.NSTEELMAT) + 1);
        if (n > static_cast<std::size_t>(REBAR_GRADE_ITEMS) && n < own.size()) {
            kept.steel.resize(n);
            kept.steel.insert(kept.steel.end(), own.begin() + static_cast<std::ptrdiff_t>(n),
                              own.end());
        }
        return kept;
    }
    return ownTables();
}

int countOf(const std::vector<TMAT>& table) {
    return std::max(static_cast<int>(table.size()) - 1, 0);
}

const TMAT* selected(const std::vector<TMAT>& table, int32_t count, int32_t index) {
    const int32_t slot = index + 1;
    if (slot < 1 || slot > count || slot >= static_cast<int32_t>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(slot)];
}

int slotNamed(const std::vector<TMAT>& table, int first, int last, const std::string& name) {
    last = std::min(last, countOf(table));
    for (int i = std::max(first, 1); i <= last; ++i)
        if (table[static_cast<std::size_t>(i)].NAME == name) return i;
    return 0;
}

std::string namesOf(const std::vector<TMAT>& table, int first, int last) {
    std::string s;
    last = std::min(last, countOf(table));
    for (int i = std::max(first, 1); i <= last; ++i) {
        if (!s.empty()) s += ", ";
        s += table[static_cast<std::size_t>(i)].NAME;
    }
    return s;
}

// One selected grade to carry over: what kind it is, the table it comes from and where it goes.
struct Choice {
    const char* kind;  // "Concrete grade"
    const TMAT* from;  // the grade selected now, or null
    const std::string& name;
    const std::vector<TMAT>& table;
    int first, last;  // the slots of `table` this kind may take
    bool concrete;
    int slot = 0;
    std::string message{};
};

// The strongest grade of the range not above the one selected now, compared like with like
// (concrete: cube with cube, cylinder with cylinder, see concreteMeasure; steel: fy with fy).
// False with `error` naming the nearest grade when every grade of the range is stronger.
bool chooseByStrength(Choice& c, CodeId fromCode, CodeId toCode, std::string& error) {
    const StrengthMeasure measure = concreteMeasure(fromCode, toCode);
    const auto strength = [&](const TMAT& t) {
        return c.concrete ? concreteStrength(toCode, t, measure) : t.FY;
    };
    const double limit = c.concrete ? concreteStrength(fromCode, *c.from, measure) : c.from->FY;
    const auto text = [&](double v) {
        return c.concrete ? strengthText(v, measure) : Format("fy %g N/mm2", {v});
    };
    c.slot = strongestNotAbove(c.table, c.first, c.last, limit, strength);
    if (c.slot != 0) {
        const TMAT& to = c.table[static_cast<std::size_t>(c.slot)];
        c.message = std::string(c.kind) + ": " + c.from->NAME + " becomes " + to.NAME +
                    " (the strongest not above " + text(limit) + ").";
        return true;
    }
    const int near = weakestAbove(c.table, c.first, c.last, limit, strength);
    error = std::string(c.kind) + " " + c.from->NAME + " (" + text(limit) + ") has no grade of " +
            codeName(toCode) + " at or below its strength, and a conversion does not make a " +
            "section stronger";
    if (near != 0) {
        const TMAT& n = c.table[static_cast<std::size_t>(near)];
        error += ": the nearest is " + n.NAME + " (" + text(strength(n)) +
                 "), which can be chosen by name";
    }
    error += ".";
    return false;
}

// Picks the slot for one kind: by name, else the grade of the same name, else the strongest not
// above the one selected now. False with `error` set for a name the table does not hold or a
// grade no grade of the new code matches.
bool choose(Choice& c, CodeId fromCode, CodeId toCode, std::string& error) {
    const std::string was = c.from ? c.from->NAME : std::string("(none)");
    if (!c.name.empty()) {
        c.slot = slotNamed(c.table, c.first, c.last, c.name);
        if (c.slot == 0) {
            error = std::string(c.kind) + " \"" + c.name + "\" is not a grade of " +
                    codeName(toCode) + "; its grades are " + namesOf(c.table, c.first, c.last) +
                    ".";
            return false;
        }
        c.message = std::string(c.kind) + ": " + was + " becomes " + c.name + " (by name).";
        return true;
    }
    if (c.from) c.slot = slotNamed(c.table, c.first, c.last, c.from->NAME);
    if (c.slot != 0) {
        c.message = std::string(c.kind) + ": " + was + " kept.";
        return true;
    }
    if (c.from) return chooseByStrength(c, fromCode, toCode, error);
    c.slot = std::min(std::max(c.first, 1), countOf(c.table));
    const std::string to = c.slot > 0 ? c.table[static_cast<std::size_t>(c.slot)].NAME : "(none)";
    c.message = std::string(c.kind) + ": " + was + " becomes " + to + ".";
    return true;
}

// The cover grade that goes with the concrete grade chosen: the cover table's twin of that
// grade ("<name>_Cover", or else the same slot); 0 when the table holds none.
int coverTwin(const std::vector<TMAT>& cover, const std::vector<TMAT>& concrete, int slot) {
    if (slot < 1 || static_cast<std::size_t>(slot) >= concrete.size()) return 0;
    const std::string twin = concrete[static_cast<std::size_t>(slot)].NAME + "_Cover";
    if (const int named = slotNamed(cover, 1, countOf(cover), twin)) return named;
    return slot <= countOf(cover) ? slot : 0;
}

// The cover takes the twin of the concrete grade chosen (slot `concrete`); false, leaving it to
// its own choice, where the cover table holds none.
bool followConcrete(Choice& cover, int concrete, const Tables& t) {
    const int twin = coverTwin(t.cover, t.concrete, concrete);
    if (twin == 0) return false;
    cover.slot = twin;
    const std::string& to = t.cover[static_cast<std::size_t>(twin)].NAME;
    const std::string was = cover.from ? cover.from->NAME : std::string("(none)");
    cover.message = std::string(cover.kind) + ": " + was +
                    (was == to ? " kept." : " becomes " + to + " (as the concrete).");
    return true;
}

}  // namespace

SteelRanges steelRanges(CodeId code, int count) {
    if (!codeHasOwnTables(code)) return {1, std::min(REBAR_GRADE_ITEMS, count), 1, count};
    const int bars = std::min(codeGradeTables(code).reinforcementCount, count);
    return {1, bars, bars + 1, count};
}

namespace {
// The characteristic strength of a grade of a code's own tables: the table's grade of that
// name, else what its peak stress stands for (fcd = alphaCC fck / 1.5; 0.85 f'c).
double codeStrength(const SectionDocument& d, const std::vector<TMAT>& table, const TMAT& t) {
    for (std::size_t i = 1; i < table.size(); ++i)
        if (table[i].NAME == t.NAME) return table[i].FCU;
    const double alphaCC = acceptedAlphaCC(d.ALPHA_CC) ? d.ALPHA_CC : 1.0;
    const double fck = d.CODE == CodeId::Ec2 ? t.FC * EC2_GAMMA_C / alphaCC : t.FC / 0.85;
    return std::isfinite(fck) ? fck : 0.0;  // a peak stress near the largest number
}
}  // namespace

void deriveCodeLawFields(SectionDocument& d) {
    const bool own = codeHasOwnTables(d.CODE);
    const CodeGradeTables code = codeGradeTables(d.CODE, d.ALPHA_CC);
    for (auto [table, ofCode] :
         {std::pair{&d.CONC_MAT, &code.concrete}, {&d.COVER_MAT, &code.cover}})
        for (std::size_t i = 1; i < table->size(); ++i) {
            TMAT& t = (*table)[i];
            if (own) t.FCU = codeStrength(d, *ofCode, t);
            // The code's formulas hold from 12 to 90 N/mm2; outside, its last values apply.
            t.N_EXP = d.CODE == CodeId::Ec2 ? ec2Concrete(std::clamp(t.FCU, 0.0, 90.0)).n : 2.0;
            t.BETA1 = d.CODE == CodeId::Aci318 ? aciBeta1(t.FCU) : 0.0;
        }
}

void restoreCodeGradeValues(SectionDocument& d) {
    Tables code = ownTables();
    if (codeHasOwnTables(d.CODE)) {
        CodeGradeTables t = codeGradeTables(d.CODE, d.ALPHA_CC);
        code = {std::move(t.concrete), std::move(t.cover), std::move(t.steel)};
    }
    static constexpr double TMAT::*concreteFields[] = {&TMAT::EC, &TMAT::FC, &TMAT::EPS_0,
                                                       &TMAT::EPS_CU};
    static constexpr double TMAT::*steelFields[] = {&TMAT::ES, &TMAT::FY, &TMAT::RF};
    auto restore = [](std::vector<TMAT>& table, const std::vector<TMAT>& ofCode,
                      std::span<double TMAT::*const> fields) {
        for (std::size_t i = 1; i < table.size(); ++i) {
            const auto own = std::find_if(ofCode.begin() + (ofCode.empty() ? 0 : 1), ofCode.end(),
                                          [&](const TMAT& g) { return g.NAME == table[i].NAME; });
            if (own == ofCode.end()) continue;
            for (double TMAT::*field : fields) {
                double& value = table[i].*field;
                const double exact = (*own).*field;
                // The file's text of the code's value, read back: the same number when unedited.
                if (std::isfinite(exact) && ToFloat(Format("%0.5F", {exact})) == value)
                    value = exact;
            }
        }
    };
    restore(d.CONC_MAT, code.concrete, concreteFields);
    restore(d.COVER_MAT, code.cover, concreteFields);
    restore(d.STEEL_MAT, code.steel, steelFields);
}

bool acceptedAlphaCC(double a) {
    return std::isfinite(a) && a >= 0.8 && a <= 1.0;
}

CodeConversion convertSectionCode(SectionModel& m, CodeId code, const GradeNames& names) {
    CodeConversion r;
    const SectionDocument& d = m.document;
    const CodeId fromCode = sectionCode(m);
    Tables t = tablesOf(m, code);
    const int nSteel = countOf(t.steel);
    const SteelRanges s = steelRanges(code, nSteel);
    Choice choices[] = {
        {"Concrete grade", selected(d.CONC_MAT, d.NCONCMAT, d.USE_CONC), names.concrete, t.concrete,
         1, countOf(t.concrete), true},
        {"Cover grade", selected(d.COVER_MAT, d.NCOVERMAT, d.USE_COVER), names.cover, t.cover, 1,
         countOf(t.cover), true},
        {"Rebar grade", selected(d.STEEL_MAT, d.NSTEELMAT, d.USE_REBAR), names.rebar, t.steel,
         s.rebarFirst, s.rebarLast, false},
        {"Steel grade", selected(d.STEEL_MAT, d.NSTEELMAT, d.USE_STEEL), names.steel, t.steel,
         s.steelFirst, s.steelLast, false},
    };
    // Unless named, the cover takes the concrete grade's twin where it had the concrete's own
    // grade, or where the concrete is named.
    const bool coverFollows =
        names.cover.empty() && (!names.concrete.empty() || d.USE_COVER == d.USE_CONC);
    for (Choice& c : choices) {
        if (&c == &choices[1] && coverFollows && followConcrete(c, choices[0].slot, t)) continue;
        if (!choose(c, fromCode, code, r.error)) {
            r.ok = false;
            return r;
        }
    }

    SectionDocument& w = m.document;
    w.NCONCMAT = countOf(t.concrete);
    w.NCOVERMAT = countOf(t.cover);
    w.NSTEELMAT = nSteel;
    w.CONC_MAT = std::move(t.concrete);
    w.COVER_MAT = std::move(t.cover);
    w.STEEL_MAT = std::move(t.steel);
    w.USE_CONC = std::max(choices[0].slot - 1, 0);
    w.USE_COVER = std::max(choices[1].slot - 1, 0);
    w.USE_REBAR = std::max(choices[2].slot - 1, 0);
    w.USE_STEEL = std::max(choices[3].slot - 1, 0);
    w.CODE = code;
    if (!codeHasOwnTables(code)) m.settings.DESIGN_CODE = static_cast<int32_t>(code);
    deriveCodeLawFields(w);
    for (Choice& c : choices) r.messages.push_back(std::move(c.message));
    return r;
}

}  // namespace qav
