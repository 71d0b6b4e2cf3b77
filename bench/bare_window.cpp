// The game's window without the game: the same controls (count, kinds,
// fonts, geometry) and the same menus, built with nothing but Qt Widgets.
// The start-up benchmark compares the game against it; keep the two in step
// when the window changes.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace {

// A title of its own, so the harness can tell the two windows apart.
const QString BareTitle = QStringLiteral("Quintor bare window");

constexpr int Twips = 15;

void Place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left / Twips, top / Twips, width / Twips, height / Twips);
}

QFont BoldFont(int pixelSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// A die: a frame that paints a 33 x 33 picture at its top-left corner.
class Die : public QFrame {
public:
    Die(const QPixmap &picture, QWidget *parent) : QFrame(parent), m_picture(picture)
    {
        setFrameStyle(QFrame::NoFrame);
        resize(m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.drawPixmap(contentsRect().topLeft(), m_picture);
    }

private:
    QPixmap m_picture;
};

// Face six, drawn here rather than decoded from a resource.
QPixmap SixPicture()
{
    QImage image(33, 33, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int x : {7, 22})
        for (int y : {5, 14, 23})
            painter.drawRect(x, y, 4, 4);
    painter.end();
    return QPixmap::fromImage(image);
}

class BareWindow : public QMainWindow {
public:
    BareWindow()
    {
        setWindowTitle(BareTitle);

        auto *client = new QWidget(this);
        client->setFixedSize(6075 / Twips, 3825 / Twips);
        setCentralWidget(client);

        const QFont labelFont = BoldFont(13);
        const QFont controlFont = BoldFont(11);

        auto label = [&](const QString &caption, Qt::Alignment horizontal, int l, int t, int w, int h) {
            auto *lbl = new QLabel(caption, client);
            lbl->setFont(labelFont);
            lbl->setTextFormat(Qt::PlainText);
            lbl->setAlignment(horizontal | Qt::AlignTop);
            lbl->setWordWrap(true);
            Place(lbl, l, t, w, h);
            return lbl;
        };

        static const char *const Captions[16] = {
            nullptr, "Aces", "Deuces", "Threes", "Fours", "Fives", "Sixs", "Pair", "Two Pair",
            "Three of a kind", "Four of a kind", "Small Straight", "Large Straight", "Full House",
            "Quinthor", "Chance"};
        for (int row = 1; row <= 15; ++row) {
            const bool upper = row <= 6;
            const int top = 120 + 240 * (upper ? row - 1 : row - 7);
            auto *box = new QCheckBox(QString::fromLatin1(Captions[row]), client);
            box->setFont(controlFont);
            Place(box, upper ? 180 : 1800, top, upper ? 975 : 1670, 255);
            label(QString(), Qt::AlignHCenter, upper ? 1140 : 3420, top, 495, 255);
        }

        label(QStringLiteral("Player"), Qt::AlignLeft, 120, 2460, 1215, 255);
        label(QStringLiteral("Score"), Qt::AlignLeft, 2460, 2460, 915, 255);
        for (int p = 1; p <= 4; ++p) {
            const int top = 2700 + 240 * (p - 1);
            label(QString(), Qt::AlignLeft, 120, top, 2295, 255);
            label(QString(), Qt::AlignLeft, 2460, top, 915, 255);
        }

        label(QStringLiteral("Current Player"), Qt::AlignHCenter, 4200, 120, 1695, 375);
        QLabel *turn = label(QString(), Qt::AlignHCenter, 4200, 480, 1695, 615);
        turn->setToolTip(QStringLiteral("Tells which players turn it is to roll"));

        const QPixmap six = SixPicture();
        static constexpr int DiceLeft[5] = {4200, 4800, 5400, 4440, 5160};
        static constexpr int DiceTop[5] = {1200, 1200, 1200, 1800, 1800};
        for (int i = 0; i < 5; ++i) {
            auto *die = new Die(six, client);
            die->move(DiceLeft[i] / Twips, DiceTop[i] / Twips);
            die->setToolTip(QStringLiteral("Hold/release die by clicking it"));
        }

        auto *roll = new QPushButton(QStringLiteral("Roll dice"), client);
        roll->setFont(controlFont);
        roll->setEnabled(false);
        Place(roll, 4440, 2520, 1215, 495);

        label(QStringLiteral("Highscore Holder"), Qt::AlignHCenter, 3840, 3180, 2055, 255);
        // What the game shows with no high score stored yet.
        label(QStringLiteral("Nobody"), Qt::AlignLeft, 3840, 3420, 1575, 255)
            ->setToolTip(QStringLiteral("The all time highscore holder"));
        label(QStringLiteral("0"), Qt::AlignHCenter, 5460, 3420, 435, 255)
            ->setToolTip(QStringLiteral("The all time highscore holders score"));

        auto *line = new QFrame(client);
        line->setFrameStyle(QFrame::HLine | QFrame::Plain);
        line->setLineWidth(1);
        line->setGeometry(0, 0, 6060 / Twips + 1, 1);

        auto *timer = new QTimer(this);
        timer->setInterval(100);
        timer->setTimerType(Qt::PreciseTimer);

        QMenuBar *bar = menuBar();
        bar->setNativeMenuBar(false);
        QMenu *file = bar->addMenu(QStringLiteral("&File"));
        connect(file->addAction(QStringLiteral("&Exit")), &QAction::triggered, this, &QWidget::close);
        QMenu *newGame = bar->addMenu(QStringLiteral("&New Game"));
        for (const char *item : {"&One Player", "&Two Players", "T&hree Players", "&Four Players"})
            newGame->addAction(QString::fromLatin1(item));
        bar->addAction(QStringLiteral("&Help"));

        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    BareWindow window;
    window.show();
    return app.exec();
}
