#pragma once
// "General Setting " (the trailing blank is part of the caption): curve steps, design code, the
// ultimate strain limit, the code's design choices (alpha_cc, ties), the equilibrium solver of
// the analyses and whether steel-only sections get mesh nodes inside their steel.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qav {

class AppContext;
struct SectionModel;

// The settings kept with the program's settings (solver, steel mesh option, strain limit,
// integration, code minimum eccentricity), read into the model at start-up.
void loadProgramSettings(SectionModel& m);
// Keeps the settings above with the program's settings.
void storeProgramSettings(const SectionModel& m);

class GeneralSettingDialog : public QDialog {
    Q_OBJECT
public:
    GeneralSettingDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void okay();
    void enableCodeChoices();
    // The limit box for the code chosen: the code's limits, fixed and said why, under a code
    // that allows no other; the setting otherwise.
    void showStrainLimit();
    AppContext& ctx_;
    QLineEdit *Edit1, *Edit2;
    QComboBox* ComboBox1;
    QComboBox* StrainLimitBox;
    QLabel* StrainLimitNote;
    int limitSetting_ = 0;  // the setting's index in the limit box (HK-COP-2013, BS-8110)
    QComboBox* IntegrationBox;
    QComboBox* AlphaCcBox;
    QComboBox* TiesBox;
    QComboBox* SolverBox;
    QCheckBox* SteelGridBox;
};

}  // namespace qav
