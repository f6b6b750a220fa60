#pragma once
// Every question and message box the application puts to the user goes through this
// interface, so tests can answer them without a modal loop.
#include <QString>

class QMessageBox;
class QWidget;

namespace qav {

enum class SaveAnswer { Save, Discard, Cancel };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A confirmation box with Yes and No; true only for Yes.
    virtual bool confirm(const QString& text) = 0;
    // File dialogs with a filter such as "SectionModel (*.sec)"; an empty name means cancelled.
    // The save dialog may offer a file name to start from.
    virtual QString openFileName(const QString& filter) = 0;
    virtual QString saveFileName(const QString& filter, const QString& defaultName = QString()) = 0;
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // "Save changes to NAME?" with Save, Discard and Cancel. Answers that script no reply discard.
    virtual SaveAnswer askSaveChanges(const QString& name) {
        (void)name;
        return SaveAnswer::Discard;
    }
};

// The folder the file dialogs start in: where the last chosen file lies (kept with the program's
// settings); empty when none was chosen yet or the folder is gone.
QString lastFileFolder();
// Records the folder of a file chosen in a dialog (an empty name, a cancelled dialog, records
// nothing).
void rememberFileFolder(const QString& path);

// The "Save changes to NAME?" box (Save, Discard, Cancel), not yet shown.
QMessageBox* createSaveChangesBox(QWidget* parent, const QString& name);

// The real boxes and file dialogs, parented to a window. The file dialogs start in the folder
// that the last one was left in (kept with the program's settings).
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent) : parent_(parent) {}
    bool confirm(const QString& text) override;
    QString openFileName(const QString& filter) override;
    QString saveFileName(const QString& filter, const QString& defaultName = QString()) override;
    void information(const QString& text) override;
    void error(const QString& text) override;
    SaveAnswer askSaveChanges(const QString& name) override;

private:
    QWidget* parent_;
};

}  // namespace qav
