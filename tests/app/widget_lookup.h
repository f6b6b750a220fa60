#pragma once
// Finding a window's controls by object name or caption, failing the test when one is missing.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace qav::test {

template <class T = QWidget>
T* child(QWidget* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

inline QPushButton* button(QWidget* parent, const QString& text) {
    for (QPushButton* b : parent->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

}  // namespace qav::test
