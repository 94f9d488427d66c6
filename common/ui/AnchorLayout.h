#pragma once

#include "common/ui/Anchor.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// The layout array of a resizable dialog: each control's two corners keep their distance
// (margin) to an anchor point of the client area. Pure arithmetic plus the control pointers;
// the dialog applies the result.
class CAnchorLayout
{
public:
    struct Entry {
        QPointer<QWidget> control;
        AnchorPoint first;
        QPoint firstMargin;
        AnchorPoint second;
        QPoint secondMargin;
    };
    struct Placement {
        QWidget* control = nullptr;
        QRect rect;
    };

    // Attaches the control at its current geometry; AnchorNone as second anchor takes the first.
    void Add(QWidget* control, AnchorPoint first, AnchorPoint second, const QSize& client);
    // New anchors for an attached control, margins taken from where it is now; false when the
    // control was never attached.
    bool Reanchor(QWidget* control, AnchorPoint first, AnchorPoint second, const QSize& client);
    // The rectangle of an entry for a client size.
    static QRect Place(const Entry& entry, const QSize& client);
    // The placements for a client size, in attachment order, without the controls whose
    // rectangle would not change.
    std::vector<Placement> Changes(const QSize& client) const;

    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    static void SetAnchors(Entry& entry, const QRect& current, AnchorPoint first, AnchorPoint second,
                           const QSize& client);

    std::vector<Entry> m_entries;
};
