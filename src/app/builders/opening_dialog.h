#pragma once
// "Build Section Openning": one rectangular or circular opening, replacing any earlier one.
#include "app/builders/builder_dialog.h"

namespace qav {

class OpeningDialog : public BuilderDialog {
    Q_OBJECT
public:
    explicit OpeningDialog(SectionModel& model, QWidget* parent = nullptr);

    void shapeChanged() override;
    void generate();
};

}  // namespace qav
