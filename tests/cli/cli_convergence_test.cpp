// Sections on which a solve once stopped short near the ends of the surface (both solvers
// within the reference tolerance; a mode-2 search probe far off its point; the stress block's
// edge crossing a face parallel to it): every point now converges.
#include <gtest/gtest.h>

#include <string>

#include "support/cli_runner.h"

TEST(CliConvergence, StalledSolvesNearTheEndsConverge) {
    const std::string dir = std::string(QAVSEC_TEST_DATA) + "/solver-regressions/";
    for (const std::string args : {"pm " + dir + "typical_near_crushing.sec --angle 90 --npm 400",
                                   "mm " + dir + "composite_near_tension.sec --axial -90083.2",
                                   "mm " + dir + "steel_only_mode2.sec --axial 15475 --npm 400",
                                   "pm " + dir +
                                       "aci_block_near_crushing.sec --angle 90 --npm 100 "
                                       "--strain-limit code",
                                   // Checks whose solves stalled at a kink of the limit rule.
                                   "check " + dir + "plain_concrete_pier.sec --loads " + dir +
                                       "plain_concrete_pier-loads.csv --units N,mm --npm 100",
                                   "check " + dir + "tension_side_aci318.sec --loads " + dir +
                                       "tension_side_aci318-loads.csv --units kN,m --kp 0 "
                                       "--kmx 0 --kmy 0 --npm 30 --strain-limit code"}) {
        const qav::test::CliRun r = qav::test::runCli(args + " --threads 1 --json");
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_EQ(r.out.find("did not converge"), std::string::npos) << args;
        EXPECT_EQ(r.out.find("\"converged\": false"), std::string::npos) << args;
    }
}

// M-Phi runs just inside the tension end: a steel section converges at every step; a channel
// whose bars lie off its centre carries the force only with a moment (its pure axial load sits
// on the seam of the limit states, and the loads beside it are carried at 0.83 of it): every
// run on it is refused instead of listing states of other forces as converged.
TEST(CliConvergence, MphiNearTheTensionEndConvergesOrIsRefused) {
    const std::string dir = std::string(QAVSEC_TEST_DATA) + "/solver-regressions/";
    struct Case {
        std::string args;
        int status;
    };
    for (const Case& c :
         {Case{"steel_mphi_near_tension.sec --axis x --axial -17676.2 --npm 30", 0},
          Case{"steel_mphi_near_tension.sec --axis y --axial -17676.2 --npm 30", 0},
          Case{"channel_mphi_near_tension.sec --axis x --axial -392.792 --npm 400", 1},
          Case{"channel_mphi_near_tension.sec --axis x --axial -392.792 --negative", 1},
          Case{"channel_mphi_near_tension.sec --axis y --axial -392.792 --negative", 1},
          Case{"channel_mphi_near_tension.sec --axis y --axial -392.792", 1}}) {
        const qav::test::CliRun r =
            qav::test::runCli("mphi " + dir + c.args + " --threads 1 --strain-limit code --json");
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out.find("did not converge"), std::string::npos) << c.args;
        EXPECT_EQ(r.out.find("\"converged\": false"), std::string::npos) << c.args;
        if (c.status != 0) EXPECT_NE(r.out.find("no M-Phi curve"), std::string::npos) << c.args;
    }
}
