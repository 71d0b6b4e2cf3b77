#pragma once
// Everything the game has beyond the design's window, each an object of its
// own that follows the window's signals and acts through its handlers: the
// computer opponents, the game's record, the hint, coach mode, the score
// sheet, the turn log, the reviews, the docks some of them live in, and the
// way to the table of perfect play they share.
// Made after the window and gone before it.

#include <memory>

class CoachMode;
class DockLayout;
class Form1;
class Hint;
class Opponents;
class PromptAnswers;
class Recorder;
class Reviews;
class ScoreSheetView;
class SettingsStore;
class SetupQuestion;
class StrategyLoader;
class TableGate;
class TurnLog;

class Additions {
public:
    // loader: where the table comes from (the program's shared loader by default).
    Additions(Form1 &form, PromptAnswers &dialogs, SetupQuestion &setup, SettingsStore &settings,
              StrategyLoader *loader = nullptr);
    ~Additions();

    TableGate &gate() { return *m_gate; }
    DockLayout &docks() { return *m_docks; }
    Opponents &opponents() { return *m_opponents; }
    Recorder &recorder() { return *m_recorder; }
    Hint &hint() { return *m_hint; }
    CoachMode &coach() { return *m_coach; }
    ScoreSheetView &scoreSheet() { return *m_scoreSheet; }
    TurnLog &turnLog() { return *m_turnLog; }
    Reviews &reviews() { return *m_reviews; }

private:
    std::unique_ptr<TableGate> m_gate;
    std::unique_ptr<DockLayout> m_docks;
    std::unique_ptr<Opponents> m_opponents;
    std::unique_ptr<Recorder> m_recorder;
    std::unique_ptr<CoachMode> m_coach;
    std::unique_ptr<Hint> m_hint;
    std::unique_ptr<ScoreSheetView> m_scoreSheet;
    std::unique_ptr<TurnLog> m_turnLog;
    std::unique_ptr<Reviews> m_reviews;
};
