#pragma once
// The tables of the "Export Data" browser: the tree of entries, the contents of each table
// (headings, formats, rows) and its CSV text. Shared by the dialog and the command line.
#include <string>
#include <vector>

#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// One grid cell: the text shown, and whether it is a number (so a spreadsheet gets a number,
// shown with the same decimals; -1 decimals for a whole number).
struct TableCell {
    std::string text;
    bool number = false;
    int decimals = -1;
};

// The grid: row 0 holds the headings; every row has colCount() cells.
struct DataTable {
    std::vector<std::vector<TableCell>> rows;
    int rowCount() const { return static_cast<int>(rows.size()); }
    int colCount() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    const std::string& text(int r, int c) const;
};

// The browser's tree, numbered depth-first from 0.
struct TableEntry {
    const char* text;
    int parent;         // -1 for a top-level entry
    const char* sheet;  // spreadsheet sheet name; nullptr for an entry without a table
};
constexpr int TABLE_ENTRY_COUNT = 17;
// Throws std::out_of_range for a number outside 0 .. 16.
const TableEntry& tableEntry(int KI);
bool hasSheet(int KI);

// Entries 13 .. 16: their tables run a curve analysis.
bool isCurveTable(int KI);

// Three columns and one row of single blanks.
void CLEAR_TABLE(DataTable& grid);

// Fills the grid with table KI (numbers without a table leave it as it is). First converts the
// analysis dialog's "Moment Angle" and axial-force texts, whatever the table; entries 13 to 16
// run their curve analysis on the model first (the progress, when given, sees it). Throws
// ConversionError, InputError or RunCancelled before the grid or the model changes. A curve
// table with a point that did not converge gains a last column, "Converged" ("yes"/"no").
void SHOW_TABLE(SectionModel& m, int KI, const std::string& angleText, const std::string& axialText,
                Messages& msgs, DataTable& grid, Progress* progress = nullptr);

// "Show Table": CLEAR_TABLE then SHOW_TABLE.
void showTableEntry(SectionModel& m, int KI, const std::string& angleText,
                    const std::string& axialText, Messages& msgs, DataTable& grid,
                    Progress* progress = nullptr);

// Every entry's grid, as "Show Table" leaves it, indexed by entry: what "Export All Tables to
// Excel" shows. The curve tables run side by side on the model's THREADS (progress over them);
// the model then holds their results as after showing entries 16 down to 1, one at a time.
// Throws as SHOW_TABLE does, the model unchanged.
std::vector<DataTable> makeAllTables(SectionModel& m, const std::string& angleText,
                                     const std::string& axialText, Messages& msgs,
                                     Progress* progress = nullptr);

// Each row as its cells, each followed by a comma.
std::vector<std::string> tableCsvLines(const DataTable& grid);

// The P-M and the Myy-Mxx curve of results r as the table browser shows them: a numbered row per
// point, and under a strength reduction the nominal strength and phi beside the design one.
void pmCurveTable(DataTable& grid, const SectionModel& m, const SectionResults& r);
void mmCurveTable(DataTable& grid, const SectionModel& m, const SectionResults& r);

}  // namespace qav
