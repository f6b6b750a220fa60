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

// Each edit of a saved file: the message's start, or "(read)" with what it must read as.
TEST(SectionFileLayout, EditedRecordsAreTrimmedOrRefusedWithTheirLine) {
    const std::vector<std::string> good = saved(fourBars());
    const std::size_t nbar = indexOf(good, "NBAR,4"), poly = indexOf(good, "POLY START");
    struct Case {
        const char* name;
        std::function<void(std::vector<std::string>&)> edit;
        std::string message;  // "(read)" when the file reads
    };
    auto set = [](std::size_t at, std::string line) {
        return [at, line](std::vector<std::string>& l) { l[at] = line; };
    };
    auto insert = [](std::size_t at, std::vector<std::string> lines) {
        return [at, lines](std::vector<std::string>& l) {
            l.insert(l.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
        };
    };
    // "Line <n>: " of the line at index i, and the line number of index i.
    auto L = [](std::size_t i) { return "Line " + std::to_string(i + 1) + ": "; };
    auto n = [](std::size_t i) { return std::to_string(i + 1); };
    const std::size_t rebar = nbar - 1, end = good.size();
    const Case cases[] = {
        {"end marker with a tab", set(nbar + 5, "REBAR END\t"), "(read)"},
        {"end marker with a blank", set(poly + 7, "POLY END "), "(read)"},
        {"blanks around a record", set(nbar + 1, "  BAR , 1 ,-150.00000,-250.00000,25.00000 \t"),
         "(read)"},
        {"lower case", set(nbar + 2, "bar,2,-150,250,25"),
         L(nbar + 2) +
             "\"bar,2,-150,250,25\": the REBAR block holds NBAR and BAR records (keywords"},
        {"tabs", set(nbar + 2, "BAR\t2\t-150\t250\t25"),
         L(nbar + 2) + "\"BAR\t2\t-150\t250\t25\": the REBAR block holds NBAR and BAR records; "
                       "fields are separated by commas, not tabs"},
        {"decimal comma", set(nbar + 3, "BAR,3,465,5,-250,25"),
         L(nbar + 3) + "\"BAR,3,465,5,-250,25\": a BAR record has 5 fields"},
        {"unknown record", insert(nbar + 1, {"NOTE,x"}),
         L(nbar + 1) + "\"NOTE,x\": the REBAR block holds"},
        {"repeated number", set(nbar + 2, "BAR,1,-150,250,25"),
         L(nbar + 2) + "\"BAR,1,-150,250,25\": expected BAR,2"},
        {"number 0", set(nbar + 1, "BAR,0,-150,250,25"),
         L(nbar + 1) + "\"BAR,0,-150,250,25\": expected BAR,1"},
        {"count above the records", set(nbar, "NBAR,5"),
         L(nbar + 5) + "\"REBAR END\": the REBAR block that starts at line " + n(rebar) +
             " ends early: expected BAR,5"},
        {"count below the records", set(nbar, "NBAR,3"),
         L(nbar + 4) + "\"BAR,4,150.00000,250.00000,25.00000\": NBAR,3 at line " + n(nbar) +
             " announces 3 records"},
        {"negative count", set(nbar, "NBAR,-1"), L(nbar) + "\"NBAR,-1\": a count is 0 or more"},
        {"record before its count", [&](auto& l) { std::swap(l[nbar], l[nbar + 1]); },
         L(nbar) + "\"BAR,1,-150.00000,-250.00000,25.00000\": expected \"NBAR,<count>\""},
        {"corner missing", [&](auto& l) { l.erase(l.begin() + static_cast<long>(poly + 6)); },
         L(poly + 6) + "\"POLY END\": the POLY block that starts at line " + n(poly) +
             " ends early: expected PT,4"},
        {"block never ended", [&](auto& l) { l.erase(l.begin() + static_cast<long>(nbar + 5)); },
         L(nbar + 5) + "\"CONC MAT START\": the REBAR block that starts at line " + n(rebar) +
             " has not ended"},
        {"file ends in a block", [&](auto& l) { l.resize(nbar + 3); },
         L(nbar + 2) + "the file ends inside the REBAR block that starts at line " + n(rebar) +
             ": expected BAR,3"},
        {"unknown block", insert(rebar, {"NOTES START", "NOTES END"}),
         L(rebar) + "\"NOTES START\": the section file has no such block"},
        {"record outside", insert(rebar, {"NBAR,4"}), L(rebar) + "\"NBAR,4\": a record outside"},
        {"second block", insert(rebar, {"GEN START", "GEN END"}),
         L(rebar) + "\"GEN START\": a second GEN block (the first starts at line 1)"},
        {"loads without the closing comma",
         insert(end, {"CHECKLOADING START", "NFORCE,1", "FORCE,1,1,2,3,C1", "CHECKLOADING END"}),
         L(end + 2) + "\"FORCE,1,1,2,3,C1\": a FORCE record has 7 fields"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = good;
        c.edit(lines);
        SectionModel m = fourBars();
        m.document.NBAR = 0;  // a refused file changes nothing
        const std::string r = refusal(m, lines);
        EXPECT_EQ(r.rfind(c.message, 0), 0u) << c.name << ": " << r;
        if (c.message == "(read)") {
            EXPECT_EQ(saved(m), good) << c.name;
        } else {
            EXPECT_EQ(m.document.NBAR, 0) << c.name;
            EXPECT_NE(r.find("the section file was not read"), std::string::npos) << r;
        }
    }
}

TEST(SectionFileLayout, TheDesignBlockIsTrimmedAndWholeAndComesOnce) {
    SectionModel ec2;
    ADD_SINGLE_REBAR(ec2, 0, 0, 20);
    ASSERT_TRUE(convertSectionCode(ec2, CodeId::Ec2, {}).ok);
    const std::vector<std::string> good = saved(ec2);
    const std::size_t start = indexOf(good, "DESIGN START");
    ASSERT_LT(start, good.size());

    std::vector<std::string> lines = good;
    lines[start] = "DESIGN START ";
    SectionModel m;
    EXPECT_EQ(refusal(m, lines), "(read)");
    EXPECT_EQ(m.document.CODE, CodeId::Ec2) << "a trailing blank does not hide the block";

    lines = good;
    lines.erase(lines.begin() + static_cast<long>(start) + 1);  // CODE,EC2
    EXPECT_NE(refusal(m, lines).find("the DESIGN block that starts at line 8 has no CODE line"),
              std::string::npos);

    lines = good;
    lines.insert(lines.end(), good.begin() + static_cast<long>(start),
                 good.begin() + static_cast<long>(start) + 5);
    EXPECT_NE(refusal(m, lines).find("a second DESIGN block (the first starts at line 8)"),
              std::string::npos);
}

// A file's grade tables mean what its code makes of them: the program's own (design values)
// under a block that says ACI 318-19 (nominal values), or the other way round, are refused.
TEST(SectionFileLayout, GradeTablesBelongToTheFilesCode) {
    const std::vector<std::string> hk = saved(fourBars());
    std::vector<std::string> lines = hk;
    lines.insert(lines.begin() + 7, {"DESIGN START", "CODE,ACI318", "DESIGN END"});
    SectionModel m;
    const std::size_t first = indexOf(lines, "NCONCMAT,17") + 2;
    EXPECT_EQ(refusal(m, lines).rfind("Line " + std::to_string(first) + ": \"CONCMAT,1,C20,", 0),
              0u)
        << refusal(m, lines);
    EXPECT_NE(refusal(m, lines).find("C20 is a grade of HK-COP-2013 and BS-8110, and the file's "
                                     "DESIGN block says CODE,ACI318"),
              std::string::npos);

    SectionModel aci;
    ADD_SINGLE_REBAR(aci, 0, 0, 20);
    ASSERT_TRUE(convertSectionCode(aci, CodeId::Aci318, {}).ok);
    lines = saved(aci);
    lines.erase(lines.begin() + 7, lines.begin() + 12);  // the design block
    EXPECT_NE(refusal(m, lines).find("is a grade of ACI 318-19, and a file without a DESIGN block"),
              std::string::npos)
        << refusal(m, lines);
    // A grade its user renamed belongs to no code's tables and is the file's own.
    lines = saved(aci);
    const std::size_t fc20 =
        indexOf(lines, "NCONCMAT," + std::to_string(aci.document.NCONCMAT)) + 1;
    lines[fc20].replace(lines[fc20].find("FC20"), 4, "MyFC20");
    EXPECT_EQ(refusal(m, lines), "(read)");
}

TEST(SectionFileLayout, OpenNamesTheFileAndKeepsTheSection) {
    std::vector<std::string> lines = saved(fourBars());
    const std::size_t nbar = indexOf(lines, "NBAR,4");
    lines.resize(nbar + 2);
    const std::string path = ::testing::TempDir() + "/cut.sec";
    writeTextLines(path, lines);
    SectionModel m;
    try {
        openSectionFile(m, path);
        ADD_FAILURE() << "read";
    } catch (const FileRefusedError& e) {
        EXPECT_EQ(std::string(e.what()),
                  path + ", line " + std::to_string(nbar + 2) +
                      ": the file ends inside the REBAR block that starts at line " +
                      std::to_string(nbar) +
                      ": expected BAR,2 (2 of the 4 records NBAR,4 "
                      "announces at line " +
                      std::to_string(nbar + 1) +
                      "); the section file was not read. The section on screen was kept.");
    }
    EXPECT_EQ(m.document.NCONC_PT, 0);
    fs::remove(path);
}
