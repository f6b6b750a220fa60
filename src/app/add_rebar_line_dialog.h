#pragma once
// "Add Rebar From Start Point to End Point": evenly spaced bars between the two selected bars.
#include <QDialog>

class QLineEdit;

namespace qav {

class AppContext;

class AddRebarLineDialog : public QDialog {
    Q_OBJECT
public:
    AddRebarLineDialog(AppContext& ctx, QWidget* parent);

private:
    void addRebar();
    AppContext& ctx_;
    QLineEdit *Edit1, *Edit2;
};

}  // namespace qav
