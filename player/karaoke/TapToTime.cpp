#include "player/karaoke/TapToTime.h"

#include "player/karaoke/KaraokeEditor.h"
#include "player/karaoke/KaraokeStatic.h"

#include <algorithm>

CTapToTime::CTapToTime(CKaraokeStatic& display, const CKaraokeEditor& editor) : m_display(display), m_editor(editor)
{
}

std::vector<CTapToTime::WordStop> CTapToTime::WordStops() const
{
    std::vector<WordStop> stops;
    bool lineStart = true;
    for (CKaraokeBlock* block = m_display.Data().FirstBlock(); block; block = block->Next()) {
        for (size_t i = 0; i < block->Tokens.size(); ++i) {
            if (block->Tokens[i].IsLineBreak()) {
                lineStart = true;
                continue;
            }
            stops.push_back({block, int(i), lineStart});
            lineStart = false;
        }
    }
    return stops;
}

void CTapToTime::Reset()
{
    m_cursor = 0;
    m_history.clear();
}

void CTapToTime::Refresh()
{
    const auto stops = WordStops();
    m_cursorWord.reset();
    if (m_cursor >= 0 && size_t(m_cursor) < stops.size())
        m_cursorWord = KaraokeHit{stops[size_t(m_cursor)].block, stops[size_t(m_cursor)].token};
}

bool CTapToTime::Tap(bool lineStart)
{
    if (m_display.GetMode() != CKaraokeStatic::ModeEdit)
        return false;
    const std::optional<LyricTime> time = m_editor.StampTime();
    if (!time)
        return false;
    const auto stops = WordStops();
    const auto isStop = [&](size_t i) { return !lineStart || stops[i].lineStart; };
    size_t at = size_t(std::max(m_cursor, 0));
    while (at < stops.size() && !isStop(at))
        ++at;
    if (at >= stops.size())
        return false;
    size_t next = at + 1;
    while (next < stops.size() && !isStop(next))
        ++next;
    m_history.push_back(int(at));
    m_cursor = int(next);
    const WordStop& stop = stops[at];
    if (stop.token != 0) {
        m_display.Data().SplitBlock(stop.block, stop.token, 0, *time);
        m_display.EditChanged();
    } else if (stop.block->StartTime() != *time) {
        stop.block->SetStartTime(*time);
        m_display.EditChanged();
    } else {
        Refresh();
    }
    m_display.TapCursorMoved();
    return true;
}

void CTapToTime::TapBack()
{
    if (m_display.GetMode() != CKaraokeStatic::ModeEdit)
        return;
    if (!m_history.empty()) {
        m_cursor = m_history.back();
        m_history.pop_back();
    } else {
        m_cursor = std::max(0, m_cursor - 1);
    }
    Refresh();
    m_display.TapCursorMoved();
}
