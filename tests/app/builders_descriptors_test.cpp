// The shape descriptors name the dialogs' own controls: every input a shape lists is a box of its
// dialog, and every dimension row is shown when the shape is chosen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "app/builders/composite_section_dialog.h"
#include "app/builders/opening_dialog.h"
#include "app/builders/steel_section_dialog.h"
#include "app/builders/typical_section_dialog.h"
#include "builders/shape_catalog.h"

using namespace qav;

TEST(BuilderDescriptors, EveryInputIsABoxOfItsDialogAndEveryRowIsShown) {
    SectionModel model;
    const std::pair<BuilderKind, std::function<std::unique_ptr<QWidget>()>> dialogs[] = {
        {BuilderKind::Typical, [&] { return std::make_unique<TypicalSectionDialog>(model); }},
        {BuilderKind::Steel, [&] { return std::make_unique<SteelSectionDialog>(model); }},
        {BuilderKind::Composite, [&] { return std::make_unique<CompositeSectionDialog>(model); }},
        {BuilderKind::Opening, [&] { return std::make_unique<OpeningDialog>(model); }}};
    for (const auto& [kind, make] : dialogs) {
        const std::unique_ptr<QWidget> d = make();
        d->show();
        auto* combo = d->findChild<QComboBox*>("ComboBox1");
        ASSERT_NE(combo, nullptr) << builderName(kind);
        ASSERT_EQ(combo->count(), static_cast<int>(shapesOf(kind).size())) << builderName(kind);
        for (const ShapeDescriptor* s : shapesOf(kind)) {
            combo->setCurrentIndex(s->index);
            EXPECT_EQ(combo->currentText().toStdString(), s->name);
            for (const ShapeInput& in : shapeInputs(*s))
                EXPECT_NE(d->findChild<QLineEdit*>(QString::fromStdString(in.box)), nullptr)
                    << s->cliName << " " << in.box;
            for (std::size_t i = 0; i < s->rows.size(); ++i) {
                auto* box = d->findChild<QLineEdit*>(QString::fromStdString(rowBox(*s, i)));
                EXPECT_TRUE(box && !box->isHidden()) << s->cliName << " " << rowBox(*s, i);
            }
        }
    }
}
