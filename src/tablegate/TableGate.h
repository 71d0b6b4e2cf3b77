#pragma once
// The way to the table of perfect play for the game's additions (hint,
// computer opponents, coach mode, reviews): it is loaded or worked out the
// first time one of them needs it, and whatever waits for it goes on once
// it is there, with a progress window if that takes longer than a moment.
// The window stays usable meanwhile.

#include "strategy/Strategy.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class QProgressDialog;
class QWidget;
class StrategyLoader;

class TableGate final : public QObject {
    Q_OBJECT
public:
    // Over the program's shared loader unless given another (not owned).
    explicit TableGate(QWidget *window, StrategyLoader *loader = nullptr);
    ~TableGate() override;

    // Null until the table is there.
    std::shared_ptr<const strategy::Table> table() const;
    // Starts loading, once; ready() follows.
    void request();
    // Runs `then` once the table is there: at once if it is. Each waiter
    // has at most one thing waiting; a later one replaces it.
    void whenReady(const QObject *waiter, std::function<void()> then);
    // Forgets what `waiter` left waiting (a hint for a game gone, say).
    void forget(const QObject *waiter);
    bool waiting(const QObject *waiter) const { return m_waiting.count(waiter) > 0; }

signals:
    void ready();

private:
    void loaded();

    QWidget *m_window;
    StrategyLoader *m_loader;
    QProgressDialog *m_progress = nullptr;
    std::map<const QObject *, std::function<void()>> m_waiting;
};
