// The end of a game: the winner, and the high score kept per user.

#include "game/SettingsStore.h"
#include "resources/SoundModule.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString Section = QStringLiteral("QuintorHighscore");
const QString ScoreKey = QStringLiteral("Score");
const QString NameKey = QStringLiteral("Name");
const QString DefaultScore = QStringLiteral("0");
const QString DefaultName = QStringLiteral("Nobody");
} // namespace

double Val(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    qsizetype end = i;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+'))
        ++end;
    bool digits = false;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128) {
        ++end;
        digits = true;
    }
    if (end < text.size() && text[end] == u'.') {
        ++end;
        while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128) {
            ++end;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double value = text.mid(i, end - i).toDouble(&ok);
    return ok ? value : 0.0;
}

void Form1::Form_Load()
{
    LoadHighscore();
}

void Form1::GameFinish()
{
    if (!GameOpen())
        AnnounceWinner();
}

bool Form1::GameOpen() const
{
    for (int p = 1; p <= PlayerCount; ++p)
        for (int r = 1; r <= Categories::RowCount; ++r)
            if (ScoreCard[p][r] == NotBooked)
                return true;
    return false;
}

void Form1::AnnounceWinner()
{
    int winner = 1;
    if (PlayerCount != 1) {
        double best = Val(lblSum[1]->text());
        for (int i = 2; i <= PlayerCount; ++i) {
            const double current = Val(lblSum[i]->text());
            // Only a strictly higher total takes the lead: ties go to the
            // lowest-numbered player.
            if (current > best) {
                best = current;
                winner = i;
            }
        }
    }

    // The board shows the game as over before anyone is told who won:
    // behind the box, no player is still "to play" and Roll looks as dead
    // as it is.
    lblPlayerTurn->setText(QStringLiteral("Game Over"));
    cmdRoll->setEnabled(false);
    SoundModule::PlayResSound(QStringLiteral("clap"));
    m_dialogs.MsgBox(QStringLiteral("Winner is %1\r\nWith the score: %2")
                         .arg(lblPlayer[winner]->text(), lblSum[winner]->text()),
                     Dialogs::Buttons::Ok, QStringLiteral("Winner"));

    // The all-time high score is a record of people: a computer's win is not kept.
    if (!IsComputerSeat(winner))
        StoreHighscore(winner);
    emit gameOver(winner);
}

// Keeps the winner's total if it beats the stored high score. What is stored
// now decides, not what this window loaded at start: another running copy of
// the game may have stored a higher score since.
void Form1::StoreHighscore(int winner)
{
    const QString total = lblSum[winner]->text();
    const auto result = m_settings.SaveSettingsIf(
        SettingsApp, Section, ScoreKey, DefaultScore,
        [&](const QString &stored) { return Val(stored) < Val(total); },
        {{ScoreKey, total}, {NameKey, lblPlayer[winner]->text()}});
    LoadHighscore();
    if (result == SettingsStore::SaveResult::Declined)
        return;
    SoundModule::PlayResSound(QStringLiteral("clap"));
    m_dialogs.MsgBox(QStringLiteral("New Highscore !!"), Dialogs::Buttons::Ok, QStringLiteral("Highscore"));
    if (result == SettingsStore::SaveResult::Failed) {
        // Never let the player believe a score is kept that is not.
        m_dialogs.MsgBox(QStringLiteral("The new highscore could not be saved to %1.")
                             .arg(m_settings.FileName(SettingsApp)),
                         Dialogs::Buttons::Ok, QStringLiteral("Highscore"), Dialogs::Icon::Warning);
    }
}

void Form1::LoadHighscore()
{
    lblHighscore->setText(m_settings.GetSetting(SettingsApp, Section, ScoreKey, DefaultScore));
    lblHighscoreName->setText(m_settings.GetSetting(SettingsApp, Section, NameKey, DefaultName));
}
