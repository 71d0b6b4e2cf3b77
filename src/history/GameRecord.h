#pragma once
// The record of one finished game, as the game writes it and other programs
// read it: JSON, UTF-8, format "quintor-game" version 1.
//
//   {"format": "quintor-game", "version": 1, "finished": "2026-12-07T15:04:05Z",
//    "players": [{"name": "Ann", "computer": null, "total": 231,
//                 "turns": [{"rolls": [[5,5,3,1,5], ...], "held": [[0,1,4], ...],
//                            "row": 14, "points": 50}, ...]}]}
//
// rolls: the five dice after each roll of the turn, in the window's die
// order (1 to 3 of them); held: the indexes 0..4 of the dice held before
// each re-roll (one fewer than rolls); row: 1..15; points: what it scored.

#include "strategy/Levels.h"
#include "strategy/Strategy.h"
#include "strategy/WinChance.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QString>

#include <optional>
#include <vector>

namespace history {

struct Turn {
    std::vector<strategy::Dice> rolls;
    std::vector<std::vector<int>> held;
    int row = 0;
    int points = 0;
};

struct PlayerRecord {
    QString name;
    std::optional<strategy::Level> computer; // none for a person
    int total = 0;                           // as shown in the window, bonus included
    std::vector<Turn> turns;
};

struct GameRecord {
    QDateTime finished; // UTC; not valid for a game still going on
    std::vector<PlayerRecord> players;
};

QByteArray ToJson(const GameRecord &record);
// Five dice as a JSON array, in the window's die order.
QJsonArray DiceToJson(const strategy::Dice &dice);

// Reads and checks a record of a finished game. A record that is not JSON,
// of another format or version, or that could not have been played (a face
// outside 1..6, a row booked twice, more than 3 rolls, points the dice do
// not score in that row, a held die that changed, a total that does not
// add up) gives nothing, and `error` says what is wrong, naming the player
// and turn where it can.
//
// With `unfinishedToo` a game still going on is read as well: "finished" is
// false, and each player holds the turns completed so far, the same number
// as the player before or one fewer, and fewer than 15 for the last.
std::optional<GameRecord> FromJson(const QByteArray &json, QString *error, bool unfinishedToo = false);

// The points a finished turn's last roll scores in its row.
int Points(const strategy::Dice &dice, int row);
// The total of a card's bookings, with the bonus of 50 at 63 in rows 1..6.
int Total(const std::vector<Turn> &turns, bool *bonus = nullptr);

// The rounds of bookings a game has had: the most any seat has booked.
int Rounds(const GameRecord &record);
// Every seat's card after its first `turns` booked turns (all of them by
// default), as the chance of winning starts from.
std::vector<strategy::SeatState> SeatsAfter(const GameRecord &record, int turns = strategy::RowCount);

// A player as people read the name: a computer's with its strength,
// "Computer 2 (Hard)" (the game names its computers so already).
QString DisplayName(const QString &name, const std::optional<strategy::Level> &computer);

// $XDG_DATA_HOME/quintor/games (~/.local/share/quintor/games by default).
QString DefaultFolder();

// Writes the record under a new name of its own (UTC time and a random
// part), atomically; never replaces a file. False with the reason in `why`.
bool Save(const GameRecord &record, const QString &folder, QString *fileName = nullptr,
          QString *why = nullptr);

// Reads one record file: only a regular file of sane size is opened.
std::optional<GameRecord> Load(const QString &fileName, QString *error, bool unfinishedToo = false);

} // namespace history
