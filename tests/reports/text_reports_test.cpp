#include "reports/text_reports.h"

#include <gtest/gtest.h>

using namespace qav;

namespace {

SectionModel curves() {
    SectionModel m;
    m.settings.NPM = 1;
    m.results.PM_P = {0, 1234.5678, -2, 3, 1234.5678};
    m.results.PM_M = {0, -12.3, 5, -5, -12.3};
    m.settings.NMM = 2;
    m.results.MM_MX = {0, 10.5, -0.0004};
    m.results.MM_MY = {100, -1.25, 7};
    return m;
}

}  // namespace

TEST(TextReports, CurveListings) {
    const SectionModel m = curves();
    std::vector<std::string> pm, mm;
    GEN_PM_CURVE_TEXT(m, pm);
    GEN_MM_CURVE_TEXT(m, mm);
    const std::vector<std::string> pmExpected{
        "Axial_Force,   Moment_M,", "   1234.568,    -12.300,", "     -2.000,      5.000,",
        "      3.000,     -5.000,", "   1234.568,    -12.300,"};
    const std::vector<std::string> mmExpected{
        "  Moment_Myy  Moment_Mxx", "       0.000     100.000", "      10.500      -1.250",
        "       0.000       7.000"};
    EXPECT_EQ(pm, pmExpected);
    EXPECT_EQ(mm, mmExpected);
}

TEST(TextReports, ResultTables) {
    const SectionModel m = curves();
    std::vector<std::string> pm, mm;
    GEN_PM_analysis_result(m, pm, 45);
    GEN_MM_analysis_result(m, mm, -1000);
    const std::string d62(62, '-'), d29(29, '-');
    const std::vector<std::string> pmExpected{
        "P-M Curve:",
        "P-M Angle = 45.0",
        d62,
        "  Num     Axial_P    Moment_M      Num     Axial_P    Moment_M",
        d62,
        "    1    1234.568     -12.300        3       3.000      -5.000",
        "    2      -2.000       5.000        4    1234.568     -12.300",
        d62};
    const std::vector<std::string> mmExpected{"Mx-My Curve:",
                                              "Axial Force = -1000.0",
                                              d29,
                                              "  Num   Moment_My   Moment_Mx",
                                              d29,
                                              "    0       0.000     100.000",
                                              "    1      10.500      -1.250",
                                              "    2       0.000       7.000",
                                              d29};
    EXPECT_EQ(pm, pmExpected);
    EXPECT_EQ(mm, mmExpected);
}

TEST(TextReports, NoStepsGiveTwoPointsAndListingsNeverReadPastTheCurve) {
    SectionModel m;
    m.settings.NPM = 0;
    m.results.PM_P = {0, 1, 2};
    m.results.PM_M = {0, 3, 4};
    std::vector<std::string> text, table;
    GEN_PM_CURVE_TEXT(m, text);
    GEN_PM_analysis_result(m, table, 0);
    EXPECT_EQ(text.size(), 3u);
    ASSERT_EQ(table.size(), 7u);
    EXPECT_EQ(table[5], "    1       1.000       3.000        2       2.000       4.000");
    m.settings.NPM = 30;  // changed after the run
    GEN_PM_CURVE_TEXT(m, text);
    EXPECT_EQ(text.size(), 3u);
}

TEST(TextReports, SectionDataBlock) {
    SectionModel m;
    m.document.USE_CONC = 8;  // C60
    m.document.USE_COVER = 0;
    m.document.NCONC_PT = 4;
    m.document.NBAR = 12;
    m.mesh.SEC_AREA = 800000;
    m.mesh.REBAR_AREA = 5887.5;
    m.mesh.REBAR_RATIO = 0.7359375;
    std::vector<std::string> d;
    GEN_SECTION_DATA_TEXT(m, d);
    const std::string d30(30, '-');
    const std::vector<std::string> expected{"Material Properties",
                                            d30,
                                            "Concrete            C60",
                                            "Elastic Modulus     25093",
                                            "Yield Stress fc     26.800",
                                            "Strain eps_0        0.00214",
                                            "Strain eps_cu       0.00350",
                                            "",
                                            "Rebar material      STEEL1",
                                            "Elastic Modulus     200000.00",
                                            "Yield Stress fy     500",
                                            "Design Stress fyd   435",
                                            "",
                                            "Steel material      STEEL1",
                                            "Elastic Modulus     200000.00",
                                            "Yield Stress fy     500",
                                            "Design Stress fyd   435",
                                            "",
                                            "Concrete Cover      C20_Cover",
                                            "Elastic Modulus     15844",
                                            "Yield Stress fc     8.933",
                                            "Strain eps_0        0.00113",
                                            "Strain eps_cu       0.00350",
                                            "",
                                            "Section Properties",
                                            d30,
                                            "Conc Sec Points     4",
                                            "Cover Line Points   0",
                                            "Num of Steel Sec    0",
                                            "Number of Rebars    12",
                                            "Section Area(mm2)   800000",
                                            "Rebar Area(mm2)     5888",
                                            "Steel Area(mm2)     0",
                                            "Rebar Ratio(%)      0.736",
                                            "Steel Ratio(%)      0.000",
                                            ""};
    EXPECT_EQ(d, expected);
    // An edited modulus does not change the steel law, so the block keeps the law's.
    m.document.STEEL_MAT[1].ES = 100000;
    GEN_SECTION_DATA_TEXT(m, d);
    EXPECT_EQ(d, expected);

    m.document.NFORCE = 2;
    m.document.FORCE.resize(3);
    m.document.FORCE[2] = {-2435.50125, -42.13646765, 42.13646766, "DCON1", 1.23456};
    m.results.CRITICAL_COMB = 2;
    GEN_SECTION_DATA_TEXT(m, d);
    ASSERT_EQ(d.size(), expected.size() + 8);
    const std::vector<std::string> tail(d.end() - 8, d.end());
    const std::vector<std::string> tailExpected{
        "Loading Checking",           d30,
        "Critical LoadComb   2",      "Axial Force P       -2436",
        "Moment Mxx          42.136", "Moment Myy          -42.136",
        "Load Fraction       1.234",  ""};
    EXPECT_EQ(tail, tailExpected);
}

TEST(TextReports, SectionSummary) {
    SectionModel m;
    m.document.CONC_PT = {{-400, -500}, {400, -500}, {400, 500}, {-400, 500}, {-400, -500}};
    m.document.NCONC_PT = 4;
    m.document.BAR = {TBAR{}, TBAR{1, 2, 25}, TBAR{3, 4, 25}, TBAR{-250, 175.5, 25}};
    m.document.NBAR = 3;
    m.document.OPEN_SEC.resize(3);
    m.document.NOPEN_SEC = 2;
    for (int k = 1; k <= 2; ++k) {
        m.document.OPEN_SEC[static_cast<std::size_t>(k)].PT = {{0, 0}, {10.0 * k, 0}, {0, 10}};
        m.document.OPEN_SEC[static_cast<std::size_t>(k)].NPOINT = 3;
    }
    m.document.STEEL_MAT[1].NAME = "VERYLONGNAME";
    m.document.MESH_SIZE_TEXT = "50";
    std::vector<std::string> d;
    GEN_SECTION_SUMMARY(m, d);
    const std::string h(36, '-');
    const std::vector<std::string> expected{h,
                                            "(1). Material Properties",
                                            h,
                                            "  Concrete          C20",
                                            "  Rebar        VERYLONGNAME",
                                            "  Steel        VERYLONGNAME",
                                            "  MeshSize           50",
                                            h,
                                            h,
                                            "(2). Concrete Section               ",
                                            h,
                                            "   NO           X           Y",
                                            "    0    -400.000    -500.000",
                                            "    1     400.000    -500.000",
                                            "    2     400.000     500.000",
                                            "    3    -400.000     500.000",
                                            h,
                                            h,
                                            "(3). Concrete Cover Line            ",
                                            h,
                                            "   NO           X           Y",
                                            h,
                                            h,
                                            "(4). Rebar Information              ",
                                            h,
                                            "   NO           X           Y     dB",
                                            "    1       1.000       2.000   25.0",
                                            "    2       3.000       4.000   25.0",
                                            "    3    -250.000     175.500   25.0",
                                            h,
                                            h,
                                            "(6). Section Opening                ",
                                            h,
                                            "   NO           X           Y",
                                            "    0       0.000       0.000",
                                            "    1      10.000       0.000",
                                            "    2       0.000      10.000",
                                            h,
                                            h,
                                            "(6). Section Opening                ",
                                            h,
                                            "   NO           X           Y",
                                            "    0       0.000       0.000",
                                            "    1      20.000       0.000",
                                            "    2       0.000      10.000",
                                            h};
    EXPECT_EQ(d, expected);
}
