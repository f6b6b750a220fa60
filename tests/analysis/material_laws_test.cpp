#include "analysis/material_laws.h"

#include <gtest/gtest.h>

using namespace qav;

TEST(MaterialLaws, ConcreteParabolaPlateauWithoutTension) {
    struct Case {
        const char* name;
        double eps;
        double expected;
    };
    const double fc = 26.8, e0 = 0.002;
    const Case cases[] = {
        {"zero strain", 0.0, 0.0},    {"tension", -0.001, 0.0},
        {"large tension", -1.0, 0.0}, {"half peak strain", e0 / 2, 0.75 * fc},
        {"peak strain", e0, fc},      {"plateau", 10 * e0, fc},
    };
    for (const Case& c : cases) {
        double s = -1;
        CONCRETE01(fc, e0, c.eps, s);
        EXPECT_EQ(s, c.expected) << c.name;
    }
}

TEST(MaterialLaws, SteelElasticPerfectlyPlastic) {
    struct Case {
        const char* name;
        double es, fy, eps;
        double expected;
    };
    const double ey = 435.0 / 200000.0;
    const Case cases[] = {
        {"zero", 200000, 435, 0, 0},
        {"yield strain belongs to the elastic branch", 200000, 435, ey, 200000 * ey},
        {"negative yield strain too", 200000, 435, -ey, -200000 * ey},
        {"compression beyond yield", 200000, 435, 0.01, 435},
        {"tension beyond yield", 200000, 435, -0.01, -435},
        {"elastic", 200000, 435, 0.001, 200},
    };
    for (const Case& c : cases) {
        double s = -1;
        STEEL01(c.es, c.fy, c.eps, s);
        EXPECT_EQ(s, c.expected) << c.name;
    }
}
