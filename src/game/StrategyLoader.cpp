#include "game/StrategyLoader.h"

#include "strategy/TableCache.h"

#include <QCoreApplication>
#include <QThread>

StrategyLoader &StrategyLoader::Shared()
{
    // Owned by the application object, so a computation still running is
    // waited for before Qt goes away.
    static StrategyLoader *shared =
        new StrategyLoader(strategy::TableCache::DefaultFolder(), QCoreApplication::instance());
    return *shared;
}

StrategyLoader::StrategyLoader(QString cacheFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(cacheFolder))
{
}

StrategyLoader::~StrategyLoader()
{
    m_stopping.store(true);
    if (m_thread)
        m_thread->wait();
}

void StrategyLoader::request()
{
    if (m_table) {
        emit ready();
        return;
    }
    if (m_thread)
        return;
    m_thread = QThread::create([this] {
        const strategy::TableCache cache(m_folder);
        auto table = cache.LoadOrCompute([this](long done, long total) {
            m_percent.store(total > 0 ? int(done * 100 / total) : 0);
            return !m_stopping.load();
        });
        if (!table)
            return; // stopped: the loader is going away
        m_percent.store(100);
        // Handed over on the loader's own thread.
        QMetaObject::invokeMethod(this, [this, table] {
            m_table = table;
            emit ready();
        }, Qt::QueuedConnection);
    });
    m_thread->setParent(this);
    m_thread->start(QThread::LowPriority);
}
