#include "DiceImages.h"

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <array>

namespace DiceImages {

namespace {

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Qt's BMP reader wants a BITMAPFILEHEADER in front of the DIB.
QImage decodeDib(const QByteArray &dib)
{
    constexpr int fileHeaderSize = 14;
    constexpr int pixelOffset = fileHeaderSize + 40;  // 24 bpp: no colour table
    QByteArray bmp(fileHeaderSize, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileHeaderSize + dib.size()), bmp.data() + 2);
    qToLittleEndian<quint32>(pixelOffset, bmp.data() + 10);
    bmp += dib;
    return QImage::fromData(bmp, "BMP");
}

} // namespace

QByteArray FaceBitmap(int id)
{
    if (id < FaceBitmapBase + 1 || id > FaceBitmapBase + 6)
        return {};
    return readResource(QStringLiteral(":/images/%1.dib").arg(id));
}

QPixmap FacePicture(int face)
{
    if (face < 1 || face > 6)
        return {};
    // The roll animation asks for a picture of every rolling die at every
    // tick, so each face is decoded only once.
    static std::array<QPixmap, 6> cache;
    QPixmap &picture = cache[std::size_t(face - 1)];
    if (picture.isNull())
        picture = QPixmap::fromImage(decodeDib(FaceBitmap(FaceBitmapBase + face)));
    return picture;
}

QByteArray IconFile()
{
    return readResource(QStringLiteral(":/images/quintor.ico"));
}

QIcon WindowIcon()
{
    return QIcon(QStringLiteral(":/images/quintor.ico"));
}

} // namespace DiceImages
