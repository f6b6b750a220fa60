#pragma once
// Help > Help: the user guide in a window of its own, read from where the program is installed
// (share/doc/qavsec beside its bin folder) or, for a program run from its build tree, from the
// sources' docs folder.
#include <QDialog>
#include <QString>
#include <QStringList>

class QTextBrowser;

namespace qav {

// The places the user guide is looked for, in order.
QStringList userGuideCandidates();
// The first of them that exists; empty when none does.
QString userGuidePath();

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the guide at path (a Markdown file; its pictures beside it).
    void showGuide(const QString& path);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace qav
