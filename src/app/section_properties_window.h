#pragma once
// "Section Properties": created at start with the other windows; no command shows it.
#include <QDialog>

namespace qav {

class SectionPropertiesWindow : public QDialog {
    Q_OBJECT
public:
    explicit SectionPropertiesWindow(QWidget* parent);
};

}  // namespace qav
