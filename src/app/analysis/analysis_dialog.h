#pragma once
// "P-M/Myy-Mxx Curve Analysis": runs the interaction curves of the meshed section, shows each
// as chart and listing, shows the critical load combination and prints the three reports.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis/analysis_widgets.h"
#include "app/dialog_parts.h"
#include "app/printing.h"
#include "model/section_model.h"
#include "reports/chart_frame.h"
#include "reports/printed_pages.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qav {

class AppContext;

class AnalysisDialog : public QDialog, public ProgressSource {
    Q_OBJECT
public:
    AnalysisDialog(AppContext& ctx, QWidget* parent);

    // The buttons, each one command.
    void runPm();              // "Run P-M Analysis"
    void runMm();              // "Run Myy-Mxx Analysis"
    void exportCsv();          // "Export CSV"
    void showSectionImage();   // "Show Section Image"
    void printFigureReport();  // "Print PMM Report(Fig)"
    void printTextReport();    // "Print PMM Report(Txt)"
    void printSectionData();   // "Print Section Data"
    // "Compare Codes": the section's design P-M curves at the P-M angle under HK-COP-2013,
    // EN 1992-1-1 and ACI 318-19 on one chart, the grades each took in the listing.
    void compareCodes();

    const QImage& picture() const { return Image1.image(); }

protected:
    void showEvent(QShowEvent* event) override;
    // The dialog opens at its own size and may grow: the text output takes the room (a
    // key-point table shows whole), the buttons and boxes keep to the right edge.
    void resizeEvent(QResizeEvent* event) override;

private:
    using AnalysisComposition = void (*)(PageDocument&, SectionModel&, const ReportInputs&,
                                         Messages&, Progress&);
    // Runs one curve (analysis and listing into list 0), shows the listing and draws the chart.
    void runCurve(const QString& label,
                  const std::function<void(SectionModel&, Progress&)>& analyse,
                  const std::function<void(Canvas&, const ChartFrame&)>& chart);
    void printAnalysisReport(PageShape shape, const QString& label, AnalysisComposition compose);
    // The P-M angle of the radio group: 0, -90 or the negated "Moment Angle".
    double pmAngle() const;
    LoadMarks marks() const;
    void showCriticalComb();
    // The section changed under the dialog: its chart, listing and critical combination go.
    void clearResults();

    AppContext& ctx_;
    std::vector<std::string> list0_;         // the listing shown in the memo
    std::unique_ptr<GrowingPlaces> places_;  // see resizeEvent
    // What "Export CSV" writes: the curve last run, and its key points (their own file).
    std::vector<std::string> csv_, keyPointsCsv_;
    ChartPicture Image1;
    RadioGroup* RadioGroup1;
    QLineEdit* Edit1;  // "Moment Angle"
    QLineEdit* Edit2;  // "Axial Force (kN)"
    QLineEdit* Edit3;  // critical combination: index
    QLineEdit* Edit7;  // name
    QLineEdit* Edit8;  // load fraction
    QLineEdit* Edit4;  // P
    QLineEdit* Edit5;  // MX
    QLineEdit* Edit6;  // MY
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1;  // "Critical Load Comb"
    QCheckBox* CheckBox2;  // "All Load Comb"
    QCheckBox* CheckBox3;  // "Key Points"
};

}  // namespace qav
