#include "code_table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/section_solver.h"
#include "analysis/section_state.h"
#include "code_reference.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/number_text.h"

namespace qav::validation {

namespace {

const double CODE_PM_ANGLES[] = {0, 45};
constexpr int CODE_NPM = 6;

// The grades each section takes under each code: concrete (its cover grade alike), bars,
// structural steel. Strengths spread so that the exponent and the block factor vary.
struct CodeGrades {
    CodeId code;
    const char* concrete;
    const char* rebar;
    const char* steel;
};
const CodeGrades GRADES[3][3] = {
    {{CodeId::HkCop2013, "", "", ""},
     {CodeId::Ec2, "C30/37", "B500B", "S355"},
     {CodeId::Aci318, "FC28", "GR420", "A992"}},
    {{CodeId::HkCop2013, "", "", ""},
     {CodeId::Ec2, "C60/75", "B500B", "S355"},
     {CodeId::Aci318, "FC50", "GR550", "A992"}},
    {{CodeId::HkCop2013, "", "", ""},
     {CodeId::Ec2, "C40/50", "B500B", "S355"},
     {CodeId::Aci318, "FC35", "GR420", "A992"}},
};

std::string gradeText(const SectionModel& m) {
    const SectionDocument& d = m.document;
    const auto name = [](const std::vector<TMAT>& t, int use) {
        return t[static_cast<std::size_t>(use + 1)].NAME;
    };
    std::string s = name(d.CONC_MAT, d.USE_CONC);
    if (d.NCOVER_PT > 0) s += " (cover " + name(d.COVER_MAT, d.USE_COVER) + ")";
    s += ", bars " + name(d.STEEL_MAT, d.USE_REBAR);
    if (d.NSTEEL_SEC > 0) s += ", steel " + name(d.STEEL_MAT, d.USE_STEEL);
    return s;
}

// The four loads of the ends: the moment at zero axial force at each angle, pure compression
// and pure tension (kN, kNm; compression positive).
struct EndLoad {
    const char* item;
    double P, MX, MY;
};
const EndLoad END_LOADS[] = {{"M at P = 0, 0 deg", 0, 0, 1000},
                             {"M at P = 0, 45 deg", 0, 707.1067811865476, 707.1067811865476},
                             {"Pure compression", 1000, 0, 0},
                             {"Pure tension", -1000, 0, 0}};

}  // namespace

int codeTableCount() {
    return 9;
}

SectionModel buildCodeSection(int index, SectionTable& t) {
    const int section = index / 3;
    const CodeGrades& g = GRADES[section][index % 3];
    SectionModel m = buildSection(section, t.name, t.description, t.meshSize);
    if (g.code != CodeId::HkCop2013) {
        const CodeConversion c = convertSectionCode(
            m, g.code, {g.concrete, std::string(g.concrete) + "_Cover", g.rebar, g.steel});
        if (!c.ok) throw std::runtime_error(c.error);
    }
    m.settings.STRAIN_LIMIT = StrainLimit::Code;
    m.settings.NPM = CODE_NPM;
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    t.code = codeName(g.code);
    t.name += ", " + t.code;
    t.description += "; " + gradeText(m);
    return m;
}

SectionTable codeProgramValues(int index) {
    SectionTable t;
    SectionModel m = buildCodeSection(index, t);
    NullMessages msgs;
    const int n = m.settings.NPM;
    for (const double angle : CODE_PM_ANGLES) {
        RUN_PM_CURVE_ANALYSIS(m, angle, msgs);
        const SectionResults& r = m.results;
        const bool nominal = r.PM_NOM_P.size() == r.PM_P.size();
        // The branch of the angle, from the tension end to the point before pure compression
        // (which the ends below give).
        for (int k = 2; k <= n; ++k) {
            const auto i = static_cast<std::size_t>(k);
            Row row;
            row.item = Format("P-M %0.0F deg, point %D", {angle, k});
            row.P = r.PM_P[i];
            row.MX = r.PM_MX[i];
            row.MY = r.PM_MY[i];
            row.ray = {nominal ? r.PM_NOM_P[i] : r.PM_P[i], nominal ? r.PM_NOM_MX[i] : r.PM_MX[i],
                       nominal ? r.PM_NOM_MY[i] : r.PM_MY[i]};
            row.notConverged = !pointConverged(r.PM_CONVERGED, i);
            t.rows.push_back(row);
        }
    }
    // The ends and the ten combinations in one member check.
    std::vector<TFORCE> loads = spreadCombinations(m);
    for (const EndLoad& e : END_LOADS) {
        TFORCE f;
        f.P = -e.P;
        f.MX = e.MX;
        f.MY = e.MY;
        f.COMB_NAME = e.item;
        loads.push_back(f);
    }
    m.document.FORCE.assign(1, TFORCE{});
    m.document.FORCE.insert(m.document.FORCE.end(), loads.begin(), loads.end());
    m.document.NFORCE = static_cast<int32_t>(loads.size());
    NullProgress progress;
    const CheckResult check = memberCheck(m, 0, 0, 0, msgs, progress);
    std::vector<bool> unconverged(loads.size() + 1, false);
    for (const int c : check.unconverged) unconverged[static_cast<std::size_t>(c)] = true;
    for (std::size_t i = 1; i <= loads.size(); ++i) {
        const TFORCE& f = m.document.FORCE[i];
        const double lf = check.fractions[i];
        Row r;
        r.notConverged = unconverged[i];
        if (i <= 10) {
            r.item = "Combination " + f.COMB_NAME;
            r.loadFraction = true;
            r.P = -f.P;
            r.MX = f.MX;
            r.MY = f.MY;
            r.ours = lf;
        } else {
            r.item = f.COMB_NAME;
            r.P = -f.P * lf;
            r.MX = f.MX * lf;
            r.MY = f.MY * lf;
            r.ray = {-f.P, f.MX, f.MY};
        }
        t.rows.push_back(r);
    }
    return t;
}

void addCodeReference(SectionTable& t, const SectionModel& m) {
    const CodeReference ref(m);
    const double D = ref.size();
    NullMessages msgs;
    // Whether the program's state along a ray has no concrete compressed: the reference then
    // solves among such states, by the same rule.
    auto inTension = [&](double P, double MX, double MY) {
        if (MX == 0 && MY == 0) return false;
        const SectionState s = SECTION_STATE(m, P, MX, MY, 0, 0, 0, msgs);
        double emax = -1e300;
        for (const ControlPointState& cp : s.controlPoints) emax = std::max(emax, cp.strain);
        return emax <= 0;
    };
    for (Row& r : t.rows) {
        if (r.loadFraction) {
            r.offLimit = inTension(r.P, r.MX, r.MY);
            r.reference = ref.designLoadFraction(r.P, r.MX, r.MY, r.angleError, r.offLimit);
            continue;
        }
        const auto& [P, MX, MY] = r.ray;
        r.offLimit = inTension(P, MX, MY);
        // The design point of the state along the ray (the state's own force where there is no
        // strength reduction), compared along its own direction.
        CodeReference::OnRay on;
        Forces f;
        if (ref.code() == CodeId::Aci318 && !(MX == 0 && MY == 0)) {
            on = ref.along(P, MX, MY, r.offLimit);
            f = ref.design(on.plane);
            f.N /= 1e3;
            f.MX /= 1e6;
            f.MY /= 1e6;
        } else {
            // Ends and rays without reduction: the design load fraction along the ray.
            double err = 0;
            const double lf = ref.designLoadFraction(P, MX, MY, err, r.offLimit);
            on.angleError = err;
            f = {lf * P, lf * MX, lf * MY};
        }
        r.angleError = on.angleError;
        r.refPoint = {f.N, f.MX, f.MY};
        const double rr = f.N * f.N + (f.MX * f.MX + f.MY * f.MY) / (D * D);
        const double orr = r.P * f.N + (r.MX * f.MX + r.MY * f.MY) / (D * D);
        r.reference = rr / orr;  // the difference is then ours . ref / ref . ref - 1
    }
}

}  // namespace qav::validation
