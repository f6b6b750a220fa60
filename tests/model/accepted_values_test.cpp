// What the section file reader takes into the model and the writer puts into a file: finite
// numbers, lengths within the shared bound, no negative diameters; every refusal names its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "model/errors.h"
#include "model/limits.h"
#include "model/section_file.h"
#include "model/section_properties.h"
#include "model/text_file.h"
#include "model/value_checks.h"

using namespace qav;

namespace {

std::vector<std::string> exampleLines() {
    return readTextLines(std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
}

// The example with the first line starting with `start` (after `after`, when given) replaced.
std::vector<std::string> withLine(const std::string& start, const std::string& replacement,
                                  const std::string& after = "") {
    std::vector<std::string> lines = exampleLines();
    bool armed = after.empty();
    for (auto& l : lines) {
        if (l == after) armed = true;
        if (armed && l.rfind(start, 0) == 0) {
            l = replacement;
            return lines;
        }
    }
    ADD_FAILURE() << "no line starts with " << start;
    return lines;
}

std::string refusal(const std::vector<std::string>& lines) {
    SectionModel m;
    try {
        LOAD_QAV_SEC_DATA(m, lines);
    } catch (const InputError& e) {
        return e.what();
    }
    return "(read)";
}

}  // namespace

TEST(AcceptedValues, SectionFileRefusesWhatWouldOverflowOrMakesNoSense) {
    struct Case {
        const char* start;
        std::string line;
        const char* after;
        const char* shown;
    };
    const Case cases[] = {
        {"PT,1,", "PT,1,4000000.00000,4000000.00000", "REBARPOLY START", "4000000.00000"},
        {"PT,2,", "PT,2,0,-1000000.5", "POLY START", "-1000000.5"},
        {"BAR,", "BAR,1,-121.66667,465.00000,-25.00000", "", "-25.00000"},
        {"BAR,", "BAR,1,1e300,465.00000,25", "", "1e300"},
        {"BAR,", "BAR,1,0,0,2000000", "", "2000000"},
    };
    for (const Case& c : cases) {
        const auto lines = withLine(c.start, c.line, c.after);
        const std::string why = refusal(lines);
        int lineNo = 0;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == c.line) lineNo = static_cast<int>(i) + 1;
        EXPECT_NE(why.find("Line " + std::to_string(lineNo) + ": \"" + c.line + "\": " + c.shown +
                           " is refused"),
                  std::string::npos)
            << why;
    }
    // The bound itself and zero diameters are taken.
    EXPECT_EQ(refusal(withLine("PT,2,", "PT,2,1000000,-1000000", "POLY START")), "(read)");
    EXPECT_EQ(refusal(withLine("BAR,", "BAR,1,0,0,0")), "(read)");
}

TEST(AcceptedValues, WriterRefusesWhatTheReaderWouldAndKeepsTheOldFile) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
    const std::string path =
        (std::filesystem::temp_directory_path() / "qavsec_refused_save.sec").string();
    saveSectionFile(m, path);
    const std::string before = readTextFile(path);
    const std::vector<std::string> textBefore = m.document.SECTION_TEXT;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::function<void(SectionModel&)>> damage = {
        [&](SectionModel& s) { s.document.BAR[3].DB = inf; },
        [&](SectionModel& s) { s.document.BAR[2].DB = -10; },
        [&](SectionModel& s) { s.document.CONC_PT[1].X = nan; },
        [&](SectionModel& s) { s.document.COVER_PT[2].Y = 2 * MAX_LENGTH_MM; },
        [&](SectionModel& s) { s.document.CONC_MAT[1].FC = nan; },
    };
    for (std::size_t k = 0; k < damage.size(); ++k) {
        SectionModel bad = m;
        damage[k](bad);
        EXPECT_THROW(saveSectionFile(bad, path), InputError) << "case " << k;
        EXPECT_EQ(readTextFile(path), before) << "case " << k;
        EXPECT_EQ(bad.document.SECTION_TEXT, textBefore) << "case " << k;
    }
    std::filesystem::remove(path);
}

TEST(AcceptedValues, FileReadsBackAsTheSameModel) {
    for (const char* name :
         {"rectangular_column", "circular_column", "src_column_cross", "column_with_opening"}) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec");
        std::vector<std::string> once, twice;
        SAVE_QAV_SEC_DATA(m, once);
        SectionModel back;
        LOAD_QAV_SEC_DATA(back, once);
        SAVE_QAV_SEC_DATA(back, twice);
        EXPECT_EQ(once, twice) << name;
    }
}

TEST(AcceptedValues, LongLinesKeepOnlyTheFieldsARecordUses) {
    const std::string commas(100000, ',');
    EXPECT_EQ(getstr("BAR,1,2,3" + commas, 20).size(), 21u);
    EXPECT_EQ(getstr("a,b,c", 2),
              (std::vector<std::string>{"", "a", "b", "", "", "", "", "", "", "", "",
                                        "", "",  "",  "", "", "", "", "", "", ""}));
    EXPECT_EQ(getstr(commas).size(), commas.size() + 2) << "without a limit every field is kept";
    SectionModel m;
    EXPECT_THROW(LOAD_QAV_SEC_DATA(m, {"GEN START", "MESH_SIZE,50" + commas, "GEN END"}),
                 InputError)
        << "a record of more fields than its kind has is refused";
}

TEST(AcceptedValues, ListingsRefuseASectionWithANonFiniteValue) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
    EXPECT_NO_THROW(requireFiniteSection(m));
    m.document.BAR[4].X = std::numeric_limits<double>::infinity();
    try {
        requireFiniteSection(m);
        ADD_FAILURE() << "an infinite bar coordinate passed";
    } catch (const NumericError& e) {
        EXPECT_NE(std::string(e.what()).find("Bar 4 holds INF"), std::string::npos) << e.what();
    }
}

TEST(AcceptedValues, GradeCheckSeesThroughLeadingControlCharacters) {
    // The fields are trimmed of control characters, so the check of the grade must see the
    // record behind them too (else the file read, saved, and could not be opened again).
    for (const std::string lead : {"\x0b", " ", "\t\x01"}) {
        SectionModel m;
        EXPECT_THROW(LOAD_QAV_SEC_DATA(m, {"GEN START", lead + "USE_STEEL,7", "GEN END"}),
                     InputError)
            << static_cast<int>(lead[0]);
    }
}

TEST(AcceptedValues, SelectedGradesAreHeldToTheMaterialDialogsRules) {
    // The example selects C30, C30_Cover and STEEL1 for bars and steel.
    struct Case {
        const char* start;
        std::string line;
        std::string message;  // empty: read
    };
    const Case cases[] = {
        {"CONCMAT,3,", "CONCMAT,3,C30,21114.35,-12.0,0.00127,0.0035",
         "FC of C30, the selected Concrete Grade, must be greater than 0 (it is -12)."},
        {"COVERMAT,3,", "COVERMAT,3,C30_Cover,0,12,0.00127,0.0035",
         "EC of C30_Cover, the selected Concrete Cover Grade, must be greater than 0 (it is 0)."},
        {"STEELMAT,1,", "STEELMAT,1,STEEL1,200000,500,2",
         "RF of STEEL1, the selected Rebar Grade, must not be greater than 1 (it is 2)."},
        // Grades no list selects are not used, so they are read as they stand.
        {"CONCMAT,1,", "CONCMAT,1,C20,15844,-8.9,0.00113,0.0035", ""},
        {"STEELMAT,2,", "STEELMAT,2,STEEL2,200000,500,2", ""},
    };
    for (const Case& c : cases) {
        const auto lines = withLine(c.start, c.line);
        const auto at = std::find(lines.begin(), lines.end(), c.line) - lines.begin() + 1;
        EXPECT_EQ(refusal(lines), c.message.empty() ? "(read)"
                                                    : "Line " + std::to_string(at) + ": \"" +
                                                          c.line + "\": " + c.message);
    }
    SectionModel r;
    EXPECT_THROW(LOAD_QAV_SEC_DATA(r, withLine("STEELMAT,1,", "STEELMAT,1,STEEL1,200000,500,2")),
                 InputError);
    EXPECT_EQ(r.document.STEEL_MAT[1].RF, 0.87) << "the refused record never entered the model";
    // A selected grade the file does not carry is held to the same rules.
    SectionModel m;
    m.document.STEEL_MAT[2].RF = 2;
    EXPECT_THROW(LOAD_QAV_SEC_DATA(m, {"GEN START", "USE_STEEL,1", "GEN END"}), InputError);
}
