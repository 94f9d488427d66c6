#pragma once

#include "platform/engine/Media.h"

#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Reads items' tag attributes (TagLib) on a thread of its own, so that listing a large folder
// never waits on the files; what it read comes back on the owner's (GUI) thread as
// AttributesRead, in batches. Items asked for last are read first: the rows a user looks at
// go ahead of the rest of the folder.
class AttributeReader : public QObject
{
    Q_OBJECT
public:
    explicit AttributeReader(QObject* parent = nullptr);
    ~AttributeReader() override;

    // Queues the items not read yet in front of what is still waiting, in their order.
    void read(const std::vector<MediaPtr>& items);
    // Forgets what is still waiting (a new folder is shown).
    void clear();
    // Nothing waiting and nothing read that has not been delivered.
    bool idle() const;

signals:
    // Items whose attributes are now in memory, delivered together some milliseconds after
    // the first of them was read.
    void AttributesRead(const std::vector<MediaPtr>& items);

private:
    void run();
    void deliver();

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<MediaPtr> m_waiting;
    std::vector<MediaPtr> m_read;
    int m_reading = 0;
    bool m_stopping = false;
    QTimer m_delivery;
    std::thread m_thread;
};
