#include "picture/picture_worker.h"

namespace kovra::picture {

PictureWorker::PictureWorker()
    : m_thread([this] { run(); })
{
}

PictureWorker::~PictureWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
        m_next = nullptr;
        m_stop.store(true);
    }
    m_wake.notify_one();
    m_thread.join();
}

void PictureWorker::post(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        m_next = std::move(job);
        // The running job, if any, is of an older drop.
        m_stop.store(true);
    }
    m_wake.notify_one();
}

void PictureWorker::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_ending || m_next; });
            if (m_ending)
                return;
            job = std::move(m_next);
            m_next = nullptr;
            m_stop.store(false);
        }
        job(m_stop);
        emit jobFinished();
    }
}

} // namespace kovra::picture
