#pragma once
// The picture flow's own thread: a dropped picture is decoded, fitted and
// rendered there, so the window's thread stays free however large the file.
// One job runs at a time. A new job takes the place of one still waiting and
// asks the running one to stop, so the latest drop wins. Ending the worker
// wakes its thread and joins it; nothing spins.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kovra::picture {

class PictureWorker final : public QObject {
    Q_OBJECT
public:
    // stop is set once a newer job has been posted or the worker is ending:
    // a job looks at it between its steps and may end early.
    using Job = std::function<void(const std::atomic<bool>& stop)>;

    PictureWorker();
    // Asks the running job to stop, drops a waiting one, and joins the thread.
    ~PictureWorker();
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;

    void post(Job job);

signals:
    // A job has ended: emitted on the worker's thread, so listeners on the
    // window's thread hear it from their event loop. A job hands its result
    // over itself, under a lock of its own.
    void jobFinished();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    Job m_next;
    bool m_ending = false;
    std::atomic<bool> m_stop{false};
    // Started last, once everything it uses is there.
    std::thread m_thread;
};

} // namespace kovra::picture
