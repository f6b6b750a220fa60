#pragma once
// The pictures of the tool bar buttons, the window icon, the splash and the about box, drawn
// by code.
#include <QIcon>
#include <QPixmap>
#include <string>

namespace qav {

// The tool button picture of a command (20 x 20; empty for a command without one).
QIcon toolIcon(const std::string& command);
QIcon windowIcon();
// The splash picture (665 x 274) and the about box picture (100 x 100).
QPixmap splashPicture();
QPixmap aboutPicture();

}  // namespace qav
