#pragma once
// "Build Typical Section": picks one of fifteen concrete shapes, shows its picture and rows, and
// on "Gen Section" replaces the section model with it.
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "model/section_model.h"

namespace qav {

class TypicalSectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit TypicalSectionDialog(SectionModel& model, QWidget* parent = nullptr);

    // ComboBox1Change: rows, defaults, bar groups and picture of the chosen shape.
    void shapeChanged();
    // "Gen Section".
    void generate();

signals:
    // The model was changed (also when a bad box stopped the build after it emptied the model).
    void sectionChanged();
    // A message for the user (a conversion error or a refused value).
    void errorOccurred(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    SectionModel& model_;
    QComboBox* ComboBox1;
    std::array<QLabel*, 7> KLabel{};
    std::array<QLineEdit*, 7> KEdit{};
    QGroupBox* GroupBox2;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Image1;
};

}  // namespace qav
