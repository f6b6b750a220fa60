#include "app/user_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace qav {

namespace {
QString title() { return QApplication::applicationName(); }
}  // namespace

bool QtUserPrompts::confirm(const QString& text) {
    return QMessageBox::question(parent_, title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtUserPrompts::openFileName(const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

QString QtUserPrompts::saveFileName(const QString& filter, const QString& defaultName) {
    // The name is taken as typed: no extension is added, an existing file is replaced.
    return QFileDialog::getSaveFileName(parent_, QString(), defaultName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void QtUserPrompts::information(const QString& text) { QMessageBox::information(parent_, title(), text); }

void QtUserPrompts::error(const QString& text) { QMessageBox::critical(parent_, title(), text); }

}  // namespace qav
