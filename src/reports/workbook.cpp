#include "reports/workbook.h"

#include "model/number_text.h"

namespace qav {

void writeTableCells(Workbook& book, const DataTable& grid) {
    for (int r = 0; r < grid.rowCount(); ++r) {
        const auto& row = grid.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            const TableCell& cell = row[static_cast<std::size_t>(c)];
            double value = 0;
            if (cell.number && TryToFloat(cell.text, value))
                book.setNumber(r + 1, c + 1, value, cell.decimals);
            else
                book.setText(r + 1, c + 1, cell.text);
        }
    }
}

void exportSelectedTable(Workbook& book, int KI, const DataTable& grid) {
    if (!hasSheet(KI)) return;
    const std::string name = tableEntry(KI).sheet;
    book.addSheet(name);
    book.activate(name);
    writeTableCells(book, grid);
}

void exportAllTables(Workbook& book, const std::function<const DataTable&(int KI)>& showEntry) {
    for (int KI = 1; KI < TABLE_ENTRY_COUNT; ++KI)
        if (hasSheet(KI)) book.addSheet(tableEntry(KI).sheet);
    for (int KI = TABLE_ENTRY_COUNT - 1; KI >= 1; --KI) {
        if (!hasSheet(KI)) continue;
        const DataTable& grid = showEntry(KI);
        book.activate(tableEntry(KI).sheet);
        writeTableCells(book, grid);
    }
}

}  // namespace qav
