#pragma once
// "Export Data": the tree of tables, the grid that shows the chosen one, and its exports as a
// CSV file or as a spreadsheet workbook (.xlsx, then opened in the desktop's spreadsheet
// program when there is one).
#include <QDialog>
#include <functional>
#include <string>
#include <utility>

#include "app/analysis/analysis_widgets.h"
#include "reports/export_tables.h"

class QLabel;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace qav {

class AppContext;
class GridModel;

class ExportDataDialog : public QDialog, public ProgressSource {
    Q_OBJECT
public:
    // The analysis dialog's "Moment Angle" and axial-force texts.
    using AnalysisTexts = std::function<std::pair<std::string, std::string>()>;
    // Opens a saved workbook; false when no program could take it.
    using WorkbookOpener = std::function<bool(const QString& path)>;

    ExportDataDialog(AppContext& ctx, QWidget* parent);

    void setAnalysisTexts(AnalysisTexts texts) { texts_ = std::move(texts); }
    void setWorkbookOpener(WorkbookOpener opener) { opener_ = std::move(opener); }

    // The tree entry chosen (-1 before any) and what the grid shows.
    int chosenEntry() const { return chosen_; }
    const DataTable& grid() const { return grid_; }
    // Chooses a tree entry as a click does: heading, then "Show Table". Throws as SHOW_TABLE.
    void chooseEntry(int KI);

    void showTable();
    void exportCsv();
    void exportSelectedToWorkbook();
    void exportAllToWorkbook();

private:
    void selectInTree(int KI);
    void refreshGrid();
    // Asks where to save; empty when cancelled. A name without extension gets ".xlsx".
    QString askWorkbookPath();
    void openWorkbook(const QString& path);

    AppContext& ctx_;
    AnalysisTexts texts_;
    WorkbookOpener opener_;
    QTreeWidget* tree_ = nullptr;
    QLabel* heading_ = nullptr;
    QTableView* view_ = nullptr;
    GridModel* gridModel_ = nullptr;
    DataTable grid_;
    int chosen_ = -1;
};

// The "Moment Angle" and axial-force texts of the open "P-M/Myy-Mxx Curve Analysis" dialog,
// or its defaults ("45", "1000") while there is none.
std::pair<std::string, std::string> analysisDialogTexts();

// Opens the file in the desktop's spreadsheet program; false when none is installed.
bool openInSpreadsheetProgram(const QString& path);

}  // namespace qav

namespace qav {
// Creates the "Export Data" dialog; "Show Table" and the Table tool button show it.
void installExportDataCommands(AppContext& ctx);
}  // namespace qav
