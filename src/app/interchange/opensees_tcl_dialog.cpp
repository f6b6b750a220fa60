#include "app/interchange/opensees_tcl_dialog.h"

#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
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

    auto* buttons = new QHBoxLayout;
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
        text_->clear();
        for (const std::string& line : GEN_OPENSEES_TCL(ctx_.model()))
            text_->appendPlainText(QString::fromStdString(line));
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
