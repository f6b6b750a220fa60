#pragma once
// "Build Steel Section": one steel polygon from ten shapes; the rest of the model stays.
#include "app/builders/builder_dialog.h"

namespace qav {

class SteelSectionDialog : public BuilderDialog {
    Q_OBJECT
public:
    explicit SteelSectionDialog(SectionModel& model, QWidget* parent = nullptr);

    void shapeChanged() override;
    void generate();
};

}  // namespace qav
