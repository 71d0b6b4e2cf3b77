#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPixmap>

// The die-face pictures and the window icon embedded in the executable.
namespace DiceImages {

// Face v is stored as bitmap FaceBitmapBase + v.
constexpr int FaceBitmapBase = 100;

// The raw device-independent bitmap (info header + pixels, no file header)
// with id 101..106; empty for any other id.
QByteArray FaceBitmap(int id);

// The picture of face 1..6, decoded once and then reused; a null pixmap for
// any other value. Needs a QGuiApplication.
QPixmap FacePicture(int face);

// The window icon as a complete .ico file.
QByteArray IconFile();

QIcon WindowIcon();

} // namespace DiceImages
