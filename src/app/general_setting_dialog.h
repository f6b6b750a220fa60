#pragma once
// "General Setting " (the trailing blank is part of the caption): curve steps, design code, the
// equilibrium solver of the analyses and whether steel-only sections get mesh nodes inside
// their steel (program settings, kept with the program's settings).
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qav {

class AppContext;
struct SectionModel;

// The solver choice and the steel mesh option kept with the program's settings, read into the
// model at start-up.
void loadProgramSettings(SectionModel& m);

class GeneralSettingDialog : public QDialog {
    Q_OBJECT
public:
    GeneralSettingDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void okay();
    AppContext& ctx_;
    QLineEdit *Edit1, *Edit2;
    QComboBox* ComboBox1;
    QComboBox* SolverBox;
    QCheckBox* SteelGridBox;
};

}  // namespace qav
