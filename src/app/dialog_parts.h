#pragma once
// Small helpers shared by the dialogs: named controls (tests find them by objectName) and the
// non-modal, hide-on-close dialog every command shows.
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace qav {

// A dialog of the main window: created once, never modal, hidden (not destroyed) on close.
inline void initToolDialog(QDialog* d, const QString& objectName, const QString& caption) {
    d->setObjectName(objectName);
    d->setWindowTitle(caption);
    d->setModal(false);
}

inline QLineEdit* namedEdit(const QString& name, const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

inline QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The same controls at a fixed place, for the dialogs laid out by coordinates.
inline QLineEdit* placedEdit(const QString& name, const QString& text, QWidget* parent, QRect r) {
    QLineEdit* e = namedEdit(name, text, parent);
    e->setGeometry(r);
    return e;
}

inline QLabel* placedLabel(const QString& name, const QString& text, QWidget* parent, QPoint at) {
    QLabel* l = namedLabel(name, text, parent);
    l->move(at);
    l->adjustSize();
    return l;
}

inline QPushButton* placedButton(const QString& name, const QString& text, QWidget* parent,
                                 QRect r) {
    QPushButton* b = namedButton(name, text, parent);
    b->setGeometry(r);
    return b;
}

// Buttons at the right of a row.
inline QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    return row;
}

inline std::string textOf(const QLineEdit* e) {
    return e->text().toStdString();
}
inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The places of a dialog laid out at a fixed size that may grow beyond it: one widget takes the
// room (grows), the column from rightColumn on keeps to the right edge, the row from below down
// keeps to the bottom edge and widens with the growing widget. Made once the children are
// placed, at the dialog's own size; apply from the dialog's resizeEvent.
class GrowingPlaces {
public:
    GrowingPlaces(QWidget* dialog, QSize own, QWidget* grows, int rightColumn, int below)
        : own_(own), grows_(grows), rightColumn_(rightColumn), below_(below) {
        for (QWidget* w : dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            places_.emplace_back(w, w->geometry());
    }
    void apply(QSize now) const {
        const int dx = now.width() - own_.width(), dy = now.height() - own_.height();
        for (const auto& [w, r] : places_) {
            if (w == grows_)
                w->setGeometry(r.adjusted(0, 0, dx, dy));
            else if (r.x() >= rightColumn_)
                w->move(r.x() + dx, r.y() + (r.y() >= below_ ? dy : 0));
            else if (r.y() >= below_)
                w->setGeometry(r.x(), r.y() + dy, r.width() + dx, r.height());
        }
    }

private:
    QSize own_;
    QWidget* grows_;
    int rightColumn_, below_;
    std::vector<std::pair<QWidget*, QRect>> places_;
};

}  // namespace qav
