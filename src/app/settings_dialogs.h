#pragma once
// The small settings windows: "Display Setting", "General Setting " (the trailing blank is
// part of its caption), "About QAV Section" and the never-shown "Section Properties".
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qav {

class AppContext;

class DisplaySettingDialog : public QDialog {
    Q_OBJECT
public:
    DisplaySettingDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx_;
    QCheckBox* boxes_[7] = {};  // 1..6
};

class GeneralSettingDialog : public QDialog {
    Q_OBJECT
public:
    GeneralSettingDialog(AppContext& ctx, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void okay();
    AppContext& ctx_;
    QLineEdit *Edit1, *Edit2;
    QComboBox* ComboBox1;
};

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);
};

class SectionPropertiesWindow : public QDialog {
    Q_OBJECT
public:
    explicit SectionPropertiesWindow(QWidget* parent);
};

}  // namespace qav
