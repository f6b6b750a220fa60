#include "app/interchange/opensees_tcl_dialog.h"

#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "interchange/opensees_export.h"
#include "model/text_file.h"

namespace qav::app {

OpenSeesTclDialog::OpenSeesTclDialog(SectionModel& model, QWidget* parent, InterchangeUi ui)
    : QDialog(parent), model_(model), ui_(std::move(ui)) {
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
    connect(save_, &QPushButton::clicked, this, [this] { saveText(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);
}

void OpenSeesTclDialog::generate() {
    text_->clear();
    for (const std::string& line : GEN_OPENSEES_TCL(model_))
        text_->appendPlainText(QString::fromStdString(line));
}

bool OpenSeesTclDialog::saveText() {
    const QString path = ui_.saveFile(this, QStringLiteral("Save Text"), QString());
    if (path.isEmpty()) return false;
    std::vector<std::string> lines;
    for (const QString& l : text_->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(l.toLocal8Bit().toStdString());
    try {
        writeTextLines(QFile::encodeName(path).toStdString(), lines);
    } catch (const std::exception& e) {
        ui_.showMessage(this, QString::fromLocal8Bit(e.what()));
        return false;
    }
    return true;
}

}  // namespace qav::app
