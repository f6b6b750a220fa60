#pragma once
// "Display Setting": the six switches of the section view.
#include <QDialog>

class QCheckBox;

namespace qav {

class AppContext;

class DisplaySettingDialog : public QDialog {
    Q_OBJECT
public:
    DisplaySettingDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx_;
    QCheckBox* boxes_[7] = {};  // 1..6
    QCheckBox* axes_ = nullptr;
};

}  // namespace qav
