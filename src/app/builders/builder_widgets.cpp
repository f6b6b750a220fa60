#include "app/builders/builder_widgets.h"

#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "render/qt_canvas.h"

namespace qav {

BoxTexts collectBoxTexts(const QWidget* root) {
    BoxTexts texts;
    for (const QLineEdit* e : root->findChildren<QLineEdit*>())
        if (!e->objectName().isEmpty())
            texts[e->objectName().toStdString()] = e->text().toStdString();
    return texts;
}

void applyBoxTexts(QWidget* root, const BoxTexts& texts) {
    for (const auto& [name, text] : texts)
        if (auto* e = root->findChild<QLineEdit*>(QString::fromStdString(name)))
            e->setText(QString::fromStdString(text));
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text) {
    auto* e = new QLineEdit(QString::fromLatin1(text), parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLabel* makePicture(QWidget* parent, int w, int h, QFrame** panelOut) {
    auto* panel = new QFrame(parent);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* image = new QLabel(panel);
    image->setObjectName("Image1");
    image->setFixedSize(w, h);
    auto* lay = new QVBoxLayout(panel);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->addWidget(image);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (panelOut) *panelOut = panel;
    return image;
}

void paintPicture(QLabel* image, int w, int h, const std::function<void(Canvas&)>& draw,
                  bool smooth) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::white);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        QtCanvas canvas(painter);
        draw(canvas);
    }
    image->setPixmap(pixmap);
}

}  // namespace qav
