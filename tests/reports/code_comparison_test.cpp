#include "reports/code_comparison.h"

#include <gtest/gtest.h>

#include "analysis/example_sections.h"
#include "analysis/interaction_curves.h"
#include "mesh/section_sync.h"
#include "model/code_convert.h"
#include "model/errors.h"

using namespace qav;

// Each curve is the P-M curve of the section converted to its code and run with the code's
// limits, and the section compared is left as it was.
TEST(CodeComparison, EachCurveIsTheConvertedSectionsOwnRun) {
    const SectionModel m = qav::test::meshedExample("rectangular_column", {.npm = 6});
    const MeshStamp stamp = m.mesh.MESH_STAMP;
    MessageLog log;
    const CodeComparison cmp = compareCodes(m, 30, log);
    ASSERT_EQ(cmp.curves.size(), std::size(COMPARED_CODES));
    EXPECT_EQ(m.document.CODE, CodeId::HkCop2013);
    EXPECT_EQ(m.mesh.MESH_STAMP, stamp);
    EXPECT_TRUE(m.results.PM_P.empty());
    for (const CodeCurve& k : cmp.curves) {
        SectionModel own = m;
        ASSERT_TRUE(convertSectionCode(own, k.code).ok);
        SYNC_SECTION_STATE(own);
        own.settings.STRAIN_LIMIT = StrainLimit::Code;
        own.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(own);
        RUN_PM_CURVE_ANALYSIS(own, 30, log);
        EXPECT_EQ(k.P, own.results.PM_P) << codeName(k.code);
        EXPECT_EQ(k.M, own.results.PM_M) << codeName(k.code);
        EXPECT_EQ(k.grades.size(), 4u);
        EXPECT_TRUE(k.notCompared.empty());
    }
    // The legend names each curve's grades: concrete and bars of the column.
    EXPECT_EQ(cmp.curves[1].gradeNames, "C25/30, B500B");
    EXPECT_EQ(cmp.curves[2].gradeNames, "FC25, GR420");

    SectionModel bare;
    EXPECT_THROW(compareCodes(bare, 0, log), InputError);
}

// A C20 column has no ACI 318-19 grade at or below its strength: that code gets no curve and a
// message says why; the others are drawn.
TEST(CodeComparison, ACodeWithoutAGradeAtOrBelowIsNotCompared) {
    const SectionModel m = qav::test::meshedExample("circular_column", {.npm = 6});
    MessageLog log;
    const CodeComparison cmp = compareCodes(m, 0, log);
    ASSERT_EQ(cmp.curves.size(), 3u);
    EXPECT_TRUE(cmp.curves[2].P.empty());
    EXPECT_NE(cmp.curves[2].notCompared.find("the nearest is FC20"), std::string::npos);
    EXPECT_FALSE(cmp.curves[1].P.empty());
}
