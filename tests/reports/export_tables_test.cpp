// The table browser's tables: tree, headings, row counts, formats, CSV text and what goes into
// a workbook.
#include "reports/export_tables.h"

#include <gtest/gtest.h>

#include "analysis/example_sections.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "reports/workbook.h"

using namespace qav;

namespace {

std::vector<std::string> headings(const DataTable& t) {
    std::vector<std::string> h;
    for (const auto& c : t.rows.at(0)) h.push_back(c.text);
    return h;
}

TPOLYSHAPE polygon(int n, double x0) {
    TPOLYSHAPE p;
    p.NPOINT = n;
    for (int i = 0; i <= n; ++i) p.PT.push_back({x0 + i, 2.0 * i});
    return p;
}

SectionModel meshedColumn() {
    return qav::test::meshedExample("rectangular_column", {.meshSize = "200"});
}

// Records the calls a table export makes on a workbook.
class RecordingWorkbook : public Workbook {
public:
    std::vector<std::string> calls;
    void addSheet(const std::string& name) override { calls.push_back("add " + name); }
    void activate(const std::string& name) override { calls.push_back("activate " + name); }
    void setText(int r, int c, const std::string& t) override {
        calls.push_back("text " + std::to_string(r) + "," + std::to_string(c) + " " + t);
    }
    void setNumber(int r, int c, double v, int d) override {
        calls.push_back("number " + std::to_string(r) + "," + std::to_string(c) + " " +
                        std::to_string(v) + " /" + std::to_string(d));
    }
};

}  // namespace

TEST(ExportTables, TreeEntriesAndSheetNames) {
    ASSERT_EQ(TABLE_ENTRY_COUNT, 17);
    int sheets = 0;
    for (int k = 0; k < TABLE_ENTRY_COUNT; ++k) sheets += hasSheet(k) ? 1 : 0;
    EXPECT_EQ(sheets, 14);
    for (int k : {0, 7, 12}) {
        EXPECT_EQ(tableEntry(k).parent, -1) << k;
        EXPECT_FALSE(hasSheet(k)) << k;
    }
    EXPECT_EQ(tableEntry(6).parent, 0);
    EXPECT_STREQ(tableEntry(6).sheet, "Mehs_Information");
    EXPECT_EQ(tableEntry(11).parent, 7);
    EXPECT_STREQ(tableEntry(2).sheet, "Cover Line");
    EXPECT_STREQ(tableEntry(16).text, "Mx-My Curve");
    EXPECT_THROW(tableEntry(17), std::out_of_range);
}

TEST(ExportTables, EntriesWithoutTableLeaveTheClearedGrid) {
    SectionModel m;
    NullMessages none;
    for (int k : {0, 7, 12}) {
        DataTable grid;
        showTableEntry(m, k, "45", "1000", none, grid);
        ASSERT_EQ(grid.rowCount(), 1) << k;
        ASSERT_EQ(grid.colCount(), 3) << k;
        EXPECT_EQ(tableCsvLines(grid), std::vector<std::string>{" , , ,"}) << k;
    }
}

TEST(ExportTables, ModelTablesHeadingsRowsAndFormats) {
    SectionModel m;
    m.document.NCONC_PT = 3;
    m.document.CONC_PT = {{0, 0}, {800, 0}, {800, 1000.5}, {}};
    m.document.NCOVER_PT = 2;
    m.document.COVER_PT = {{35, 35}, {765, 35}, {}};
    m.document.NSTEEL_SEC = 2;
    m.document.STEEL_SEC = {{}, polygon(4, 0), polygon(5, 100)};
    m.document.NOPEN_SEC = 1;
    m.document.OPEN_SEC = {{}, polygon(3, 50)};
    m.document.NBAR = 2;
    m.document.BAR = {{}, {1, 2, 25}, {3, 4, 32.125}};
    m.document.NFORCE = 2;
    m.document.FORCE = {{}, {-1500, 20.5, -30, "LC1", 0.87654}, {-100, 0, 0, "LC2", 0}};
    struct Case {
        const char* name;
        int entry;
        std::vector<std::string> headings;
        int rows;
        int probeRow;
        std::vector<std::string> probe;
    };
    const Case cases[] = {
        {"outline", 1, {"NUM", "X", "Y"}, 4, 3, {"2", "800.000", "1000.500"}},
        {"cover line", 2, {"NUM", "X", "Y"}, 3, 1, {"0", "35.000", "35.000"}},
        {"steel: 4 + 5 points", 3, {"SEC", "NUM", "X", "Y"}, 10, 5, {"2", "0", "100.000", "0.000"}},
        {"steel: last of first polygon",
         3,
         {"SEC", "NUM", "X", "Y"},
         10,
         4,
         {"1", "3", "3.000", "6.000"}},
        {"openings", 5, {"SEC", "NUM", "X", "Y"}, 4, 3, {"1", "2", "52.000", "4.000"}},
        {"bars", 4, {"NUM", "X", "Y", "Dia"}, 3, 2, {"2", "3.000", "4.000", "32.13"}},
        {"fibres before meshing", 6, {"NUM", "X", "Y", "Area", "Type", "Mat"}, 1, 0, {"NUM", "X"}},
        {"concrete",
         8,
         {"NUM", "Name", "Ec", "fc", "eps_0", "eps_cu"},
         m.document.NCONCMAT + 1,
         0,
         {"NUM"}},
        {"steel materials", 9, {"NUM", "Name", "Es", "fy"}, m.document.NSTEELMAT + 1, 0, {"NUM"}},
        {"cover materials",
         10,
         {"NUM", "Name", "Ec", "fc", "eps_0", "eps_cu"},
         m.document.NCOVERMAT + 1,
         0,
         {"NUM"}},
        {"loads",
         11,
         {"NUM", "LoadComb", "P", "My", "Mx", "LoadFraction", "Mark"},
         3,
         1,
         {"1", "LC1", "-1500.000", "20.500", "-30.000", "0.876", "<1"}},
        {"a load never checked",
         11,
         {"NUM", "LoadComb", "P", "My", "Mx", "LoadFraction", "Mark"},
         3,
         2,
         {"2", "LC2", "-100.000", "0.000", "0.000", "", ""}},
    };
    NullMessages none;
    for (const Case& c : cases) {
        DataTable grid;
        showTableEntry(m, c.entry, "45", "1000", none, grid);
        EXPECT_EQ(headings(grid), c.headings) << c.name;
        EXPECT_EQ(grid.rowCount(), c.rows) << c.name;
        for (std::size_t i = 0; i < c.probe.size(); ++i)
            EXPECT_EQ(grid.text(c.probeRow, static_cast<int>(i)), c.probe[i])
                << c.name << " column " << i;
    }
}

TEST(ExportTables, MaterialFormats) {
    SectionModel m;
    ASSERT_GT(m.document.NCONCMAT, 0);
    NullMessages none;
    DataTable grid;
    showTableEntry(m, 8, "45", "1000", none, grid);
    const TMAT& c = m.document.CONC_MAT[1];
    EXPECT_EQ(grid.text(1, 1), c.NAME);
    EXPECT_FALSE(grid.rows[1][1].number);
    EXPECT_EQ(grid.text(1, 2).find('.'), std::string::npos);            // Ec without decimals
    EXPECT_EQ(grid.text(1, 4).size() - grid.text(1, 4).find('.'), 6u);  // eps_0 with five
    EXPECT_EQ(grid.rows[1][4].decimals, 5);
    EXPECT_TRUE(grid.rows[1][4].number);
}

TEST(ExportTables, CurveTablesRunTheirAnalysis) {
    SectionModel m = meshedColumn();
    ASSERT_GT(m.mesh.NFIB, 0);
    m.settings.NPM = 4;
    m.settings.NMM = 24;
    NullMessages none;
    struct Case {
        const char* name;
        int entry;
        std::vector<std::string> headings;
        int rows;
    };
    const Case cases[] = {
        {"P-Mx", 13, {"NUM", "Axial(P)", "Moment(M)"}, 2 * 4 + 3},
        {"P-My", 14, {"NUM", "Axial(P)", "Moment(M)"}, 2 * 4 + 3},
        {"P-M(ang)", 15, {"NUM", "Axial(P)", "Moment(M)"}, 2 * 4 + 3},
        {"Mx-My at NMM 24", 16, {"NUM", "Moment(My)", "Moment(Mx)"}, 26},
    };
    for (const Case& c : cases) {
        DataTable grid;
        showTableEntry(m, c.entry, "30", "2000", none, grid);
        EXPECT_EQ(headings(grid), c.headings) << c.name;
        EXPECT_EQ(grid.rowCount(), c.rows) << c.name;
        EXPECT_EQ(grid.text(1, 0), c.entry == 16 ? "0" : "1") << c.name;
    }
}

TEST(ExportTables, BadAnalysisTextsStopEveryTableWithTheClearedGrid) {
    SectionModel m;
    NullMessages none;
    for (int k : {0, 1, 16}) {
        DataTable grid;
        try {
            showTableEntry(m, k, "4x5", "1000", none, grid);
            ADD_FAILURE() << k;
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), "'4x5' is not a valid floating point value") << k;
        }
        EXPECT_EQ(tableCsvLines(grid), std::vector<std::string>{" , , ,"}) << k;
    }
    DataTable grid;
    EXPECT_THROW(showTableEntry(m, 1, "45", "", none, grid), ConversionError);
    // Curves need fibres: refused, grid left cleared.
    EXPECT_THROW(showTableEntry(m, 13, "45", "1000", none, grid), InputError);
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST(ExportTables, CsvLinesEndInAComma) {
    SectionModel m;
    m.document.NCONC_PT = 1;
    m.document.CONC_PT = {{1.5, -2}, {}};
    NullMessages none;
    DataTable grid;
    showTableEntry(m, 1, "45", "1000", none, grid);
    EXPECT_EQ(tableCsvLines(grid), (std::vector<std::string>{"NUM,X,Y,", "0,1.500,-2.000,"}));
}

TEST(ExportTables, WorkbookExports) {
    SectionModel m;
    m.document.NCONC_PT = 1;
    m.document.CONC_PT = {{1.5, -2}, {}};
    NullMessages none;
    DataTable grid;
    {
        RecordingWorkbook book;
        CLEAR_TABLE(grid);
        exportSelectedTable(book, 12, grid);
        EXPECT_TRUE(book.calls.empty()) << "an entry without a table adds no sheet";
    }
    {
        RecordingWorkbook book;
        showTableEntry(m, 1, "45", "1000", none, grid);
        exportSelectedTable(book, 1, grid);
        const std::vector<std::string> expected{"add Concrete_Section",
                                                "activate Concrete_Section",
                                                "text 1,1 NUM",
                                                "text 1,2 X",
                                                "text 1,3 Y",
                                                "number 2,1 0.000000 /-1",
                                                "number 2,2 1.500000 /3",
                                                "number 2,3 -2.000000 /3"};
        EXPECT_EQ(book.calls, expected);
    }
    {
        RecordingWorkbook book;
        std::vector<int> shown;
        exportAllTables(book, [&](int KI) -> const DataTable& {
            shown.push_back(KI);
            CLEAR_TABLE(grid);
            return grid;
        });
        EXPECT_EQ(shown, (std::vector<int>{16, 15, 14, 13, 11, 10, 9, 8, 6, 5, 4, 3, 2, 1}));
        EXPECT_EQ(book.calls.front(), "add Concrete_Section");
        EXPECT_EQ(book.calls[13], "add Mx_My_Curve");
        EXPECT_EQ(book.calls[14], "activate Mx_My_Curve");
        EXPECT_EQ(book.calls.back(), "text 1,3  ");
    }
}
