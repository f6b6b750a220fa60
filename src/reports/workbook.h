#pragma once
// A spreadsheet workbook as the table browser uses it: add and name sheets, activate one, set
// the cells of the active sheet. The app writes a real .xlsx file behind it; tests record.
#include <functional>
#include <string>

#include "reports/export_tables.h"

namespace qav {

class Workbook {
public:
    virtual ~Workbook() = default;
    // Adds a worksheet, makes it the active one and gives it the name.
    virtual void addSheet(const std::string& name) = 0;
    // Makes the named worksheet the active one.
    virtual void activate(const std::string& name) = 0;
    // Cells of the active sheet, 1-based as a spreadsheet counts them.
    virtual void setText(int row, int col, const std::string& text) = 0;
    // A number shown with `decimals` decimals (-1: a whole number or as it comes).
    virtual void setNumber(int row, int col, double value, int decimals) = 0;
};

// Every grid cell (r, c) into cell (r + 1, c + 1) of the active sheet; numbers as numbers.
void writeTableCells(Workbook& book, const DataTable& grid);

// "Export Selected Table to Excel": when entry KI has a sheet, adds and names it, activates it
// and copies the grid into it; otherwise the workbook stays without a sheet.
void exportSelectedTable(Workbook& book, int KI, const DataTable& grid);

// "Export All Tables to Excel": adds the sheets in tree order, then from the last entry back to
// the first shows each table (showEntry fills and returns the grid, as a click on the entry
// does) and copies it into its sheet. The grid ends showing the first table.
void exportAllTables(Workbook& book, const std::function<const DataTable&(int KI)>& showEntry);

}  // namespace qav
