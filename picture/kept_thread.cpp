#include "picture/kept_thread.h"

namespace kovra::picture {

KeptThread::~KeptThread()
{
    wait();
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool KeptThread::start(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_taken)
            return false;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        m_task = std::move(task);
        m_taken = true;
        m_done = false;
    }
    m_changed.notify_all();
    return true;
}

void KeptThread::wait()
{
    std::unique_lock lock(m_mutex);
    if (!m_taken)
        return;
    m_changed.wait(lock, [this] { return m_done; });
    m_taken = false;
}

void KeptThread::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_ending || m_task; });
        if (!m_task)
            return; // ending, with nothing left to run
        const std::function<void()> task = std::move(m_task);
        m_task = nullptr;
        lock.unlock();
        task();
        lock.lock();
        m_done = true;
        m_changed.notify_all();
    }
}

KeptThread& KeptThread::forRenderings()
{
    // Ended when the program ends, after every renderer has waited for it.
    static KeptThread thread;
    return thread;
}

} // namespace kovra::picture
