#pragma once
// Pieces the four builder dialogs share: the bridge between their edit boxes and the builders'
// box texts, and pictures drawn through the canvas.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <functional>

#include "builders/box_texts.h"
#include "canvas/canvas.h"

namespace qav {

// Every named edit box under `root`, by object name.
BoxTexts collectBoxTexts(const QWidget* root);
// Puts each text into the box of that name under `root` (names not found are ignored).
void applyBoxTexts(QWidget* root, const BoxTexts& texts);

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text);

// A sunken panel ("Panel1") holding the picture label ("Image1") of a fixed size.
QLabel* makePicture(QWidget* parent, int w, int h, QFrame** panel = nullptr);
// Draws into a w x h pixmap through the canvas and shows it in `image`.
// smooth: antialiased lines (the shape pictures); the preview keeps its exact pixels.
void paintPicture(QLabel* image, int w, int h, const std::function<void(Canvas&)>& draw,
                  bool smooth = true);

}  // namespace qav
