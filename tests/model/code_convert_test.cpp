#include "model/code_convert.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(CodeConvert, NearestGradeByStrength) {
    struct Row {
        CodeId code;
        int hkConcrete;  // USE_CONC of the program's own list (C20 + 5 per item)
        const char* concrete;
        const char* rebar;
        const char* steel;
    };
    // Cube C40 is cylinder 31.9, C35 is 28.6 (the grade pairs of EN 1992-1-1 Table 3.1).
    const Row rows[] = {{CodeId::Ec2, 4, "C30/37", "B500B", "S355"},
                        {CodeId::Ec2, 16, "C80/95", "B500B", "S355"},
                        {CodeId::Aci318, 4, "FC30", "GR550", "A992"},
                        {CodeId::Aci318, 3, "FC28", "GR550", "A992"},
                        {CodeId::Aci318, 0, "FC20", "GR550", "A992"}};
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

TEST(CodeConvert, RoundTripsKeepNamesAndRefusalsKeepTheModel) {
    SectionModel m;
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2, {"C35/45", "C30/37_Cover", "B450C", "S275"}).ok);
    const Selected ec2 = selectedOf(m);
    ASSERT_TRUE(convertSectionCode(m, CodeId::Bs8110).ok);
    EXPECT_EQ(m.document.NCONCMAT, CONC_GRADE_ITEMS);
    EXPECT_EQ(m.settings.DESIGN_CODE, 1);
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2).ok);
    EXPECT_EQ(selectedOf(m).concrete, ec2.concrete);
    EXPECT_EQ(selectedOf(m).cover, ec2.cover);
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2, {"", "", "B450C", "S275"}).ok);
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
    ASSERT_TRUE(convertSectionCode(m, CodeId::Aci318).ok);
    for (std::size_t i = 1; i < m.document.CONC_MAT.size(); ++i)
        EXPECT_EQ(m.document.CONC_MAT[i].BETA1, aciBeta1(m.document.CONC_MAT[i].FCU));
    m.document.ALPHA_CC = 0.85;
    ASSERT_TRUE(convertSectionCode(m, CodeId::Ec2).ok);
    const TMAT& c90 = m.document.CONC_MAT[14];
    EXPECT_NEAR(c90.N_EXP, 1.4, 1e-12);
    EXPECT_EQ(c90.BETA1, 0.0);
    EXPECT_NEAR(c90.FC, 0.85 * 90 / 1.5, 1e-12);
}
