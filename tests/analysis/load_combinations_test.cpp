#include "analysis/load_combinations.h"

#include <gtest/gtest.h>

#include <limits>

#include "hand_section.h"
#include "interchange/force_csv.h"
#include "model/errors.h"

using namespace qav;

namespace {

class RecordProgress : public Progress {
public:
    void setPosition(int p) override { positions.push_back(p); }
    std::vector<int> positions;
};

}  // namespace

// A fraction that is not a finite number (forces too large for the arithmetic) never decides
// the critical combination, nor hides one, wherever it stands.
TEST(LoadCombinations, CriticalIsTheLastSmallest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
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
        {"NaN first", {nan, 0.8, 0.6}, 3},
        {"NaN last", {0.8, 0.6, nan}, 2},
        {"NaN between equal", {0.6, nan, 0.6}, 3},
        {"infinity below all", {0.8, -inf, 0.6}, 3},
        {"nothing finite", {nan, nan}, 0},
    };
    for (const Case& c : cases) {
        SectionModel m;
        m.document.NFORCE = static_cast<int>(c.fractions.size());
        m.document.FORCE.resize(c.fractions.size() + 1);
        for (std::size_t i = 0; i < c.fractions.size(); ++i)
            m.document.FORCE[i + 1].LOAD_FRACTION = c.fractions[i];
        EXPECT_EQ(CRITICAL_COMBINATION(m), c.expected) << c.name;
    }
}

TEST(LoadCombinations, CheckMemberFindsEveryFractionAndTheCritical) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    m.results.STRAIN_LIMIT_MODE = 2;
    IMPORT_FORCE_CSV(
        m, {"h", "1,A,-2000,100,50", "2,B,-4000,200,100", "3,C,-1000,0,0", "4,D,-2000,100,50"},
        ForceUnits::kN_m);
    RecordProgress progress;
    NullMessages msgs;
    const CheckResult r = CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
    EXPECT_EQ(m.results.STRAIN_LIMIT_MODE, 1) << "set from the section";
    EXPECT_EQ(r.stats.solves, 4);
    EXPECT_EQ(r.stats.notConverged, 0);
    EXPECT_NEAR(m.document.FORCE[2].LOAD_FRACTION, m.document.FORCE[1].LOAD_FRACTION / 2, 1e-9);
    EXPECT_GT(m.document.FORCE[3].LOAD_FRACTION, 1) << "compression is negated for the solver";
    EXPECT_EQ(r.critical, 2);
    EXPECT_EQ(m.results.CRITICAL_COMB, 2);
    EXPECT_EQ(progress.positions, (std::vector<int>{25, 50, 75, 100, 0}));
}

TEST(LoadCombinations, CheckMemberWithoutCombinationsChangesNothing) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    m.results.CRITICAL_COMB = 3;
    NullMessages msgs;
    NullProgress progress;
    EXPECT_THROW(CHECK_MEMBER(m, 1000, 1000, 1000, msgs, progress), InputError);
    EXPECT_EQ(m.results.CRITICAL_COMB, 3);
}
