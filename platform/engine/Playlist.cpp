#include "platform/engine/Playlist.h"

#include <algorithm>

Playlist::Playlist(const QString& name) : m_name(name) {}

MediaPtr Playlist::item(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_items[size_t(index)];
}

int Playlist::indexOf(const MediaPtr& media, int from) const
{
    for (int i = std::max(from, 0); i < count(); ++i) {
        if (m_items[size_t(i)] == media)
            return i;
    }
    return -1;
}

void Playlist::clear()
{
    m_items.clear();
    changed();
}

bool Playlist::appendItem(const MediaPtr& media)
{
    if (!media)
        return false;
    m_items.push_back(media);
    changed();
    return true;
}

bool Playlist::removeItem(int index)
{
    if (index < 0 || index >= count())
        return false;
    m_items.erase(m_items.begin() + index);
    changed();
    return true;
}

bool Playlist::moveItem(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count())
        return false;
    // One move per item in between (a general rotate swaps, three moves each): sorting a long
    // list is a series of these.
    const auto first = m_items.begin();
    MediaPtr moved = std::move(m_items[size_t(from)]);
    if (from < to)
        std::move(first + from + 1, first + to + 1, first + from);
    else
        std::move_backward(first + to, first + from, first + from + 1);
    m_items[size_t(to)] = std::move(moved);
    changed();
    return true;
}

bool Playlist::renameItem(int index, const QString& path)
{
    if (index < 0 || index >= count())
        return false;
    m_items[size_t(index)]->setSourceURL(path);
    changed();
    return true;
}

bool Playlist::reorder(const std::vector<int>& order)
{
    if (int(order.size()) != count())
        return false;
    std::vector<bool> taken(order.size());
    for (const int from : order) {
        if (from < 0 || from >= count() || taken[size_t(from)])
            return false;
        taken[size_t(from)] = true;
    }
    std::vector<MediaPtr> items;
    items.reserve(order.size());
    for (const int from : order)
        items.push_back(std::move(m_items[size_t(from)]));
    m_items = std::move(items);
    changed();
    return true;
}

void Playlist::changed()
{
    if (m_changed)
        m_changed();
}
