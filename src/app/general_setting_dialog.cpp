#include "app/general_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QSettings>
#include <QVBoxLayout>

#include "analysis/curve_steps.h"
#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "model/design_code.h"
#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

namespace {
const char* const SOLVER_KEY = "analysis/solver";
const char* const STEEL_GRID_KEY = "mesh/steelGrid";
}  // namespace

void loadProgramSettings(SectionModel& m) {
    const QSettings settings;
    const QString v = settings.value(SOLVER_KEY, QStringLiteral("fast")).toString();
    m.settings.SOLVER = v == QLatin1String("reference") ? SolverKind::Reference : SolverKind::Fast;
    m.settings.STEEL_GRID = settings.value(STEEL_GRID_KEY, false).toBool();
}

GeneralSettingDialog::GeneralSettingDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "GeneralSettingDialog", "General Setting ");
    auto* top = new QVBoxLayout(this);
    auto* pm = new QGroupBox("PM/MM Analysis Setting", this);
    pm->setObjectName("GroupBox1");
    auto* g1 = new QGridLayout(pm);
    Edit1 = namedEdit("Edit1", "30", pm);
    Edit2 = namedEdit("Edit2", "24", pm);
    g1->addWidget(namedLabel("Label1", "P-M Analysis Axial Force Num of Steps", pm), 0, 0);
    g1->addWidget(Edit1, 0, 1);
    g1->addWidget(namedLabel("Label2", "Myy-Mzz Analysis Angle Num of Steps", pm), 1, 0);
    g1->addWidget(Edit2, 1, 1);
    top->addWidget(pm);
    auto* code = new QGroupBox("Design Code", this);
    code->setObjectName("GroupBox2");
    auto* g2 = new QGridLayout(code);
    ComboBox1 = new QComboBox(code);
    ComboBox1->setObjectName("ComboBox1");
    for (const char* name : DESIGN_CODE_NAMES) ComboBox1->addItem(name);
    g2->addWidget(namedLabel("Label3", "Concrete Design Code", code), 0, 0);
    g2->addWidget(ComboBox1, 0, 1);
    top->addWidget(code);
    // Fast: Newton's method, a few passes per solve; Reference: the original fixed-matrix
    // iteration, kept to reproduce its numbers.
    auto* solver = new QGroupBox("Equilibrium Solver", this);
    solver->setObjectName("GroupBoxSolver");
    auto* g3 = new QGridLayout(solver);
    SolverBox = new QComboBox(solver);
    SolverBox->setObjectName("SolverBox");
    SolverBox->addItems({"Fast", "Reference"});
    g3->addWidget(namedLabel("LabelSolver", "Solver", solver), 0, 0);
    g3->addWidget(SolverBox, 0, 1);
    top->addWidget(solver);
    // Off: a section without concrete has mesh nodes on its steel's sides only, one triangle
    // from face to face of each plate. On: grid nodes inside the steel as well.
    auto* steelMesh = new QGroupBox("Steel Mesh", this);
    steelMesh->setObjectName("GroupBoxSteelMesh");
    auto* g4 = new QVBoxLayout(steelMesh);
    SteelGridBox = new QCheckBox("Grid Nodes Inside Steel (sections without concrete)", steelMesh);
    SteelGridBox->setObjectName("SteelGridBox");
    SteelGridBox->setToolTip(
        "Each plate of a section without concrete gets fibres through its thickness. Changing it "
        "empties the mesh of such a section.");
    g4->addWidget(SteelGridBox);
    top->addWidget(steelMesh);
    auto* okay = namedButton("Button1", "Okay", this);
    connect(okay, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { this->okay(); }); });
    top->addWidget(okay, 0, Qt::AlignRight);
}

void GeneralSettingDialog::showEvent(QShowEvent* event) {
    // The code list keeps the selection it had when the dialog was last closed.
    Edit1->setText(qs(Format("%D", {ctx_.model().settings.NPM})));
    Edit2->setText(qs(Format("%D", {ctx_.model().settings.NMM})));
    SolverBox->setCurrentIndex(ctx_.model().settings.SOLVER == SolverKind::Reference ? 1 : 0);
    SteelGridBox->setChecked(ctx_.model().settings.STEEL_GRID);
    QDialog::showEvent(event);
}

void GeneralSettingDialog::okay() {
    SectionModel& m = ctx_.model();
    applyCurveSteps(m, textOf(Edit1), textOf(Edit2));
    m.settings.DESIGN_CODE = ComboBox1->currentIndex();
    m.settings.SOLVER = SolverBox->currentIndex() == 1 ? SolverKind::Reference : SolverKind::Fast;
    m.settings.STEEL_GRID = SteelGridBox->isChecked();
    QSettings settings;
    settings.setValue(SOLVER_KEY,
                      m.settings.SOLVER == SolverKind::Reference ? "reference" : "fast");
    settings.setValue(STEEL_GRID_KEY, m.settings.STEEL_GRID);
    close();
}

}  // namespace qav
