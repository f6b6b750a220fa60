// The DXF import takes no coordinate beyond the shared length bound and no negative or
// overflowing radius: each is refused with its line, so an import never writes a section file
// that cannot be opened again.
#include <gtest/gtest.h>

#include "interchange/dxf_import.h"
#include "model/errors.h"
#include "model/section_file.h"

using namespace qav;

namespace {

std::vector<std::string> circle(const std::string& x, const std::string& radius) {
    return {"0", "SECTION", "2",    "ENTITIES", "0",    "CIRCLE", "8",      "0", "10",
            x,   "20",      "-465", "40",       radius, "0",      "ENDSEC", "0", "EOF"};
}

std::vector<std::string> outline(const std::string& farX) {
    return {"0",  "SECTION", "2",  "ENTITIES", "0", "LWPOLYLINE", "8",  "POLY", "90",
            "3",  "10",      "0",  "20",       "0", "10",         farX, "20",   "0",
            "10", "0",       "20", "400",      "0", "ENDSEC",     "0",  "EOF"};
}

std::string refusal(const std::vector<std::string>& lines) {
    SectionModel m;
    try {
        importDxfLines(m, lines);
    } catch (const InputError& e) {
        return e.what();
    }
    return "(imported)";
}

}  // namespace

TEST(DxfValues, RefusesWhatWouldNotReadBackWithItsLine) {
    struct Case {
        std::vector<std::string> lines;
        const char* expected;
    };
    const Case cases[] = {
        {circle("-365", "1e308"), "Line 14: \"1e308\": 1e308 is refused"},
        {circle("-365", "-5"), "Line 14: \"-5\": -5 is refused"},
        {circle("-365", "600000"), "Line 14: \"600000\""},  // diameter 1.2e6
        {circle("4e6", "12.5"), "Line 10: \"4e6\""},
        {outline("1e7"), "Line 16: \"1e7\""},
    };
    for (const Case& c : cases) {
        const std::string why = refusal(c.lines);
        EXPECT_NE(why.find(c.expected), std::string::npos) << why;
    }
}

TEST(DxfValues, WhatIsTakenSavesAndOpensAgain) {
    SectionModel m;
    importDxfLines(m, circle("-365", "500000"));
    ASSERT_EQ(m.document.NBAR, 1);
    EXPECT_EQ(m.document.BAR[1].DB, 1e6);
    std::vector<std::string> saved;
    SAVE_QAV_SEC_DATA(m, saved);
    SectionModel back;
    LOAD_QAV_SEC_DATA(back, saved);
    EXPECT_EQ(back.document.BAR[1].DB, 1e6);
    EXPECT_EQ(back.document.BAR[1].X, -365);
}
