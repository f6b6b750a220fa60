#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qav {

QStringList userGuideCandidates() {
    QStringList out;
    out << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           "/../share/doc/qavsec/user-guide.md");
#ifdef QAVSEC_DOCS_DIR
    out << QStringLiteral(QAVSEC_DOCS_DIR "/user-guide.md");
#endif
    return out;
}

QString userGuidePath() {
    for (const QString& path : userGuideCandidates())
        if (QFileInfo(path).isFile()) return path;
    return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName("HelpWindow");
    setWindowTitle("QAV Section Help");
    browser_->setObjectName("HelpText");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    resize(820, 700);
}

void HelpWindow::showGuide(const QString& path) {
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
}

}  // namespace qav
