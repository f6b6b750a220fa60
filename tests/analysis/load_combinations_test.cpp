#include "analysis/load_combinations.h"

#include <gtest/gtest.h>

#include "hand_section.h"
#include "model/errors.h"

using namespace qav;

namespace {

class RecordProgress : public Progress {
public:
    void setPosition(int p) override { positions.push_back(p); }
    std::vector<int> positions;
};

}  // namespace

TEST(LoadCombinations, SampleImportsAndExportsAsKilonewtons) {
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

TEST(LoadCombinations, ShortLinesTakeMissingFieldsFromTheLineBefore) {
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

TEST(LoadCombinations, RefusedFilesChangeNothing) {
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

TEST(LoadCombinations, CriticalIsTheLastSmallest) {
    struct Case {
        const char* name;
        std::vector<double> fractions;
        int expected;
    };
    const Case cases[] = {
        {"single", {2.0}, 1},
        {"smallest in the middle", {3, 1.5, 2}, 2},
        {"tie: the later wins", {1.2, 0.8, 3, 0.8, 1}, 4},
        {"all above one", {4, 5, 6}, 1},
        {"first smallest", {0.5, 0.9, 0.7}, 1},
    };
    for (const Case& c : cases) {
        SectionModel m;
        m.NFORCE = static_cast<int>(c.fractions.size());
        m.FORCE.resize(c.fractions.size() + 1);
        for (std::size_t i = 0; i < c.fractions.size(); ++i) m.FORCE[i + 1].LOAD_FRACTION = c.fractions[i];
        EXPECT_EQ(CRITICAL_COMBINATION(m), c.expected) << c.name;
    }
}

TEST(LoadCombinations, CheckMemberFindsEveryFractionAndTheCritical) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    m.STRAIN_LIMIT_MODE = 2;
    IMPORT_FORCE_CSV(m, {"h", "1,A,-2000,100,50", "2,B,-4000,200,100", "3,C,-1000,0,0", "4,D,-2000,100,50"},
                     ForceUnits::kN_m);
    RecordProgress progress;
    NullMessages msgs;
    const CheckResult r = CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
    EXPECT_EQ(m.STRAIN_LIMIT_MODE, 1) << "set from the section";
    EXPECT_EQ(r.stats.solves, 4);
    EXPECT_EQ(r.stats.notConverged, 0);
    EXPECT_NEAR(m.FORCE[2].LOAD_FRACTION, m.FORCE[1].LOAD_FRACTION / 2, 1e-9);
    EXPECT_GT(m.FORCE[3].LOAD_FRACTION, 1) << "compression is negated for the solver";
    EXPECT_EQ(r.critical, 2);
    EXPECT_EQ(m.CRITICAL_COMB, 2);
    EXPECT_EQ(progress.positions, (std::vector<int>{25, 50, 75, 100, 0}));
}

TEST(LoadCombinations, CheckMemberWithoutCombinationsChangesNothing) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    m.CRITICAL_COMB = 3;
    NullMessages msgs;
    NullProgress progress;
    EXPECT_THROW(CHECK_MEMBER(m, 1000, 1000, 1000, msgs, progress), InputError);
    EXPECT_EQ(m.CRITICAL_COMB, 3);
}
