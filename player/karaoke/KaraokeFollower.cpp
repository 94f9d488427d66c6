#include "player/karaoke/KaraokeFollower.h"

#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/display/FrameTicker.h"

#include <algorithm>
#include <cmath>

namespace {

// The new offset along one axis that puts a stretch [low, high) of content `desired` pixels
// into the view, inside the scrollable range.
int Place(int low, int desired, int margin, int client, int content)
{
    return std::clamp(margin + low - desired, 0, std::max(0, content - client));
}

} // namespace

CKaraokeFollower::CKaraokeFollower(CKaraokeStatic& display, ScrollHandler scroll)
    : QObject(&display), m_display(display), m_scroll(std::move(scroll)), m_ticker(new CFrameTicker(display))
{
    m_clock.start();
    m_now = [this] { return m_clock.elapsed(); };
    connect(&display, &CKaraokeStatic::WipeMoved, this, &CKaraokeFollower::OnWipeMoved);
    connect(&display, &CKaraokeStatic::TapCursorChanged, this, &CKaraokeFollower::OnTapCursorMoved);
    connect(m_ticker, &CFrameTicker::Frame, this, &CKaraokeFollower::OnFrame);
    // Out of sight the glide has nobody to show it to: it ends where it was going.
    connect(m_ticker, &CFrameTicker::ShownChanged, this, [this] {
        if (m_gliding && !m_ticker->FaceShown()) {
            m_gliding = false;
            m_ticker->Stop();
            m_scroll(m_target);
        }
    });
}

void CKaraokeFollower::OnManualScroll()
{
    m_manualAt = m_now();
    m_gliding = false;
    m_ticker->Stop();
}

bool CKaraokeFollower::IsSuspended() const
{
    return m_manualAt && m_now() - *m_manualAt < ManualPauseMs;
}

bool CKaraokeFollower::IsGliding() const
{
    return m_gliding;
}

std::optional<QPoint> CKaraokeFollower::OffsetShowing(const QRect& item, const QRect& next, int wipeX,
                                                      const QPoint& now, const QSize& client, const QSize& content,
                                                      const QPoint& margins)
{
    QPoint target = now;
    // Down: the item and the line after it wholly visible, else the item in the upper third.
    const int bottom = next.isEmpty() ? item.bottom() + 1 : std::max(item.bottom(), next.bottom()) + 1;
    const int top = margins.y() + item.top() - now.y();
    if (top < 0 || margins.y() + bottom - now.y() > client.height()) {
        const int span = bottom - item.top();
        int desired = client.height() / 4;
        if (desired + span > client.height())
            desired = std::max(0, client.height() - span);
        target.ry() = Place(item.top(), desired, margins.y(), client.height(), content.height());
    }
    // Across: a line that fits is shown from its start; in a wider one the wipe stays in view.
    const int width = client.width();
    if (margins.x() + item.right() + 1 <= width) {
        if (margins.x() + item.left() - now.x() < 0 || margins.x() + item.right() + 1 - now.x() > width)
            target.rx() = 0;
    } else {
        const int shown = margins.x() + wipeX - now.x();
        if (shown < width / 8 || shown > width * 3 / 4)
            target.rx() = Place(wipeX, width / 8, margins.x(), width, content.width());
    }
    if (target == now)
        return std::nullopt;
    return target;
}

void CKaraokeFollower::OnWipeMoved()
{
    if (m_display.GetMode() != CKaraokeStatic::ModeView || !m_display.IsPlaying() || IsSuspended())
        return;
    const std::optional<CKaraokeStatic::SungSpot> spot = m_display.CurrentSpot();
    if (!spot)
        return;
    const QPoint now = m_gliding ? m_target : m_display.GetScrollOffset();
    if (const auto target = OffsetShowing(spot->line, spot->nextLine, spot->x, now, m_display.ClientSize(),
                                          m_display.ContentSize(), m_display.Margins()))
        GlideTo(*target);
}

void CKaraokeFollower::OnTapCursorMoved()
{
    const std::optional<KaraokeHit> word = m_display.TapCursorWord();
    if (m_display.GetMode() == CKaraokeStatic::ModeView || !word)
        return;
    // Client rectangle back to content coordinates.
    const QRect rect = m_display.ClientRectOf(*word).translated(m_display.GetScrollOffset() - m_display.Margins());
    const QPoint now = m_gliding ? m_target : m_display.GetScrollOffset();
    if (const auto target = OffsetShowing(rect, QRect(), rect.left(), now, m_display.ClientSize(),
                                          m_display.ContentSize(), m_display.Margins()))
        GlideTo(*target);
}

void CKaraokeFollower::GlideTo(const QPoint& target)
{
    m_from = m_display.GetScrollOffset();
    m_target = target;
    m_glide.start();
    m_gliding = true;
    m_ticker->RunIn(0);
    if (!m_ticker->IsActive()) {
        // Nothing to show a glide on: straight there.
        m_gliding = false;
        m_scroll(target);
    }
}

void CKaraokeFollower::OnFrame()
{
    if (!m_gliding) {
        m_ticker->Stop();
        return;
    }
    const double t = std::min(1.0, double(m_glide.elapsed()) / GlideMs);
    // Eased at both ends, so the lines neither jump off nor stop hard.
    const double eased = t * t * (3 - 2 * t);
    const QPointF step = QPointF(m_from) + QPointF(m_target - m_from) * eased;
    m_scroll(QPoint(int(std::lround(step.x())), int(std::lround(step.y()))));
    if (t >= 1) {
        m_gliding = false;
        m_ticker->Stop();
    }
}
