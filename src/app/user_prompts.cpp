#include "app/user_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <memory>

#include "app/recent_files.h"

namespace qav {

namespace {
QString title() {
    return QApplication::applicationName();
}

const char* kLastFolder = "LastFolder";

QString remember(const QString& path) {
    rememberFileFolder(path);
    return path;
}
}  // namespace

QString lastFileFolder() {
    const QString dir = appSettings().value(kLastFolder).toString();
    return !dir.isEmpty() && QFileInfo(dir).isDir() ? dir : QString();
}

void rememberFileFolder(const QString& path) {
    if (!path.isEmpty()) appSettings().setValue(kLastFolder, QFileInfo(path).absolutePath());
}

bool QtUserPrompts::confirm(const QString& text) {
    return QMessageBox::question(parent_, title(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString QtUserPrompts::openFileName(const QString& filter) {
    return remember(QFileDialog::getOpenFileName(parent_, QString(), lastFileFolder(), filter));
}

QString QtUserPrompts::saveFileName(const QString& filter, const QString& defaultName) {
    QString start = defaultName;
    const QString folder = lastFileFolder();
    if (!folder.isEmpty() && QFileInfo(defaultName).isRelative())
        start = QDir(folder).filePath(defaultName);
    // The name is taken as typed: no extension is added, an existing file is replaced.
    return remember(QFileDialog::getSaveFileName(parent_, QString(), start, filter, nullptr,
                                                 QFileDialog::DontConfirmOverwrite));
}

void QtUserPrompts::information(const QString& text) {
    QMessageBox::information(parent_, title(), text);
}

void QtUserPrompts::error(const QString& text) {
    QMessageBox::critical(parent_, title(), text);
}

QMessageBox* createSaveChangesBox(QWidget* parent, const QString& name) {
    auto* box = new QMessageBox(
        QMessageBox::Question, title(), QStringLiteral("Save changes to %1?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

SaveAnswer QtUserPrompts::askSaveChanges(const QString& name) {
    std::unique_ptr<QMessageBox> box(createSaveChangesBox(parent_, name));
    const int b = box->exec();
    if (b == QMessageBox::Save) return SaveAnswer::Save;
    if (b == QMessageBox::Discard) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

}  // namespace qav
