#pragma once
// "Build Composite Section": RC, SRC and CFT sections. "Input Data" reads the boxes into the
// dialog's parameter set and draws the preview; "Gen Section" builds from that set.
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>

#include "builders/composite_section.h"
#include "model/section_model.h"

namespace qav {

class CompositeSectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit CompositeSectionDialog(SectionModel& model, QWidget* parent = nullptr);

    // ComboBox1Change: shows the type's controls, then "Input Data".
    void typeChanged();
    // "Input Data": reads the boxes into parameters() and redraws the preview.
    void inputData();
    // "Gen Section".
    void generate();

    // The parameters of the last "Input Data" (all 0 before the first).
    const CompositeParams& parameters() const { return params_; }

signals:
    void sectionChanged();
    void errorOccurred(const QString& message);

private:
    void showTypeControls();
    void drawPreview();

    SectionModel& model_;
    CompositeParams params_;
    QComboBox* ComboBox1;
    QGroupBox* steel1_;
    QGroupBox* steel2_;
    QLabel* Image1;
};

}  // namespace qav
