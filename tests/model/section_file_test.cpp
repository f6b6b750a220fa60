#include "model/section_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "model/errors.h"
#include "model/section_properties.h"
#include "model/text_file.h"

using namespace qav;

namespace {

SectionModel fourBarSection() {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-200, -300}, {200, -300}, {200, 300}, {-200, 300}, {-200, -300}};
    for (double x : {-150.0, 150.0})
        for (double y : {-250.0, 250.0}) ADD_SINGLE_REBAR(m, x, y, 25);
    return m;
}

std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& name) {
    std::vector<std::string> out;
    bool on = false;
    for (const auto& l : lines) {
        if (l == name + " START") on = true;
        if (on) out.push_back(l);
        if (l == name + " END") on = false;
    }
    return out;
}

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("qavsec_" + name)).string();
}

}  // namespace

TEST(SectionFile, WritesTheBlocksInOrder) {
    SectionModel m = fourBarSection();
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    const std::vector<std::string> gen = {"GEN START",   "USE_CONC,0",  "USE_REBAR,0",
                                          "USE_STEEL,0", "USE_COVER,0", "MESH_SIZE,100",
                                          "GEN END"};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), gen);
    const auto poly = block(lines, "POLY");
    ASSERT_EQ(poly.size(), 8u);
    EXPECT_EQ(poly[1], "NPOINT,4");
    EXPECT_EQ(poly[2], "PT,0,-200.00000,-300.00000");
    EXPECT_EQ(poly[6], "PT,4,-200.00000,-300.00000");
    EXPECT_TRUE(block(lines, "STEELPOLY").empty());
    EXPECT_TRUE(block(lines, "OPENPOLY").empty());
    EXPECT_TRUE(block(lines, "REBARPOLY").empty());
    EXPECT_TRUE(block(lines, "CHECKLOADING").empty());
    const auto rebar = block(lines, "REBAR");
    ASSERT_EQ(rebar.size(), 7u);
    EXPECT_EQ(rebar[2], "BAR,1,-150.00000,-250.00000,25.00000");
    EXPECT_EQ(block(lines, "CONC MAT").size(), 20u);
    const auto cover = block(lines, "COVER MAT");
    ASSERT_EQ(cover.size(), 20u);
    EXPECT_EQ(cover[1], "NCOVERMAT,17");
    EXPECT_EQ(cover[2], "COVERMAT,1,C20_Cover,15844.13366,8.93333,0.00113,0.00350");
    const auto steel = block(lines, "STEEL MAT");
    ASSERT_EQ(steel.size(), 10u);  // five bar grades and two structural steels
    EXPECT_EQ(steel[2], "STEELMAT,1,STEEL1,200000.00000,500.00000,0.87000");
    EXPECT_EQ(lines.back(), "STEEL MAT END");

    resizeTable(m.document.FORCE, 2);
    m.document.NFORCE = 1;
    m.document.FORCE[1] = {1000, 2000, 0, "C1", 0.5};
    SAVE_QAV_SEC_DATA(m, lines);
    const auto loads = block(lines, "CHECKLOADING");
    ASSERT_EQ(loads.size(), 4u);
    EXPECT_EQ(loads[2], "FORCE,1,1000.00000,2000.00000,0.00000,C1,");
}

TEST(SectionFile, RoundTripKeepsGeometryAndMaterialsToFiveDecimals) {
    SectionModel a = fourBarSection();
    a.document.NCOVER_PT = 3;
    a.document.COVER_PT = {{0, 0}, {10.123456, 0}, {0, 10}, {0, 0}};
    a.document.NSTEEL_SEC = 2;
    a.document.STEEL_SEC.resize(3);
    a.document.STEEL_SEC[1].NPOINT = 3;
    a.document.STEEL_SEC[1].PT = {{0, 0}, {50, 0}, {0, 50}, {0, 0}};
    a.document.STEEL_SEC[2].NPOINT = 3;
    a.document.STEEL_SEC[2].PT = {{0, 0}, {-50, 0}, {0, -50}, {0, 0}};
    a.document.NOPEN_SEC = 1;
    a.document.OPEN_SEC.resize(2);
    a.document.OPEN_SEC[1].NPOINT = 3;
    a.document.OPEN_SEC[1].PT = {{1, 1}, {2, 1}, {1, 2}, {1, 1}};
    a.document.USE_CONC = 3;
    a.document.USE_STEEL = 4;
    a.document.MESH_SIZE_TEXT = "50";
    a.document.CONC_MAT[2].EC = 12345.678901;
    a.document.STEEL_MAT[3].FY1 = 1;  // not stored
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(a, lines);

    SectionModel b;
    LOAD_QAV_SEC_DATA(b, lines);
    EXPECT_EQ(b.document.NCONC_PT, 4);
    EXPECT_EQ(b.document.NCOVER_PT, 3);
    EXPECT_DOUBLE_EQ(b.document.COVER_PT[1].X, 10.12346);
    EXPECT_EQ(b.document.NSTEEL_SEC, 2);
    EXPECT_EQ(b.document.STEEL_SEC[2].PT[1].X, -50);
    EXPECT_DOUBLE_EQ(b.document.STEEL_SEC[2].GAREA, 1250);  // recomputed, absolute
    EXPECT_EQ(b.document.NOPEN_SEC, 1);
    EXPECT_EQ(b.document.NBAR, 4);
    EXPECT_EQ(b.document.BAR[4].Y, 250);
    EXPECT_EQ(b.document.USE_CONC, 3);
    EXPECT_EQ(b.document.USE_STEEL, 4);
    EXPECT_EQ(b.document.MESH_SIZE_TEXT, "50");
    EXPECT_DOUBLE_EQ(b.document.CONC_MAT[2].EC, 12345.67890);
    EXPECT_EQ(b.document.STEEL_MAT[3].FY1, 435) << "FY1 is not read from the file";
    std::vector<std::string> again;
    SAVE_QAV_SEC_DATA(b, again);
    EXPECT_EQ(again, lines);
}

TEST(SectionFile, ReadsWhatEarlierWritersWrote) {
    SectionModel m;
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC.resize(2);
    m.document.NFORCE = 2;
    m.document.FORCE.resize(3);
    m.document.FORCE[2].COMB_NAME = "kept";
    std::vector<std::string> lines = {"GEN START", "MESH_SIZE,   50  ", "GEN END",
                                      "COVER MAT START", "NCONCMAT,17"};
    for (int i = 1; i <= 17; ++i)
        lines.push_back(i == 2 ? "COVERMAT,2,Old_Cover,1,2,3,4"
                               : "COVERMAT," + std::to_string(i) + ",C" +
                                     std::to_string(5 * i + 15) + "_Cover,20000,10,0.002,0.0035");
    lines.insert(lines.end(), {"COVER MAT END", "STEEL MAT START", "NSTEELMAT,5"});
    for (int i = 1; i <= 5; ++i)
        lines.push_back("STEELMAT," + std::to_string(i) + ",STEEL" + std::to_string(i) +
                        ",200000.00000,500.00000");
    lines.push_back("STEEL MAT END");
    LOAD_QAV_SEC_DATA(m, lines);
    EXPECT_EQ(m.document.MESH_SIZE_TEXT, "50");
    EXPECT_EQ(m.document.NCOVERMAT, 17);
    EXPECT_EQ(m.document.COVER_MAT[2].NAME, "Old_Cover");
    EXPECT_EQ(m.document.COVER_MAT[2].EPS_CU, 4);
    EXPECT_EQ(m.document.STEEL_MAT[1].RF, 0.87);
    EXPECT_EQ(m.document.STEEL_MAT[1].ES, 200000);
    EXPECT_EQ(m.document.STEEL_MAT[1].FY, 500);
    EXPECT_EQ(m.document.NFORCE, 2) << "a file without loads keeps the loads";
    EXPECT_EQ(m.document.FORCE[2].COMB_NAME, "kept");
    EXPECT_EQ(m.document.NSTEEL_SEC, 0) << "a file without steel removes the steel";
}

TEST(SectionFile, FieldsAreSplitAndTrimmed) {
    auto f = getstr("FORCE,1, 2 ,\t3,,name,");
    EXPECT_EQ(f[1], "FORCE");
    EXPECT_EQ(f[3], "2");
    EXPECT_EQ(f[4], "3");
    EXPECT_EQ(f[5], "");
    EXPECT_EQ(f[6], "name");
    EXPECT_EQ(f[7], "");
    EXPECT_EQ(f[20], "");
    EXPECT_EQ(getstr("GEN START")[1], "GEN START");
    int rs = -1, re = -1;
    GET_PARA(rs, re, {"A", "X START", "b", "X END", "X START", "X END"}, "X START", "X END");
    EXPECT_EQ(rs, 4);
    EXPECT_EQ(re, 5);
    GET_PARA(rs, re, {"A"}, "X START", "X END");
    EXPECT_EQ(rs + re, 0);
}

TEST(SectionFile, FilesWithAnyLineEndRead) {
    SectionModel a = fourBarSection();
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(a, lines);
    const std::string crlf = joinLinesCrLf(lines);
    EXPECT_EQ(crlf.substr(0, 11), "GEN START\r\n");
    EXPECT_EQ(crlf.substr(crlf.size() - 2), "\r\n");
    for (const char* sep : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const auto& l : lines) text += l + sep;
        const std::string path = tempPath("le.sec");
        writeTextFile(path, text);
        SectionModel b;
        openSectionFile(b, path);
        EXPECT_EQ(b.document.NBAR, 4)
            << "separator " << (sep[0] == '\r' ? (sep[1] ? "CRLF" : "CR") : "LF");
        EXPECT_EQ(b.document.NCONC_PT, 4);
        std::remove(path.c_str());
    }
}

TEST(SectionFile, ABadNumberStopsReadingAndKeepsWhatWasRead) {
    SectionModel m;
    const std::vector<std::string> lines = {
        "GEN START",   "USE_CONC,2", "GEN END",      "POLY START", "NPOINT,3",
        "PT,0,1,1",    "PT,1,abc,2", "PT,2,3,3",     "PT,3,1,1",   "POLY END",
        "REBAR START", "NBAR,1",     "BAR,1,0,0,25", "REBAR END",
    };
    try {
        LOAD_QAV_SEC_DATA(m, lines);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "Line 7: 'abc' is not a valid floating point value");
    }
    EXPECT_EQ(m.document.USE_CONC, 2);
    EXPECT_EQ(m.document.NCONC_PT, 3);
    EXPECT_EQ(m.document.CONC_PT[0].X, 1);
    EXPECT_EQ(m.document.NBAR, 0);
    try {
        LOAD_QAV_SEC_DATA(m, {"REBAR START", "NBAR,x1", "REBAR END"});
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "Line 2: 'x1' is not a valid integer value");
    }
}

TEST(SectionFile, BadCountsAndGradeIndicesAreRefused) {
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"REBAR START", "NBAR,2000000000", "REBAR END"},
             {"POLY START", "NPOINT,-1", "POLY END"},
             {"GEN START", "USE_CONC,17", "GEN END"},
             {"GEN START", "USE_STEEL,-1", "GEN END"},
             {"CONC MAT START", "NCONCMAT,5000", "CONC MAT END"}}) {
        SectionModel n;
        n.document.USE_CONC = 1;
        EXPECT_THROW(LOAD_QAV_SEC_DATA(n, bad), InputError) << bad[1];
        EXPECT_EQ(n.document.USE_CONC, 1);
        EXPECT_EQ(n.document.NCONCMAT, 17);
    }
}

TEST(SectionFile, DamagedFilesNeverOverrunMemoryOrTables) {
    // Many overlapping polygon blocks sharing one large count.
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) lines.push_back("STEELPOLY START");
    lines.push_back("NPOINT,3000");
    lines.push_back("STEELPOLY END");
    SectionModel m;
    EXPECT_THROW(LOAD_QAV_SEC_DATA(m, lines), InputError);

    std::mt19937 rng(42);
    const std::string alphabet = "0123456789,.-eE \tPTNBARSTEOLYGMCFXabc\r\n";
    SectionModel base;
    std::vector<std::string> good;
    SAVE_QAV_SEC_DATA(fourBarSection(), good);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> data = good;
        // Truncate, mutate characters, or replace lines with random bytes.
        data.resize(std::uniform_int_distribution<std::size_t>(0, data.size())(rng));
        for (auto& l : data) {
            if (rng() % 7 == 0 && !l.empty())
                l[rng() % l.size()] = alphabet[rng() % alphabet.size()];
            if (rng() % 40 == 0) {
                l.clear();
                for (int k = 0; k < 20; ++k) l += static_cast<char>(rng() % 256);
            }
        }
        SectionModel t;
        try {
            LOAD_QAV_SEC_DATA(t, data);
        } catch (const ConversionError&) {
        } catch (const InputError&) {
        }
        EXPECT_LE(t.document.NBAR + 1, static_cast<int>(t.document.BAR.size()));
        EXPECT_LE(t.document.NCONC_PT + 1, static_cast<int>(t.document.CONC_PT.size()));
    }
}

TEST(SectionFile, OpenReportsTheOperatingSystemReason) {
    SectionModel m;
    try {
        openSectionFile(m, "/nonexistent/dir/x.sec");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(saveSectionFile(m, "/nonexistent/dir/x.sec"), FileError);
}

TEST(SectionFile, OpenOfAFileOfAnotherKindSaysSoAndKeepsTheSection) {
    const std::string dir = ::testing::TempDir();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain text", "Dear user,\nthis is a letter.\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        const std::string path = dir + "/not_a_section.sec";
        {
            std::ofstream f(path, std::ios::binary);
            f << c.bytes;
        }
        SectionModel m;
        ADD_SINGLE_REBAR(m, 10, 20, 25);
        m.document.SECTION_TEXT = {"kept"};
        try {
            openSectionFile(m, path);
            ADD_FAILURE() << c.name;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "\"" + path +
                          "\" is not a section file: it holds none of the blocks of one "
                          "(\"GEN START\", \"POLY START\", \"REBAR START\", ...). The section "
                          "on screen was kept.")
                << c.name;
        }
        EXPECT_EQ(m.document.NBAR, 1) << c.name;
        EXPECT_EQ(m.document.SECTION_TEXT, std::vector<std::string>{"kept"}) << c.name;
    }
}
