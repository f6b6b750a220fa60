#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/errors.h"

using namespace qav;

namespace {
struct Case {
    const char* name;
    const char* fmt;
    double value;
    const char* expected;
};
}  // namespace

TEST(NumberText, FormatsNumbersAsTheProgramWritesThem) {
    const Case cases[] = {
        {"fixed three", "%0.3F", 2435.5005, "2435.501"},
        {"fixed five negative", "%0.5F", -250.0, "-250.00000"},
        {"fixed zero decimals", "%0.0F", 678900.4, "678900"},
        {"fixed tie away from zero", "%0.2F", 0.125, "0.13"},
        {"fixed negative tie", "%0.0F", -2.5, "-3"},
        {"fixed rounds to zero without sign", "%0.3F", -0.0001, "0.000"},
        {"fixed negative zero", "%0.3F", -0.0, "0.000"},
        {"fixed lower case", "%0.3f", 1.0, "1.000"},
        {"fixed carry", "%0.2F", 9.999, "10.00"},
        {"sci six digits", "%0.6E", 123.456, "1.23456E+002"},
        {"sci negative", "%0.6E", -0.5, "-5.00000E-001"},
        {"sci zero", "%0.6E", 0.0, "0.00000E+000"},
        {"sci five digits", "%0.5E", 0.01234567, "1.2346E-002"},
        {"sci carry into exponent", "%0.6E", 9.999999, "1.00000E+001"},
        {"sci lower case three", "%0.3e", 123456.0, "1.23E+005"},
        {"sci large exponent", "%0.6E", 1.5e300, "1.50000E+300"},
        {"sci tiny", "%0.6E", 2.5e-310, "2.50000E-310"},
        {"rebar area", "%0.6E", 490.8738521234052, "4.90874E+002"},
        {"general", "%g", 0.25, "0.25"},
        {"thousands", "%0.1N", 1234567.25, "1,234,567.3"},
        {"nan", "%0.3F", std::nan(""), "NAN"},
        {"inf", "%0.6E", -std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.fmt, {c.value}), c.expected) << c.name;
}

TEST(NumberText, FormatsIntegersTextsAndLines) {
    EXPECT_EQ(Format("C%D", {20}), "C20");
    EXPECT_EQ(Format("NBAR,%D", {-3}), "NBAR,-3");
    EXPECT_EQ(Format("MESH_SIZE,%S", {std::string("50")}), "MESH_SIZE,50");
    EXPECT_EQ(Format("FORCE,%D,%0.5F,%0.5F,%0.5F,%S,", {1, 1000.0, 2000.0, 0.0, "C1"}),
              "FORCE,1,1000.00000,2000.00000,0.00000,C1,");
    EXPECT_EQ(Format("%5d|%-5d|%%", {42, 7}), "   42|7    |%");
    EXPECT_EQ(Format("%0.0F  ", {12.0}), "12  ");
    EXPECT_THROW(Format("%D", {1.5}), std::invalid_argument);
    EXPECT_THROW(Format("%D %D", {1}), std::invalid_argument);
    EXPECT_THROW(Format("%0.3F", {"x"}), std::invalid_argument);
}

TEST(NumberText, PadsWithoutEverShortening) {
    EXPECT_EQ(PAD_LEFT(12, "Curvature,"), "  Curvature,");
    EXPECT_EQ(PAD_RIGHT(5, "ab"), "ab   ");
    EXPECT_EQ(PAD_LEFT(2, "abcd"), "abcd");
    EXPECT_EQ(PAD_RIGHT(-1, "x"), "x");
}

TEST(NumberText, ConvertsTextStrictly) {
    EXPECT_DOUBLE_EQ(ToFloat(" 50 "), 50.0);
    EXPECT_DOUBLE_EQ(ToFloat("-1.5e3"), -1500.0);
    EXPECT_DOUBLE_EQ(ToFloat("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(ToFloat("5."), 5.0);
    EXPECT_DOUBLE_EQ(ToFloat("1e-400"), 0.0);
    EXPECT_EQ(ToInt(" 17\t"), 17);
    EXPECT_EQ(ToInt("-3"), -3);
    for (const char* bad :
         {"", "abc", "1,5", "1.2.3", "e5", "1e", "inf", "nan", "0x10", "1e400", "- 1", "1 2"}) {
        try {
            ToFloat(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' is not a valid floating point value");
        }
    }
    for (const char* bad : {"", "1.0", "2147483648", "+-1", "12a", "--1"}) {
        try {
            ToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(NumberText, RoundsHalvesToEvenAndRefusesWhatIsNotAnInteger) {
    EXPECT_EQ(Round(6.25), 6);
    EXPECT_EQ(Round(12.5), 12);
    EXPECT_EQ(Round(13.5), 14);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Ceil(2.1), 3);
    EXPECT_EQ(Floor(-2.1), -3);
    EXPECT_THROW(Round(std::nan("")), NumericError);
    EXPECT_THROW(Trunc(std::numeric_limits<double>::infinity()), NumericError);
    EXPECT_THROW(Round(3e9), NumericError);
    EXPECT_FALSE(FitsInt(-std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(FitsInt(2147483647.0));
}

// A load fraction never reads as more than it is: its decimals are cut, only the binary
// representation's own noise (0.832 held as 0.83199999...) is let stand for the number meant.
TEST(NumberText, LoadFractionsAreCutNeverRoundedUp) {
    struct Case {
        double lf;
        int decimals;
        const char* text;
    };
    const Case cases[] = {{0.9997, 3, "0.999"},  {0.99999999, 3, "0.999"}, {1.0, 3, "1.000"},
                          {0.832, 3, "0.832"},   {0.1 + 0.2, 1, "0.3"},    {1.0009, 3, "1.000"},
                          {1.96299, 3, "1.962"}, {0.83299, 4, "0.8329"},   {999, 3, "999.000"},
                          {-0.0004, 3, "-0.001"}};
    for (const Case& c : cases) EXPECT_EQ(LoadFractionText(c.lf, c.decimals), c.text) << c.lf;
    EXPECT_EQ(LoadFractionText(std::nan("")), Format("%0.3F", {std::nan("")}));
}
