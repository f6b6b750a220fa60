#pragma once
// "About QAV Section".
#include <QDialog>

namespace qav {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);
};

}  // namespace qav
