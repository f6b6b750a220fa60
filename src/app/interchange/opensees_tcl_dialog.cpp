#include "app/interchange/opensees_tcl_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/user_prompts.h"
#include "interchange/opensees_export.h"
#include "model/text_file.h"

namespace qav {

OpenSeesTclDialog::OpenSeesTclDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("Gen OpenSEES Tcl"));
    setModal(false);
    resize(703, 539);

    label_ = new QLabel(QStringLiteral("OPENSEES TCL Command"), this);
    text_ = new QPlainTextEdit(this);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Fixedsys"), 12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    text_->setFont(font);
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Text, QColor(0, 128, 0));
    text_->setPalette(pal);
    text_->setPlainText(QStringLiteral("OpenSEES"));

    generate_ = new QPushButton(QStringLiteral("Generate"), this);
    save_ = new QPushButton(QStringLiteral("Save Text"), this);
    close_ = new QPushButton(QStringLiteral("Close"), this);

    // Off by default: the text then stays the plain fibre section.
    gjCheck_ = new QCheckBox(QStringLiteral("Torsional stiffness GJ"), this);
    gjCheck_->setObjectName(QStringLiteral("GJCheck"));
    gjCheck_->setToolTip(
        QStringLiteral("-GJ on the section line, which a 3-D frame model needs: "
                       "auto from the section, or a value in N mm2"));
    gjEdit_ = new QLineEdit(QStringLiteral("auto"), this);
    gjEdit_->setObjectName(QStringLiteral("GJEdit"));
    gjEdit_->setMaximumWidth(140);
    gjEdit_->setEnabled(false);
    connect(gjCheck_, &QCheckBox::toggled, gjEdit_, &QWidget::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(gjCheck_);
    buttons->addWidget(gjEdit_);
    buttons->addStretch();
    buttons->addWidget(generate_);
    buttons->addWidget(save_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);

    connect(generate_, &QPushButton::clicked, this, &OpenSeesTclDialog::generate);
    connect(save_, &QPushButton::clicked, this, &OpenSeesTclDialog::saveText);
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);
    // The text lists the fibres: once they change it describes a mesh that is gone.
    ctx_.onSectionState(this, [this] { text_->setPlainText(QStringLiteral("OpenSEES")); });
}

void OpenSeesTclDialog::generate() {
    ctx_.runCommand([this] {
        const SectionModel& m = ctx_.model();
        const std::vector<std::string> lines =
            gjCheck_->isChecked()
                ? GEN_OPENSEES_TCL(m, torsionStiffnessFromText(m, gjEdit_->text().toStdString()))
                : GEN_OPENSEES_TCL(m);
        text_->clear();
        for (const std::string& line : lines) text_->appendPlainText(QString::fromStdString(line));
    });
}

void OpenSeesTclDialog::saveText() {
    ctx_.runCommand([this] {
        const QString path = ctx_.prompts().saveFileName(QString());
        if (path.isEmpty()) return;
        std::vector<std::string> lines;
        for (const QString& l : text_->toPlainText().split(QLatin1Char('\n')))
            lines.push_back(l.toLocal8Bit().toStdString());
        writeTextLines(QFile::encodeName(path).toStdString(), lines);
    });
}

}  // namespace qav
