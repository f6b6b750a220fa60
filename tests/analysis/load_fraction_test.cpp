// A combination whose load fraction is not a finite number (forces too large for the
// arithmetic) is named in a message and never taken as, nor hides, the critical combination,
// wherever it stands in the file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/load_combinations.h"
#include "hand_section.h"
#include "interchange/force_csv.h"
#include "model/errors.h"

using namespace qav;

TEST(LoadFraction, HugeMomentsAreNamedAndLeftOutOfTheCritical) {
    const std::string huge = "1,HUGE,0,1e308,1e308";
    const std::string normal1 = "2,A,-2000,100,50", normal2 = "3,B,-4000,200,100";
    for (const auto& rows : {std::vector<std::string>{"h", huge, normal1, normal2},
                             std::vector<std::string>{"h", normal1, normal2, huge}}) {
        SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
        IMPORT_FORCE_CSV(m, rows, ForceUnits::kN_m);
        MessageLog msgs;
        NullProgress progress;
        const CheckResult r = CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
        const int hugeAt = rows[1] == huge ? 1 : 3;
        ASSERT_EQ(r.notFinite, std::vector<int>{hugeAt});
        EXPECT_EQ(m.document.FORCE[static_cast<std::size_t>(hugeAt)].LOAD_FRACTION, 999);
        EXPECT_EQ(m.document.FORCE[static_cast<std::size_t>(r.critical)].COMB_NAME, "B")
            << "row order must not matter";
        bool named = false;
        for (const auto& e : msgs.entries())
            named = named || e.text.find(std::to_string(hugeAt) + " (HUGE)") != std::string::npos;
        EXPECT_TRUE(named);
        for (int i = 1; i <= m.document.NFORCE; ++i)
            EXPECT_TRUE(std::isfinite(m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION));
    }
}

TEST(LoadFraction, LongForceLinesReadTheirFirstFields) {
    SectionModel m;
    IMPORT_FORCE_CSV(m, {"h", "1,A,1,2,3" + std::string(100000, ',')}, ForceUnits::kN_m);
    ASSERT_EQ(m.document.NFORCE, 1);
    EXPECT_EQ(m.document.FORCE[1].MY, 3);
}
