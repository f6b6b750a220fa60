#pragma once
// The main window: tool bar, section view, the right-hand pages and two status bars. It owns
// the section model and implements AppContext for every command and dialog; the commands
// themselves live in the command map (command_wiring.cpp and the files it calls).
#include <QMainWindow>
#include <memory>

#include "app/app_context.h"
#include "app/command_boundary.h"
#include "app/recent_files.h"
#include "model/saved_text.h"
#include "model/section_model.h"

class QMenu;
class QPrinter;
class QToolBar;

namespace qav {

class CommandMap;
class PanelBar;
class SectionViewWidget;
class SidePanel;
class UserPrompts;

class MainWindow : public QMainWindow, public AppContext {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // AppContext
    SectionModel& model() override { return model_; }
    void applyControlsToModel() override;
    void showModelInControls() override;
    void modelChanged() override;
    void runCommand(const std::function<void()>& body) override;
    void onSectionState(QObject* receiver, const std::function<void()>& refresh) override;
    Messages& messages() override { return boundary_.messages(); }
    UserPrompts& prompts() override { return *prompts_; }
    QPrinter& printer() override { return *printer_; }
    CommandMap& commands() override { return *commands_; }
    QWidget* mainWidget() override { return this; }
    bool saveChangesFirst() override;
    void sectionImported() override;

    // Replaces the boxes and file dialogs (tests answer them); nullptr restores the real ones.
    // The window does not take ownership.
    void setPrompts(UserPrompts* prompts);

    SectionViewWidget* view() const { return view_; }
    SidePanel* sidePanel() const { return side_; }
    QToolBar* toolBar() const { return toolBar_; }
    // Status bar 1 (bottom: operation and counts) and 2 (mouse point).
    PanelBar* statusBar1() const { return status1_; }
    PanelBar* statusBar2() const { return status2_; }
    // Panel 1 of status bar 1: "None", "Move View", "Select Rebars".
    void setOperationText(const QString& text);

    // The Open and Save commands once a file name is chosen; true when the file was read or
    // written whole. Both make the file the window's file and add it to "Recent Files".
    bool openSection(const QString& path);
    bool saveSection(const QString& path);
    // The file named on the command line: one that cannot be read is reported and leaves the
    // window empty.
    void openStartupFile(const QString& path);
    // After "New": an untitled section with no changes.
    void startNewSection();
    // A "Recent Files" entry: a file that is gone is removed from the list with a message.
    void openRecentFile(const QString& path);

    // The file last opened or saved (empty for a new or imported section) and whether the
    // model holds changes that saving would write.
    QString filePath() const { return filePath_; }
    bool isModified() const { return modified_; }
    const RecentFiles& recentFiles() const { return recent_; }
    QMenu* recentFilesMenu() const { return recentMenu_; }

    // Brings the mesh and the stored results up to date with the section (SYNC_SECTION_STATE);
    // when that changed anything, the view and the dialogs follow. Runs before and after every
    // command, in every modelChanged() and after edits of the grade lists, so no change of the
    // model, inside a command or outside one, leaves a stale mesh or result behind.
    void syncSection();

signals:
    void sectionStateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void updateWindowSize();
    void updateCounts();
    // Counts, "Section Properties" and the view, as the model holds them.
    void showModel();
    void refreshModified();
    void updateCaption();
    void fillRecentMenu();
    void rememberFile(const QString& path);
    QString documentName() const;

    SectionModel model_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    UserPrompts* prompts_ = nullptr;
    CommandBoundary boundary_{prompts_};
    std::unique_ptr<QPrinter> printer_;
    CommandMap* commands_ = nullptr;
    SectionViewWidget* view_ = nullptr;
    SidePanel* side_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    PanelBar* status1_ = nullptr;
    PanelBar* status2_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    RecentFiles recent_;
    SavedText saved_;
    QString filePath_;
    bool modified_ = false;
};

}  // namespace qav
