// Damaged and hand-edited section files: read whole or refused with their line, never guessed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/code_convert.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "model/text_file.h"

using namespace qav;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> saved(const SectionModel& m) {
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    return lines;
}

SectionModel fourBars() {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-200, -300}, {200, -300}, {200, 300}, {-200, 300}, {-200, -300}};
    for (double x : {-150.0, 150.0})
        for (double y : {-250.0, 250.0}) ADD_SINGLE_REBAR(m, x, y, 25);
    return m;
}

std::size_t indexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// The message a reading gives, or "(read)".
std::string refusal(SectionModel& m, const std::vector<std::string>& lines) {
    try {
        LOAD_QAV_SEC_DATA(m, lines);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(read)";
}

}  // namespace

// Of every cut of every example, only a cut just after a block's end marker is a whole file.
TEST(SectionFileLayout, OnlyCutsAfterABlockEndRead) {
    int examples = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QAVSEC_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".sec") continue;
        ++examples;
        const std::vector<std::string> lines = readTextLines(entry.path().string());
        for (std::size_t cut = 1; cut <= lines.size(); ++cut) {
            const std::vector<std::string> part(lines.begin(),
                                                lines.begin() + static_cast<std::ptrdiff_t>(cut));
            const std::string& last = part.back();
            const bool whole = last.size() > 4 && last.compare(last.size() - 4, 4, " END") == 0;
            SectionModel m;
            const std::string r = refusal(m, part);
            EXPECT_EQ(r == "(read)", whole) << entry.path().filename() << " cut after line " << cut
                                            << " (" << last << "): " << r;
            refused += r == "(read)" ? 0 : 1;
        }
    }
    EXPECT_EQ(examples, 6);
    EXPECT_GT(refused, 500);
}

// Each edit of a saved file reads as the file itself, or is refused at the line given (an index
// into the edited lines, -1 for none) with the words given.
TEST(SectionFileLayout, EditedRecordsAreTrimmedOrRefusedWithTheirLine) {
    const std::vector<std::string> good = saved(fourBars());
    const std::size_t nbar = indexOf(good, "NBAR,4"), poly = indexOf(good, "POLY START");
    using Lines = std::vector<std::string>;
    struct Case {
        std::function<void(Lines&)> edit;
        std::size_t line;
        std::string words;
    };
    auto set = [](std::size_t at, std::string line) { return [=](Lines& l) { l[at] = line; }; };
    auto put = [](std::size_t at, Lines add) {
        return
            [=](Lines& l) { l.insert(l.begin() + static_cast<long>(at), add.begin(), add.end()); };
    };
    auto drop = [](std::size_t at) {
        return [=](Lines& l) { l.erase(l.begin() + static_cast<long>(at)); };
    };
    const std::size_t none = static_cast<std::size_t>(-1), rebar = nbar - 1;
    const Case cases[] = {
        {set(nbar + 5, "REBAR END\t"), none, ""},
        {set(poly + 7, "POLY END "), none, ""},
        {set(nbar + 1, "  BAR , 1 ,-150.00000,-250.00000,25.00000 \t"), none, ""},
        {set(nbar + 2, "bar,2,-150,250,25"), nbar + 2, "(keywords are written in capitals)"},
        {set(nbar + 2, "BAR\t2\t-150\t250\t25"), nbar + 2, "separated by commas, not tabs"},
        {set(nbar + 3, "BAR,3,465,5,-250,25"), nbar + 3, "a BAR record has 5 fields"},
        {put(nbar + 1, {"NOTE,x"}), nbar + 1, "the REBAR block holds NBAR and BAR records"},
        {set(nbar + 2, "BAR,1,-150,250,25"), nbar + 2, "expected BAR,2"},
        {set(nbar + 1, "BAR,0,-150,250,25"), nbar + 1, "expected BAR,1"},
        {set(nbar, "NBAR,5"), nbar + 5,
         "REBAR block that starts at line 16 ends early: expected BAR,5"},
        {set(nbar, "NBAR,3"), nbar + 4, "NBAR,3 at line 17 announces 3 records; this is one more"},
        {set(nbar, "NBAR,-1"), nbar, "a count is 0 or more"},
        {[&](Lines& l) { std::swap(l[nbar], l[nbar + 1]); }, nbar, "expected \"NBAR,<count>\""},
        {drop(poly + 6), poly + 6, "POLY block that starts at line 8 ends early: expected PT,4"},
        {drop(nbar + 5), nbar + 5, "REBAR block that starts at line 16 has not ended"},
        {[&](Lines& l) { l.resize(nbar + 3); }, nbar + 2, "the file ends inside the REBAR block"},
        {put(rebar, {"NOTES START", "NOTES END"}), rebar, "the section file has no such block"},
        {put(rebar, {"GEN START", "GEN END"}), rebar,
         "a second GEN block (the first starts at line 1)"},
        {put(good.size(),
             {"CHECKLOADING START", "NFORCE,1", "FORCE,1,1,2,3,C1", "CHECKLOADING END"}),
         good.size() + 2, "a FORCE record has 7 fields"},
    };
    for (const Case& c : cases) {
        Lines lines = good;
        c.edit(lines);
        SectionModel m = fourBars();
        m.document.NBAR = 0;  // a refused file changes nothing
        const std::string r = refusal(m, lines);
        if (c.line == none) {
            EXPECT_EQ(r, "(read)");
            EXPECT_EQ(saved(m), good) << r;
            continue;
        }
        EXPECT_EQ(r.rfind("Line " + std::to_string(c.line + 1) + ": ", 0), 0u) << r;
        EXPECT_NE(r.find(c.words), std::string::npos) << r;
        EXPECT_EQ(m.document.NBAR, 0) << r;
    }
}

// The design block: trimmed, naming its code, once; and a file's grade tables belong to its code
// (the program's own hold design values, those of ACI 318-19 nominal ones).
TEST(SectionFileLayout, TheDesignBlockNamesTheCodeOfTheGrades) {
    SectionModel aci, m;
    ADD_SINGLE_REBAR(aci, 0, 0, 20);
    GradeNames fc25;  // a new section's C20 lies below every ACI 318-19 grade
    fc25.concrete = "FC25";
    ASSERT_TRUE(convertSectionCode(aci, CodeId::Aci318, fc25).ok);
    const std::vector<std::string> good = saved(aci), hk = saved(fourBars());
    ASSERT_EQ(good[7], "DESIGN START");
    std::vector<std::string> trailing = good, noCode = good, twice = good, noBlock = good,
                             mixed = hk;
    trailing[7] = "DESIGN START ";
    EXPECT_EQ(refusal(m, trailing), "(read)");
    EXPECT_EQ(m.document.CODE, CodeId::Aci318);
    noCode.erase(noCode.begin() + 8);
    twice.insert(twice.end(), good.begin() + 7, good.begin() + 12);
    noBlock.erase(noBlock.begin() + 7, noBlock.begin() + 12);
    mixed.insert(mixed.begin() + 7, {"DESIGN START", "CODE,ACI318", "DESIGN END"});
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {noCode, "Line 11: \"DESIGN END\": the DESIGN block that starts at line 8 has no CODE"},
        {twice, "a second DESIGN block (the first starts at line 8)"},
        {noBlock, "is a grade of ACI 318-19, and a file without a DESIGN block"},
        {mixed, "Line " + std::to_string(indexOf(mixed, "NCONCMAT,17") + 2) +
                    ": \"CONCMAT,1,C20,15844.13366,8.93333,0.00113,0.00350\": C20 is a grade of "
                    "HK-COP-2013 and BS-8110, and the file's DESIGN block says CODE,ACI318"}};
    for (const auto& [lines, words] : refused)
        EXPECT_NE(refusal(m, lines).find(words), std::string::npos) << refusal(m, lines);
}

TEST(SectionFileLayout, OpenNamesTheFileAndKeepsTheSection) {
    std::vector<std::string> lines = saved(fourBars());
    lines.resize(indexOf(lines, "NBAR,4") + 2);
    const std::string path = ::testing::TempDir() + "/cut.sec";
    writeTextLines(path, lines);
    SectionModel m;
    try {
        openSectionFile(m, path);
        ADD_FAILURE() << "read";
    } catch (const FileRefusedError& e) {
        EXPECT_EQ(std::string(e.what()),
                  path +
                      ", line 18: the file ends inside the REBAR block that starts at line 16: "
                      "expected BAR,2 (2 of the 4 records NBAR,4 announces at line 17); the "
                      "section file was not read. The section on screen was kept.");
    }
    EXPECT_EQ(m.document.NCONC_PT, 0);
    fs::remove(path);
}
