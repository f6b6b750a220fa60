#pragma once
// "Build Steel Section": one steel polygon from ten shapes; the rest of the model stays.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "model/section_model.h"

namespace qav {

class SteelSectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit SteelSectionDialog(SectionModel& model, QWidget* parent = nullptr);

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
    std::array<QLabel*, 7> KLabel{};
    std::array<QLineEdit*, 7> KEdit{};
    QLabel* Image1;
};

}  // namespace qav
