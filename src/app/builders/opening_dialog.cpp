#include "app/builders/opening_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/opening_section.h"
#include "builders/shape_picture.h"

namespace qav {

OpeningDialog::OpeningDialog(SectionModel& model, QWidget* parent)
    : BuilderDialog(model, "TForm20", "Build Section Openning", parent) {
    QStringList names;
    for (const auto& s : openingShapes()) names << QString::fromStdString(s.name);
    const auto [left, right] = addShapeFrame(
        names, {"Opening Dim B(mm)", "Opening Dim H(mm)", "Location X(mm)", "Location Y(mm)"},
        {"300", "400", "0", "0"});
    left->addStretch(1);
    right->addStretch(1);
    addButtons(right, {{"Button1", "Gen Section Opening"}, {"Button2", "Close"}},
               {[this] { generate(); }, [this] { hide(); }});
    shapeChanged();
    resize(503, 340);
}

void OpeningDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    // The boxes keep their texts; only the captions and the rows the shape has change.
    const ShapeDescriptor& d = openingShape(shape);
    for (std::size_t k = 0; k < KEdit.size(); ++k) {
        const std::string box = "KEdit" + std::to_string(k + 1);
        bool used = false;
        for (std::size_t i = 0; i < d.rows.size(); ++i)
            if (rowBox(d, i) == box) {
                KLabel[k]->setText(QString::fromStdString(d.rows[i].label));
                used = true;
            }
        KLabel[k]->setVisible(used);
        KEdit[k]->setVisible(used);
    }
    showPicture(openingPicture(shape));
}

void OpeningDialog::generate() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    const BoxTexts texts = collectBoxTexts(this);
    attempt([&] { buildOpening(model_, shape, texts); });
}

}  // namespace qav
