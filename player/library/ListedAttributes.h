#pragma once

#include "platform/engine/AttributeReader.h"
#include "platform/engine/Playlist.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class CTrackListCtrl;
class CWaitCursor;

// The engine's attributes of the listed items, read off the GUI thread: the rows on screen
// first, then the rest of the folder; rows fill in as their texts come, keeping the list's
// selection and scroll position. Work that needs every item's texts (a sort by title) waits
// for them here.
class CListedAttributes : public QObject
{
    Q_OBJECT
public:
    explicit CListedAttributes(CTrackListCtrl& list, QObject* parent = nullptr);
    ~CListedAttributes() override;

    // A new listing of `playlist`, whose rows marked in `needed` show the engine's texts: what
    // was waiting for the last listing is dropped.
    void Follow(const PlaylistPtr& playlist, std::vector<bool> needed);
    // Runs `done` once every listed item has its attributes, with the wait cursor meanwhile
    // when `showWait`; a later call or Follow replaces it.
    void WhenAllRead(std::function<void()> done, bool showWait);
    // Every needed item of the listing has its attributes.
    bool AllRead() const;
    // Rows newly on screen go ahead of the others.
    void HurryVisibleRows();

signals:
    // Attributes of listed items came in (after the rows were told).
    void Arrived();

private:
    void OnAttributesRead(const std::vector<MediaPtr>& items);
    void CancelWait();
    // The listed items of rows first to last that need the engine's texts.
    std::vector<MediaPtr> NeededItems(int first, int last) const;

    CTrackListCtrl& m_list;
    AttributeReader m_reader;
    PlaylistPtr m_playlist;
    std::vector<bool> m_needed;
    std::function<void()> m_whenAllRead;
    std::unique_ptr<CWaitCursor> m_waitCursor;
};
