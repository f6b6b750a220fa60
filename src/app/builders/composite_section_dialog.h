#pragma once
// "Build Composite Section": RC, SRC and CFT sections. "Input Data" reads the boxes into the
// dialog's parameter set and draws the preview; "Gen Section" builds from that set.
#include "app/builders/builder_dialog.h"
#include "builders/composite_section.h"

namespace qav {

class CompositeSectionDialog : public BuilderDialog {
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

private:
    void showTypeControls();
    void drawPreview();

    CompositeParams params_;
    QGroupBox* steel1_;
    QGroupBox* steel2_;
};

}  // namespace qav
