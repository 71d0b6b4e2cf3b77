#include "tablegate/TableGate.h"

#include "tablegate/StrategyLoader.h"

#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

TableGate::TableGate(QWidget *window, StrategyLoader *loader)
    : m_window(window), m_loader(loader ? loader : &StrategyLoader::Shared())
{
    connect(m_loader, &StrategyLoader::ready, this, &TableGate::loaded);
}

TableGate::~TableGate()
{
    delete m_progress;
}

std::shared_ptr<const strategy::Table> TableGate::table() const
{
    return m_loader->table();
}

void TableGate::request()
{
    m_loader->request();
}

void TableGate::whenReady(const QObject *waiter, std::function<void()> then)
{
    if (table()) {
        then();
        return;
    }
    // One that goes away while it waits takes its wish with it.
    if (!m_waiting.count(waiter))
        connect(waiter, &QObject::destroyed, this, [this, waiter] { forget(waiter); });
    m_waiting[waiter] = std::move(then);
    if (!m_progress) {
        // Shown only if the work takes longer than a moment: the cached
        // table loads well within that.
        auto *dialog = new QProgressDialog(QStringLiteral("Working out perfect play..."), QString(), 0, 100,
                                           m_window);
        dialog->setWindowTitle(QStringLiteral("Quintor"));
        dialog->setWindowModality(Qt::NonModal);
        dialog->setAutoReset(false);
        dialog->setAutoClose(false);
        dialog->setMinimumDuration(500);
        // Owned by the dialog: it goes with it.
        auto *poll = new QTimer(dialog);
        StrategyLoader *loader = m_loader;
        connect(poll, &QTimer::timeout, dialog, [dialog, loader] { dialog->setValue(loader->percent()); });
        poll->start(100);
        m_progress = dialog;
    }
    request();
}

void TableGate::forget(const QObject *waiter)
{
    m_waiting.erase(waiter);
}

void TableGate::loaded()
{
    // Gone for good before anything else opens: a deferred delete would
    // wait for a Hint box to close, and meanwhile the dialog's own
    // delayed-show timer, which hide() leaves running, would show it.
    delete m_progress;
    m_progress = nullptr;
    // Those that follow the table hear first; what waited comes last, so
    // that nothing it opens is overtaken.
    emit ready();
    auto waiting = std::exchange(m_waiting, {});
    for (auto &[waiter, then] : waiting)
        then();
}
