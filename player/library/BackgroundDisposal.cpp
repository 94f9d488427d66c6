#include "player/library/BackgroundDisposal.h"

#include <malloc.h>

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

    // An empty one stands for a trim.
    void add(std::shared_ptr<void> held)
    {
        {
            const std::lock_guard lock(m_lock);
            m_waiting.push_back(std::move(held));
        }
        m_wake.notify_one();
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
            lock.unlock();
            if (held)
                held.reset();
            else
                malloc_trim(0);
            lock.lock();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<void>> m_waiting;
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

void CBackgroundDisposal::ReturnFreedMemory()
{
    disposer().add(nullptr);
}
