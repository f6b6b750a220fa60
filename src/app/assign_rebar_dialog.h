#pragma once
// "Assign Rebar Diameter": one diameter for every selected bar.
#include <QDialog>

class QLineEdit;

namespace qav {

class AppContext;

class AssignRebarDialog : public QDialog {
    Q_OBJECT
public:
    AssignRebarDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void assign();
    AppContext& ctx_;
    QLineEdit* Edit1;
};

}  // namespace qav
