#include "analysis/load_combinations.h"

#include <gtest/gtest.h>

#include <limits>

#include "hand_section.h"
#include "interchange/force_csv.h"
#include "model/errors.h"
#include "model/number_text.h"

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

namespace {

// The check's fractions of combinations typed in kN and kNm.
std::vector<double> checked(SectionModel& m, const std::vector<std::string>& rows, double K,
                            bool codeMinimum = false) {
    std::vector<std::string> lines{"h"};
    lines.insert(lines.end(), rows.begin(), rows.end());
    IMPORT_FORCE_CSV(m, lines, ForceUnits::kN_m);
    m.settings.CODE_MIN_ECC = codeMinimum;
    NullMessages msgs;
    NullProgress progress;
    const CheckResult r = CHECK_MEMBER(m, K, K, K, msgs, progress);
    return {r.fractions.begin() + 1, r.fractions.end()};
}

std::string row(double P, double MX, double MY) {
    return Format("1,C,%g,%g,%g", {P, MX, MY});
}

}  // namespace

// A minimum can only make a check more severe: each fraction is the smaller of the load as
// given and the load raised to the minimum (each solved alone), and the raised load is listed
// exactly where it governs.
TEST(LoadCombinations, AMinimumListsTheSmallerOfTheGivenAndTheRaisedLoad) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    struct Case {
        double P, MX, MY;     // as given (P negative in compression)
        double rP, rMX, rMY;  // raised to K = 300
    };
    const Case cases[] = {{-4000, 0, 0, -4000, 300, 300},      // the raised load governs
                          {-100, 500, -400, -300, 500, -400},  // a raised axial force helps
                          {-2000, 50, 900, -2000, 300, 900}};
    for (const Case& c : cases) {
        const double given = checked(m, {row(c.P, c.MX, c.MY)}, 0)[0];
        const double raised = checked(m, {row(c.rP, c.rMX, c.rMY)}, 0)[0];
        const double listed = checked(m, {row(c.P, c.MX, c.MY)}, 300)[0];
        EXPECT_DOUBLE_EQ(listed, std::min(given, raised)) << c.P;
        const ListedLoad L = listedLoad(m, 1);
        EXPECT_EQ(L.raised, raised < given) << c.P;
        if (L.raised) {
            EXPECT_EQ(std::vector<double>({L.P, L.MX, L.MY}),
                      std::vector<double>({c.rP, c.rMX, c.rMY}));
        }
        EXPECT_EQ(checkMarks(m, 1).find('*') != std::string::npos, raised < given);
    }
}

// The code's minimum eccentricity (HK: the smaller of 0.05 h and 20 mm, h the section's depth
// in the moment's plane) raises one moment at a time: the smaller of the two fractions, never
// the load with both moments raised at once; a tension is not raised, its fraction that of the
// bars alone.
TEST(LoadCombinations, MinimumEccentricityIsAboutOneAxisAtATimeAndNotInTension) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    const std::array<double, 2> h = bendingDepths(m);
    const double P = 3000, eX = std::min(0.05 * h[0], 20.0), eY = std::min(0.05 * h[1], 20.0);
    const double aboutY = checked(m, {row(-P, P * eX / 1000, 0)}, 0)[0];
    const double aboutX = checked(m, {row(-P, 0, P * eY / 1000)}, 0)[0];
    const double both = checked(m, {row(-P, P * eX / 1000, P * eY / 1000)}, 0)[0];
    const double listed = checked(m, {row(-P, 0, 0)}, 0, true)[0];
    EXPECT_DOUBLE_EQ(listed, std::min(aboutY, aboutX));
    EXPECT_GT(listed, both) << "both axes at once is more than any code asks";
    EXPECT_TRUE(listedLoad(m, 1).raised);
    // Tension: eight bars of 25 at fy 435, the concrete cracked.
    const double bars = 8 * 435 * 3.14 * 25 * 25 / 4 / 1000;
    const double tension = checked(m, {row(1000, 0, 0)}, 0, true)[0];
    EXPECT_NEAR(tension, bars / 1000, 1e-9);
    EXPECT_FALSE(listedLoad(m, 1).raised);
}

// A combination with no load has no fraction: the check is refused, naming it.
TEST(LoadCombinations, AZeroLoadIsRefusedByName) {
    SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
    IMPORT_FORCE_CSV(m, {"h", "1,A,-1000,10,0", "2,EMPTY,0,0,0"}, ForceUnits::kN_m);
    NullMessages msgs;
    NullProgress progress;
    try {
        CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
        FAIL() << "refused";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("2 (EMPTY)"), std::string::npos) << e.what();
    }
    EXPECT_EQ(m.document.FORCE[1].LOAD_FRACTION, 0) << "nothing checked";
}
