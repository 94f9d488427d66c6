#include "common/ui/AnchorLayout.h"

#include <QWidget>

namespace {

QPoint anchorPosition(AnchorPoint anchor, const QSize& client)
{
    return {AnchorOffset(anchor.x, client.width()), AnchorOffset(anchor.y, client.height())};
}

// Corners as the window system kept them: the bottom-right corner lies just outside.
QPoint bottomRight(const QRect& rect)
{
    return {rect.x() + rect.width(), rect.y() + rect.height()};
}

} // namespace

void CAnchorLayout::SetAnchors(Entry& entry, const QRect& current, AnchorPoint first, AnchorPoint second,
                               const QSize& client)
{
    entry.first = first;
    entry.second = second == AnchorNone ? first : second;
    entry.firstMargin = current.topLeft() - anchorPosition(entry.first, client);
    entry.secondMargin = bottomRight(current) - anchorPosition(entry.second, client);
}

void CAnchorLayout::Add(QWidget* control, AnchorPoint first, AnchorPoint second, const QSize& client)
{
    if (!control)
        return;
    Entry entry;
    entry.control = control;
    SetAnchors(entry, control->geometry(), first, second, client);
    m_entries.push_back(entry);
}

bool CAnchorLayout::Reanchor(QWidget* control, AnchorPoint first, AnchorPoint second, const QSize& client)
{
    for (Entry& entry : m_entries) {
        if (entry.control == control && control) {
            SetAnchors(entry, control->geometry(), first, second, client);
            return true;
        }
    }
    return false;
}

QRect CAnchorLayout::Place(const Entry& entry, const QSize& client)
{
    const QPoint topLeft = entry.firstMargin + anchorPosition(entry.first, client);
    const QPoint bottomRightCorner = entry.secondMargin + anchorPosition(entry.second, client);
    return QRect(topLeft.x(), topLeft.y(), bottomRightCorner.x() - topLeft.x(), bottomRightCorner.y() - topLeft.y());
}

std::vector<CAnchorLayout::Placement> CAnchorLayout::Changes(const QSize& client) const
{
    std::vector<Placement> changes;
    for (const Entry& entry : m_entries) {
        if (!entry.control)
            continue;
        const QRect rect = Place(entry, client);
        if (rect != entry.control->geometry())
            changes.push_back({entry.control.data(), rect});
    }
    return changes;
}
