#include "app/reports/export_data_dialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/command_map.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/section_model.h"
#include "model/text_file.h"
#include "render/xlsx_workbook.h"
#include "reports/workbook.h"

namespace qav {

// The grid as a read-only table: row 0 holds the headings, as in the CSV file.
class GridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const DataTable* t) {
        beginResetModel();
        table_ = t;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !table_ ? 0 : table_->rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !table_ ? 0 : table_->colCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!table_ || !index.isValid()) return {};
        const TableCell& c = table_->rows[static_cast<std::size_t>(index.row())]
                                         [static_cast<std::size_t>(index.column())];
        if (role == Qt::DisplayRole) return qs(c.text);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(c.number ? Qt::AlignRight | Qt::AlignVCenter
                                                              : Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }

private:
    const DataTable* table_ = nullptr;
};

namespace {
constexpr int ENTRY_ROLE = Qt::UserRole + 1;
const QString CSV_FILTER = QStringLiteral("CSV File (*.csv)");
const QString XLSX_FILTER = QStringLiteral("Excel Workbook (*.xlsx)");
}  // namespace

ExportDataDialog::ExportDataDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), texts_(analysisDialogTexts), opener_(openInSpreadsheetProgram) {
    initToolDialog(this, "ExportDataDialog", "Export Data");
    resize(835, 586);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    tree_->setMinimumWidth(240);
    std::vector<QTreeWidgetItem*> items;
    for (int k = 0; k < TABLE_ENTRY_COUNT; ++k) {
        const TableEntry& e = tableEntry(k);
        auto* item = e.parent < 0 ? new QTreeWidgetItem(tree_)
                                  : new QTreeWidgetItem(items[static_cast<std::size_t>(e.parent)]);
        item->setText(0, e.text);
        item->setData(0, ENTRY_ROLE, k);
        items.push_back(item);
    }
    tree_->expandAll();
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) ctx_.runCommand([this, item] { chooseEntry(item->data(0, ENTRY_ROLE).toInt()); });
    });

    heading_ = namedLabel("Label2", "Information", this);
    QFont f("Tahoma", 12);
    f.setBold(true);
    heading_->setFont(f);

    view_ = new QTableView(this);
    view_->setObjectName("StringGrid1");
    gridModel_ = new GridModel(view_);
    view_->setModel(gridModel_);
    view_->horizontalHeader()->hide();
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setDefaultSectionSize(80);
    view_->verticalHeader()->setDefaultSectionSize(18);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CLEAR_TABLE(grid_);
    gridModel_->show(&grid_);

    auto* all = namedButton("Button1", "Export All Tables to Excel", this);
    auto* show = namedButton("Button2", "Show Table", this);
    auto* close = namedButton("Button3", "Close", this);
    auto* csv = namedButton("Button4", "Export CSV File", this);
    auto* selected = namedButton("Button5", "Export Selected Table to Excel", this);
    connect(all, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { exportAllToWorkbook(); }); });
    connect(show, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { showTable(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    // The section changed: the table shown may be of a section that is gone ("Show Table" again).
    ctx_.onSectionState(this, [this] {
        CLEAR_TABLE(grid_);
        refreshGrid();
    });
    connect(csv, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { exportCsv(); }); });
    connect(selected, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { exportSelectedToWorkbook(); }); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(namedLabel("Label1", "Model Information", this), 0, 0);
    layout->addWidget(heading_, 0, 1);
    layout->addWidget(tree_, 1, 0);
    layout->addWidget(view_, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {all, selected, csv, show}) row->addWidget(b);
    row->addStretch(1);
    row->addWidget(close);
    layout->addLayout(row, 2, 0, 1, 2);
}

void ExportDataDialog::refreshGrid() {
    gridModel_->show(&grid_);
}

void ExportDataDialog::chooseEntry(int KI) {
    chosen_ = KI;
    heading_->setText(tableEntry(KI).text);
    showTable();
}

void ExportDataDialog::showTable() {
    CLEAR_TABLE(grid_);
    refreshGrid();
    if (chosen_ < 0) return;
    const auto [angle, axial] = texts_();
    // A curve table runs its analysis, which the user may stop.
    std::unique_ptr<Progress> progress;
    if (isCurveTable(chosen_)) progress = makeProgress(this, "Running the table's analysis ...");
    SHOW_TABLE(ctx_.model(), chosen_, angle, axial, ctx_.messages(), grid_, progress.get());
    refreshGrid();
}

void ExportDataDialog::exportCsv() {
    const QString path = ctx_.prompts().saveFileName(CSV_FILTER);
    if (path.isEmpty()) return;
    writeTextLines(path.toStdString(), tableCsvLines(grid_));
}

QString ExportDataDialog::askWorkbookPath() {
    QString path = ctx_.prompts().saveFileName(XLSX_FILTER);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += ".xlsx";
    return path;
}

void ExportDataDialog::openWorkbook(const QString& path) {
    if (!opener_(path))
        ctx_.prompts().information("The workbook was saved to " + path +
                                   ". No spreadsheet program is installed to open it.");
}

void ExportDataDialog::exportSelectedToWorkbook() {
    const QString path = askWorkbookPath();
    if (path.isEmpty()) return;
    XlsxWorkbook book(path.toStdString());
    exportSelectedTable(book, chosen_, grid_);
    book.save();
    openWorkbook(path);
}

void ExportDataDialog::selectInTree(int KI) {
    QTreeWidgetItemIterator it(tree_);
    for (; *it; ++it) {
        if ((*it)->data(0, ENTRY_ROLE).toInt() != KI) continue;
        const QSignalBlocker quiet(tree_);
        tree_->setCurrentItem(*it);
        return;
    }
}

void ExportDataDialog::exportAllToWorkbook() {
    const QString path = askWorkbookPath();
    if (path.isEmpty()) return;
    // Every table is made first, its curves side by side, so a run that is stopped or fails
    // leaves no file, the tables and the results as they were.
    std::vector<DataTable> tables;
    {
        const auto [angle, axial] = texts_();
        const std::unique_ptr<Progress> progress = makeProgress(this, "Making the tables ...");
        tables = makeAllTables(ctx_.model(), angle, axial, ctx_.messages(), progress.get());
    }
    XlsxWorkbook book(path.toStdString());
    exportAllTables(book, [&tables](int KI) -> const DataTable& {
        return tables[static_cast<std::size_t>(KI)];
    });
    book.save();
    // The browser ends on the first table, as after showing each from the last to the first.
    selectInTree(1);
    chosen_ = 1;
    heading_->setText(tableEntry(1).text);
    grid_ = tables[1];
    refreshGrid();
    openWorkbook(path);
}

std::pair<std::string, std::string> analysisDialogTexts() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() != QLatin1String("P-M/Myy-Mxx Curve Analysis")) continue;
        auto* angle = w->findChild<QLineEdit*>("Edit1");
        auto* axial = w->findChild<QLineEdit*>("Edit2");
        if (angle && axial) return {textOf(angle), textOf(axial)};
    }
    return {"45", "1000"};
}

bool openInSpreadsheetProgram(const QString& path) {
    // The desktop's choice for the file type first, then any spreadsheet program on the path.
    if (!QStandardPaths::findExecutable("xdg-mime").isEmpty()) {
        QProcess q;
        q.start("xdg-mime", {"query", "default",
                             "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"});
        if (q.waitForFinished(3000) && !q.readAllStandardOutput().trimmed().isEmpty())
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    for (const char* program : {"libreoffice", "localc", "soffice", "gnumeric", "calligrasheets"}) {
        const QString exe = QStandardPaths::findExecutable(program);
        if (exe.isEmpty()) continue;
        const QStringList args = QString(program) == "libreoffice" || QString(program) == "soffice"
                                     ? QStringList{"--calc", path}
                                     : QStringList{path};
        if (QProcess::startDetached(exe, args)) return true;
    }
    return false;
}

}  // namespace qav

namespace qav {
void installExportDataCommands(AppContext& ctx) {
    auto* dialog = new ExportDataDialog(ctx, ctx.mainWidget());
    ctx.commands().set(cmd::Table, [dialog] { showDialog(dialog); });
}
}  // namespace qav
