// The window on a screen with two device pixels to the pixel (the test runs
// with QT_SCALE_FACTOR=2): same layout, text drawn at the full resolution,
// dice drawn as sharp pixel art.

#include "support/GameFixture.h"

#include "resources/DiceImages.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr qreal Scale = 2.0;
const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

QWidget *client(Form1 &form)
{
    return form.centralWidget();
}

// The box around the clearly dark pixels (text on a light background),
// `margin` pixels in from the edges (where a button has its frame).
QRect inkBox(const QImage &image, int margin)
{
    QRect box;
    for (int y = margin; y < image.height() - margin; ++y)
        for (int x = margin; x < image.width() - margin; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// How many of the 2x2 blocks (on even coordinates) inside `area` hold more
// than one colour: none for a picture scaled up by pixel doubling.
int mixedBlocks(const QImage &image, const QRect &area)
{
    int mixed = 0;
    for (int y = area.top() & ~1; y + 1 < area.bottom() + 1; y += 2)
        for (int x = area.left() & ~1; x + 1 < area.right() + 1; x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                ++mixed;
        }
    return mixed;
}

// The widget painted onto an image of the given density.
QImage paintAt(QWidget *widget, qreal ratio)
{
    QImage image(widget->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(widget->palette().color(QPalette::Window));
    widget->render(&image);
    return image;
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layoutKeepsItsProportions();
    void textUsesTheDevicePixels_data();
    void textUsesTheDevicePixels();
    void diceStayCrisp_data();
    void diceStayCrisp();
};

void HiDpiTest::initTestCase()
{
    // Everything below means something only on a doubled screen.
    GameFixture g;
    QCOMPARE(g.f().devicePixelRatio(), Scale);
}

void HiDpiTest::layoutKeepsItsProportions()
{
    GameFixture g;
    Form1 &f = g.f();
    QWidget *area = client(f);
    QCOMPARE(area->size(), QSize(405, 255));

    const QPixmap shot = area->grab();
    QCOMPARE(shot.devicePixelRatio(), Scale);
    QCOMPARE(shot.size(), QSize(810, 510));
    const QPixmap window = f.grab();
    QCOMPARE(window.size(), f.size() * 2);

    // Logical geometry as on an ordinary screen.
    QCOMPARE(f.cmdRoll->geometry(), QRect(296, 168, 81, 33));
    QCOMPARE(f.DicePic[4]->geometry(), QRect(344, 120, 33, 33));
    QCOMPARE(f.chkChooseScore[15]->geometry(), QRect(120, 136, 111, 17));
    QCOMPARE(f.Score[6]->geometry(), QRect(76, 88, 33, 17));
    QCOMPARE(f.lblSum[4]->geometry(), QRect(164, 228, 61, 17));
    QCOMPARE(f.lblHighscore->geometry(), QRect(364, 228, 29, 17));

    // ...and drawn where twice those numbers say: the rule along the top
    // edge spans the device row 0..1 across the width, the Roll button's
    // face starts at twice its position.
    const QImage image = shot.toImage();
    QVERIFY(qGray(image.pixel(100, 0)) < 128);
    QVERIFY(qGray(image.pixel(100, 4)) > 128);
    const QImage button = f.cmdRoll->grab().toImage();
    QCOMPARE(button.size(), QSize(162, 66));
    QCOMPARE(image.copy(QRect(QPoint(592, 336), QSize(162, 66))), button);
}

void HiDpiTest::textUsesTheDevicePixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");

    QTest::addColumn<int>("margin");

    QTest::newRow("label") << "Label1" << 13 << 0;
    QTest::newRow("heading") << "lblHighscoreHolder" << 13 << 0;
    QTest::newRow("check box") << "chkChooseScore(9)" << 11 << 0;
    QTest::newRow("button") << "cmdRoll" << 11 << 4;
}

void HiDpiTest::textUsesTheDevicePixels()
{
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(int, margin);

    GameFixture g;
    g.newGame({QStringLiteral("Ann")});  // Roll enabled: black text
    auto *widget = g.f().findChild<QWidget *>(name);
    QVERIFY(widget);
    // Fonts are sized in pixels, so they grow with the layout.
    QCOMPARE(QFontInfo(widget->font()).pixelSize(), pixelSize);
    QCOMPARE(qRound(QFontInfo(widget->font()).pixelSize() * widget->devicePixelRatio()),
             2 * pixelSize);

    const QImage plain = paintAt(widget, 1.0);
    const QImage dense = widget->grab().toImage();
    QCOMPARE(dense.size(), plain.size() * 2);
    const QRect small = inkBox(plain, margin);
    const QRect large = inkBox(dense, 2 * margin);
    QVERIFY2(small.height() >= pixelSize / 2, qPrintable(QStringLiteral("ink %1 high").arg(small.height())));
    const qreal tall = qreal(large.height()) / small.height();
    const qreal wide = qreal(large.width()) / small.width();
    QVERIFY2(tall > 1.7 && tall < 2.3, qPrintable(QStringLiteral("ink %1 vs %2 high").arg(large.height()).arg(small.height())));
    QVERIFY2(wide > 1.7 && wide < 2.3, qPrintable(QStringLiteral("ink %1 vs %2 wide").arg(large.width()).arg(small.width())));
    // Drawn at the device resolution, not an enlarged small picture.
    const int blocks = (large.width() / 2) * (large.height() / 2);
    QVERIFY2(mixedBlocks(dense, large) > blocks / 10,
             qPrintable(QStringLiteral("%1 of %2 blocks mixed").arg(mixedBlocks(dense, large)).arg(blocks)));
}

void HiDpiTest::diceStayCrisp_data()
{
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<bool>("held");

    QTest::newRow("1-5 free") << QList<int>{1, 2, 3, 4, 5} << false;
    QTest::newRow("2-6 free") << QList<int>{6, 5, 4, 3, 2} << false;
    QTest::newRow("1-5 held") << QList<int>{1, 2, 3, 4, 5} << true;
    QTest::newRow("2-6 held") << QList<int>{6, 5, 4, 3, 2} << true;
}

void HiDpiTest::diceStayCrisp()
{
    QFETCH(QList<int>, faces);
    QFETCH(bool, held);

    GameFixture g;
    g.newGame({QStringLiteral("Ann")});
    g.roll(faces);
    if (held)
        for (int i = 0; i < 5; ++i)
            g.clickDie(i);

    const QImage shot = client(g.f())->grab().toImage();
    for (int i = 0; i < 5; ++i) {
        PictureBox *die = g.f().DicePic[i];
        QCOMPARE(die->borderStyle(), held ? 1 : 0);
        const QImage source = DiceImages::FacePicture(faces[i]).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(source.size(), QSize(33, 33));
        const QPoint origin = (die->pos() + die->contentsRect().topLeft()) * 2;
        for (int y = 0; y < 33; ++y)
            for (int x = 0; x < 33; ++x) {
                const QRgb want = source.pixel(x, y);
                // The artwork is black and white only...
                QVERIFY(want == Black || want == White);
                // ...and every pixel of it becomes a 2x2 block of the same
                // colour: no smoothing, no grey.
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        const QPoint at = origin + QPoint(2 * x + dx, 2 * y + dy);
                        const QRgb got = shot.pixel(at);
                        if (got != want)
                            QFAIL(qPrintable(QStringLiteral("die %1, picture pixel (%2, %3): device pixel (%4, %5) is #%6, not #%7")
                                                 .arg(i + 1).arg(x).arg(y).arg(at.x()).arg(at.y())
                                                 .arg(got & 0xffffff, 6, 16, QLatin1Char('0'))
                                                 .arg(want & 0xffffff, 6, 16, QLatin1Char('0'))));
                    }
            }
    }
}

QUINTOR_TEST_MAIN(HiDpiTest)
#include "tst_hidpi.moc"
