#pragma once
// "Gen OpenSEES Tcl": the meshed section as OpenSees fibre commands, editable, saved on request.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qav {

class AppContext;

class OpenSeesTclDialog : public QDialog {
    Q_OBJECT
public:
    OpenSeesTclDialog(AppContext& ctx, QWidget* parent = nullptr);

    QPlainTextEdit* textArea() const { return text_; }
    QPushButton* generateButton() const { return generate_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* closeButton() const { return close_; }

    QCheckBox* gjCheck() const { return gjCheck_; }
    QLineEdit* gjEdit() const { return gjEdit_; }

    // "Generate": empties the text area and fills it from the fibres, with "-GJ" when
    // "Torsional stiffness GJ" is ticked (its box: auto or a value).
    void generate();
    // "Save Text": the text area's lines as shown, CR LF after each (a file dialog without a
    // filter; a file error is shown by the command boundary).
    void saveText();

private:
    AppContext& ctx_;
    QLabel* label_;
    QPlainTextEdit* text_;
    QPushButton* generate_;
    QPushButton* save_;
    QPushButton* close_;
    QCheckBox* gjCheck_;
    QLineEdit* gjEdit_;
};

}  // namespace qav
