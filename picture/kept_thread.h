#pragma once
// A thread kept for one short task after another. Starting a thread costs
// some tens of microseconds on Linux and milliseconds on Windows (under Wine
// several), which the renderer of every dropped picture would pay again;
// this one starts with its first task and sleeps between tasks. One task at
// a time: whoever started it waits for it before the next can start.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kovra::picture {

class KeptThread {
public:
    KeptThread() = default;
    // Waits for a task still running, then ends the thread.
    ~KeptThread();
    KeptThread(const KeptThread&) = delete;
    KeptThread& operator=(const KeptThread&) = delete;

    // Runs task on the kept thread. False, and nothing runs, while an
    // earlier task has not been waited for. Throws std::system_error when
    // the thread cannot be started.
    bool start(std::function<void()> task);
    // Returns once the task started last has returned (at once when none
    // was started); then the next task can start.
    void wait();

    // The one the streamed renderings use.
    static KeptThread& forRenderings();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_task; // handed over, not yet taken by the thread
    bool m_taken = false;          // started and not yet waited for
    bool m_done = false;           // the task started last has returned
    bool m_ending = false;
    std::thread m_thread;
};

} // namespace kovra::picture
