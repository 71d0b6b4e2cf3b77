#pragma once
// A real window with scripted dialogs and dice, and settings in a folder of
// the test's own.

#include "ScriptedDialogs.h"
#include "ScriptedRandom.h"

#include "app/Additions.h"
#include "game/SettingsStore.h"
#include "opponents/Opponents.h"
#include "recording/Recorder.h"
#include "tablegate/StrategyLoader.h"
#include "ui/Fonts.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// The offscreen platform cannot size windows to their contents and says so
// for every fixed-size window; nothing a test can act on.
// Installed from the first fixture, once QtTest's own handler is in place.
inline void QuietOffscreenWarnings()
{
    static QtMessageHandler previous = nullptr;
    if (previous)
        return;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (message.contains(QLatin1String("does not support propagateSizeHints")))
                return;
            previous(type, context, message);
        });
}

struct GameFixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    PromptAnswers prompts{dialogs};
    ScriptedRandom random;
    SettingsStore settings{dir.path()};
    std::unique_ptr<StrategyLoader> ownLoader;
    StrategyLoader *loader = nullptr; // the program's shared one unless set
    std::unique_ptr<Form1> form;
    std::unique_ptr<Additions> additions;

    explicit GameFixture(StrategyLoader *tableLoader = nullptr) : loader(tableLoader)
    {
        QuietOffscreenWarnings();
        reopen();
    }
    // Over a table of its own instead of the user's.
    explicit GameFixture(std::shared_ptr<const strategy::Table> table)
        : ownLoader(std::make_unique<StrategyLoader>(std::move(table))), loader(ownLoader.get())
    {
        QuietOffscreenWarnings();
        reopen();
    }
    ~GameFixture() { close(); }

    // A new window over the same settings, as at the next program start.
    void reopen()
    {
        close();
        form = std::make_unique<Form1>(prompts, random, settings);
        additions = std::make_unique<Additions>(*form, prompts, dialogs, settings, loader);
        additions->recorder().setFolder(dir.filePath(QStringLiteral("games")));
        form->show();
    }
    void close()
    {
        additions.reset();
        form.reset();
    }

    // New Game > Against the Computer with Ann and `computers` computers,
    // a step each `pace` ms, their choices replayed from `seed`.
    void playComputers(int computers, strategy::Level level, int pace = 0, std::uint64_t seed = 42)
    {
        ComputerSetup setup;
        setup.name = QStringLiteral("Ann");
        setup.computers = computers;
        setup.level = level;
        dialogs.setup = setup;
        action("mnuComputer")->trigger();
        additions->opponents().setPace(pace);
        additions->opponents().setSeed(seed);
    }

    Form1 &f() { return *form; }
    Additions &a() { return *additions; }
    // A menu item of the game's, by its object name.
    QAction *action(const char *name) { return form->findChild<QAction *>(QLatin1String(name)); }
    const GameState &s() { return form->state(); }

    // Chooses New Game with the given names through the real menu action.
    void newGame(const QStringList &names)
    {
        dialogs.names = names;
        form->mnuNoPlayer[names.size()]->trigger();
    }

    void clickRoll() { QTest::mouseClick(form->cmdRoll, Qt::LeftButton); }
    // One roll that ends on `dice`, booked in `row`.
    void book(const QList<int> &dice, int row)
    {
        roll(dice);
        clickCategory(row);
    }
    void clickDie(int i) { QTest::mouseClick(form->DicePic[i], Qt::LeftButton); }
    void clickCategory(int row)
    {
        QCheckBox *box = form->chkChooseScore[row];
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    }

    // Runs the ticks of the running animation at once.
    void finishRoll()
    {
        for (int i = 0; i < 4 && form->Timer1->isActive(); ++i)
            form->Timer1_Timer();
    }

    // Clicks Roll; the free dice end on `finalFaces` (one entry per free die,
    // in die order) after three ticks of filler.
    void roll(const QList<int> &finalFaces)
    {
        int free = 0;
        for (int i = 0; i < 5; ++i)
            free += s().RollDie[i] ? 1 : 0;
        random.faces.clear();
        for (int tick = 0; tick < 3; ++tick)
            for (int i = 0; i < free; ++i)
                random.faces.append(1 + (tick + i) % 6);
        random.faces.append(finalFaces);
        clickRoll();
        finishRoll();
    }
};

// A table in which every position is worth only what a turn books: built at
// once, and the engine's answers on it are plain to see.
inline std::shared_ptr<const strategy::Table> BookingsOnly()
{
    static const auto table = strategy::Table::FromValues(std::vector<float>(strategy::Table::ValueCount, 0.0f));
    return table;
}

// Runs a QtTest class in a QApplication with the game's fonts.
#define QUINTOR_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        Fonts::InstallSubstitutes();                                                               \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
