// The table browser on the command line: one table as CSV, every table into a workbook.
#include <gtest/gtest.h>

#include <cstdio>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

std::string shell(const std::string& command) {
    std::string text;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
        pclose(p);
    }
    return text;
}

}  // namespace

TEST(CliTables, OneTableAsCsv) {
    struct Case {
        const char* name;
        std::string options;
        std::size_t lines;
        std::string first, second;
    };
    const Case cases[] = {
        {"section model", "--entry 0", 1, " , , ,", ""},
        {"outline", "--entry 1", 9, "NUM,X,Y,", "0,-400.000,-500.000,"},
        {"bars", "--entry 4", 13, "NUM,X,Y,Dia,", ""},
        {"P-Mx at NPM 5", "--entry 13 --npm 5", 13, "NUM,Axial(P),Moment(M),", ""},
        {"Mx-My at NMM 24", "--entry 16 --axial 2000 --mesh-size 200", 26,
         "NUM,Moment(My),Moment(Mx),", ""},
    };
    const std::string file = examplePath("rectangular_column.sec");
    for (const Case& c : cases) {
        const std::string out = tempPath("cli_table.csv");
        std::remove(out.c_str());
        const CliRun r = runCli("table " + file + " " + c.options + " -o " + out);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.out;
        const auto lines = qav::readTextLines(out);
        ASSERT_EQ(lines.size(), c.lines) << c.name;
        EXPECT_EQ(lines[0], c.first) << c.name;
        if (!c.second.empty()) {
            EXPECT_EQ(lines[1], c.second) << c.name;
        }
    }
}

TEST(CliTables, Refusals) {
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::string says;
    };
    const std::string file = examplePath("rectangular_column.sec");
    const std::string out = tempPath("cli_table_refused.csv");
    const Case cases[] = {
        {"no entry", "table " + file + " -o " + out, 2, "--entry"},
        {"entry out of range", "table " + file + " --entry 17 -o " + out, 2, "--entry"},
        {"no output", "table " + file + " --entry 1", 2, "-o"},
        {"angle not a number", "table " + file + " --entry 1 --angle 4x5 -o " + out, 1,
         "'4x5' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.name << ": " << r.out;
    }
}

TEST(CliTables, WorkbookHoldsEverySheetWithNumbersAsNumbers) {
    const std::string out = tempPath("cli_tables.xlsx");
    std::remove(out.c_str());
    const CliRun r =
        runCli("workbook " + examplePath("rectangular_column.sec") + " --npm 4 --nmm 8 -o " + out);
    if (r.status == 1 && r.out.find("cannot write spreadsheet") != std::string::npos)
        GTEST_SKIP() << "built without libxlsxwriter";
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string book = shell("unzip -p '" + out + "' xl/workbook.xml");
    ASSERT_FALSE(book.empty()) << "not a zip with a workbook part";
    std::size_t at = 0;
    for (const char* name :
         {"Concrete_Section", "Cover Line", "Steel_Section", "Rebars_Information",
          "Opening_Information", "Mehs_Information", "Concrete_Material", "Steel_Material",
          "Cover_Material", "Loading", "P_Mx_Curve", "P_My_Curve", "P_Ma_Curve", "Mx_My_Curve"}) {
        const std::size_t p = book.find("name=\"" + std::string(name) + "\"");
        ASSERT_NE(p, std::string::npos) << name;
        EXPECT_GT(p, at) << name << " out of tree order";
        at = p;
    }
    EXPECT_EQ(book.find("Sheet1"), std::string::npos);
    // The workbook opens on the first table, that sheet alone selected.
    for (int i = 1; i <= 14; ++i) {
        const std::string xml =
            shell("unzip -p '" + out + "' xl/worksheets/sheet" + std::to_string(i) + ".xml");
        EXPECT_EQ(xml.find("tabSelected=\"1\"") != std::string::npos, i == 1) << "sheet " << i;
    }
    // Sheet 1 is the outline: headings as strings, the first point as numbers.
    const std::string sheet = shell("unzip -p '" + out + "' xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<c r=\"A1\" t=\"s\">"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("<c r=\"B2\" s=\"1\"><v>-400</v></c>"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("<c r=\"C5\" s=\"1\"><v>500</v></c>"), std::string::npos) << sheet;
    // A place that cannot be written is refused before any table is computed.
    const CliRun nowhere =
        runCli("workbook " + examplePath("rectangular_column.sec") + " -o /nonexistent/dir/x.xlsx");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.out.find("Cannot create file \"/nonexistent/dir/x.xlsx\"."),
              std::string::npos)
        << nowhere.out;
    const std::string strings = shell("unzip -p '" + out + "' xl/sharedStrings.xml");
    EXPECT_NE(strings.find("<t>NUM</t>"), std::string::npos);
    EXPECT_NE(strings.find("<t>Moment(My)</t>"), std::string::npos);
}
