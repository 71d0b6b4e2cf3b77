#pragma once
// Hands the window the table of perfect play, loaded from the user's cache
// or worked out on a thread of its own the first time it is needed, so the
// window never waits for it.

#include "strategy/Strategy.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

class StrategyLoader : public QObject {
    Q_OBJECT
public:
    // The one loader of the program, over the user's cache folder.
    static StrategyLoader &Shared();

    explicit StrategyLoader(QString cacheFolder, QObject *parent = nullptr);
    // Stops a computation still running and waits for it: a program that is
    // closing does not sit out the rest of the table.
    ~StrategyLoader() override;

    // Null until the table is there.
    std::shared_ptr<const strategy::Table> table() const { return m_table; }
    // Starts loading, once; ready() follows (at once if already loaded).
    void request();
    bool loading() const { return m_thread != nullptr && !m_table; }
    // How far a computation has got, 0..100.
    int percent() const { return m_percent.load(); }

signals:
    void ready();

private:
    QString m_folder;
    std::shared_ptr<const strategy::Table> m_table;
    QThread *m_thread = nullptr;
    std::atomic<int> m_percent{0};
    std::atomic<bool> m_stopping{false};
};
