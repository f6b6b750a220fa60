#pragma once
// "Section M-Phi Analysis": the moment-curvature curve of the meshed section under a constant
// axial force, as chart and listing.
#include <QDialog>
#include <string>
#include <vector>

#include "app/analysis/analysis_widgets.h"

class QLineEdit;
class QPlainTextEdit;

namespace qav {

class AppContext;

class MphiDialog : public QDialog, public ProgressSource {
    Q_OBJECT
public:
    MphiDialog(AppContext& ctx, QWidget* parent);

    void run();        // "Run M-Phi Analysis"
    void exportCsv();  // "Export CSV": the curve last run
    const QImage& picture() const { return Image1.image(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Puts the section's own default in "Max Comp strain" (under a code's limits its concrete's
    // least ultimate strain) unless the user has typed another value there.
    void offerDefaultStrain();

    AppContext& ctx_;
    std::vector<std::string> list_;
    ChartPicture Image1;
    RadioGroup* RadioGroup1;  // bending axis
    RadioGroup* RadioGroup2;  // sense of the moment
    QLineEdit* Edit1;         // "Max Comp strain"
    QLineEdit* Edit2;         // "Axial Force (kN)"
    QLineEdit* Edit3;         // "Num of Steps"
    QPlainTextEdit* Memo1;
    std::string offeredStrain_ = "0.0035";  // the default "Max Comp strain" last put in Edit1
};

}  // namespace qav
