#include "player/library/DeferredDisposal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <deque>

#include <malloc.h>

namespace {

// Freeing at most this long per event.
constexpr qint64 kSliceNs = 2'000'000;

class Disposer
{
public:
    void add(std::function<bool()> step)
    {
        m_steps.push_back(std::move(step));
        if (!m_timer) {
            m_timer = new QTimer(QCoreApplication::instance());
            m_timer->setInterval(0);
            QObject::connect(m_timer, &QTimer::timeout, [this] { runSlice(); });
        }
        m_timer->start();
    }

private:
    void runSlice()
    {
        QElapsedTimer slice;
        slice.start();
        while (!m_steps.empty() && slice.nsecsElapsed() < kSliceNs) {
            if (m_steps.front()())
                m_steps.pop_front();
        }
        if (m_steps.empty())
            m_timer->stop();
    }

    std::deque<std::function<bool()>> m_steps;
    QPointer<QTimer> m_timer; // the application's, gone with it
};

Disposer& disposer()
{
    static Disposer instance;
    return instance;
}

} // namespace

void CDeferredDisposal::Add(std::function<bool()> step, bool done)
{
    if (!done && QCoreApplication::instance())
        disposer().add(std::move(step));
}

void CDeferredDisposal::ReturnFreedMemory()
{
    Add([] {
        malloc_trim(0);
        return true;
    }, false);
}
