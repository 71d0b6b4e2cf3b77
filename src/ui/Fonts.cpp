#include "ui/Fonts.h"

namespace {

const QString Face = QStringLiteral("MS Sans Serif");

QFont BoldFont(int pixelSize)
{
    QFont font(Face);
    // Pixel sizes: the layout is in pixels, so the text must scale with it
    // and not with the screen's dpi setting.
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

} // namespace

namespace Fonts {

void InstallSubstitutes()
{
    // Liberation Sans has the metrics of the narrow sans face the layout was
    // made for; DejaVu Sans, the usual fallback, is too wide for the captions.
    QFont::insertSubstitutions(Face, QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
}

QFont LabelFont() { return BoldFont(13); }
QFont ControlFont() { return BoldFont(11); }

} // namespace Fonts
