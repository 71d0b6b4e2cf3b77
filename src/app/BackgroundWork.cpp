#include "app/BackgroundWork.h"

#include <QThread>

void BackgroundWork::Job::post(std::function<void()> then) const
{
    QMetaObject::invokeMethod(m_owner, [job = shared_from_this(), then = std::move(then)] {
        if (!job->cancelled())
            then();
    }, Qt::QueuedConnection);
}

BackgroundWork::BackgroundWork(QObject *parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork()
{
    Cancel();
    // The threads end soon once cancelled; none may outlive what it reads.
    for (QThread *thread : findChildren<QThread *>())
        thread->wait();
}

void BackgroundWork::Start(std::function<void(const Job &job)> work)
{
    Cancel();
    auto job = std::make_shared<Job>();
    job->m_owner = this;
    m_job = job;
    QThread *thread = QThread::create([job, work = std::move(work)] { work(*job); });
    thread->setParent(this);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void BackgroundWork::Cancel()
{
    if (m_job)
        m_job->m_cancelled = true;
    m_job.reset();
}
