#include "tablegate/StrategyLoader.h"

#include "strategy/TableCache.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// What the loader and its thread share. The thread holds it to the end, so
// a loader that stopped waiting can go while the thread finishes.
struct StrategyLoader::Work {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    StrategyLoader *owner = nullptr; // null once the loader has gone
    std::atomic<int> percent{0};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

StrategyLoader &StrategyLoader::Shared()
{
    // Owned by the application object, so a computation still running is
    // stopped before Qt goes away.
    static StrategyLoader *shared =
        new StrategyLoader(strategy::TableCache::DefaultFolder(), QCoreApplication::instance());
    return *shared;
}

StrategyLoader::StrategyLoader(QString cacheFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(cacheFolder))
{
}

StrategyLoader::StrategyLoader(std::shared_ptr<const strategy::Table> table, QObject *parent)
    : QObject(parent), m_table(std::move(table))
{
}

StrategyLoader::~StrategyLoader()
{
    if (!m_work)
        return;
    m_work->stopping.store(true);
    std::unique_lock<std::mutex> lock(m_work->mutex);
    const bool done = m_work->finished.wait_for(lock, std::chrono::milliseconds(ShutDownMilliseconds),
                                                [this] { return m_work->done; });
    m_work->owner = nullptr;
    lock.unlock();
    // A thread still stuck (in a read that never returns, say) is left to
    // the end of the process; it touches nothing but what it shares.
    if (done)
        m_work->thread.join();
    else
        m_work->thread.detach();
}

int StrategyLoader::percent() const
{
    return m_work ? m_work->percent.load() : 0;
}

void StrategyLoader::request()
{
    if (m_table) {
        emit ready();
        return;
    }
    if (m_work)
        return;
    m_work = std::make_shared<Work>();
    m_work->owner = this;
    m_work->thread = std::thread([work = m_work, folder = m_folder] {
        const strategy::TableCache cache(folder);
        auto table = cache.LoadOrCompute([&work](long done, long total) {
            work->percent.store(total > 0 ? int(done * 100 / total) : 0);
            return !work->stopping.load();
        });
        std::lock_guard<std::mutex> lock(work->mutex);
        work->done = true;
        work->finished.notify_all();
        if (!table || !work->owner)
            return; // stopped: the loader is going away
        work->percent.store(100);
        // Handed over on the loader's own thread. Posted under the lock, so
        // the loader is still there; one that goes later drops the event.
        StrategyLoader *owner = work->owner;
        QMetaObject::invokeMethod(owner, [owner, table] {
            owner->m_table = table;
            emit owner->ready();
        }, Qt::QueuedConnection);
    });
}
