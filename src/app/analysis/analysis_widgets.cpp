#include "app/analysis/analysis_widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/text_file.h"
#include "render/qt_canvas.h"
#include "reports/chart_frame.h"

namespace qav {

QString exportCsvLines(UserPrompts& prompts, const std::vector<std::string>& lines,
                       const QString& nothingYet) {
    if (lines.empty()) {
        prompts.information(nothingYet);
        return {};
    }
    QString path = prompts.saveFileName("csv_File (*.csv)");
    if (!path.isEmpty()) writeTextLines(path.toStdString(), lines);
    return path;
}

namespace {
void keepPainting() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
}  // namespace

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                       QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        group_->addButton(b, i);
        layout->addWidget(b);
    }
    setItemIndex(0);
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}
void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = group_->button(index)) b->setChecked(true);
}
QRadioButton* RadioGroup::item(int index) const {
    return static_cast<QRadioButton*>(group_->button(index));
}

QLineEdit* labelledEdit(QWidget* parent, const char* labelName, const char* caption,
                        const char* editName, const QString& text, int y, int editX,
                        int editWidth) {
    QLabel* l = namedLabel(labelName, caption, parent);
    l->move(10, y + 3);
    l->adjustSize();
    QLineEdit* e = namedEdit(editName, text, parent);
    e->setGeometry(editX, y, editWidth, 21);
    return e;
}

QPlainTextEdit* listingMemo(const QString& name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New", 8);
    font.setStyleHint(QFont::TypeWriter);
    memo->setFont(font);
    return memo;
}

void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList text;
    for (const auto& l : lines) text << QString::fromStdString(l);
    memo->setPlainText(text.join('\n'));
}

std::vector<std::string> memoLines(const QPlainTextEdit* memo) {
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (text.isEmpty()) return lines;
    for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    return lines;
}

ChartPicture::ChartPicture(const QString& name, QWidget* parent)
    : image_(CHART_PICTURE_W, CHART_PICTURE_H, QImage::Format_RGB32) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name + "Panel");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(13, 24, CHART_PICTURE_W + 2, CHART_PICTURE_H + 2);
    label_ = new QLabel(panel);
    label_->setObjectName(name);
    label_->setGeometry(1, 1, CHART_PICTURE_W, CHART_PICTURE_H);
    image_.fill(Qt::white);
    label_->setPixmap(QPixmap::fromImage(image_));
}

void ChartPicture::clear() {
    image_.fill(Qt::white);
    label_->setPixmap(QPixmap::fromImage(image_));
}

void ChartPicture::draw(const std::function<void(Canvas&)>& paint) {
    {
        QPainter painter(&image_);
        QtCanvas canvas(painter);
        canvas.font = font_;
        paint(canvas);
        font_ = canvas.font;
    }
    label_->setPixmap(QPixmap::fromImage(image_));
}

RunProgress::RunProgress(QWidget* parent, const QString& label)
    : dialog_(new QProgressDialog(label, QStringLiteral("Cancel"), 0, 100, parent)) {
    dialog_->setObjectName("RunProgress");
    dialog_->setWindowTitle("QAV Section");
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(500);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
}

RunProgress::~RunProgress() {
    delete dialog_;
}

void RunProgress::setPosition(int percent) {
    dialog_->setValue(percent);
    // Once the modal dialog is up, only it takes input: its "Cancel" is heard.
    if (dialog_->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    else
        keepPainting();
}

bool RunProgress::cancelled() const {
    return dialog_->wasCanceled();
}

std::unique_ptr<Progress> ProgressSource::makeProgress(QWidget* parent,
                                                       const QString& label) const {
    if (maker_) return maker_(parent, label);
    return std::make_unique<RunProgress>(parent, label);
}

void BarProgress::setPosition(int percent) {
    bar_->setValue(percent);
    bar_->repaint();
    keepPainting();
}

void BarAndRunProgress::setPosition(int percent) {
    if (percent == last_) return;
    last_ = percent;
    bar_.setPosition(percent);
    run_.setPosition(percent);
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    keepPainting();
}
BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace qav
