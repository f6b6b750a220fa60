#pragma once
// Every question and message box the application puts to the user goes through this
// interface, so tests can answer them without a modal loop.
#include <QString>

class QWidget;

namespace qav {

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A confirmation box with Yes and No; true only for Yes.
    virtual bool confirm(const QString& text) = 0;
    // File dialogs with a filter such as "SectionModel (*.sec)"; an empty name means cancelled.
    // The save dialog may offer a file name to start from.
    virtual QString openFileName(const QString& filter) = 0;
    virtual QString saveFileName(const QString& filter, const QString& defaultName = QString()) = 0;
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
};

// The real boxes and file dialogs, parented to a window.
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent) : parent_(parent) {}
    bool confirm(const QString& text) override;
    QString openFileName(const QString& filter) override;
    QString saveFileName(const QString& filter, const QString& defaultName = QString()) override;
    void information(const QString& text) override;
    void error(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace qav
