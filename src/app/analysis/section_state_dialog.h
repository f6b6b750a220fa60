#pragma once
// "Section State": the section's state for one load — the critical combination by default, any
// combination of the list, or a load typed in — at capacity (the load times its load fraction,
// by default) or at the load itself, as a picture of the fibres' stresses beside the
// strain profile, with a summary, "Save Image" (PNG) and "Export CSV" (one line per fibre).
#include <QDialog>
#include <QImage>
#include <optional>

#include "analysis/section_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace qav {

class AppContext;

class SectionStateDialog : public QDialog {
    Q_OBJECT
public:
    SectionStateDialog(AppContext& ctx, QWidget* parent);

    void showState();  // "Show State"
    void saveImage();  // "Save Image"
    void exportCsv();  // "Export CSV"

    const QImage& picture() const { return image_; }
    const std::optional<SectionState>& state() const { return state_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The combinations of the model in the list, the critical one chosen.
    void fillCombinations();
    void draw();

    AppContext& ctx_;
    QImage image_;
    QLabel* picture_;
    QRadioButton* combRadio_;
    QRadioButton* loadRadio_;
    QComboBox* combList_;
    QLineEdit* loadP_;
    QLineEdit* loadMx_;
    QLineEdit* loadMy_;
    QComboBox* stateAt_;
    QPlainTextEdit* summary_;
    std::optional<SectionState> state_;
};

}  // namespace qav
