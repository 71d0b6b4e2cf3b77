#pragma once
// Work that would make the window wait (estimates, reviews of many games)
// runs on a thread of its own. What it finds comes back to the window's
// thread; starting anew, or going away, cancels the work under way, whose
// findings are then dropped.

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class BackgroundWork final : public QObject {
    Q_OBJECT
public:
    // What the work sees of itself.
    class Job : public std::enable_shared_from_this<Job> {
    public:
        bool cancelled() const { return m_cancelled.load(); }
        // For work that checks a flag of its own.
        const std::atomic<bool> *cancelFlag() const { return &m_cancelled; }
        // Runs `then` on the window's thread, unless the work is cancelled
        // by then.
        void post(std::function<void()> then) const;

    private:
        friend class BackgroundWork;
        std::atomic<bool> m_cancelled{false};
        QObject *m_owner = nullptr;
    };

    explicit BackgroundWork(QObject *parent = nullptr);
    // Cancels the work under way and waits for its thread.
    ~BackgroundWork() override;

    void Start(std::function<void(const Job &job)> work);
    void Cancel();

private:
    std::shared_ptr<Job> m_job;
};
