#include "platform/engine/AttributeReader.h"

#include <malloc.h>

namespace {

// Long enough to gather a screenful of rows into one update, short enough to look immediate.
constexpr int kDeliveryDelayMs = 25;

} // namespace

AttributeReader::AttributeReader(QObject* parent) : QObject(parent)
{
    m_delivery.setSingleShot(true);
    m_delivery.setInterval(kDeliveryDelayMs);
    connect(&m_delivery, &QTimer::timeout, this, &AttributeReader::deliver);
    m_thread = std::thread([this] { run(); });
}

AttributeReader::~AttributeReader()
{
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
        m_waiting.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void AttributeReader::read(const std::vector<MediaPtr>& items)
{
    {
        const std::lock_guard lock(m_lock);
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (*it && !(*it)->attributesRead())
                m_waiting.push_front(*it);
    }
    m_wake.notify_one();
}

void AttributeReader::clear()
{
    const std::lock_guard lock(m_lock);
    m_waiting.clear();
}

bool AttributeReader::idle() const
{
    const std::lock_guard lock(m_lock);
    return m_waiting.empty() && m_read.empty() && m_reading == 0;
}

void AttributeReader::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping)
            return;
        const MediaPtr item = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (item->attributesRead())
            continue; // asked for twice, or read by its owner in the meantime
        ++m_reading;
        lock.unlock();
        item->readAttributes();
        lock.lock();
        if (m_waiting.empty()) {
            // What reading a folder's files left free goes back to the system.
            lock.unlock();
            malloc_trim(0);
            lock.lock();
        }
        --m_reading;
        m_read.push_back(item);
        if (m_read.size() == 1)
            QMetaObject::invokeMethod(&m_delivery, qOverload<>(&QTimer::start), Qt::QueuedConnection);
    }
}

void AttributeReader::deliver()
{
    std::vector<MediaPtr> read;
    {
        const std::lock_guard lock(m_lock);
        read.swap(m_read);
    }
    if (!read.empty())
        emit AttributesRead(read);
}
