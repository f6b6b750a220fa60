#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>

#include "app/command_map.h"
#include "app/command_wiring.h"
#include "app/general_setting_dialog.h"
#include "app/panel_bar.h"
#include "app/section_view_widget.h"
#include "app/side_panel.h"
#include "app/tool_icons.h"
#include "app/user_prompts.h"
#include "mesh/section_sync.h"
#include "model/section_file.h"

namespace qav {

namespace {
const QString kCaption = QStringLiteral("QAV Section v1.0 (2022-03-14)");
const QString kUntitled = QStringLiteral("Untitled");

// Tool buttons, left to right; 0 marks a separator gap. The index + 1 is the button number.
struct ToolButton {
    const char* command;
    const char* tip;
};
const ToolButton kToolButtons[] = {
    {cmd::New, "New"},
    {cmd::Open, "Open"},
    {cmd::Save, "Save"},
    {cmd::XtractExport, "XTRACT export"},
    {cmd::BuildComposite, "Composite"},
    {cmd::GeneralSetting, "General Setting"},
    {cmd::MaterialSetting, "Materials"},
    {cmd::PrinterSetting, "Printer"},
    {nullptr, nullptr},
    {cmd::MoveView, "Move view"},
    {cmd::Fit, "Fit"},
    {cmd::ZoomIn, "Zoom in"},
    {cmd::ZoomOut, "Zoom out"},
    {cmd::Redraw, "Redraw"},
    {cmd::DisplaySetting, "Display"},
    {nullptr, nullptr},
    {cmd::BuildTypical, "Typical section"},
    {cmd::BuildSteel, "Steel section"},
    {cmd::Mesh, "Mesh"},
    {cmd::BuildOpening, "Opening"},
    {nullptr, nullptr},
    {cmd::DeleteSection, "Delete section"},
    {cmd::DeleteSteel, "Delete steel"},
    {cmd::DeleteMesh, "Delete mesh"},
    {nullptr, nullptr},
    // Button 22 shows the CAD picture and starts the CAD import.
    {cmd::CadImport, "Import Section From CAD (2016)"},
    {cmd::DxfExport, "DXF export"},
    {cmd::DxfImport, "DXF import"},
    {cmd::OpenSees, "OpenSees"},
    {nullptr, nullptr},
    {cmd::Analysis, "Analysis"},
    {cmd::MPhi, "M-Phi"},
    {cmd::PmmSurface, "PMM surface"},
    {cmd::Loading, "Loading"},
    {cmd::Table, "Table"},
    {nullptr, nullptr},
    {cmd::SelectRebars, "Select rebars"},
    {cmd::AddSingleRebar, "Add single rebar"},
    {cmd::AddAlongLine, "Add along line"},
    {cmd::AssignRebar, "Assign diameter"},
    {cmd::DeleteRebars, "Delete selected"},
    {cmd::MoveRebars, "Move/replicate"},
    {cmd::AlignX, "Align X"},
    {cmd::AlignY, "Align Y"},
    {cmd::AlignDir, "Align direction"},
};
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWindow");
    setWindowTitle(kCaption);
    setWindowIcon(windowIcon());
    ownPrompts_ = std::make_unique<QtUserPrompts>(this);
    prompts_ = ownPrompts_.get();
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    commands_ = new CommandMap(boundary_, prompts_, this);
    loadProgramSettings(model_);

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    view_ = new SectionViewWidget(model_, central);
    side_ = new SidePanel(*commands_, central);
    side_->setFixedWidth(276);
    status2_ = new PanelBar("StatusBar2",
                            {{"Mouse Point", 100}, {"", 200}, {"Timer", 50}, {"", 50}}, central);
    status1_ = new PanelBar("StatusBar1",
                            {{"Operation", 100},
                             {"None", 150},
                             {"Num of Fibers", 100},
                             {"0", 50},
                             {"Points of Poly", 100},
                             {"0", 50},
                             {"Num of Rebars", 100},
                             {"0", 50},
                             {"Select Bars", 100},
                             {"0", 50},
                             {"SteelSec", 80},
                             {"0", 50}},
                            central);
    grid->addWidget(view_, 0, 0);
    grid->addWidget(side_, 0, 1);
    grid->addWidget(status2_, 1, 0, 1, 2);
    grid->addWidget(status1_, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    setCentralWidget(central);

    view_->onPainted = [this](const ViewCounts&) { updateCounts(); };
    view_->onNavigation = [this](const NavEffect& e) {
        if (e.operation) setOperationText(QString::fromStdString(*e.operation));
        if (e.readout) status2_->setText(1, QString::fromStdString(*e.readout));
        if (e.redraw) modelChanged();
        if (e.selectionFull)
            prompts_->information(
                QStringLiteral(
                    "The selection holds at most %1 bars; further bars were not selected.")
                    .arg(SEL_BAR_CAPACITY));
    };
    connect(side_, &SidePanel::controlsEdited, this, [this] {
        applyControlsToModel();
        syncSection();
        refreshModified();  // the grade lists and the mesh size box are saved with the section
    });
    boundary_.beforeCommand = [this] {
        applyControlsToModel();
        syncSection();
    };
    boundary_.afterCommand = [this] {
        syncSection();
        refreshModified();
    };

    // The model's defaults: materials (built with the model), the display switches, NPM, NMM,
    // the design code and an empty set of load combinations.
    applyControlsToModel();
    saved_.markSaved(model_);
    recent_.load(appSettings());
    installAllCommands(*this);
    buildMenus();
    buildToolBar();

    // The Delete key works anywhere in the window, also while a text box has the focus.
    qApp->installEventFilter(this);

    resize(1181, 778);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    updateWindowSize();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::buildMenus() {
    CommandMap& c = *commands_;
    // A menu item whose caption differs from its command's name triggers the command.
    auto item = [&](QMenu* menu, const QString& caption, const char* command,
                    const QKeySequence& keys = {}) {
        QAction* a = menu->addAction(caption);
        a->setShortcut(keys);
        const QString name = command;
        connect(a, &QAction::triggered, this, [this, name] { commands_->run(name); });
    };
    auto add = [&](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* n : names) menu->addAction(c.action(n));
    };
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu("File");
    add(file, {cmd::New, cmd::Open, cmd::Save, cmd::Close});
    file->addSeparator();
    recentMenu_ = file->addMenu("Recent Files");
    recentMenu_->setObjectName("RecentFilesMenu");
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    fillRecentMenu();
    file->addSeparator();
    QAction* exit = file->addAction("Exit");
    exit->setObjectName("ExitAction");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    add(bar->addMenu("Define"),
        {cmd::MaterialSetting, cmd::DisplaySetting, cmd::GeneralSetting, cmd::PrinterSetting});
    QMenu* section = bar->addMenu("Section");
    add(section, {cmd::BuildTypical, cmd::BuildSteel, cmd::BuildOpening});
    item(section, "Mesh Section", cmd::Mesh);
    add(section, {cmd::DeleteSection, cmd::DeleteMesh, cmd::DeleteSteel});
    QMenu* rebar = bar->addMenu("Rebar");
    item(rebar, "Select Rebar Fibers", cmd::SelectRebars, QKeySequence("Ctrl+S"));
    item(rebar, "Assign Rebar Properties", cmd::AssignRebar, QKeySequence("Ctrl+B"));
    item(rebar, "Add Single Point Rebar", cmd::AddSingleRebar);
    item(rebar, "Add Along Line Rebar", cmd::AddAlongLine);
    item(rebar, "Delete Selected Rebar", cmd::DeleteRebars);
    item(rebar, "Move/Replicate Rebars", cmd::MoveRebars);
    item(rebar, "Aligning Rebars along X", cmd::AlignX);
    item(rebar, "Aligning Rebars along Y", cmd::AlignY);
    item(rebar, "Aligning Rebars Along Dir", cmd::AlignDir);
    QMenu* cad = bar->addMenu("CAD");
    item(cad, "Import From AutoCAD", cmd::CadImport);
    item(cad, "Import DXF File", cmd::DxfImport);
    item(cad, "Export DXF File", cmd::DxfExport);
    // Reachable from the menus as well as the tool bar.
    add(cad, {cmd::OpenSees});
    QMenu* analysis = bar->addMenu("Analysis");
    item(analysis, "P-M Curve Analysis", cmd::Analysis);
    item(analysis, "Import Loading", cmd::Loading);
    item(analysis, "Show Table", cmd::Table);
    add(analysis, {cmd::SectionState});
    analysis->addSeparator();
    add(analysis, {cmd::MPhi, cmd::PmmSurface});
    QMenu* help = bar->addMenu("Help");
    add(help, {cmd::About, cmd::Help});
    c.action(cmd::Help)->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar("Tools");
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setFixedHeight(29);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    int number = 0;
    for (const ToolButton& t : kToolButtons) {
        if (t.command == nullptr) {
            toolBar_->addSeparator();
            continue;
        }
        ++number;
        auto* b = new QToolButton(toolBar_);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(number));
        b->setIcon(toolIcon(t.command));
        b->setIconSize(QSize(20, 20));
        b->setFixedSize(27, 26);
        b->setAutoRaise(true);
        b->setToolTip(t.tip);
        QAction* a = commands_->action(t.command);
        connect(b, &QToolButton::clicked, a, &QAction::trigger);
        toolBar_->addWidget(b);
    }
}

void MainWindow::setPrompts(UserPrompts* prompts) {
    prompts_ = prompts ? prompts : ownPrompts_.get();
}

void MainWindow::applyControlsToModel() {
    side_->writeToModel(model_);
}

void MainWindow::showModelInControls() {
    side_->readFromModel(model_);
    side_->writeToModel(model_);  // an index the lists do not hold falls back to the list's
}

void MainWindow::updateCounts() {
    const ViewCounts c = viewCounts(model_);
    status1_->setText(3, QString::fromStdString(c.NFIB));
    status1_->setText(5, QString::fromStdString(c.NCONC_PT));
    status1_->setText(7, QString::fromStdString(c.NBAR));
    status1_->setText(9, QString::fromStdString(c.NSEL_BAR));
    status1_->setText(11, QString::fromStdString(c.NSTEEL_SEC));
}

void MainWindow::modelChanged() {
    // Every change the window is told of passes here, also those made outside a command (the
    // builder dialogs, the view's edits): the mesh and the results follow before anything shows.
    syncSection();
    showModel();
}

void MainWindow::showModel() {
    refreshModified();
    updateCounts();
    side_->showProperties(model_);
    view_->update();
}

void MainWindow::runCommand(const std::function<void()>& body) {
    boundary_.run(body);
}

void MainWindow::onSectionState(QObject* receiver, const std::function<void()>& refresh) {
    connect(this, &MainWindow::sectionStateChanged, receiver, refresh);
}

void MainWindow::syncSection() {
    if (!SYNC_SECTION_STATE(model_).changed()) return;
    showModel();
    emit sectionStateChanged();
}

void MainWindow::setOperationText(const QString& text) {
    status1_->setText(1, text);
}

bool MainWindow::openSection(const QString& path) {
    bool ok = false;
    runCommand([&] {
        // The controls follow whatever the file set, even when reading stops half-way.
        struct Sync {
            MainWindow& w;
            ~Sync() {
                w.showModelInControls();
                w.modelChanged();
            }
        } sync{*this};
        openSectionFile(model_, path.toStdString());
        ok = true;
    });
    if (ok) rememberFile(path);
    return ok;
}

bool MainWindow::saveSection(const QString& path) {
    bool ok = false;
    runCommand([&] {
        applyControlsToModel();
        saveSectionFile(model_, path.toStdString());
        ok = true;
    });
    if (ok) rememberFile(path);
    return ok;
}

void MainWindow::openStartupFile(const QString& path) {
    // Tried on a copy first: a file that stops half-way must not leave half a section behind.
    SectionModel probe = model_;
    bool readable = false;
    runCommand([&] {
        openSectionFile(probe, path.toStdString());
        readable = true;
    });
    if (readable) openSection(path);
}

void MainWindow::startNewSection() {
    filePath_.clear();
    saved_.markSaved(model_);
    refreshModified();
}

void MainWindow::sectionImported() {
    // What an import brought in belongs to no file yet; compared with the file it replaced it
    // is a change, so closing asks to save it.
    filePath_.clear();
    refreshModified();
}

void MainWindow::openRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        recent_.remove(path);
        recent_.store(appSettings());
        fillRecentMenu();
        prompts_->information(
            QStringLiteral(
                "The file %1 no longer exists; it was removed from the Recent Files list.")
                .arg(path));
        return;
    }
    if (!saveChangesFirst()) return;
    openSection(path);
}

bool MainWindow::saveChangesFirst() {
    refreshModified();
    if (!modified_) return true;
    switch (prompts_->askSaveChanges(documentName())) {
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Save:
            break;
    }
    QString path = filePath_;
    if (path.isEmpty()) path = prompts_->saveFileName(QStringLiteral("SectionModel (*.sec)"));
    return !path.isEmpty() && saveSection(path);
}

void MainWindow::rememberFile(const QString& path) {
    filePath_ = QFileInfo(path).absoluteFilePath();
    saved_.markSaved(model_);
    recent_.add(path);
    recent_.store(appSettings());
    fillRecentMenu();
    refreshModified();
}

void MainWindow::refreshModified() {
    modified_ = saved_.differs(model_);
    updateCaption();
}

QString MainWindow::documentName() const {
    return filePath_.isEmpty() ? kUntitled : QFileInfo(filePath_).fileName();
}

void MainWindow::updateCaption() {
    QString caption = kCaption;
    if (!filePath_.isEmpty() || modified_) caption += QStringLiteral(" - ") + documentName();
    if (modified_) caption += QStringLiteral("*");
    if (caption != windowTitle()) setWindowTitle(caption);
}

void MainWindow::fillRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    int n = 0;
    for (const QString& path : recent_.paths()) {
        QAction* a = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(++n).arg(QFileInfo(path).fileName()));
        a->setData(path);
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    recentMenu_->setEnabled(n > 0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (saveChangesFirst()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::updateWindowSize() {
    const QSize s = frameGeometry().size();
    model_.view.W = s.width();
    model_.view.H = s.height();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    updateWindowSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    updateWindowSize();  // the frame size is known once the window manager placed the window
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        // A key event travels from the focus widget up to its window: act on it once, where it
        // starts, and let it go on (a text box still deletes its character).
        const bool start = (focus && focus->window() == this) ? w == focus : w == this;
        // Without a selection the key only edits text: no message on every Delete in a box.
        if (start && w->window() == this && model_.view.NSEL_BAR > 0)
            commands_->run(cmd::DeleteRebars);
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace qav
