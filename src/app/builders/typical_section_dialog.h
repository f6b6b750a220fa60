#pragma once
// "Build Typical Section": picks one of fifteen concrete shapes, shows its picture and rows, and
// on "Gen Section" replaces the section model with it.
#include "app/builders/builder_dialog.h"

namespace qav {

class TypicalSectionDialog : public BuilderDialog {
    Q_OBJECT
public:
    explicit TypicalSectionDialog(SectionModel& model, QWidget* parent = nullptr);

    // ComboBox1Change: rows, defaults, bar groups and picture of the chosen shape.
    void shapeChanged() override;
    // "Gen Section". A bad box stops the build after the model was emptied, and sectionChanged
    // is emitted for that too.
    void generate();

private:
    QGroupBox* GroupBox2;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
};

}  // namespace qav
