#pragma once
// "Move Rebars": move, copy or line up the selected bars.
#include <QDialog>

class QLineEdit;

namespace qav {

class AppContext;

class MoveRebarsDialog : public QDialog {
    Q_OBJECT
public:
    MoveRebarsDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void move();
    void replicate();
    void moveToX();
    void moveToY();
    void done();
    AppContext& ctx_;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;
};

}  // namespace qav
