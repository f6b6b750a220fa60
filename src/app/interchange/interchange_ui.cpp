#include "app/interchange/interchange_ui.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace qav::app {

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

const InterchangeUi& standardInterchangeUi() {
    static const InterchangeUi ui{
        [](QWidget* parent, const QString& caption, const QString& filter) {
            return QFileDialog::getOpenFileName(parent, caption, QString(), qtFileFilter(filter));
        },
        [](QWidget* parent, const QString& caption, const QString& filter) {
            return QFileDialog::getSaveFileName(parent, caption, QString(), qtFileFilter(filter),
                                                nullptr, QFileDialog::DontConfirmOverwrite);
        },
        [](QWidget* parent, const QString& text) {
            QMessageBox::warning(parent, QStringLiteral("QAV Section"), text);
        },
    };
    return ui;
}

}  // namespace qav::app
