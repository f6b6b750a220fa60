#pragma once
// What the four builder dialogs have in common: the model they write, the two signals the main
// window connects, and the standard rows (shape list, dimension group, buttons).
#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <functional>
#include <vector>

#include "builders/shape_catalog.h"
#include "builders/shape_picture.h"
#include "model/section_model.h"

namespace qav {

class BuilderDialog : public QDialog {
    Q_OBJECT
public:
signals:
    // The model was changed; the main window recomputes nothing more and redraws.
    void sectionChanged();
    // A message for the user: a box that is not a number, or a value the builder refuses.
    void errorOccurred(const QString& message);

protected:
    BuilderDialog(SectionModel& model, const char* formName, const char* caption, QWidget* parent);

    // Runs a build. A conversion or input error becomes errorOccurred and false: the builders
    // read and check every box before they touch the model, so the section stays as it was. Any
    // other error also emits sectionChanged first (the build may have stopped half-way).
    // Success emits sectionChanged and hides the dialog.
    bool attempt(const std::function<void()>& build);
    // Runs a step that may meet a bad box or a refused value; reports it and returns false.
    bool reportErrors(const std::function<void()>& step);

    // The frame of the shape dialogs: on the left "Section Shape" (Label1) with the list
    // ComboBox1 and GroupBox1 "Section Dimension" with rows KLabel1 + KEdit1 ... of the given
    // captions and texts; on the right the 222 x 172 picture. A change of the list runs
    // shapeChanged(). Returns the two columns for the dialog's own controls.
    std::pair<QVBoxLayout*, QVBoxLayout*> addShapeFrame(const QStringList& names,
                                                        const std::vector<const char*>& captions,
                                                        const std::vector<const char*>& texts);
    // A row of buttons, right-aligned, each connected to its action.
    void addButtons(QBoxLayout* into,
                    const std::vector<std::pair<const char*, const char*>>& nameAndCaption,
                    const std::vector<std::function<void()>>& actions, bool alignRight = true);

    // Labels and visibility of the dimension rows: the listed rows shown, the others hidden
    // with empty labels.
    void showDimensionRows(const std::vector<DimensionRow>& rows);
    // Draws a shape picture into Image1 (222 x 172).
    void showPicture(const ShapePicture& picture);

    void showEvent(QShowEvent* event) override;
    // ComboBox1Change of the shape dialogs; also run each time the dialog is shown.
    virtual void shapeChanged() {}

    SectionModel& model_;
    QComboBox* ComboBox1 = nullptr;
    std::vector<QLabel*> KLabel;
    std::vector<QLineEdit*> KEdit;
    QLabel* Image1 = nullptr;
};

}  // namespace qav
