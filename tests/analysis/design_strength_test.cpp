#include "analysis/design_strength.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "code_sections.h"
#include "hand_section.h"
#include "model/code_grades.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "reports/export_tables.h"

using namespace qav;

namespace {

class NoProgress : public Progress {
public:
    void setPosition(int) override {}
};

int slotNamed(const std::vector<TMAT>& t, const std::string& name) {
    for (std::size_t i = 1; i < t.size(); ++i)
        if (t[i].NAME == name) return static_cast<int>(i);
    return 0;
}

// A b x h rectangle of FC28 with four 25 mm GR420 bars 50 mm in from the faces, as an ACI 318-19
// document: the code's tables, the grades selected, the fibres' corners for the section's depth.
SectionModel aciRectangle(double b = 400, double h = 600, CodeId code = CodeId::Aci318) {
    test::HandColumn s;
    s.b = b;
    s.h = h;
    s.nx = static_cast<int>(b / 20);
    s.ny = static_cast<int>(h / 20);
    s.fc = 0.85 * 28;
    s.fy1 = 420;
    for (double x : {-b / 2 + 50, b / 2 - 50})
        for (double y : {-h / 2 + 50, h / 2 - 50}) s.bars.push_back({x, y, 25});
    SectionModel m = test::handRectangle(s);
    const CodeGradeTables t = codeGradeTables(CodeId::Aci318);
    SectionDocument& d = m.document;
    d.CONC_MAT = t.concrete;
    d.COVER_MAT = t.cover;
    d.STEEL_MAT = t.steel;
    d.NCONCMAT = static_cast<int32_t>(t.concrete.size()) - 1;
    d.NCOVERMAT = static_cast<int32_t>(t.cover.size()) - 1;
    d.NSTEELMAT = static_cast<int32_t>(t.steel.size()) - 1;
    d.USE_CONC = slotNamed(t.concrete, "FC28") - 1;
    d.USE_REBAR = slotNamed(t.steel, "GR420") - 1;
    d.CODE = code;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        f.MAT = f.TY == FIB_REBAR ? d.USE_REBAR + 1 : d.USE_CONC + 1;
        if (f.TY == FIB_CORE_CONCRETE) {
            f.POS[0] = {f.X - 10, f.Y - 10};
            f.POS[1] = {f.X + 10, f.Y - 10};
            f.POS[2] = {f.X + 10, f.Y + 10};
        }
    }
    stampMesh(m);
    return m;
}

// The plane with 0.003 at the top face (y = 300) and the tensile strain epsT at the bottom bars
// (y = -250).
std::array<double, 3> planeWithBarStrain(double epsT) {
    const double a3 = (0.003 + epsT) / 550.0;
    return {0.003 - a3 * 300.0, 0, a3};
}

}  // namespace

// P0 = 0.85 f'c (Ag - Ast) + fy Ast = 23.8 (240000 - 1962.5) + 420 x 1962.5 N, the cap
// 0.65 x 0.80 P0; phi 0.65 up to the yield strain 0.0021 of GR420, 0.90 from 0.0051.
TEST(DesignStrength, HandCalculationOfPhiAndTheCap) {
    const SectionModel m = aciRectangle();
    const DesignStrength d = designStrength(m);
    ASSERT_TRUE(d.applies);
    EXPECT_NEAR(d.P0, 6489.5425, 1e-6);
    EXPECT_NEAR(d.PnMax, 0.8 * 6489.5425, 1e-6);
    EXPECT_NEAR(d.cap, 0.65 * 0.8 * 6489.5425, 1e-6);
    struct Case {
        const char* name;
        double epsT;
        Ties ties;
        double phi;
    };
    const Case cases[] = {{"compression control", 0.001, Ties::Tied, 0.65},
                          {"balanced", 0.0021, Ties::Tied, 0.65},
                          {"transition", 0.0036, Ties::Tied, 0.775},
                          {"transition, spiral", 0.0036, Ties::Spiral, 0.825},
                          {"tension control", 0.0051, Ties::Tied, 0.90},
                          {"well in tension", 0.02, Ties::Spiral, 0.90},
                          {"uniform compression", -0.003, Ties::Spiral, 0.75}};
    for (const Case& c : cases) {
        SectionModel mc = m;
        mc.document.TIES = c.ties;
        const auto abc = planeWithBarStrain(c.epsT);
        EXPECT_NEAR(phiOfState(designStrength(mc), abc.data()), c.phi, 1e-12) << c.name;
    }
    // Design = phi x nominal, the compression cut at the cap; the fraction along a ray likewise.
    const DesignPoint p = designPoint(d, 0.65, 6000, 10, 20);
    EXPECT_TRUE(p.capped);
    EXPECT_DOUBLE_EQ(p.P, d.cap);
    EXPECT_DOUBLE_EQ(p.MX, 6.5);
    const DesignFraction f = designFraction(d, 0.8, 1.5, -1000);
    EXPECT_DOUBLE_EQ(f.fraction, 0.8 * 1.5);
    const DesignFraction capped = designFraction(d, 0.65, 2.0, 3000);
    EXPECT_TRUE(capped.capGoverns);
    EXPECT_DOUBLE_EQ(capped.fraction, d.cap / 3000);
}

// Each design point is phi times its nominal one, the compression capped; phi runs from the
// tension end (0.90) to pure compression (0.65), and the pure compression point is the cap.
TEST(DesignStrength, CurvesHoldDesignAndNominalPointForPoint) {
    SectionModel m = aciRectangle();
    m.settings.NPM = 8;
    NullMessages msgs;
    RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
    const SectionResults& r = m.results;
    const DesignStrength d = designStrength(m);
    const std::size_t n = 2 * 8 + 2;
    ASSERT_EQ(r.PM_PHI.size(), n + 1);
    for (std::size_t k = 1; k <= n; ++k) {
        EXPECT_NEAR(r.PM_P[k], std::min(r.PM_PHI[k] * r.PM_NOM_P[k], d.cap), 1e-9) << k;
        EXPECT_NEAR(r.PM_M[k], r.PM_PHI[k] * r.PM_NOM_M[k], 1e-9) << k;
        EXPECT_GE(r.PM_PHI[k], 0.65);
        EXPECT_LE(r.PM_PHI[k], 0.90);
    }
    EXPECT_DOUBLE_EQ(r.PM_PHI[1], 0.90);
    EXPECT_DOUBLE_EQ(r.PM_PHI[9], 0.65);
    EXPECT_DOUBLE_EQ(r.PM_P[9], d.cap);

    // The surface's curves likewise, and the key points.
    const PmmResult s = pmmSurfaceAnalysis(m, msgs);
    ASSERT_EQ(s.phi.size(), s.P.size());
    for (std::size_t k = 1; k <= n; ++k) EXPECT_NEAR(s.MX[2][k], s.phi[2][k] * s.nomMX[2][k], 1e-9);
    for (const KeyPoint& k : PM_KEY_POINTS(m, 0, msgs)) {
        if (!k.exists) continue;
        EXPECT_TRUE(k.design);
        EXPECT_NEAR(k.P, std::min(k.phi * k.nomP, d.cap), 1e-9) << k.label;
    }
}

// At a design axial force each Myy-Mxx point is the nominal state whose phi times its axial
// force is that force; above phi Pn,max there is none.
TEST(DesignStrength, MyyMxxAtADesignAxialForce) {
    SectionModel m = aciRectangle();
    m.settings.NMM = 8;
    NullMessages msgs;
    const DesignStrength d = designStrength(m);
    SectionSolver solver(m, msgs);
    RunStats stats;
    for (double P : {-300.0, 0.0, 800.0, 2500.0})
        for (double theta : {0.0, 45.0, 90.0}) {
            const DesignMmPoint p =
                designMmPoint(solver, 1, d, axialCapacity(m), P, theta, stats, false);
            EXPECT_NEAR(p.phi * p.nominal.P, P, 1e-3 * std::max(1.0, std::fabs(P)))
                << P << " " << theta;
        }
    const MmResult r = mmCurveAnalysis(m, 800, msgs);
    for (std::size_t i = 0; i < r.MX.size(); ++i) EXPECT_NEAR(r.MX[i], r.phi[i] * r.nomMX[i], 1e-9);
    EXPECT_THROW(mmCurveAnalysis(m, d.cap * 1.01, msgs), InputError);
}

// Where the answer is an end of phi the search solves that end alone: at zero axial force
// (phi changes nothing of the nominal state) and in tension, whose tension-controlled end comes
// first (the other lies at PMIN itself). A compression between the ends still searches.
TEST(DesignStrength, MyyMxxPhiEndsSolveOnePoint) {
    const SectionModel m = aciRectangle();
    NullMessages msgs;
    const DesignStrength d = designStrength(m);
    const AxialCapacity cap = axialCapacity(m);
    SectionSolver solver(m, msgs);
    // (design axial force, whether one end answers)
    for (const auto& [P, oneEnd] : {std::pair{0.0, true},
                                    {0.45 * cap.PMIN, true},
                                    {0.8991 * cap.PMIN, true},
                                    {0.3 * d.cap, false}}) {
        RunStats stats;
        const DesignMmPoint p = designMmPoint(solver, 1, d, cap, P, 60, stats, false);
        EXPECT_NEAR(p.phi * p.nominal.P, P, 1e-3 * std::max(1.0, std::fabs(P))) << P;
        EXPECT_EQ(stats.solves == p.stats.solves, oneEnd) << P;
        EXPECT_TRUE(P >= 0 || p.phi == d.phiTension) << P;
    }
}

// The check's fraction is phi x the nominal one, or the cap's; loads a minimum raised are listed
// with the load solved.
TEST(DesignStrength, CheckAgainstTheDesignSurface) {
    SectionModel m = aciRectangle();
    m.document.FORCE = {
        TFORCE{}, {-500, 50, 0, "A", 0}, {-5000, 0, 100, "B", 0}, {300, 120, -80, "C", 0}};
    m.document.NFORCE = 3;
    NullMessages msgs;
    NoProgress progress;
    const CheckResult r = memberCheck(m, 0, 0, 0, msgs, progress);
    ASSERT_EQ(r.phi.size(), 4u);
    for (int i = 1; i <= 3; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const double P = -m.document.FORCE[u].P;
        const double expected = std::min(r.phi[u] * r.nominalFractions[u],
                                         P > 0 ? designStrength(m).cap / P : INFINITY);
        EXPECT_NEAR(r.fractions[u], expected, 1e-12) << i;
    }
    EXPECT_EQ(r.capGoverns, std::vector<int>{2});
    EXPECT_TRUE(r.raised.empty());
    // The message names the first five and counts the rest.
    CheckResult many = r;
    many.capGoverns = {1, 2, 3, 1, 2, 3, 1};
    const std::string text = CAP_GOVERNS_TEXT(m, many);
    EXPECT_NE(text.find(": 1 (A), 2 (B), 3 (C), 1 (A), 2 (B), and 2 more."), std::string::npos)
        << text;

    // A minimum only lowers a design fraction; a raised load is listed where it does.
    const CheckResult k = memberCheck(m, 1000, 100, 100, msgs, progress);
    const RaisedLoad raisedTo[] = {{}, {1000, 100, 100}, {5000, 100, 100}, {-1000, 120, -100}};
    for (int i = 1; i <= 3; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const auto listed = std::find_if(k.raised.begin(), k.raised.end(),
                                         [&](const RaisedCombination& c) { return c.number == i; });
        EXPECT_EQ(listed != k.raised.end(), k.fractions[u] < r.fractions[u]) << i;
        EXPECT_LE(k.fractions[u], r.fractions[u]) << i;
        if (listed == k.raised.end()) continue;
        EXPECT_EQ(std::vector<double>({-listed->P, listed->MX, listed->MY}),
                  std::vector<double>({raisedTo[u].P, raisedTo[u].MX, raisedTo[u].MY}));
    }
}

// The code's minimum eccentricity of a 300 x 900 section under 2000 kN, about one axis at a
// time (X is 300 deep, Y 900): HK-COP and BS 0.05 h at most 20, EN 1992-1-1 h / 30 at least 20, ACI
// 318 15 + 0.03 h.
TEST(DesignStrength, CodeMinimumEccentricityRaisesEachMoment) {
    struct Case {
        CodeId code;
        int designCode;
        double MX, MY;
    };
    const Case cases[] = {{CodeId::HkCop2013, 0, 30, 40},
                          {CodeId::Bs8110, 1, 30, 40},
                          {CodeId::Ec2, 0, 40, 60},
                          {CodeId::Aci318, 0, 48, 84}};
    for (const Case& c : cases) {
        SectionModel m =
            aciRectangle(300, 900, c.code == CodeId::Bs8110 ? CodeId::HkCop2013 : c.code);
        m.settings.DESIGN_CODE = c.designCode;
        m.settings.CODE_MIN_ECC = true;
        stampMesh(m);
        m.document.FORCE = {TFORCE{}, {-2000, 0, -10, "A", 0}, {-2000, 500, -500, "B", 0}};
        m.document.NFORCE = 2;
        NullMessages msgs;
        NoProgress progress;
        const std::array<double, 2> e = minimumEccentricityMoments(m, -2000);
        EXPECT_NEAR(e[0], c.MX, 1e-9) << codeName(c.code);
        EXPECT_NEAR(e[1], c.MY, 1e-9) << codeName(c.code);
        const CheckResult r = memberCheck(m, 1000, 1000, 1000, msgs, progress);
        EXPECT_TRUE(r.codeMinimum);
        // Where the cap phi Pn,max sets the fraction a moment cannot lower it.
        if (std::find(r.capGoverns.begin(), r.capGoverns.end(), 1) != r.capGoverns.end()) {
            EXPECT_TRUE(r.raised.empty()) << codeName(c.code);
            continue;
        }
        ASSERT_EQ(r.raised.size(), 1u) << codeName(c.code);
        EXPECT_NEAR(r.raised[0].P, -2000, 1e-12);
        // One moment raised, the other as given.
        const bool aboutY = r.raised[0].MX != 0;
        EXPECT_NEAR(r.raised[0].MX, aboutY ? c.MX : 0, 1e-9) << codeName(c.code);
        EXPECT_NEAR(r.raised[0].MY, aboutY ? -10 : -c.MY, 1e-9) << codeName(c.code);
        const std::string said = RAISED_COMBINATIONS_TEXT(m, r);
        EXPECT_NE(said.find(codeName(c.code)), std::string::npos);
        // A sentence: the raised load itself stands in its row, not in the message.
        EXPECT_EQ(said.find(" to P "), std::string::npos) << said;
    }
}

// Outside ACI 318-19 the check is not reduced; the fixed minimum magnitudes given only lower a
// fraction.
TEST(DesignStrength, DefaultCheckIsUnchanged) {
    SectionModel m = aciRectangle(400, 600, CodeId::HkCop2013);
    m.document.FORCE = {TFORCE{}, {-500, 50, 0, "A", 0}, {-3000, 1200, -40, "B", 0}};
    m.document.NFORCE = 2;
    NullMessages msgs;
    NoProgress progress;
    const CheckResult r = memberCheck(m, 1000, 1000, 1000, msgs, progress);
    EXPECT_TRUE(r.phi.empty());
    SectionSolver solver(m, msgs);
    // The smaller of the solver's fractions of the load as given and with its minimums.
    for (int i = 1; i <= 2; ++i) {
        const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
        EXPECT_EQ(
            r.fractions[static_cast<std::size_t>(i)],
            std::min(solver.loadFraction(-f.P, f.MX, f.MY, 0, 0, 0, 1).loadFraction,
                     solver.loadFraction(-f.P, f.MX, f.MY, 1000, 1000, 1000, 1).loadFraction));
    }
}

// On meshed examples under the ACI 318-19 laws and limits: bars, and bars with an encased
// section.
TEST(DesignStrength, ExamplesUnderAci318) {
    for (const char* name : {"rectangular_column", "src_column_cross"}) {
        test::ExampleSettings s;
        s.npm = 6;
        s.nmm = 8;
        SectionModel m = test::codeExample(name, test::aciChoice(), s);
        MessageLog msgs;
        const RunStats st = RUN_PM_CURVE_ANALYSIS(m, 0, msgs);
        EXPECT_EQ(st.notConverged, 0) << name;
        const SectionResults& r = m.results;
        const DesignStrength d = designStrength(m);
        EXPECT_DOUBLE_EQ(r.PM_PHI[1], 0.90) << name;
        EXPECT_DOUBLE_EQ(r.PM_P[7], d.cap) << name;
        EXPECT_LE(*std::max_element(r.PM_P.begin() + 1, r.PM_P.end()), d.cap) << name;
        const MmResult mm = mmCurveAnalysis(m, 0.3 * d.cap, msgs);
        EXPECT_EQ(mm.stats.notConverged, 0) << name;
        for (std::size_t i = 0; i < mm.MX.size(); ++i)
            EXPECT_NEAR(mm.MY[i], mm.phi[i] * mm.nomMY[i], 1e-9) << name;
    }
}

// The table browser's curve tables gain the nominal strength and phi under ACI 318-19 only
// (under the other codes the nominal tables stay empty).
TEST(DesignStrength, CurveTablesShowNominalAndPhiUnderAci318Only) {
    for (const CodeId code : {CodeId::Aci318, CodeId::HkCop2013}) {
        SectionModel m = aciRectangle(400, 600, code);
        m.settings.NPM = 4;
        m.settings.NMM = 4;
        NullMessages msgs;
        const bool design = code == CodeId::Aci318;
        for (int KI : {13, 16}) {
            DataTable grid;
            showTableEntry(m, KI, "0", "500", msgs, grid);
            ASSERT_EQ(grid.colCount(), design ? 6 : 3) << KI;
            for (int r = 1; design && r < grid.rowCount(); ++r) {
                // M = phi Mn, both as the table rounds them.
                const double phi = ToFloat(grid.text(r, 5)), Mn = ToFloat(grid.text(r, 4));
                EXPECT_NEAR(ToFloat(grid.text(r, 2)), phi * Mn, 0.0005 * std::fabs(Mn) + 0.002);
            }
        }
    }
}

// ACI 318-19 designs concrete columns: a steel section without concrete keeps its nominal
// strength (no phi, no cap; its squash load fy A), says so in every run, and its check, which
// asks for the design strength, is refused.
TEST(DesignStrength, ABareSteelSectionHasNoDesignStrengthUnderAci318) {
    test::ExampleSettings s;
    s.npm = 6;
    SectionModel m = test::codeExample("steel_i_section", test::aciChoice(), s);
    const DesignStrength d = designStrength(m);
    EXPECT_FALSE(d.applies);
    ASSERT_FALSE(d.refused.empty());
    MessageLog msgs;
    RUN_PM_CURVE_ANALYSIS(m, 0, msgs);
    EXPECT_TRUE(m.results.PM_NOM_P.empty());
    double squash = 0;  // A992: fy 345 on every steel fibre
    for (int j = 1; j <= m.mesh.NFIB; ++j)
        squash += 345.0 * m.mesh.FIB[static_cast<std::size_t>(j)].AREA;
    EXPECT_NEAR(*std::max_element(m.results.PM_P.begin() + 1, m.results.PM_P.end()), squash / 1000,
                1e-3 * squash / 1000);
    m.document.FORCE = {TFORCE{}, TFORCE{-100, 10, 10, "C1", 0}};
    m.document.NFORCE = 1;
    NoProgress progress;
    EXPECT_THROW(memberCheck(m, 0, 0, 0, msgs, progress), InputError);
}
