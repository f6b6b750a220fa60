#pragma once
// "Import Column internal Force": the load combinations in a table, imported from and exported
// to CSV files, checked against the meshed section, and printed as the load-check report.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "analysis/load_combinations.h"
#include "app/analysis/analysis_widgets.h"
#include "app/dialog_parts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableWidget;

namespace qav {

class AppContext;

class LoadDialog : public QDialog, public ProgressSource {
    Q_OBJECT
public:
    LoadDialog(AppContext& ctx, QWidget* parent);

    void importCsv();     // "Import CSV File"
    void exportCsv();     // "Export CSV File"
    void exportSample();  // "Export Sample CSV"
    void checkMember();   // "Check Member"
    void printReport();   // "Print Report"
    // UPDATE_FORCE_TABLE: the table and "Number of Load Comb" from the combinations.
    void UPDATE_FORCE_TABLE();

protected:
    void showEvent(QShowEvent* event) override;
    // Opens at its own size and may grow: the table takes the room.
    void resizeEvent(QResizeEvent* event) override;

private:
    void showMinimumBoxes();
    void setHeaderRow();
    void showCriticalComb(int c);
    void markRow(int i, const TFORCE& f, const ListedLoad& L, const std::string& marks);

    AppContext& ctx_;
    std::vector<std::string> FORCE_LINES;
    QLineEdit* Edit1;  // "Number of Load Comb"
    QComboBox* ComboBox1;
    QTableWidget* StringGrid1;
    std::unique_ptr<GrowingPlaces> places_;  // see resizeEvent
    QLabel* Legend;                          // the marks' legend
    QProgressBar* ProgressBar1;
    QLineEdit* Edit2;      // critical combination
    QLineEdit* Edit4;      // its name
    QLineEdit* Edit3;      // its load fraction
    QLineEdit* Edit5;      // P
    QLineEdit* Edit6;      // MX
    QLineEdit* Edit7;      // MY
    QLineEdit* Edit10;     // K_P
    QLineEdit* Edit9;      // K_MX
    QLineEdit* Edit8;      // K_MY
    QCheckBox* MinEccBox;  // "Code minimum eccentricity" instead of the magnitudes above
};

}  // namespace qav
