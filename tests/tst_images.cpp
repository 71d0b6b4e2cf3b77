#include "resources/DiceImages.h"

#include <QImage>
#include <QSet>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <array>

namespace {

constexpr int Side = 33;
constexpr int RowBytes = 100;
constexpr int HeaderSize = 40;

quint32 u32(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint32>(data.constData() + offset);
}

quint16 u16(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

using Centres = QList<QPoint>;

// The black pixels a face must have: the frame without its corners, and a
// 3-5-7-7-7-5-3 disc around every pip centre.
QSet<QPoint> expectedBlack(const Centres &centres)
{
    QSet<QPoint> black;
    for (int i = 1; i < Side - 1; ++i) {
        black << QPoint(i, 0) << QPoint(i, Side - 1) << QPoint(0, i) << QPoint(Side - 1, i);
    }
    const int widths[7] = {3, 5, 7, 7, 7, 5, 3};
    for (const QPoint &c : centres) {
        for (int row = 0; row < 7; ++row) {
            for (int i = 0; i < widths[row]; ++i)
                black << QPoint(c.x() - widths[row] / 2 + i, c.y() - 3 + row);
        }
    }
    return black;
}

// Pixel (x, y) of a face DIB, y counted from the top; rows are stored bottom-up.
QRgb dibPixel(const QByteArray &dib, int x, int y)
{
    const int offset = HeaderSize + (Side - 1 - y) * RowBytes + x * 3;
    const auto *p = reinterpret_cast<const uchar *>(dib.constData() + offset);
    return qRgb(p[2], p[1], p[0]);
}

// Labels the 4-connected regions of pixels for which `member` holds;
// returns the label per pixel (-1 outside) and the number of regions.
template <typename Member>
QList<int> regions(const QImage &img, Member member, int *count)
{
    const int w = img.width(), h = img.height();
    QList<int> label(w * h, -1);
    *count = 0;
    for (int start = 0; start < w * h; ++start) {
        if (label[start] != -1 || !member(start % w, start / w))
            continue;
        QList<int> stack{start};
        label[start] = *count;
        while (!stack.isEmpty()) {
            const int i = stack.takeLast();
            const int x = i % w, y = i / w;
            const QPoint next[4] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint &n : next) {
                if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h)
                    continue;
                const int j = n.y() * w + n.x();
                if (label[j] == -1 && member(n.x(), n.y())) {
                    label[j] = *count;
                    stack << j;
                }
            }
        }
        ++*count;
    }
    return label;
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT

private slots:
    void faceHeader_data();
    void faceHeader();
    void facePixels_data();
    void facePixels();
    void storedBottomRowFirst();
    void idsOutsideTheFaces();
    void facePicture_data();
    void facePicture();
    void iconFileLayout();
    void iconMaskMatchesPixels();
    void iconShowsTwoDice();
    void windowIcon();
};

void TestImages::faceHeader_data()
{
    QTest::addColumn<int>("id");
    for (int id = 101; id <= 106; ++id)
        QTest::addRow("bitmap %d", id) << id;
}

void TestImages::faceHeader()
{
    QFETCH(int, id);
    const QByteArray dib = DiceImages::FaceBitmap(id);
    QCOMPARE(dib.size(), 3340);
    QCOMPARE(u32(dib, 0), 40u);     // header size
    QCOMPARE(u32(dib, 4), 33u);     // width
    QCOMPARE(u32(dib, 8), 33u);     // height, positive: bottom-up
    QCOMPARE(u16(dib, 12), 1);      // planes
    QCOMPARE(u16(dib, 14), 24);     // bits per pixel
    QCOMPARE(u32(dib, 16), 0u);     // uncompressed
    QCOMPARE(u32(dib, 20), 3300u);  // image size
    QCOMPARE(u32(dib, 24), 0u);     // x resolution
    QCOMPARE(u32(dib, 28), 0u);     // y resolution
    QCOMPARE(u32(dib, 32), 0u);     // colours used
    QCOMPARE(u32(dib, 36), 0u);     // important colours
    for (int row = 0; row < Side; ++row)
        QCOMPARE(dib.at(HeaderSize + row * RowBytes + RowBytes - 1), '\0');
}

void TestImages::facePixels_data()
{
    QTest::addColumn<int>("face");
    QTest::addColumn<Centres>("centres");
    QTest::newRow("one") << 1 << Centres{{16, 16}};
    QTest::newRow("two") << 2 << Centres{{6, 6}, {26, 26}};
    QTest::newRow("three") << 3 << Centres{{6, 6}, {16, 16}, {26, 26}};
    QTest::newRow("four") << 4 << Centres{{6, 6}, {26, 6}, {6, 26}, {26, 26}};
    QTest::newRow("five") << 5 << Centres{{6, 6}, {26, 6}, {16, 16}, {6, 26}, {26, 26}};
    QTest::newRow("six") << 6 << Centres{{6, 6}, {26, 6}, {6, 16}, {26, 16}, {6, 26}, {26, 26}};
}

void TestImages::facePixels()
{
    QFETCH(int, face);
    QFETCH(Centres, centres);
    const QByteArray dib = DiceImages::FaceBitmap(100 + face);
    QCOMPARE(dib.size(), 3340);

    const QSet<QPoint> black = expectedBlack(centres);
    QCOMPARE(black.size(), 4 * 31 + 37 * int(centres.size()));  // pips neither overlap nor touch the frame
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const QRgb want = black.contains(QPoint(x, y)) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            if (dibPixel(dib, x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x).arg(y)
                                     .arg(dibPixel(dib, x, y) & 0xffffff, 6, 16, QLatin1Char('0'))
                                     .arg(want & 0xffffff, 6, 16, QLatin1Char('0'))));
        }
    }
}

void TestImages::storedBottomRowFirst()
{
    // Face two's diagonal runs from top-left to bottom-right: the stored
    // rows near the start of the data (the bottom of the picture) must have
    // the pip on the right.
    const QByteArray dib = DiceImages::FaceBitmap(102);
    QCOMPARE(dib.size(), 3340);
    auto stored = [&](int storedRow, int x) {
        return uchar(dib.at(HeaderSize + storedRow * RowBytes + x * 3));
    };
    QCOMPARE(stored(6, 26), uchar(0));     // picture row 26: right pip
    QCOMPARE(stored(6, 6), uchar(255));
    QCOMPARE(stored(26, 6), uchar(0));     // picture row 6: left pip
    QCOMPARE(stored(26, 26), uchar(255));
    QCOMPARE(stored(0, 0), uchar(255));    // corner
    QCOMPARE(stored(0, 1), uchar(0));      // frame
}

void TestImages::idsOutsideTheFaces()
{
    for (int id : {-1, 0, 1, 6, 100, 107, 1000})
        QVERIFY2(DiceImages::FaceBitmap(id).isEmpty(), qPrintable(QString::number(id)));
    for (int face : {-1, 0, 7, 101})
        QVERIFY2(DiceImages::FacePicture(face).isNull(), qPrintable(QString::number(face)));
}

void TestImages::facePicture_data()
{
    QTest::addColumn<int>("face");
    for (int face = 1; face <= 6; ++face)
        QTest::addRow("face %d", face) << face;
}

void TestImages::facePicture()
{
    QFETCH(int, face);
    const QPixmap picture = DiceImages::FacePicture(face);
    QCOMPARE(picture.size(), QSize(33, 33));
    const QByteArray dib = DiceImages::FaceBitmap(100 + face);
    const QImage image = picture.toImage();
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            QCOMPARE(image.pixel(x, y) | 0xff000000, dibPixel(dib, x, y));

    // Later requests reuse the decoded picture.
    QCOMPARE(DiceImages::FacePicture(face).cacheKey(), picture.cacheKey());
}

void TestImages::iconFileLayout()
{
    const QByteArray ico = DiceImages::IconFile();
    QCOMPARE(ico.size(), 766);
    // ICONDIR
    QCOMPARE(u16(ico, 0), 0);
    QCOMPARE(u16(ico, 2), 1);  // icon, not cursor
    QCOMPARE(u16(ico, 4), 1);  // one image
    // ICONDIRENTRY
    QCOMPARE(uchar(ico.at(6)), uchar(32));
    QCOMPARE(uchar(ico.at(7)), uchar(32));
    QCOMPARE(uchar(ico.at(8)), uchar(16));
    QCOMPARE(uchar(ico.at(9)), uchar(0));
    QCOMPARE(u16(ico, 10), 1);
    QCOMPARE(u16(ico, 12), 4);
    QCOMPARE(u32(ico, 14), 744u);
    QCOMPARE(u32(ico, 18), 22u);

    const QByteArray image = ico.mid(22);
    QCOMPARE(image.size(), 744);
    QCOMPARE(u32(image, 0), 40u);
    QCOMPARE(u32(image, 4), 32u);
    QCOMPARE(u32(image, 8), 64u);  // XOR bitmap and AND mask
    QCOMPARE(u16(image, 12), 1);
    QCOMPARE(u16(image, 14), 4);
    QCOMPARE(u32(image, 16), 0u);

    const std::array<QRgb, 16> vga = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    for (int i = 0; i < 16; ++i) {
        const auto *p = reinterpret_cast<const uchar *>(image.constData() + 40 + 4 * i);
        QCOMPARE(qRgb(p[2], p[1], p[0]), vga[std::size_t(i)]);
        QCOMPARE(p[3], uchar(0));
    }
}

void TestImages::iconMaskMatchesPixels()
{
    // Where the mask lets the background through, the colour bits must be
    // black, or the background would be inverted instead of shown.
    const QByteArray image = DiceImages::IconFile().mid(22);
    QCOMPARE(image.size(), 744);
    const int xorStart = 40 + 64, andStart = xorStart + 512;
    int transparent = 0;
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const bool masked = uchar(image.at(andStart + row * 4 + x / 8)) & (0x80 >> (x % 8));
            const int index = (uchar(image.at(xorStart + row * 16 + x / 2)) >> (x % 2 ? 0 : 4)) & 0xf;
            if (masked) {
                ++transparent;
                QCOMPARE(index, 0);
            }
        }
    }
    QVERIFY(transparent > 100);
    QVERIFY(transparent < 32 * 32 - 400);
}

void TestImages::iconShowsTwoDice()
{
    QImage icon = QImage::fromData(DiceImages::IconFile(), "ICO");
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(32, 32));
    icon = icon.convertToFormat(QImage::Format_ARGB32);
    for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
        QCOMPARE(qAlpha(icon.pixel(corner)), 0);

    auto is = [&](int x, int y, QRgb colour) { return icon.pixel(x, y) == (colour | 0xff000000); };
    auto white = [&](int x, int y) { return is(x, y, qRgb(255, 255, 255)); };
    auto black = [&](int x, int y) { return is(x, y, qRgb(0, 0, 0)); };

    // Two large white front faces...
    int whiteCount = 0;
    const QList<int> faceOf = regions(icon, white, &whiteCount);
    QList<int> faceArea(whiteCount, 0);
    for (int label : faceOf)
        if (label >= 0)
            ++faceArea[label];
    QList<int> faces;
    for (int i = 0; i < whiteCount; ++i)
        if (faceArea[i] >= 80)
            faces << i;
    QCOMPARE(faces.size(), 2);

    // ...with pips: black islands enclosed by white, three on one face and
    // four on the other.
    int blackCount = 0;
    const QList<int> blob = regions(icon, black, &blackCount);
    QList<QSet<int>> touches(blackCount);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int b = blob[y * 32 + x];
            if (b < 0)
                continue;
            const QPoint next[4] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint &n : next) {
                const bool inside = n.x() >= 0 && n.y() >= 0 && n.x() < 32 && n.y() < 32;
                if (inside && black(n.x(), n.y()))
                    continue;  // same blob
                touches[b] << (inside && white(n.x(), n.y()) ? faceOf[n.y() * 32 + n.x()] : -1);
            }
        }
    }
    QList<int> pips(2, 0);
    for (const QSet<int> &border : touches) {
        if (border.size() != 1)
            continue;  // an outline, touching several regions or the edge
        const int face = faces.indexOf(*border.begin());
        if (face >= 0)
            ++pips[face];
    }
    std::sort(pips.begin(), pips.end());
    QCOMPARE(pips, (QList<int>{3, 4}));
}

void TestImages::windowIcon()
{
    const QIcon icon = DiceImages::WindowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage fromIcon = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage fromFile = QImage::fromData(DiceImages::IconFile(), "ICO").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(fromIcon, fromFile);
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
