// Turns the generated window icon into the PNG files that desktop menus
// look up in the hicolor theme:
//   ico_to_png INPUT.ico OUTPUT.png [SIZE]
// SIZE (default: the icon's own size) must be a whole multiple of the icon's
// size; the pixels are repeated rather than smoothed so the 16-colour artwork
// stays sharp in large menus.

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "ico_to_png: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The .ico reader is a plugin; the application object tells Qt where
    // plugins live.
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3 || args.size() > 4)
        return fail(QStringLiteral("usage: ico_to_png INPUT.ico OUTPUT.png [SIZE]"));

    QImageReader reader(args.at(1), "ico");
    QImage icon = reader.read();
    if (icon.isNull())
        return fail(QStringLiteral("cannot read %1: %2").arg(args.at(1), reader.errorString()));
    if (icon.width() != icon.height())
        return fail(QStringLiteral("%1 is %2x%3, not square").arg(args.at(1)).arg(icon.width()).arg(icon.height()));

    int size = icon.width();
    if (args.size() == 4) {
        bool ok = false;
        size = args.at(3).toInt(&ok);
        if (!ok || size < icon.width() || size % icon.width() != 0)
            return fail(QStringLiteral("size %1 is not a whole multiple of %2").arg(args.at(3)).arg(icon.width()));
    }

    // Keep the mask as an alpha channel; scaling an indexed image would not.
    icon = icon.convertToFormat(QImage::Format_ARGB32);
    if (size != icon.width())
        icon = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    if (!icon.save(args.at(2), "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(args.at(2)));
    return 0;
}
