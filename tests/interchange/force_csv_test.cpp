#include "interchange/force_csv.h"

#include <gtest/gtest.h>

#include "model/errors.h"
#include "model/text_file.h"

using namespace qav;

TEST(ForceCsv, SampleImportsAndExportsAsKilonewtons) {
    const auto& sample = SAMPLE_FORCE_CSV();
    ASSERT_EQ(sample.size(), 43u);
    EXPECT_EQ(sample[0], "no.,Load,P,M2,M3");
    EXPECT_EQ(sample[1], "1,DCON1,-2487038.75,0,0");
    EXPECT_EQ(sample[42], "42,DCON14,-1374448.05,370997315.9,60194953.8");

    SectionModel m;
    m.results.CRITICAL_COMB = 5;
    IMPORT_FORCE_CSV(m, sample, ForceUnits::N_mm);
    ASSERT_EQ(m.document.NFORCE, 42);
    EXPECT_EQ(m.document.FORCE[2].COMB_NAME, "DCON1");
    EXPECT_DOUBLE_EQ(m.document.FORCE[2].P, -2435.50125);
    EXPECT_DOUBLE_EQ(m.document.FORCE[2].MX, -42.13646765);
    EXPECT_DOUBLE_EQ(m.document.FORCE[2].MY, 42.13646766);
    EXPECT_EQ(m.results.CRITICAL_COMB, 5) << "an import leaves the critical combination";

    const auto out = EXPORT_FORCE_CSV(m);
    ASSERT_EQ(out.size(), 43u);
    EXPECT_EQ(out[0], "No,LoadComb,P,My,Mx,Load_Fraction,");
    EXPECT_EQ(out[2], "2,DCON1,-2435.501,-42.136,42.136,0.000,");

    SectionModel back;
    IMPORT_FORCE_CSV(back, out, ForceUnits::kN_m);
    EXPECT_DOUBLE_EQ(back.document.FORCE[2].P, -2435.501);
}

TEST(ForceCsv, BlankLinesMakeNoCombinationWhereverTheyStand) {
    // Each reads as the two combinations of the file without its blank lines.
    SectionModel clean;
    IMPORT_FORCE_CSV(clean, {"no.,Load,P,M2,M3", "1,A,10,20,30", "2,B,40,50,60,more"},
                     ForceUnits::kN_m);
    ASSERT_EQ(clean.document.NFORCE, 2);
    for (const char* text :
         {"no.,Load,P,M2,M3\n1,A,10,20,30\n2,B,40,50,60,more\n\n",
          "no.,Load,P,M2,M3\r\n1,A,10,20,30\r\n2,B,40,50,60,more\r\n\r\n\r\n",
          "no.,Load,P,M2,M3\n1,A,10,20,30\n \t \n\n2,B,40,50,60,more\n  ",
          "\r\n\r\nno.,Load,P,M2,M3\r\n1,A,10,20,30\r\n\t\r\n2,B,40,50,60,more"}) {
        SectionModel m;
        IMPORT_FORCE_CSV(m, splitLines(text), ForceUnits::kN_m);
        EXPECT_EQ(EXPORT_FORCE_CSV(m), EXPORT_FORCE_CSV(clean)) << text;
    }
}

TEST(ForceCsv, RefusedFilesNameTheLineAndColumnAndChangeNothing) {
    const std::string h = "no.,Load,P,M2,M3";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "The force file is empty"},
        {{"", " \t"}, "The force file is empty"},
        {{h, "1,A,10,20,30", "2,B,x,20,30"},
         "Line 3, column P: 'x' is not a valid floating point value"},
        {{h, "", "1,A,10,y,30"}, "Line 3, column M2: 'y' is not a valid floating point value"},
        {{"h", "1,A,10,20,z"}, "Line 2, column 5: 'z' is not a valid floating point value"},
        {{h, "1,A,10,20,30", "", "2,B,40"}, "Line 4 has 3 fields, 5 are needed."},
        {{h, "junk"}, "Line 2 has 1 field, 5 are needed."},
    };
    for (const auto& [lines, message] : cases) {
        SectionModel m;
        IMPORT_FORCE_CSV(m, {"h", "1,OLD,1,2,3"}, ForceUnits::kN_m);
        try {
            IMPORT_FORCE_CSV(m, lines, ForceUnits::kN_m);
            ADD_FAILURE() << message;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
        }
        ASSERT_EQ(m.document.NFORCE, 1) << message;
        EXPECT_EQ(m.document.FORCE[1].COMB_NAME, "OLD") << message;
    }
}
