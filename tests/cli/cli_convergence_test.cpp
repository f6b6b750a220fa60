// Sections on which both solvers once stopped short of their tolerance near the ends of the
// surface (within the reference tolerance): every point now converges.
#include <gtest/gtest.h>

#include <string>

#include "support/cli_runner.h"

TEST(CliConvergence, StalledSolvesNearTheEndsConverge) {
    const std::string dir = std::string(QAVSEC_TEST_DATA) + "/solver-regressions/";
    for (const std::string args : {"pm " + dir + "typical_near_crushing.sec --angle 90 --npm 400",
                                   "mm " + dir + "composite_near_tension.sec --axial -90083.2"}) {
        const qav::test::CliRun r = qav::test::runCli(args + " --threads 1 --json");
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_EQ(r.out.find("did not converge"), std::string::npos) << args;
        EXPECT_EQ(r.out.find("\"converged\": false"), std::string::npos) << args;
    }
}
