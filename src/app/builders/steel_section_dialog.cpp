#include "app/builders/steel_section_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/shape_picture.h"
#include "builders/steel_section.h"

namespace qav {

SteelSectionDialog::SteelSectionDialog(SectionModel& model, QWidget* parent)
    : BuilderDialog(model, "TForm13", "Build Steel Section", parent) {
    QStringList names;
    for (const auto& s : steelShapes()) names << QString::fromStdString(s.name);
    const auto [left, right] =
        addShapeFrame(names, {}, {"800", "1200", "800", "1200", "800", "1200", "1200"});
    left->addStretch(1);
    right->addStretch(1);
    // Close closes, as the other builders' Close buttons do.
    addButtons(right, {{"Button1", "Gen Section"}, {"Button2", "Close"}},
               {[this] { generate(); }, [this] { hide(); }});
    shapeChanged();
    resize(499, 354);
}

void SteelSectionDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    BoxTexts texts = collectBoxTexts(this);
    steelShapeChange(texts, shape);
    applyBoxTexts(this, texts);
    showDimensionRows(steelShape(shape).rows);
    showPicture(steelPicture(shape));
}

void SteelSectionDialog::generate() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    const BoxTexts texts = collectBoxTexts(this);
    attempt([&] { buildSteelSection(model_, shape, texts); });
}

}  // namespace qav
