#include "app/analysis/mphi_dialog.h"

#include <QGroupBox>
#include <QPlainTextEdit>

#include "analysis/moment_curvature.h"
#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/mphi_chart.h"
#include "reports/text_reports.h"

namespace qav {

MphiDialog::MphiDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), Image1("Image1", this) {
    initToolDialog(this, "MphiDialog", "Section M-Phi Analysis");
    setFont(QFont("Tahoma", 8));
    setFixedSize(842, 553);

    RadioGroup1 = new RadioGroup("RadioGroup1", "M-Phi Analysis",
                                 {"Mxx about X Axis", "Myy aoubt Y Axis"}, this);
    RadioGroup1->setGeometry(560, 16, 270, 64);
    RadioGroup2 = new RadioGroup("RadioGroup2", "Moment", {"Positive", "Negative"}, this);
    RadioGroup2->setGeometry(560, 86, 270, 64);

    auto* GroupBox1 = new QGroupBox("M-Phi Analysis", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(560, 156, 270, 104);
    struct Row {
        const char* label;
        const char* caption;
        const char* edit;
        const char* text;
        QLineEdit** field;
    };
    const Row rows[] = {
        {"Label3", "Axial Force (kN)", "Edit2", "1000", &Edit2},
        {"Label1", "Max Comp strain", "Edit1", "0.0035", &Edit1},
        {"Label4", "Num of Steps", "Edit3", "20", &Edit3},
    };
    int y = 22;
    for (const Row& r : rows) {
        *r.field = labelledEdit(GroupBox1, r.label, r.caption, r.edit, r.text, y, 140, 118);
        y += 27;
    }

    auto* Button3 = namedButton("Button3", "Run M-Phi Analysis", this);
    Button3->setGeometry(560, 268, 132, 25);
    auto* Button2 = namedButton("Button2", "Export CSV", this);
    Button2->setGeometry(698, 268, 132, 25);
    QLabel* Label2 = namedLabel("Label2", "Text Output", this);
    Label2->move(560, 302);
    Label2->adjustSize();
    Memo1 = listingMemo("Memo1", this);
    Memo1->setGeometry(560, 318, 270, 224);

    connect(Button3, &QPushButton::clicked, this, [this] { run(); });
    connect(Button2, &QPushButton::clicked, this, [this] { exportCsv(); });
    // The section changed: the curve shown is of a section that is gone.
    ctx_.onSectionState(this, [this] {
        list_.clear();
        Memo1->clear();
        Image1.clear();
        offerDefaultStrain();
    });
}

void MphiDialog::showEvent(QShowEvent* event) {
    offerDefaultStrain();
    QDialog::showEvent(event);
}

void MphiDialog::offerDefaultStrain() {
    const std::string strain = Format("%g", {mphiDefaultMaxStrain(ctx_.model())});
    if (textOf(Edit1) == offeredStrain_) Edit1->setText(qs(strain));
    offeredStrain_ = strain;
}

void MphiDialog::run() {
    ctx_.runCommand([this] {
        SectionModel& m = ctx_.model();
        MphiInput in;
        in.steps = ToInt(textOf(Edit3));
        in.negative = RadioGroup2->itemIndex() == 1;
        in.aboutY = RadioGroup1->itemIndex() == 1;
        in.axialForce = ToFloat(textOf(Edit2));
        in.maxStrain = ToFloat(textOf(Edit1));
        MphiRun r;
        {
            const std::unique_ptr<Progress> progress =
                makeProgress(this, "Running the M-Phi analysis ...");
            r = RUN_MPHI_ANALYSIS(m, in, ctx_.messages(), progress.get());
        }
        GEN_M_fai_CURVE_TEXT(m, in.steps, list_);
        setMemoLines(Memo1, list_);
        Image1.draw([&](Canvas& c) {
            GEN_M_fai_CURVE_IMAGE(c, m, Image1.width(), Image1.height(), in.steps, r.angle);
        });
    });
}

void MphiDialog::exportCsv() {
    ctx_.runCommand([this] {
        exportCsvLines(ctx_.prompts(),
                       list_.empty() ? std::vector<std::string>{} : mphiCsvLines(ctx_.model()),
                       "There is no M-Phi curve to export: run the analysis first.");
    });
}

}  // namespace qav
