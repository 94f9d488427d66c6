#include "player/library/ListedAttributes.h"

#include "player/library/TrackListCtrl.h"
#include "player/library/WaitCursor.h"

#include <QScrollBar>

CListedAttributes::CListedAttributes(CTrackListCtrl& list, QObject* parent) : QObject(parent), m_list(list)
{
    connect(&m_reader, &AttributeReader::AttributesRead, this, &CListedAttributes::OnAttributesRead);
    connect(m_list.verticalScrollBar(), &QScrollBar::valueChanged, this, &CListedAttributes::HurryVisibleRows);
}

CListedAttributes::~CListedAttributes() = default;

void CListedAttributes::Follow(const PlaylistPtr& playlist, std::vector<bool> needed)
{
    CancelWait();
    m_playlist = playlist;
    m_needed = std::move(needed);
    m_reader.clear();
    m_reader.read(NeededItems(0, int(m_needed.size()) - 1));
    HurryVisibleRows();
}

std::vector<MediaPtr> CListedAttributes::NeededItems(int first, int last) const
{
    std::vector<MediaPtr> items;
    for (int row = qMax(first, 0); m_playlist && row <= last && row < int(m_needed.size()); ++row)
        if (m_needed[size_t(row)])
            if (MediaPtr item = m_playlist->item(row))
                items.push_back(std::move(item));
    return items;
}

void CListedAttributes::WhenAllRead(std::function<void()> done, bool showWait)
{
    CancelWait();
    if (AllRead()) {
        done();
        return;
    }
    m_whenAllRead = std::move(done);
    if (showWait)
        m_waitCursor = std::make_unique<CWaitCursor>();
}

bool CListedAttributes::AllRead() const
{
    for (const MediaPtr& item : NeededItems(0, int(m_needed.size()) - 1))
        if (!item->attributesRead())
            return false;
    return true;
}

void CListedAttributes::HurryVisibleRows()
{
    if (!m_playlist || m_list.GetItemCount() == 0)
        return;
    const int first = qMax(m_list.rowAt(0), 0);
    int last = m_list.rowAt(m_list.viewport()->height() - 1);
    if (last < 0)
        last = qMin(first + 64, m_list.GetItemCount() - 1);
    m_reader.read(NeededItems(first, last));
}

void CListedAttributes::OnAttributesRead(const std::vector<MediaPtr>&)
{
    m_list.Model().rowsChanged();
    if (m_whenAllRead && AllRead()) {
        const std::function<void()> done = std::move(m_whenAllRead);
        CancelWait();
        done();
    }
    emit Arrived();
}

void CListedAttributes::CancelWait()
{
    m_whenAllRead = nullptr;
    m_waitCursor.reset();
}
