#include "app/general_setting_dialog.h"

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
}  // namespace

void loadSolverSetting(SectionModel& m) {
    const QString v = QSettings().value(SOLVER_KEY, QStringLiteral("fast")).toString();
    m.SOLVER = v == QLatin1String("reference") ? SolverKind::Reference : SolverKind::Fast;
}

GeneralSettingDialog::GeneralSettingDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
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
    auto* okay = namedButton("Button1", "Okay", this);
    connect(okay, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { this->okay(); }); });
    top->addWidget(okay, 0, Qt::AlignRight);
}

void GeneralSettingDialog::showEvent(QShowEvent* event) {
    // The code list keeps the selection it had when the dialog was last closed.
    Edit1->setText(qs(Format("%D", {ctx_.model().NPM})));
    Edit2->setText(qs(Format("%D", {ctx_.model().NMM})));
    SolverBox->setCurrentIndex(ctx_.model().SOLVER == SolverKind::Reference ? 1 : 0);
    QDialog::showEvent(event);
}

void GeneralSettingDialog::okay() {
    SectionModel& m = ctx_.model();
    applyCurveSteps(m, textOf(Edit1), textOf(Edit2));
    m.DESIGN_CODE = ComboBox1->currentIndex();
    m.SOLVER = SolverBox->currentIndex() == 1 ? SolverKind::Reference : SolverKind::Fast;
    QSettings().setValue(SOLVER_KEY, m.SOLVER == SolverKind::Reference ? "reference" : "fast");
    close();
}

}  // namespace qav
