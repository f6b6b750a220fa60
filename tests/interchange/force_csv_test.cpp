#include "interchange/force_csv.h"

#include <gtest/gtest.h>

#include "model/errors.h"

using namespace qav;

TEST(ForceCsv, SampleImportsAndExportsAsKilonewtons) {
    const auto& sample = SAMPLE_FORCE_CSV();
    ASSERT_EQ(sample.size(), 43u);
    EXPECT_EQ(sample[0], "no.,Load,P,M2,M3");
    EXPECT_EQ(sample[1], "1,DCON1,-2487038.75,0,0");
    EXPECT_EQ(sample[42], "42,DCON14,-1374448.05,370997315.9,60194953.8");

    SectionModel m;
    m.CRITICAL_COMB = 5;
    IMPORT_FORCE_CSV(m, sample, ForceUnits::N_mm);
    ASSERT_EQ(m.NFORCE, 42);
    EXPECT_EQ(m.FORCE[2].COMB_NAME, "DCON1");
    EXPECT_DOUBLE_EQ(m.FORCE[2].P, -2435.50125);
    EXPECT_DOUBLE_EQ(m.FORCE[2].MX, -42.13646765);
    EXPECT_DOUBLE_EQ(m.FORCE[2].MY, 42.13646766);
    EXPECT_EQ(m.CRITICAL_COMB, 5) << "an import leaves the critical combination";

    const auto out = EXPORT_FORCE_CSV(m);
    ASSERT_EQ(out.size(), 43u);
    EXPECT_EQ(out[0], "No,LoadComb,P,Mx,My,Load_Fraction,");
    EXPECT_EQ(out[2], "2,DCON1,-2435.501,-42.136,42.136,0.000,");

    SectionModel back;
    IMPORT_FORCE_CSV(back, out, ForceUnits::kN_m);
    EXPECT_DOUBLE_EQ(back.FORCE[2].P, -2435.501);
}

TEST(ForceCsv, ShortLinesTakeMissingFieldsFromTheLineBefore) {
    SectionModel m;
    IMPORT_FORCE_CSV(m, {"h", "1,A,10,20,30", "2,B,40", "", "3,C,1,2,3,4,5,6"}, ForceUnits::kN_m);
    ASSERT_EQ(m.NFORCE, 4);
    struct Case {
        int i;
        const char* name;
        double P, MX, MY;
    };
    // An empty line repeats the combination before it.
    const Case cases[] = {{1, "A", 10, 20, 30}, {2, "B", 40, 20, 30}, {3, "B", 40, 20, 30}, {4, "C", 1, 2, 3}};
    for (const Case& c : cases) {
        const TFORCE& f = m.FORCE[static_cast<std::size_t>(c.i)];
        EXPECT_EQ(f.COMB_NAME, c.name) << "line " << c.i;
        EXPECT_EQ(f.P, c.P) << "line " << c.i;
        EXPECT_EQ(f.MX, c.MX) << "line " << c.i;
        EXPECT_EQ(f.MY, c.MY) << "line " << c.i;
    }
}

TEST(ForceCsv, RefusedFilesChangeNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        bool conversion;
    };
    const Case cases[] = {
        {"empty file", {}, false},
        {"not a number", {"h", "1,A,10,20,30", "2,B,x,20,30"}, true},
    };
    for (const Case& c : cases) {
        SectionModel m;
        IMPORT_FORCE_CSV(m, {"h", "1,OLD,1,2,3"}, ForceUnits::kN_m);
        if (c.conversion) {
            EXPECT_THROW(IMPORT_FORCE_CSV(m, c.lines, ForceUnits::kN_m), ConversionError) << c.name;
        } else {
            EXPECT_THROW(IMPORT_FORCE_CSV(m, c.lines, ForceUnits::kN_m), InputError) << c.name;
        }
        ASSERT_EQ(m.NFORCE, 1) << c.name;
        EXPECT_EQ(m.FORCE[1].COMB_NAME, "OLD") << c.name;
    }
}
