#include "strategy/Levels.h"

#include <cmath>
#include <iterator>

namespace strategy {

namespace {

// How far a level strays from the best choice: each choice is taken with a
// weight of exp(-cost / spread). Set by simulation so that the levels lose
// about 60, 35 and 15 points a game against perfect play.
double Spread(Level level)
{
    switch (level) {
    case Level::Easy:
        return 2.03;
    case Level::Medium:
        return 1.25;
    case Level::Hard:
        return 0.70;
    case Level::Perfect:
        break;
    }
    return 0.0;
}

std::vector<double> ExpectedOf(const std::vector<Choice> &choices)
{
    std::vector<double> expected;
    expected.reserve(choices.size());
    for (const Choice &c : choices)
        expected.push_back(c.expected);
    return expected;
}

} // namespace

const char *LevelName(Level level)
{
    switch (level) {
    case Level::Easy:
        return "easy";
    case Level::Medium:
        return "medium";
    case Level::Hard:
        return "hard";
    case Level::Perfect:
        break;
    }
    return "perfect";
}

std::string LevelTitle(Level level)
{
    std::string title = LevelName(level);
    title[0] = char(title[0] - 'a' + 'A');
    return title;
}

std::optional<Level> LevelFromName(std::string_view name)
{
    for (Level level : Levels)
        if (name == LevelName(level))
            return level;
    return std::nullopt;
}

std::uint64_t LevelRandom::Next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double LevelRandom::Uniform()
{
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

std::size_t Choose(Level level, const std::vector<Choice> &choices, LevelRandom &random)
{
    const std::vector<double> expected = ExpectedOf(choices);
    return Choose(level, expected.data(), expected.size(), random);
}

std::size_t Choose(Level level, const double *expected, std::size_t count, LevelRandom &random)
{
    // Nothing is drawn when there is nothing to choose, so that seeded games replay.
    if (Spread(level) <= 0.0 || count < 2)
        return 0;
    return Choose(level, expected, count, random.Uniform());
}

std::size_t Choose(Level level, const std::vector<Choice> &choices, double draw)
{
    const std::vector<double> expected = ExpectedOf(choices);
    return Choose(level, expected.data(), expected.size(), draw);
}

std::size_t Choose(Level level, const double *expected, std::size_t count, double draw)
{
    const double spread = Spread(level);
    if (spread <= 0.0 || count < 2)
        return 0;
    const double best = expected[0];
    // Each weight worked out once (the engine's lists are short); the same
    // figures either way.
    double kept[64];
    const auto weight = [&](std::size_t i) {
        return i < std::size(kept) ? kept[i] : std::exp(-(best - expected[i]) / spread);
    };
    double sum = 0.0;
    std::size_t last = 0; // choices are best first: the costly ones are at the end
    for (std::size_t i = 0; i < count && best - expected[i] <= MaxMistake; ++i) {
        const double w = std::exp(-(best - expected[i]) / spread);
        if (i < std::size(kept))
            kept[i] = w;
        sum += w;
        last = i;
    }
    double pick = draw * sum;
    for (std::size_t i = 0; i < last; ++i) {
        pick -= weight(i);
        if (pick < 0.0)
            return i;
    }
    return last;
}

GameResult PlayGame(const Table &table, Level level, const std::function<int()> &rollDie,
                    LevelRandom &random)
{
    GameResult result;
    Card card;
    for (int turn = 0; turn < RowCount; ++turn) {
        Dice dice{};
        for (int &die : dice)
            die = rollDie();
        for (int rollsLeft = 2;; --rollsLeft) {
            const auto choices = Advise(table, card.booked, card.upperSum, dice, rollsLeft);
            if (choices.empty())
                return result; // cannot happen for a position reached by play
            const Choice &choice = choices[Choose(level, choices, random)];
            result.loss += choices.front().expected - choice.expected;
            if (choice.action == Choice::Action::Book) {
                card = Book(card, choice.row, choice.points);
                break;
            }
            // Kept faces stay, the others are rolled again, in die order.
            std::array<int, 7> keep{};
            for (int face : choice.kept)
                ++keep[face];
            for (int &die : dice) {
                if (keep[die] > 0)
                    --keep[die];
                else
                    die = rollDie();
            }
        }
    }
    result.total = card.total;
    result.bonus = card.upperSum >= UpperCap;
    return result;
}

} // namespace strategy
