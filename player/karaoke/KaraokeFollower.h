#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>

class CFrameTicker;
class CKaraokeStatic;

// Keeps what the singer needs in the karaoke window's view. While the lyrics play in view mode
// and the line being sung (or the one after it) is not wholly visible, the view glides so that
// the sung line stands in the upper third with the next lines below it; a line wider than the
// view glides sideways so that the wipe stays in view. A manual scroll leaves the view to the
// user for ManualPauseMs after the last move. In edit mode only the tap-to-time cursor is kept
// in view.
//
// The glide runs over GlideMs at the display's frame rate (its own frame ticker, so a hidden or
// minimised window glides nowhere); every step goes through the scroll handler, which moves the
// display and its scroll bars.
class CKaraokeFollower : public QObject
{
    Q_OBJECT
public:
    static constexpr int GlideMs = 200;
    static constexpr int ManualPauseMs = 5000;

    using ScrollHandler = std::function<void(const QPoint&)>;

    CKaraokeFollower(CKaraokeStatic& display, ScrollHandler scroll);

    // The user scrolled: no following until ManualPauseMs have passed without another move.
    void OnManualScroll();
    bool IsSuspended() const;
    bool IsGliding() const;
    // The milliseconds the pause after a manual scroll is counted in (tests replace them).
    void SetMillisecondSource(std::function<qint64()> source) { m_now = std::move(source); }

    // The scroll offset that shows `item` (content rectangle) with `next` below it, from the
    // offset now; no value when both are in view already.
    static std::optional<QPoint> OffsetShowing(const QRect& item, const QRect& next, int wipeX, const QPoint& now,
                                               const QSize& client, const QSize& content, const QPoint& margins);

private:
    void OnWipeMoved();
    void OnTapCursorMoved();
    void GlideTo(const QPoint& target);
    void OnFrame();

    CKaraokeStatic& m_display;
    ScrollHandler m_scroll;
    CFrameTicker* m_ticker = nullptr;
    std::function<qint64()> m_now;
    QElapsedTimer m_clock;
    std::optional<qint64> m_manualAt;
    QPoint m_from;
    QPoint m_target;
    QElapsedTimer m_glide;
    bool m_gliding = false;
};
