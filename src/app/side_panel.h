#pragma once
// The right-hand panel of the main window: the pages "Section", "Rebar" and "CAD" with their
// command buttons, the four grade lists with the "Mesh Size" box, and the five read-only
// "Section Properties" boxes.
#include <QTabWidget>

class QComboBox;
class QLineEdit;

namespace qav {

class CommandMap;
struct SectionModel;

class SidePanel : public QTabWidget {
    Q_OBJECT
public:
    SidePanel(CommandMap& commands, QWidget* parent = nullptr);

    // Grade lists and mesh size box <-> the model's fields.
    void writeToModel(SectionModel& m) const;
    void readFromModel(const SectionModel& m);
    // The grade lists of the document's code: the program's own lists under HK-COP-2013 and
    // BS-8110, the names of the document's tables under a code with its own grades.
    void listGrades(const SectionModel& m);
    // The five "Section Properties" boxes from the mesh.
    void showProperties(const SectionModel& m);

    QComboBox* ComboBox1 = nullptr;  // "Steel Grade"
    QComboBox* ComboBox2 = nullptr;  // "Concrete Grade"
    QComboBox* ComboBox3 = nullptr;  // "Rebar Grade"
    QComboBox* ComboBox4 = nullptr;  // "Concrete Cover Grade"
    QLineEdit* Edit1 = nullptr;      // "Mesh Size"
    QLineEdit *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
              *Edit6 = nullptr;

signals:
    // A grade list or the mesh size box was changed by the user.
    void controlsEdited();

private:
    QWidget* sectionPage(CommandMap& commands);
    QWidget* buttonPage(CommandMap& commands, const QStringList& names);
};

}  // namespace qav
