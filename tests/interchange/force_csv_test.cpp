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

TEST(ForceCsv, BlankLinesMakeNoCombinationWhereverTheyStand) {
    // Each file reads as the same two combinations as the file without its blank lines.
    const std::string clean = "no.,Load,P,M2,M3\n1,A,10,20,30\n2,B,40,50,60,extra,fields\n";
    SectionModel expected;
    IMPORT_FORCE_CSV(expected, splitLines(clean), ForceUnits::kN_m);
    ASSERT_EQ(expected.NFORCE, 2);
    const char* const files[] = {
        "no.,Load,P,M2,M3\n1,A,10,20,30\n2,B,40,50,60,extra,fields\n\n",
        "no.,Load,P,M2,M3\r\n1,A,10,20,30\r\n2,B,40,50,60,extra,fields\r\n\r\n\r\n",
        "no.,Load,P,M2,M3\n1,A,10,20,30\n\n2,B,40,50,60,extra,fields\n",
        "no.,Load,P,M2,M3\n1,A,10,20,30\n \t \n2,B,40,50,60,extra,fields\n  \n",
        "\r\n\r\nno.,Load,P,M2,M3\r\n1,A,10,20,30\r\n\t\r\n2,B,40,50,60,extra,fields",
    };
    for (const char* text : files) {
        SectionModel m;
        IMPORT_FORCE_CSV(m, splitLines(text), ForceUnits::kN_m);
        EXPECT_EQ(EXPORT_FORCE_CSV(m), EXPORT_FORCE_CSV(expected)) << text;
    }
}

TEST(ForceCsv, RefusedFilesNameTheLineAndColumnAndChangeNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string file;
        bool conversion;
        std::string message;  // its start
    };
    const std::string header = "no.,Load,P,M2,M3";
    const Case cases[] = {
        {"empty file", {}, "", false, "The force file is empty"},
        {"blank lines only", {"", " \t"}, "", false, "The force file is empty"},
        {"not a number", {header, "1,A,10,20,30", "2,B,x,20,30"}, "", true,
         "Line 3, column P: 'x' is not a valid floating point value"},
        {"counted with the blank lines", {header, "", "1,A,10,y,30"}, "", true,
         "Line 3, column M2: 'y' is not a valid floating point value"},
        {"header without the name", {"h", "1,A,10,20,z"}, "", true,
         "Line 2, column 5: 'z' is not a valid floating point value"},
        {"short row", {header, "1,A,10,20,30", "", "2,B,40"}, "", false,
         "Line 4 has 3 fields, 5 are needed."},
        {"one field", {header, "junk"}, "", false, "Line 2 has 1 field, 5 are needed."},
        {"file named", {header, "1,A,10,20,3O"}, "loads.csv", true,
         "loads.csv, line 2, column M3: '3O' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        SectionModel m;
        IMPORT_FORCE_CSV(m, {"h", "1,OLD,1,2,3"}, ForceUnits::kN_m);
        try {
            IMPORT_FORCE_CSV(m, c.lines, ForceUnits::kN_m, c.file);
            ADD_FAILURE() << c.name << ": read";
        } catch (const ConversionError& e) {
            EXPECT_TRUE(c.conversion) << c.name;
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << c.name << ": " << e.what();
        } catch (const InputError& e) {
            EXPECT_FALSE(c.conversion) << c.name;
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << c.name << ": " << e.what();
        }
        ASSERT_EQ(m.NFORCE, 1) << c.name;
        EXPECT_EQ(m.FORCE[1].COMB_NAME, "OLD") << c.name;
    }
}
