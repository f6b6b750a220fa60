// The design block of a section under a code with its own grade tables.
#include <gtest/gtest.h>

#include "../analysis/code_sections.h"
#include "analysis/interaction_curves.h"
#include "model/code_convert.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "reports/text_reports.h"

using namespace qav;

namespace {
SectionModel converted(CodeId code, GradeNames names = {}, Ties ties = Ties::Tied,
                       double alphaCC = 1.0) {
    SectionModel m;
    // A new section is C20, below every ACI 318-19 grade: the weakest is named.
    if (code == CodeId::Aci318 && names.concrete.empty()) names.concrete = "FC20";
    ADD_SINGLE_REBAR(m, 0, 0, 20);
    m.document.ALPHA_CC = alphaCC;
    m.document.TIES = ties;
    EXPECT_TRUE(convertSectionCode(m, code, names).ok);
    return m;
}

std::vector<std::string> saved(const SectionModel& m) {
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    return lines;
}
}  // namespace

// Read into a section under another code, each file puts it under its own, strengths and law
// fields re-derived; a file of the program's own tables has no block.
TEST(SectionFileDesign, RoundTripsUnderEachCode) {
    struct Row {
        SectionModel a;
        std::vector<std::string> block;
    };
    const Row rows[] = {
        {converted(CodeId::Ec2, {"C55/67", "C30/37_Cover", "B450C", "S355"}, Ties::Tied, 0.85),
         {"DESIGN START", "CODE,EC2", "ALPHA_CC,0.85", "TIES,TIED", "DESIGN END"}},
        {converted(CodeId::Aci318, {"FC40", "FC28_Cover", "GR420", "A36"}, Ties::Spiral),
         {"DESIGN START", "CODE,ACI318", "ALPHA_CC,1.00", "TIES,SPIRAL", "DESIGN END"}},
        {converted(CodeId::HkCop2013), {}},
    };
    for (const Row& r : rows) {
        const std::vector<std::string> lines = saved(r.a);
        const auto start = std::find(lines.begin(), lines.end(), "DESIGN START");
        EXPECT_EQ(std::vector<std::string>(start, std::min(start + 5, lines.end())), r.block);
        SectionModel b = converted(r.a.document.CODE == CodeId::Ec2 ? CodeId::Aci318 : CodeId::Ec2);
        LOAD_QAV_SEC_DATA(b, lines);
        const SectionDocument &x = r.a.document, &y = b.document;
        EXPECT_EQ(y.CODE, x.CODE);
        EXPECT_EQ(y.TIES, x.TIES);
        EXPECT_EQ(y.ALPHA_CC, x.ALPHA_CC);
        ASSERT_EQ(y.NCONCMAT, x.NCONCMAT);
        for (std::size_t i = 1; i < x.CONC_MAT.size(); ++i)
            for (double TMAT::*field : {&TMAT::FCU, &TMAT::N_EXP, &TMAT::BETA1})
                EXPECT_EQ(y.CONC_MAT[i].*field, x.CONC_MAT[i].*field) << x.CONC_MAT[i].NAME;
        EXPECT_EQ(saved(b), lines);
    }
}

TEST(SectionFileDesign, BadDesignBlocksAreRefused) {
    std::vector<std::string> lines = saved(converted(CodeId::Ec2));

    const auto at = std::find(lines.begin(), lines.end(), "CODE,EC2") - lines.begin();
    const std::pair<std::string, std::string> bad[] = {
        {"CODE,EC3", "the code is one of"}, {"ALPHA_CC,0.5", "from 0.8 to 1.0"},
        {"ALPHA_CC,x", "from 0.8 to 1.0"},  {"TIES,HOOPS", "TIED or SPIRAL"},
        {"GAMMA_C,1.5", "holds CODE"},      {"DESIGN ENDS", "holds CODE"}};
    for (const auto& [line, why] : bad) {
        std::vector<std::string> d = lines;
        // Each line stands in for the record of its own key (the DESIGN END line for the last).
        const int offset = line.rfind("ALPHA_CC", 0) == 0 ? 1
                           : line.rfind("TIES", 0) == 0   ? 2
                           : line == "DESIGN ENDS"        ? 3
                                                          : 0;
        d[static_cast<std::size_t>(at + offset)] = line;
        SectionModel fresh;
        try {
            LOAD_QAV_SEC_DATA(fresh, d);
            ADD_FAILURE() << line;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
        EXPECT_EQ(fresh.document.CODE, CodeId::HkCop2013);
        EXPECT_EQ(fresh.document.NBAR, 0);
    }
}

// A converted section written and read back analyses as the converted section itself: the grade
// values the code derives (fcd at alpha_cc 0.85, the parabola above C50/60, Ec, 1/gamma_s) come
// back to the last bit; an edited value stays as written.
TEST(SectionFileDesign, ConvertedSectionReadBackAnalysesAsConverted) {
    for (const test::CodeChoice& c : {test::CodeChoice{CodeId::Ec2, "C55/67", "B500B", "S355"},
                                      test::CodeChoice{CodeId::Aci318, "FC35", "GR550", "A992"}}) {
        SectionModel a = test::openedExample("rectangular_column"), b, edited;
        a.document.ALPHA_CC = 0.85;
        test::putUnderCode(a, c);
        std::vector<std::string> lines = saved(a), listings[2];
        LOAD_QAV_SEC_DATA(b, lines);
        b.settings.STRAIN_LIMIT = c.limit;
        for (int i = 0; i < 2; ++i) {
            SectionModel& m = i == 0 ? a : b;
            test::meshWith(m, {});
            NullMessages msgs;
            RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
            GEN_PM_CURVE_TEXT(m, listings[i]);
        }
        EXPECT_EQ(listings[1], listings[0]) << codeName(c.code);
        for (std::string& l : lines)
            if (l.find("," + c.concrete + ",") != std::string::npos)
                l = l.substr(0, l.rfind(',')) + ",0.00412";  // its ultimate strain
        LOAD_QAV_SEC_DATA(edited, lines);
        EXPECT_EQ(edited.document.CONC_MAT[std::size_t(a.document.USE_CONC + 1)].EPS_CU, 0.00412);
    }
}

// A section under BS-8110 names its code and reads back under it; the program's own grades
// come back to the last bit from their five decimals, an edited one as written.
TEST(SectionFileDesign, TheProgramsOwnCodesReadBackExactly) {
    SectionModel bs = converted(CodeId::Bs8110);
    bs.document.CONC_MAT[3].EPS_0 = 0.002;
    const std::vector<std::string> lines = saved(bs);
    const auto start = std::find(lines.begin(), lines.end(), "DESIGN START");
    EXPECT_EQ(std::vector<std::string>(start, std::min(start + 3, lines.end())),
              (std::vector<std::string>{"DESIGN START", "CODE,BS", "DESIGN END"}));
    SectionModel b;
    LOAD_QAV_SEC_DATA(b, lines);
    EXPECT_EQ(sectionCode(b), CodeId::Bs8110);
    const SectionModel own;
    for (std::size_t i = 1; i < own.document.CONC_MAT.size(); ++i) {
        if (i == 3) continue;
        for (double TMAT::*field : {&TMAT::EC, &TMAT::FC, &TMAT::EPS_0, &TMAT::EPS_CU})
            EXPECT_EQ(b.document.CONC_MAT[i].*field, own.document.CONC_MAT[i].*field)
                << own.document.CONC_MAT[i].NAME;
    }
    EXPECT_EQ(b.document.CONC_MAT[3].EPS_0, 0.002);
    EXPECT_EQ(saved(b), lines);
}
