#include "analysis/curve_steps.h"

#include <gtest/gtest.h>

#include "analysis/interaction_curves.h"
#include "model/errors.h"

using namespace qav;

TEST(CurveSteps, GeneralSettingRefusesCountsNoCurveCanUseNamingTheBox) {
    struct Case {
        const char* npm;
        const char* nmm;
        const char* message;
    };
    const Case cases[] = {
        {"0", "24",
         "\"P-M Analysis Axial Force Num of Steps\" must lie within 2 .. 1000000 (it is 0)."},
        {"1", "24",
         "\"P-M Analysis Axial Force Num of Steps\" must lie within 2 .. 1000000 (it is 1)."},
        {"30", "0",
         "\"Myy-Mxx Analysis Angle Num of Steps\" must lie within 1 .. 1000000 (it is 0)."},
        {"30", "-4",
         "\"Myy-Mxx Analysis Angle Num of Steps\" must lie within 1 .. 1000000 (it is -4)."},
        {"2000000", "24",
         "\"P-M Analysis Axial Force Num of Steps\" must lie within 2 .. 1000000 (it is 2000000)."},
    };
    for (const Case& c : cases) {
        SectionModel m;
        try {
            applyCurveSteps(m, c.npm, c.nmm);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(m.settings.NPM, 30);
        EXPECT_EQ(m.settings.NMM, 24);
    }
    SectionModel m;
    EXPECT_THROW(applyCurveSteps(m, "ten", "24"), ConversionError);
    EXPECT_EQ(m.settings.NPM, 30);
    EXPECT_THROW(applyCurveSteps(m, "40", "abc"), ConversionError);
    EXPECT_EQ(m.settings.NPM, 40) << "read in order: the bad box stops the rest";
    EXPECT_EQ(m.settings.NMM, 24);
    applyCurveSteps(m, "2", "1");
    EXPECT_EQ(m.settings.NPM, 2);
    EXPECT_EQ(m.settings.NMM, 1);
}
