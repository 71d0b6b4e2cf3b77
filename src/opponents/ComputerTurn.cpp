#include "opponents/ComputerTurn.h"

ComputerTurn::ComputerTurn(strategy::Level level, std::uint64_t seed) : m_level(level), m_random(seed) {}

void ComputerTurn::Forget()
{
    m_plan.reset();
    m_marked = false;
}

ComputerAction ComputerTurn::Next(const strategy::Table &table, const TurnView &view)
{
    ComputerAction action;
    if (!view.hasRolled) {
        Forget();
        action.kind = ComputerAction::Kind::Roll;
        return action;
    }
    if (!m_plan) {
        const auto choices = strategy::Advise(table, view.booked, view.upperSum, view.dice, view.rollsLeft);
        if (choices.empty())
            return action;
        m_plan = choices[strategy::Choose(m_level, choices, m_random)];
        m_marked = false;
    }
    if (m_plan->action == strategy::Choice::Action::Book) {
        action.choice = *m_plan;
        if (!m_marked) {
            m_marked = true;
            action.kind = ComputerAction::Kind::Mark;
        } else {
            Forget();
            action.kind = ComputerAction::Kind::Book;
        }
        return action;
    }
    action.die = DieToToggle(view.dice, view.held, m_plan->kept);
    if (action.die >= 0) {
        action.kind = ComputerAction::Kind::ToggleDie;
        return action;
    }
    Forget();
    action.kind = ComputerAction::Kind::Roll;
    return action;
}

int DieToToggle(const strategy::Dice &dice, const std::array<bool, 5> &held, const std::vector<int> &kept)
{
    std::array<int, 7> wanted{};
    for (int face : kept)
        ++wanted[std::size_t(face)];
    // Which dice end up held: those held already first, so that as few
    // clicks as possible are needed.
    std::array<bool, 5> hold{};
    for (bool alreadyHeld : {true, false}) {
        for (std::size_t i = 0; i < 5; ++i) {
            const auto face = std::size_t(dice[i]);
            if (!hold[i] && held[i] == alreadyHeld && face <= 6 && wanted[face] > 0) {
                --wanted[face];
                hold[i] = true;
            }
        }
    }
    for (int i = 0; i < 5; ++i)
        if (hold[std::size_t(i)] != held[std::size_t(i)])
            return i;
    return -1;
}
