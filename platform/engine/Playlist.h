#pragma once

#include "platform/engine/Media.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class Playlist;
using PlaylistPtr = std::shared_ptr<Playlist>;

// An ordered list of shared media items. The list order is the play order.
class Playlist
{
public:
    explicit Playlist(const QString& name);

    QString name() const { return m_name; }
    int count() const { return int(m_items.size()); }
    // No item (nullptr) for an index out of range.
    MediaPtr item(int index) const;
    // The first index of the item at or after `from`, or -1.
    int indexOf(const MediaPtr& media, int from = 0) const;

    void clear();
    bool appendItem(const MediaPtr& media);
    // Takes item `index` out of the list; false when out of range.
    bool removeItem(int index);
    // Moves item `from` to index `to`; the items between shift by one. False when out of range.
    bool moveItem(int from, int to);
    // The file of item `index` was renamed: the item (shared, so wherever it is listed or
    // playing) stands for it under `path`. False when out of range.
    bool renameItem(int index, const QString& path);
    // Puts the items in a new order at once: position i gets the item that was at order[i].
    // False (and nothing moved) unless `order` holds every index once.
    bool reorder(const std::vector<int>& order);

    // Called after every change (the playlist collection saves the file then).
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    void changed();

    QString m_name;
    std::vector<MediaPtr> m_items;
    std::function<void()> m_changed;
};
