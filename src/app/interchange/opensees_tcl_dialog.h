#pragma once
// "Gen OpenSEES Tcl": the meshed section as OpenSees fibre commands, editable, saved on request.
#include <QDialog>

#include "app/interchange/interchange_ui.h"
#include "model/section_model.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qav::app {

class OpenSeesTclDialog : public QDialog {
    Q_OBJECT
public:
    OpenSeesTclDialog(SectionModel& model, QWidget* parent = nullptr,
                      InterchangeUi ui = standardInterchangeUi());

    QPlainTextEdit* textArea() const { return text_; }
    QPushButton* generateButton() const { return generate_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* closeButton() const { return close_; }

    // "Generate": empties the text area and fills it from the fibres.
    void generate();
    // "Save Text": the text area's lines, as shown, CR LF after each. False when cancelled or
    // the file could not be written (the message is shown).
    bool saveText();

private:
    SectionModel& model_;
    InterchangeUi ui_;
    QLabel* label_;
    QPlainTextEdit* text_;
    QPushButton* generate_;
    QPushButton* save_;
    QPushButton* close_;
};

}  // namespace qav::app
