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
    EXPECT_EQ(out[0], "No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,");
    EXPECT_EQ(out[2], "2,DCON1,-2435.501,-42.136,42.136,,") << "never checked: no fraction";

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

// The units a header names are read as named, or refused when they differ from those chosen;
// the same loads in four spellings of the units read as the same kN and kNm.
TEST(ForceCsv, AHeadersUnitsAreReadOrRefusedNamingBoth) {
    const std::pair<std::string, std::string> files[] = {
        {"no.,Load,P[kN],M2[kNm],M3[kNm]", "1,C1,-2000,150,0"},
        {"no.,Load,P (N),M2 (N.mm),M3 (N\xC2\xB7mm)", "1,C1,-2000000,150000000,0"},
        {"no.,Load,P[KN],M2[kN-m],M3[kN.m]", "1,C1,-2000,150,0"},
        {"no.,Load,P[kN],M2[N*mm],M3[N mm]", "1,C1,-2000,150000000,0"},  // neither system
    };
    for (const auto& [header, row] : files) {
        const bool kN = row == "1,C1,-2000,150,0",
                   mixed = header.find("P[kN],M2[N") != std::string::npos;
        SectionModel m;
        IMPORT_FORCE_CSV(m, {header, row}, std::nullopt);
        EXPECT_DOUBLE_EQ(m.document.FORCE[1].P, -2000) << header;
        EXPECT_DOUBLE_EQ(m.document.FORCE[1].MX, 150) << header;
        if (!mixed) {
            EXPECT_NO_THROW(
                IMPORT_FORCE_CSV(m, {header, row}, kN ? ForceUnits::kN_m : ForceUnits::N_mm));
        }
        try {
            IMPORT_FORCE_CSV(m, {header, row}, kN ? ForceUnits::N_mm : ForceUnits::kN_m, "f.csv");
            ADD_FAILURE() << header;
        } catch (const InputError& e) {
            const std::string advice = mixed ? "mend the header"
                                       : kN  ? "choose kN,m"
                                             : "choose N,mm";
            EXPECT_EQ(std::string(e.what()).rfind("f.csv, line 1: the header \"" + header +
                                                      "\" names its units, and they are not " +
                                                      (kN ? "N,mm" : "kN,m") +
                                                      ", the units chosen: " + advice,
                                                  0),
                      0u)
                << e.what();
        }
    }
    // Without units in the header the file is read in the units chosen, N and N mm by default.
    SectionModel m;
    IMPORT_FORCE_CSV(m, {"no.,Load,P,M2,M3", "1,A,-2000000,0,0"}, std::nullopt);
    EXPECT_DOUBLE_EQ(m.document.FORCE[1].P, -2000);
    for (const char* bad : {"no.,Load,P[kN],M2,M3", "no.,Load,P[kip],M2[kNm],M3[kNm]"})
        EXPECT_THROW(IMPORT_FORCE_CSV(m, {bad, "1,A,1,2,3"}, std::nullopt), InputError) << bad;
}

// The program's own export reads back as it was meant, whatever units are chosen: the same loads,
// or a refusal; a combination never checked has no fraction.
TEST(ForceCsv, TheExportReadsBackAsItsOwnUnits) {
    SectionModel m;
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    m.document.FORCE[3].LOAD_FRACTION = 1.007;
    const auto out = EXPORT_FORCE_CSV(m);
    EXPECT_EQ(out[3], "3,DCON1,-2383.964,-84.273,84.273,1.007,");
    EXPECT_EQ(out[4], "4,DCON2,-3911.960,0.000,0.000,,");
    SectionModel back;
    IMPORT_FORCE_CSV(back, out, std::nullopt);
    EXPECT_DOUBLE_EQ(back.document.FORCE[3].P, -2383.964);
    EXPECT_THROW(IMPORT_FORCE_CSV(back, out, ForceUnits::N_mm), InputError);
}

TEST(ForceCsv, AFileWithoutAHeaderOrOfAnotherEncodingIsNamed) {
    SectionModel m;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1,C3,-1200,5,0", "2,C1,-900,50,0"},
         "f.csv, line 1 is a load, not a header: \"1,C3,-1200,5,0\""},
        {{"", " 1 , C3 , -1.2e3 , 5 , 0 "}, "f.csv, line 2 is a load, not a header"},
        {splitLines(std::string("\xFF\xFEn\0o\0,\0P\0\r\0\n\0", 14)), "\"f.csv\" is UTF-16 text"},
        {splitLines(std::string("n\0o\0,\0P\0\r\0\n\0", 12)), "\"f.csv\" holds NUL bytes"},
        {{}, "\"f.csv\" is empty"},
    };
    for (const auto& [lines, message] : cases) {
        try {
            IMPORT_FORCE_CSV(m, lines, ForceUnits::kN_m, "f.csv");
            ADD_FAILURE() << message;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
        }
    }
}
