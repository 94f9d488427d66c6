#include "player/library/BackgroundDisposal.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

class Disposer
{
public:
    Disposer() : m_thread([this] { run(); }) {}
    ~Disposer()
    {
        {
            const std::lock_guard lock(m_lock);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void add(std::shared_ptr<void> held)
    {
        {
            const std::lock_guard lock(m_lock);
            m_waiting.push_back(std::move(held));
        }
        m_wake.notify_one();
    }

    void waitUntilIdle()
    {
        std::unique_lock lock(m_lock);
        m_idle.wait(lock, [this] { return m_waiting.empty() && !m_busy; });
    }

private:
    void run()
    {
        std::unique_lock lock(m_lock);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            std::shared_ptr<void> held = std::move(m_waiting.front());
            m_waiting.pop_front();
            m_busy = true;
            lock.unlock();
            held.reset();
            lock.lock();
            m_busy = false;
            m_idle.notify_all();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::shared_ptr<void>> m_waiting;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

Disposer& disposer()
{
    static Disposer instance;
    return instance;
}

} // namespace

void CBackgroundDisposal::DisposeHeld(std::shared_ptr<void> held)
{
    disposer().add(std::move(held));
}

void CBackgroundDisposal::WaitUntilIdle()
{
    disposer().waitUntilIdle();
}
