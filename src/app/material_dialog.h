#pragma once
// "Concrete and Steel Material": inspect and change any grade of the three material tables.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qav {

class AppContext;

class MaterialDialog : public QDialog {
    Q_OBJECT
public:
    MaterialDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void typeChanged();
    void nameChanged();
    void modify();
    AppContext& ctx_;
    QComboBox *ComboBox1, *ComboBox2;
    QLabel *Label5, *Label6, *Label7, *Image1, *Image2;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
};

}  // namespace qav
