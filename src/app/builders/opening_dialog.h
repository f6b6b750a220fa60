#pragma once
// "Build Section Openning": one rectangular or circular opening, replacing any earlier one.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "model/section_model.h"

namespace qav {

class OpeningDialog : public QDialog {
    Q_OBJECT
public:
    explicit OpeningDialog(SectionModel& model, QWidget* parent = nullptr);

    void shapeChanged();
    void generate();

signals:
    void sectionChanged();
    void errorOccurred(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    SectionModel& model_;
    QComboBox* ComboBox1;
    std::array<QLabel*, 4> KLabel{};
    std::array<QLineEdit*, 4> KEdit{};
    QLabel* Image1;
};

}  // namespace qav
