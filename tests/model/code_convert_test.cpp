#include "model/code_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "model/code_grades.h"

using namespace qav;

namespace {
std::string gradeName(const std::vector<TMAT>& t, int32_t use) {
    return t[static_cast<std::size_t>(use + 1)].NAME;
}
struct Selected {
    std::string concrete, cover, rebar, steel;
    bool operator==(const Selected&) const = default;
};
Selected selectedOf(const SectionModel& m) {
    const SectionDocument& d = m.document;
    return {gradeName(d.CONC_MAT, d.USE_CONC), gradeName(d.COVER_MAT, d.USE_COVER),
            gradeName(d.STEEL_MAT, d.USE_REBAR), gradeName(d.STEEL_MAT, d.USE_STEEL)};
}
}  // namespace

TEST(CodeConvert, StrongestGradeNotAboveTheSections) {
    struct Row {
        CodeId code;
        int hkConcrete;  // USE_CONC of the program's own list (C20 + 5 per item)
        const char* concrete;
        const char* rebar;
        const char* steel;
    };
    // By hand, with the grade pairs of EN 1992-1-1 Table 3.1: cube C40 against EN 1992-1-1's
    // cubes 37 and 45; as a cylinder 31.875 against ACI's 30 and 35; C35 is cylinder 28.57
    // (FC28); C100 against the cubes 95 and 105. fy 500: B500B, GR420 (GR550 is stronger);
    // the steel shapes on STEEL1 (fy 500) take the strongest structural steel, S355 / A992.
    const Row rows[] = {{CodeId::Ec2, 4, "C30/37", "B500B", "S355"},
                        {CodeId::Ec2, 16, "C80/95", "B500B", "S355"},
                        {CodeId::Aci318, 4, "FC30", "GR420", "A992"},
                        {CodeId::Aci318, 3, "FC28", "GR420", "A992"}};
    for (const Row& r : rows) {
        SectionModel m;
        m.document.USE_CONC = r.hkConcrete;
        m.document.USE_COVER = r.hkConcrete;
        const CodeConversion c = convertSectionCode(m, r.code);
        ASSERT_TRUE(c.ok) << c.error;
        EXPECT_EQ(selectedOf(m),
                  (Selected{r.concrete, std::string(r.concrete) + "_Cover", r.rebar, r.steel}));
        EXPECT_EQ(c.messages.size(), 4u);
        EXPECT_EQ(m.document.CODE, r.code);
        EXPECT_EQ(sectionCode(m), r.code);
    }
}

// Every grade of every code put under every other code takes a grade no stronger than its
// own, compared in the measure both hold, or is refused naming the nearest grade above.
TEST(CodeConvert, AConversionNeverMakesASectionStronger) {
    const CodeId codes[] = {CodeId::HkCop2013, CodeId::Ec2, CodeId::Aci318};
    for (const CodeId from : codes)
        for (const CodeId to : codes) {
            SectionModel base;
            if (from != CodeId::HkCop2013) {
                ASSERT_TRUE(convertSectionCode(base, from, {"C30/37", "", "B500B", ""}).ok ||
                            convertSectionCode(base, from, {"FC40", "", "GR550", ""}).ok);
            }
            for (int32_t i = 0; i < base.document.NCONCMAT; ++i) {
                SectionModel m = base;
                m.document.USE_CONC = m.document.USE_COVER = i;
                const TMAT source = m.document.CONC_MAT[static_cast<std::size_t>(i + 1)];
                const CodeConversion c = convertSectionCode(m, to);
                const StrengthMeasure measure = concreteMeasure(from, to);
                const double was = concreteStrength(from, source, measure);
                if (!c.ok) {
                    EXPECT_NE(c.error.find("the nearest is"), std::string::npos) << c.error;
                    continue;
                }
                const TMAT& now =
                    m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC + 1)];
                EXPECT_LE(concreteStrength(to, now, measure), was * (1 + 1e-9))
                    << source.NAME << " -> " << now.NAME;
                EXPECT_EQ(m.document.USE_COVER, m.document.USE_CONC) << "the cover follows";
            }
        }
}

TEST(CodeConvert, WeakGradesAreRefusedNamingTheNearest) {
    SectionModel hk;  // C20: cube 20, cylinder 16
    CodeConversion c = convertSectionCode(hk, CodeId::Aci318);
    ASSERT_FALSE(c.ok);
    EXPECT_NE(c.error.find("C20 (cylinder 16 N/mm2) has no grade of ACI 318-19 at or below its "
                           "strength, and a conversion does not make a section stronger: the "
                           "nearest is FC20"),
              std::string::npos)
        << c.error;

    // HK -> EC2 -> ACI -> HK: C30 becomes C25/30, FC25 and C30 again.
    SectionModel m;
    m.document.USE_CONC = m.document.USE_COVER = 2;
    // (GR420 has no bar grade of HK-COP-2013 at or below it: the bars are named.)
    for (const auto& [code, name, rebar] : {std::tuple{CodeId::Ec2, "C25/30", ""},
                                            {CodeId::Aci318, "FC25", ""},
                                            {CodeId::HkCop2013, "C30", "STEEL1"}}) {
        const CodeConversion c = convertSectionCode(m, code, {"", "", rebar, ""});
        ASSERT_TRUE(c.ok) << c.error;
        EXPECT_EQ(selectedOf(m).concrete, name);
    }
    // Naming the concrete takes the cover along unless it is named too.
    ASSERT_TRUE(convertSectionCode(m, CodeId::HkCop2013, {"C25", "", "", ""}).ok);
    EXPECT_EQ(selectedOf(m).cover, "C25_Cover");
}

TEST(CodeConvert, RoundTripsKeepNamesAndRefusalsKeepTheModel) {
    SectionModel m;
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2, {"C35/45", "C30/37_Cover", "B450C", "S275"}).ok);
    const Selected ec2 = selectedOf(m);
    // B450C: every bar grade of BS-8110 is stronger (fy 500), so it is named.
    EXPECT_FALSE(convertSectionCode(m, CodeId::Bs8110).ok);
    ASSERT_TRUE(convertSectionCode(m, CodeId::Bs8110, {"", "", "STEEL1", ""}).ok);
    EXPECT_EQ(m.document.NCONCMAT, CONC_GRADE_ITEMS);
    EXPECT_EQ(m.settings.DESIGN_CODE, 1);
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2).ok);
    EXPECT_EQ(selectedOf(m).concrete, ec2.concrete);  // cube 45 both ways
    // The cover of cube 37 came back through C35: never stronger, it is C25/30 now.
    EXPECT_EQ(selectedOf(m).cover, "C25/30_Cover");
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2, {"", "C30/37_Cover", "B450C", "S275"}).ok);
    EXPECT_EQ(selectedOf(m), ec2);

    // Names the new tables do not hold, or of the wrong kind: refused, nothing changed.
    const GradeNames bad[] = {
        {"C41", "", "", ""}, {"", "C40", "", ""}, {"", "", "S355", ""}, {"", "", "", "B500B"}};
    for (const GradeNames& n : bad) {
        const CodeConversion c = convertSectionCode(m, CodeId::Aci318, n);
        EXPECT_FALSE(c.ok);
        EXPECT_NE(c.error.find("is not a grade of ACI 318-19"), std::string::npos) << c.error;
        EXPECT_EQ(m.document.CODE, CodeId::Ec2);
        EXPECT_EQ(selectedOf(m), ec2);
    }
}

TEST(CodeConvert, LawFieldsFollowTheCode) {
    SectionModel m;
    ASSERT_TRUE(convertSectionCode(m, CodeId::Aci318, {"FC20", "", "", ""}).ok);
    for (std::size_t i = 1; i < m.document.CONC_MAT.size(); ++i)
        EXPECT_EQ(m.document.CONC_MAT[i].BETA1, aciBeta1(m.document.CONC_MAT[i].FCU));
    m.document.ALPHA_CC = 0.85;
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2, {"", "", "B500B", ""}).ok);
    const TMAT& c90 = m.document.CONC_MAT[14];
    EXPECT_NEAR(c90.N_EXP, 1.4, 1e-12);
    EXPECT_EQ(c90.BETA1, 0.0);
    EXPECT_NEAR(c90.FC, 0.85 * 90 / 1.5, 1e-12);
}

// A table of an earlier file (five steel grades) gains the structural steels when a steel
// shape's grade is chosen.
TEST(CodeConvert, AnEarlierTableGainsTheStructuralSteels) {
    SectionModel m;
    m.document.STEEL_MAT.resize(6);
    m.document.NSTEELMAT = 5;
    ASSERT_TRUE(convertSectionCode(m, CodeId::HkCop2013, {"", "", "", "S355"}).ok);
    EXPECT_EQ(m.document.NSTEELMAT, 7);
    EXPECT_EQ(selectedOf(m).steel, "S355");
    EXPECT_EQ(selectedOf(m).rebar, "STEEL1");
}
