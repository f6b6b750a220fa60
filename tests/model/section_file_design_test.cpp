// The design block of a section under a code with its own grade tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/code_convert.h"
#include "model/code_grades.h"
#include "model/errors.h"
#include "model/section_file.h"

using namespace qav;

namespace {
SectionModel converted(CodeId code, const GradeNames& names, Ties ties, double alphaCC) {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-200, -300}, {200, -300}, {200, 300}, {-200, 300}, {-200, -300}};
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

TEST(SectionFileDesign, RoundTripsUnderEachCode) {
    struct Row {
        CodeId code;
        GradeNames names;
        Ties ties;
        double alphaCC;
        std::vector<std::string> block;  // empty: no design block
    };
    const Row rows[] = {
        {CodeId::Ec2,
         {"C55/67", "C30/37_Cover", "B450C", "S355"},
         Ties::Tied,
         0.85,
         {"DESIGN START", "CODE,EC2", "ALPHA_CC,0.85", "TIES,TIED", "DESIGN END"}},
        {CodeId::Aci318,
         {"FC40", "FC28_Cover", "GR420", "A36"},
         Ties::Spiral,
         1.0,
         {"DESIGN START", "CODE,ACI318", "ALPHA_CC,1.00", "TIES,SPIRAL", "DESIGN END"}},
        {CodeId::HkCop2013, {}, Ties::Tied, 1.0, {}},
    };
    for (const Row& r : rows) {
        const SectionModel a = converted(r.code, r.names, r.ties, r.alphaCC);
        const std::vector<std::string> lines = saved(a);
        const auto start = std::find(lines.begin(), lines.end(), "DESIGN START");
        EXPECT_EQ(std::vector<std::string>(start, std::min(start + 5, lines.end())), r.block);

        SectionModel b;
        LOAD_QAV_SEC_DATA(b, lines);
        EXPECT_EQ(b.document.CODE, r.code);
        EXPECT_EQ(b.document.TIES, r.ties);
        EXPECT_EQ(b.document.ALPHA_CC, r.alphaCC);
        EXPECT_EQ(b.document.NCONCMAT, a.document.NCONCMAT);
        for (int i = 1; i <= a.document.NCONCMAT; ++i) {
            const TMAT &x = a.document.CONC_MAT[static_cast<std::size_t>(i)],
                       &y = b.document.CONC_MAT[static_cast<std::size_t>(i)];
            EXPECT_EQ(y.NAME, x.NAME);
            EXPECT_EQ(y.FCU, x.FCU) << x.NAME;
            EXPECT_EQ(y.N_EXP, x.N_EXP) << x.NAME;
            EXPECT_EQ(y.BETA1, x.BETA1) << x.NAME;
        }
        EXPECT_EQ(saved(b), lines);
    }
}

TEST(SectionFileDesign, AFileOfTheProgramsOwnTablesPutsTheDocumentBackOnThem) {
    const SectionModel hk = converted(CodeId::HkCop2013, {}, Ties::Tied, 1.0);
    SectionModel m = converted(CodeId::Aci318, {}, Ties::Spiral, 1.0);
    LOAD_QAV_SEC_DATA(m, saved(hk));
    EXPECT_EQ(m.document.CODE, CodeId::HkCop2013);
    EXPECT_EQ(m.document.TIES, Ties::Tied);
    EXPECT_EQ(m.document.CONC_MAT[4].FCU, 35);
    EXPECT_EQ(m.document.CONC_MAT[4].BETA1, 0);
    EXPECT_EQ(saved(m), saved(hk));
}

TEST(SectionFileDesign, BlocksTheReaderDoesNotKnowAreSkipped) {
    std::vector<std::string> lines = saved(converted(CodeId::Aci318, {}, Ties::Tied, 1.0));
    const std::vector<std::string> other = {"NOTES START", "CODE,EC3", "BAR,1,5,5,5", "NOTES END"};
    lines.insert(lines.end(), other.begin(), other.end());
    SectionModel m;
    LOAD_QAV_SEC_DATA(m, lines);
    EXPECT_EQ(m.document.CODE, CodeId::Aci318);
    EXPECT_EQ(m.document.NBAR, 1);
}

TEST(SectionFileDesign, BadDesignBlocksAreRefusedBeforeAnythingChanges) {
    const std::vector<std::string> lines = saved(converted(CodeId::Ec2, {}, Ties::Tied, 1.0));
    const auto at = std::find(lines.begin(), lines.end(), "CODE,EC2") - lines.begin();
    const std::pair<std::string, std::string> bad[] = {
        {"CODE,EC3", "the code is one of"}, {"ALPHA_CC,0.5", "from 0.8 to 1.0"},
        {"ALPHA_CC,x", "from 0.8 to 1.0"},  {"TIES,HOOPS", "TIED or SPIRAL"},
        {"GAMMA_C,1.5", "holds CODE"},      {"DESIGN ENDS", "has no"}};
    for (const auto& [line, why] : bad) {
        std::vector<std::string> d = lines;
        d[static_cast<std::size_t>(at)] = line;
        if (line == "DESIGN ENDS") d[static_cast<std::size_t>(at + 3)] = line;
        SectionModel m;
        try {
            LOAD_QAV_SEC_DATA(m, d);
            ADD_FAILURE() << line;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
        EXPECT_EQ(m.document.CODE, CodeId::HkCop2013);
        EXPECT_EQ(m.document.NBAR, 0);
    }
}
