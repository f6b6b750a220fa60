#include "app/side_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/command_map.h"
#include "model/design_code.h"
#include "model/materials.h"
#include "model/section_model.h"
#include "model/section_properties.h"
#include "model/tables.h"

namespace qav {

namespace {
QPushButton* commandButton(CommandMap& commands, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(name, parent);
    b->setFixedHeight(25);
    QAction* a = commands.action(name);
    QObject::connect(b, &QPushButton::clicked, a, &QAction::trigger);
    return b;
}

QComboBox* gradeList(const QString& name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setCurrentIndex(0);
    // The concrete names end in a tab, which would make the list as wide as the panel.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(9);
    c->setFixedWidth(100);
    return c;
}

QStringList concreteNames(const QString& suffix) {
    QStringList out;
    for (int i = 1; i <= CONC_GRADE_ITEMS; ++i)
        out << QStringLiteral("C%1%2").arg(5 * i + 15).arg(suffix);
    return out;
}

// The program's own steel list: STEEL1 .. STEEL5, then the structural steels the document's
// table holds beyond them (S275, S355).
QStringList steelNames(const std::vector<TMAT>& table, int32_t count) {
    QStringList out;
    for (int i = 1; i <= REBAR_GRADE_ITEMS; ++i) out << QStringLiteral("STEEL%1").arg(i);
    const int last =
        std::min<int>(std::min(count, STEEL_GRADE_ITEMS), static_cast<int>(table.size()) - 1);
    for (int i = REBAR_GRADE_ITEMS + 1; i <= last; ++i)
        out << QString::fromStdString(table[static_cast<std::size_t>(i)].NAME);
    return out;
}

QLineEdit* readOnlyBox(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

// The names of a grade table of the document, in table order (item index + 1 = material number).
QStringList tableNames(const std::vector<TMAT>& table, int32_t count) {
    QStringList out;
    for (const TMAT& t : rows(table, count)) out << QString::fromStdString(t.NAME);
    return out;
}

// Lists the names unless it lists them already (the selection is set after).
void setItems(QComboBox* c, const QStringList& items) {
    QStringList now;
    for (int i = 0; i < c->count(); ++i) now << c->itemText(i);
    if (now == items) return;
    c->clear();
    c->addItems(items);
    c->setCurrentIndex(0);
}

// A list index from a file may lie outside the list: the list keeps its selection then.
void selectIndex(QComboBox* c, int index) {
    if (index >= 0 && index < c->count()) c->setCurrentIndex(index);
}
}  // namespace

SidePanel::SidePanel(CommandMap& commands, QWidget* parent) : QTabWidget(parent) {
    setObjectName("PageControl1");
    addTab(sectionPage(commands), "Section");
    addTab(buttonPage(commands, {cmd::SelectRebars, cmd::AssignRebar, cmd::DeleteRebars,
                                 cmd::AddSingleRebar, cmd::AddAlongLine, cmd::AlignX, cmd::AlignY,
                                 cmd::AlignDir, cmd::MoveRebars}),
           "Rebar");
    addTab(buttonPage(commands, {cmd::CadImport, cmd::DxfImport, cmd::DxfExport}), "CAD");
}

QWidget* SidePanel::buttonPage(CommandMap& commands, const QStringList& names) {
    auto* page = new QWidget(this);
    auto* col = new QVBoxLayout(page);
    col->setSpacing(4);
    for (const QString& n : names) col->addWidget(commandButton(commands, n, page));
    col->addStretch(1);
    return page;
}

QWidget* SidePanel::sectionPage(CommandMap& commands) {
    auto* page = new QWidget(this);
    auto* col = new QVBoxLayout(page);
    col->setContentsMargins(4, 4, 4, 4);
    col->setSpacing(3);
    for (const char* n : {cmd::BuildTypical, cmd::BuildSteel, cmd::BuildOpening, cmd::Analysis,
                          cmd::Mesh, cmd::DeleteSection, cmd::DeleteMesh, cmd::DeleteSteel})
        col->addWidget(commandButton(commands, n, page));

    auto* material = new QGroupBox("Material and Mesh Setting", page);
    auto* mf = new QFormLayout(material);
    mf->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    ComboBox2 = gradeList("ComboBox2", concreteNames("\t"), material);
    ComboBox4 = gradeList("ComboBox4", concreteNames("_Cover"), material);
    const SectionModel own;
    const QStringList steels = steelNames(own.document.STEEL_MAT, own.document.NSTEELMAT);
    ComboBox3 = gradeList("ComboBox3", steels, material);
    ComboBox1 = gradeList("ComboBox1", steels, material);
    Edit1 = new QLineEdit("100", material);
    Edit1->setObjectName("Edit1");
    Edit1->setFixedWidth(100);
    mf->addRow("Concrete Grade", ComboBox2);
    mf->addRow("Concrete Cover Grade", ComboBox4);
    mf->addRow("Rebar Grade", ComboBox3);
    mf->addRow("Steel Grade", ComboBox1);
    mf->addRow("Mesh Size", Edit1);
    col->addWidget(material);
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        connect(c, &QComboBox::activated, this, &SidePanel::controlsEdited);
    connect(Edit1, &QLineEdit::textEdited, this, &SidePanel::controlsEdited);

    auto* props = new QGroupBox("Section Properties", page);
    auto* pf = new QFormLayout(props);
    Edit2 = readOnlyBox("Edit2", props);
    Edit3 = readOnlyBox("Edit3", props);
    Edit5 = readOnlyBox("Edit5", props);
    Edit4 = readOnlyBox("Edit4", props);
    Edit6 = readOnlyBox("Edit6", props);
    pf->addRow("Section Area(mm2)", Edit2);
    pf->addRow("Rebar Area(mm2)", Edit3);
    pf->addRow("Steel Area(mm2)", Edit5);
    pf->addRow("Rebar Ratio(%)", Edit4);
    pf->addRow("Steel Ratio(%)", Edit6);
    col->addWidget(props);
    col->addStretch(1);
    return page;
}

void SidePanel::writeToModel(SectionModel& m) const {
    m.document.USE_CONC = ComboBox2->currentIndex();
    m.document.USE_COVER = ComboBox4->currentIndex();
    m.document.USE_REBAR = ComboBox3->currentIndex();
    m.document.USE_STEEL = ComboBox1->currentIndex();
    m.document.MESH_SIZE_TEXT = Edit1->text().toStdString();
}

void SidePanel::listGrades(const SectionModel& m) {
    const SectionDocument& d = m.document;
    if (codeHasOwnTables(d.CODE)) {
        // A code with its own tables: its grades as the document holds them. Rebar and steel
        // both list the whole steel table, as the program's own lists do.
        setItems(ComboBox2, tableNames(d.CONC_MAT, d.NCONCMAT));
        setItems(ComboBox4, tableNames(d.COVER_MAT, d.NCOVERMAT));
        setItems(ComboBox3, tableNames(d.STEEL_MAT, d.NSTEELMAT));
        setItems(ComboBox1, tableNames(d.STEEL_MAT, d.NSTEELMAT));
    } else {
        setItems(ComboBox2, concreteNames("\t"));
        setItems(ComboBox4, concreteNames("_Cover"));
        setItems(ComboBox3, steelNames(d.STEEL_MAT, d.NSTEELMAT));
        setItems(ComboBox1, steelNames(d.STEEL_MAT, d.NSTEELMAT));
    }
}

void SidePanel::readFromModel(const SectionModel& m) {
    listGrades(m);
    selectIndex(ComboBox2, m.document.USE_CONC);
    selectIndex(ComboBox4, m.document.USE_COVER);
    selectIndex(ComboBox3, m.document.USE_REBAR);
    selectIndex(ComboBox1, m.document.USE_STEEL);
    Edit1->setText(QString::fromStdString(m.document.MESH_SIZE_TEXT));
}

void SidePanel::showProperties(const SectionModel& m) {
    const SectionPropertiesText props = sectionPropertiesText(m.mesh);
    Edit2->setText(QString::fromStdString(props.sectionArea));
    Edit3->setText(QString::fromStdString(props.rebarArea));
    Edit4->setText(QString::fromStdString(props.rebarRatio));
    Edit5->setText(QString::fromStdString(props.steelArea));
    Edit6->setText(QString::fromStdString(props.steelRatio));
}

}  // namespace qav
