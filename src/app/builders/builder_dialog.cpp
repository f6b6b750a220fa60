#include "app/builders/builder_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "app/command_boundary.h"
#include "model/errors.h"

namespace qav {

BuilderDialog::BuilderDialog(SectionModel& model, const char* formName, const char* caption,
                             QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(formName);
    setWindowTitle(caption);
    setFont(QFont("Tahoma", 8));
    setModal(false);
}

bool BuilderDialog::reportErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const ConversionError& e) {
        emit errorOccurred(CommandBoundary::errorText(e));
        return false;
    } catch (const InputError& e) {
        emit errorOccurred(CommandBoundary::errorText(e));
        return false;
    } catch (const std::exception& e) {
        // Anything else may have stopped a build half-way: show what the model now holds.
        // Nothing may escape into the event loop, which would end the program.
        emit sectionChanged();
        emit errorOccurred(CommandBoundary::errorText(e));
        return false;
    }
    return true;
}

bool BuilderDialog::attempt(const std::function<void()>& build) {
    if (!reportErrors(build)) return false;
    emit sectionChanged();
    hide();
    return true;
}

void BuilderDialog::showDimensionRows(const std::vector<DimensionRow>& rows) {
    for (std::size_t i = 0; i < KEdit.size(); ++i) {
        const bool used = i < rows.size();
        KLabel[i]->setText(used ? QString::fromStdString(rows[i].label) : QString());
        KEdit[i]->setVisible(used);
    }
}

void BuilderDialog::showPicture(const ShapePicture& picture) {
    paintPicture(Image1, 222, 172,
                 [&picture](Canvas& c) { drawShapePicture(c, 222, 172, picture); });
}

void BuilderDialog::showEvent(QShowEvent* event) {
    shapeChanged();
    QDialog::showEvent(event);
}

std::pair<QVBoxLayout*, QVBoxLayout*> BuilderDialog::addShapeFrame(
    const QStringList& names, const std::vector<const char*>& captions,
    const std::vector<const char*>& texts) {
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    root->addLayout(left, 1);
    root->addLayout(right, 0);

    auto* row = new QHBoxLayout;
    row->addWidget(makeLabel(this, "Label1", "Section Shape"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems(names);
    row->addWidget(ComboBox1, 1);
    left->addLayout(row);

    auto* group = new QGroupBox("Section Dimension", this);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        KLabel.push_back(
            makeLabel(group, ("KLabel" + n).c_str(), i < captions.size() ? captions[i] : ""));
        KEdit.push_back(makeEdit(group, ("KEdit" + n).c_str(), texts[i]));
        grid->addWidget(KLabel.back(), static_cast<int>(i), 0);
        grid->addWidget(KEdit.back(), static_cast<int>(i), 1);
    }
    left->addWidget(group);

    QFrame* panel = nullptr;
    Image1 = makePicture(this, 222, 172, &panel);
    right->addWidget(panel, 0, Qt::AlignHCenter);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { shapeChanged(); });
    return {left, right};
}

void BuilderDialog::addButtons(
    QBoxLayout* into, const std::vector<std::pair<const char*, const char*>>& nameAndCaption,
    const std::vector<std::function<void()>>& actions, bool alignRight) {
    auto* row = new QHBoxLayout;
    if (alignRight) row->addStretch(1);
    for (std::size_t i = 0; i < nameAndCaption.size(); ++i) {
        auto* b = new QPushButton(nameAndCaption[i].second, this);
        b->setObjectName(nameAndCaption[i].first);
        connect(b, &QPushButton::clicked, this, actions[i]);
        row->addWidget(b);
    }
    into->addLayout(row);
}

}  // namespace qav
