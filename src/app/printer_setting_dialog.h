#pragma once
// "Printer Setting": chooses and sets up the one printer of the printed reports.
#include <QDialog>

class QLineEdit;
class QPrinter;

namespace qav {

class PrinterSettingDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSettingDialog(QPrinter& printer, QWidget* parent);

    // The buttons' operations (the setup dialog of Button2 is the platform's own).
    void setResolution1200();
    void checkDpi();

private:
    QPrinter& printer_;
    QLineEdit* Edit1;
};

}  // namespace qav
