#include "app/general_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/curve_steps.h"
#include "analysis/fibre_arrays.h"
#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "mesh/section_sync.h"
#include "model/code_convert.h"
#include "model/design_code.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

namespace {
const char* const SOLVER_KEY = "analysis/solver";
const char* const STEEL_GRID_KEY = "mesh/steelGrid";
const char* const STRAIN_LIMIT_KEY = "analysis/strainLimit";
const char* const CODE_MIN_ECC_KEY = "check/codeMinEccentricity";
const char* const INTEGRATION_KEY = "analysis/integration";

// The alpha_cc choices of EN 1992-1-1: 1.0 (recommended) and 0.85.
constexpr double ALPHA_CC_CHOICES[] = {1.0, 0.85};

QComboBox* namedList(const char* name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

// Whether choosing `code` (with alpha_cc) puts the document on other grade tables: a code with
// its own tables is left or entered, or the fcd of EN 1992-1-1 grades follows a new alpha_cc.
bool needsConversion(const SectionModel& m, CodeId code, double alphaCC) {
    if (code != m.document.CODE && (codeHasOwnTables(code) || codeHasOwnTables(m.document.CODE)))
        return true;
    return code == CodeId::Ec2 && m.document.CODE == CodeId::Ec2 && alphaCC != m.document.ALPHA_CC;
}

// Puts the section under the chosen code and tells the user, in one box, which grades it took.
void applyDesignCode(AppContext& ctx, CodeId code, double alphaCC, Ties ties) {
    SectionModel& m = ctx.model();
    if (code == CodeId::Aci318) m.document.TIES = ties;
    if (!needsConversion(m, code, alphaCC)) {
        if (!codeHasOwnTables(code)) m.settings.DESIGN_CODE = static_cast<int32_t>(code);
        return;
    }
    const double keptAlpha = m.document.ALPHA_CC;
    if (code == CodeId::Ec2) m.document.ALPHA_CC = alphaCC;
    const CodeConversion c = convertSectionCode(m, code);
    if (!c.ok) {
        m.document.ALPHA_CC = keptAlpha;
        throw InputError(c.error);
    }
    ctx.showModelInControls();
    QStringList lines;
    for (const std::string& line : c.messages) lines << qs(line);
    if (!lines.isEmpty()) ctx.prompts().information(lines.join('\n'));
}
}  // namespace

void loadProgramSettings(SectionModel& m) {
    const QSettings settings;
    const QString v = settings.value(SOLVER_KEY, QStringLiteral("fast")).toString();
    m.settings.SOLVER = v == QLatin1String("reference") ? SolverKind::Reference : SolverKind::Fast;
    m.settings.STEEL_GRID = settings.value(STEEL_GRID_KEY, false).toBool();
    m.settings.STRAIN_LIMIT = settings.value(STRAIN_LIMIT_KEY).toString() == QLatin1String("code")
                                  ? StrainLimit::Code
                                  : StrainLimit::Control;
    m.settings.CODE_MIN_ECC = settings.value(CODE_MIN_ECC_KEY, false).toBool();
    const QString integration = settings.value(INTEGRATION_KEY).toString();
    m.settings.INTEGRATION = Integration::Auto;
    for (std::size_t i = 0; i < INTEGRATION_WORDS.size(); ++i)
        if (integration == QLatin1String(INTEGRATION_WORDS[i]))
            m.settings.INTEGRATION = static_cast<Integration>(i);
}

void storeProgramSettings(const SectionModel& m) {
    QSettings settings;
    settings.setValue(SOLVER_KEY,
                      m.settings.SOLVER == SolverKind::Reference ? "reference" : "fast");
    settings.setValue(STEEL_GRID_KEY, m.settings.STEEL_GRID);
    settings.setValue(STRAIN_LIMIT_KEY,
                      m.settings.STRAIN_LIMIT == StrainLimit::Code ? "code" : "control");
    settings.setValue(CODE_MIN_ECC_KEY, m.settings.CODE_MIN_ECC);
    settings.setValue(INTEGRATION_KEY, integrationWord(m.settings.INTEGRATION));
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
    g1->addWidget(namedLabel("Label2", "Myy-Mxx Analysis Angle Num of Steps", pm), 1, 0);
    g1->addWidget(Edit2, 1, 1);
    top->addWidget(pm);
    auto* code = new QGroupBox("Design Code", this);
    code->setObjectName("GroupBox2");
    auto* g2 = new QGridLayout(code);
    ComboBox1 = new QComboBox(code);
    ComboBox1->setObjectName("ComboBox1");
    for (const char* name : CODE_NAMES) ComboBox1->addItem(name);
    g2->addWidget(namedLabel("Label3", "Concrete Design Code", code), 0, 0);
    g2->addWidget(ComboBox1, 0, 1);
    top->addWidget(code);
    // The choices of a code with its own grades; each box is enabled under its code only.
    auto* choices = new QGroupBox("Code Choices", this);
    choices->setObjectName("GroupBoxCodeChoices");
    auto* g5 = new QGridLayout(choices);
    AlphaCcBox = namedList("AlphaCcBox", {"1.0", "0.85"}, choices);
    AlphaCcBox->setToolTip("EN 1992-1-1: fcd = alpha_cc fck / 1.5");
    TiesBox = namedList("TiesBox", {"tied", "spiral"}, choices);
    TiesBox->setToolTip("ACI 318-19: strength reduction factor and axial cap of the column");
    g5->addWidget(namedLabel("LabelAlphaCc", "alpha_cc (EN 1992-1-1)", choices), 0, 0);
    g5->addWidget(AlphaCcBox, 0, 1);
    g5->addWidget(namedLabel("LabelTies", "Transverse reinforcement (ACI 318-19)", choices), 1, 0);
    g5->addWidget(TiesBox, 1, 1);
    top->addWidget(choices);
    // Control: a section corner at 0.005, the program's rule. Code: the extreme compressed
    // concrete at its grade's ultimate strain, no steel limit.
    auto* limit = new QGroupBox("Strain limit", this);
    limit->setObjectName("GroupBoxStrainLimit");
    auto* g6 = new QGridLayout(limit);
    StrainLimitBox = namedList("StrainLimitBox", {"Control strain 0.005", "Code"}, limit);
    g6->addWidget(namedLabel("LabelStrainLimit", "Ultimate limit", limit), 0, 0);
    g6->addWidget(StrainLimitBox, 0, 1);
    StrainLimitNote = namedLabel("LabelStrainLimitNote", "", limit);
    StrainLimitNote->setWordWrap(true);
    g6->addWidget(StrainLimitNote, 1, 0, 1, 2);
    // How a triangle's stress is summed: exactly over its area (answers that do not depend on
    // the mesh) or at its centre (the fibre rule), by Integration's order.
    IntegrationBox = namedList(
        "IntegrationBox", {"Exact under code limits", "Exact", "At each fibre's centre"}, limit);
    IntegrationBox->setToolTip(
        "Exact: each concrete and steel triangle's stress is integrated over its area, so the "
        "results do not depend on the mesh size. At each fibre's centre: the stress at the "
        "triangle's centre times its area.");
    g6->addWidget(namedLabel("LabelIntegration", "Stress over triangles", limit), 2, 0);
    g6->addWidget(IntegrationBox, 2, 1);
    top->addWidget(limit);
    // The box keeps the setting the user chose wherever it may choose.
    connect(StrainLimitBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (StrainLimitBox->isEnabled()) limitSetting_ = i;
    });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { enableCodeChoices(); });
    enableCodeChoices();
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

void GeneralSettingDialog::enableCodeChoices() {
    AlphaCcBox->setEnabled(ComboBox1->currentIndex() == static_cast<int>(CodeId::Ec2));
    TiesBox->setEnabled(ComboBox1->currentIndex() == static_cast<int>(CodeId::Aci318));
    showStrainLimit();
}

void GeneralSettingDialog::showStrainLimit() {
    const auto code = static_cast<CodeId>(std::clamp(ComboBox1->currentIndex(), 0, 3));
    const bool fixed = codeHasOwnTables(code);
    const int setting = limitSetting_;
    StrainLimitBox->setEnabled(!fixed);
    StrainLimitBox->setCurrentIndex(fixed ? 1 : setting);
    StrainLimitNote->setText(fixed ? qs(codeLimitReason(code) + ".") : QString());
    StrainLimitNote->setVisible(fixed);
}

void GeneralSettingDialog::showEvent(QShowEvent* event) {
    const SectionModel& m = ctx_.model();
    // The code list keeps the selection it had when the dialog was last closed, unless the
    // section holds a code's own grades or has left them since: the list then shows the code
    // the section is under, so "Okay" never converts it unasked.
    if (codeHasOwnTables(m.document.CODE) ||
        codeHasOwnTables(static_cast<CodeId>(std::clamp(ComboBox1->currentIndex(), 0, 3))))
        ComboBox1->setCurrentIndex(static_cast<int>(sectionCode(m)));
    AlphaCcBox->setCurrentIndex(m.document.ALPHA_CC == ALPHA_CC_CHOICES[1] ? 1 : 0);
    TiesBox->setCurrentIndex(m.document.TIES == Ties::Spiral ? 1 : 0);
    limitSetting_ = m.settings.STRAIN_LIMIT == StrainLimit::Code ? 1 : 0;
    showStrainLimit();
    IntegrationBox->setCurrentIndex(static_cast<int>(m.settings.INTEGRATION));
    Edit1->setText(qs(Format("%D", {ctx_.model().settings.NPM})));
    Edit2->setText(qs(Format("%D", {ctx_.model().settings.NMM})));
    SolverBox->setCurrentIndex(ctx_.model().settings.SOLVER == SolverKind::Reference ? 1 : 0);
    SteelGridBox->setChecked(ctx_.model().settings.STEEL_GRID);
    QDialog::showEvent(event);
}

void GeneralSettingDialog::okay() {
    SectionModel& m = ctx_.model();
    applyCurveSteps(m, textOf(Edit1), textOf(Edit2));
    const int codeIndex = std::clamp(ComboBox1->currentIndex(), 0, 3);
    const StrainLimit limitBefore = strainLimitInForce(m);
    const bool exactBefore = exactIntegration(m);
    const Ties tiesBefore = m.document.TIES;
    applyDesignCode(ctx_, static_cast<CodeId>(codeIndex),
                    ALPHA_CC_CHOICES[AlphaCcBox->currentIndex() == 1 ? 1 : 0],
                    TiesBox->currentIndex() == 1 ? Ties::Spiral : Ties::Tied);
    m.settings.STRAIN_LIMIT = limitSetting_ == 1 ? StrainLimit::Code : StrainLimit::Control;
    m.settings.INTEGRATION =
        static_cast<Integration>(std::clamp(IntegrationBox->currentIndex(), 0, 2));
    // Curves of another limit, other ties or another integration are not this section's any
    // more.
    if (strainLimitInForce(m) != limitBefore || m.document.TIES != tiesBefore ||
        exactIntegration(m) != exactBefore)
        CLEAR_RESULTS(m);
    m.settings.SOLVER = SolverBox->currentIndex() == 1 ? SolverKind::Reference : SolverKind::Fast;
    m.settings.STEEL_GRID = SteelGridBox->isChecked();
    storeProgramSettings(m);
    ctx_.modelChanged();
    close();
}

}  // namespace qav
