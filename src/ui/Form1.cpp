#include "ui/Form1.h"

#include "game/Seats.h"
#include "resources/DiceImages.h"
#include "scoring/Categories.h"
#include "ui/CheckBox.h"
#include "ui/Fonts.h"
#include "ui/PictureBox.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

// The layout is drawn in twips; 15 twips are one pixel at 96 dpi.
constexpr int Twips = 15;

void Place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left / Twips, top / Twips, width / Twips, height / Twips);
}

QString ArrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

const QString FreeDieTip = QStringLiteral("Hold/release die by clicking it");

} // namespace

Form1::Form1(Dialogs &dialogs, RandomSource &random, SettingsStore &settings, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_random(random), m_settings(settings)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(WindowTitle);
    setWindowIcon(DiceImages::WindowIcon());

    CreateControls();
    CreateMenus();
    ConnectEvents();

    // The client area has a fixed size; the window fits itself around it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

Form1::~Form1() = default;

void Form1::CreateControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(6075 / Twips, 3825 / Twips);
    setCentralWidget(client);

    // Created first, so every label lies above it; holds only Roll, the
    // dice and the category boxes, at their places in the client area.
    m_playArea = new QWidget(client);
    m_playArea->setObjectName(QStringLiteral("playArea"));
    m_playArea->setGeometry(client->rect());

    const QFont labelFont = Fonts::LabelFont();
    const QFont controlFont = Fonts::ControlFont();

    auto label = [&](const QString &name, const QString &caption, Qt::Alignment horizontal,
                     int l, int t, int w, int h) {
        auto *lbl = new QLabel(caption, client);
        lbl->setObjectName(name);
        lbl->setFont(labelFont);
        // Captions show names as typed: never as markup.
        lbl->setTextFormat(Qt::PlainText);
        lbl->setAlignment(horizontal | Qt::AlignTop);
        lbl->setWordWrap(true);
        Place(lbl, l, t, w, h);
        return lbl;
    };

    for (int row = 1; row <= Categories::RowCount; ++row) {
        const bool upper = row <= Categories::LastUpperRow;
        const int top = 120 + 240 * (upper ? row - 1 : row - 7);

        auto *box = new CheckBox(QString::fromLatin1(Categories::Rows[row].caption), m_playArea);
        box->setObjectName(ArrayName("chkChooseScore", row));
        box->setFont(controlFont);
        Place(box, upper ? 180 : 1800, top, upper ? 975 : 1670, 255);
        chkChooseScore[row] = box;

        Score[row] = label(ArrayName("Score", row), QString(), Qt::AlignHCenter,
                           upper ? 1140 : 3420, top, 495, 255);
        Score[row]->setAccessibleDescription(QStringLiteral("Booked for %1").arg(box->text()));
    }

    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Player"), Qt::AlignLeft,
                   120, 2460, 1215, 255);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("Score"), Qt::AlignLeft,
                   2460, 2460, 915, 255);
    for (int p = 1; p <= MaxPlayers; ++p) {
        const int top = 2700 + 240 * (p - 1);
        lblPlayer[p] = label(ArrayName("lblPlayer", p), QString(), Qt::AlignLeft, 120, top, 2295, 255);
        lblSum[p] = label(ArrayName("lblSum", p), QString(), Qt::AlignLeft, 2460, top, 915, 255);
        lblPlayer[p]->setAccessibleDescription(QStringLiteral("Name of player %1").arg(p));
        lblSum[p]->setAccessibleDescription(QStringLiteral("Score of player %1").arg(p));
    }

    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Current Player"), Qt::AlignHCenter,
                   4200, 120, 1695, 375);
    lblPlayerTurn = label(QStringLiteral("lblPlayerTurn"), QString(), Qt::AlignHCenter,
                          4200, 480, 1695, 615);
    lblPlayerTurn->setToolTip(QStringLiteral("Tells which players turn it is to roll"));
    lblPlayerTurn->setForegroundRole(QPalette::WindowText);

    static constexpr int DiceLeft[5] = {4200, 4800, 5400, 4440, 5160};
    static constexpr int DiceTop[5] = {1200, 1200, 1200, 1800, 1800};
    for (int i = 0; i < 5; ++i) {
        auto *die = new PictureBox(m_playArea);
        die->setObjectName(ArrayName("DicePic", i));
        die->move(DiceLeft[i] / Twips, DiceTop[i] / Twips);
        die->setToolTip(FreeDieTip);
        die->setAccessibleName(QStringLiteral("Die %1").arg(i + 1));
        DicePic[i] = die;
        ShowFace(i, 6);
    }

    cmdRoll = new QPushButton(QStringLiteral("Roll dice"), m_playArea);
    cmdRoll->setObjectName(QStringLiteral("cmdRoll"));
    cmdRoll->setFont(controlFont);
    cmdRoll->setEnabled(false);
    Place(cmdRoll, 4440, 2520, 1215, 495);

    lblHighscoreHolder = label(QStringLiteral("lblHighscoreHolder"), QStringLiteral("Highscore Holder"),
                               Qt::AlignHCenter, 3840, 3180, 2055, 255);
    lblHighscoreName = label(QStringLiteral("lblHighscoreName"), QString(), Qt::AlignLeft,
                             3840, 3420, 1575, 255);
    lblHighscoreName->setToolTip(QStringLiteral("The all time highscore holder"));
    lblHighscore = label(QStringLiteral("lblHighscore"), QString(), Qt::AlignHCenter,
                         5460, 3420, 435, 255);
    lblHighscore->setToolTip(QStringLiteral("The all time highscore holders score"));

    Line1 = new QFrame(client);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    Line1->setLineWidth(1);
    Line1->setGeometry(0, 0, 6060 / Twips + 1, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setTimerType(Qt::PreciseTimer);
}

void Form1::CreateMenus()
{
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuExit = mnuFile->addAction(QStringLiteral("&Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    mnuNewGame = bar->addMenu(QStringLiteral("&New Game"));
    mnuNewGame->setObjectName(QStringLiteral("mnuNewGame"));
    static const char *const PlayerItems[5] = {nullptr, "&One Player", "&Two Players",
                                               "T&hree Players", "&Four Players"};
    for (int n = 1; n <= MaxPlayers; ++n) {
        mnuNoPlayer[n] = mnuNewGame->addAction(QString::fromLatin1(PlayerItems[n]));
        mnuNoPlayer[n]->setObjectName(ArrayName("mnuNoPlayer", n));
    }

    // Help is a command on the menu bar itself, without a drop-down.
    mnuHelp = bar->addAction(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
}

void Form1::ConnectEvents()
{
    for (int row = 1; row <= Categories::RowCount; ++row) {
        // toggled is emitted for every change of the value, from a click or
        // from code, inside the assignment, and never for an unchanged value.
        connect(chkChooseScore[row], &QCheckBox::toggled, this,
                [this, row] { chkChooseScore_Click(static_cast<std::int16_t>(row)); });
    }
    for (int i = 0; i < 5; ++i)
        connect(DicePic[i], &PictureBox::clicked, this,
                [this, i] { DicePic_Click(static_cast<std::int16_t>(i)); });
    connect(cmdRoll, &QPushButton::clicked, this, &Form1::cmdRoll_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    for (int n = 1; n <= MaxPlayers; ++n)
        connect(mnuNoPlayer[n], &QAction::triggered, this,
                [this, n] { mnuNoPlayer_Click(static_cast<std::int16_t>(n)); });
    connect(mnuHelp, &QAction::triggered, this, &Form1::mnuHelp_Click);
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
}

bool Form1::IsComputerSeat(int player) const
{
    return m_seats && m_seats->IsComputer(player);
}

int Form1::RollsLeft() const
{
    return cmdRoll->isEnabledTo(m_playArea) ? RollsPerTurn - RollCount : 0;
}

void Form1::ShowRollCaption()
{
    cmdRoll->setText(QStringLiteral("Roll %1 of 3").arg(RollCount));
}

void Form1::SetDieHeld(int index, bool held)
{
    RollDie[index] = !held;
    DicePic[index]->setBorderStyle(held ? 1 : 0);
    DicePic[index]->setToolTip(held ? QStringLiteral("Die is hold") : FreeDieTip);
    DescribeDie(index);
}

void Form1::ShowFace(int index, int face)
{
    m_faceShown[index] = face;
    DicePic[index]->setPicture(DiceImages::FacePicture(face));
    DescribeDie(index);
}

// Screen readers cannot see the pips or the frame: each die says what it
// shows and whether it is held.
void Form1::DescribeDie(int index)
{
    // Before the first game RollDie is all False, yet no die is held.
    const bool held = PlayerCount > 0 && !RollDie[index];
    DicePic[index]->setAccessibleDescription(
        QStringLiteral("Shows %1, %2").arg(m_faceShown[index]).arg(held ? QStringLiteral("held")
                                                                         : QStringLiteral("free")));
}
