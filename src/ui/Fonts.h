#pragma once
#include <QFont>
#include <QStringList>

namespace Fonts {
// Maps the window's font face to one shipped by the system. Call once
// before any widget is created.
void InstallSubstitutes();
// Bold 9.75 pt (13 px at 96 dpi) for labels.
QFont LabelFont();
// Bold 8.25 pt (11 px at 96 dpi) for check boxes and the button.
QFont ControlFont();
} // namespace Fonts
