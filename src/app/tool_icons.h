#pragma once
// The pictures of the tool bar buttons, the window icon, the splash and the about box, drawn
// by code.
#include <QIcon>
#include <QPixmap>

namespace qav {

// Tool button 1..39 (20 x 20).
QIcon toolIcon(int button);
QIcon windowIcon();
// The splash picture (665 x 274) and the about box picture (100 x 100).
QPixmap splashPicture();
QPixmap aboutPicture();

}  // namespace qav
