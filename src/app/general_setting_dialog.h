#pragma once
// "General Setting " (the trailing blank is part of the caption): curve steps and design code.
#include <QDialog>

class QComboBox;
class QLineEdit;

namespace qav {

class AppContext;

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
};

}  // namespace qav
