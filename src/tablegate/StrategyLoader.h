#pragma once
// Hands the window the table of perfect play, loaded from the user's cache
// or worked out on a thread of its own the first time it is needed, so the
// window never waits for it.

#include "strategy/Strategy.h"

#include <QObject>
#include <QString>
#include <memory>

class StrategyLoader : public QObject {
    Q_OBJECT
public:
    // The one loader of the program, over the user's cache folder.
    static StrategyLoader &Shared();

    explicit StrategyLoader(QString cacheFolder, QObject *parent = nullptr);
    // A loader that has its table already (tests try the game's additions
    // with a table of their own).
    explicit StrategyLoader(std::shared_ptr<const strategy::Table> table, QObject *parent = nullptr);
    // Stops a computation still running and waits a moment for it: a program
    // that is closing neither sits out the rest of the table nor hangs on a
    // file that does not answer.
    ~StrategyLoader() override;

    // Null until the table is there.
    std::shared_ptr<const strategy::Table> table() const { return m_table; }
    // Starts loading, once; ready() follows (at once if already loaded).
    void request();
    bool loading() const { return m_work != nullptr && !m_table; }
    // How far a computation has got, 0..100.
    int percent() const;

    // The longest a closing program waits for the loader's thread.
    static constexpr int ShutDownMilliseconds = 600;

signals:
    void ready();

private:
    struct Work;
    QString m_folder;
    std::shared_ptr<const strategy::Table> m_table;
    std::shared_ptr<Work> m_work; // shared with the thread, which may outlive the loader
};
