#pragma once

#include "player/karaoke/KaraokeLayout.h"

#include <optional>
#include <vector>

class CKaraokeEditor;
class CKaraokeStatic;

// Tap-to-time in the karaoke window's edit mode: a cursor stands on the next word to stamp.
// TapLine stamps the engine's position on the next line start at or after the cursor
// (re-stamping the tag of a block that begins there, else splitting the block there) and moves
// the cursor to the line start after it; TapWord does the same word by word; TapBack returns
// to the stop stamped last.
class CTapToTime
{
public:
    CTapToTime(CKaraokeStatic& display, const CKaraokeEditor& editor);

    bool TapLine() { return Tap(true); }
    bool TapWord() { return Tap(false); }
    void TapBack();
    // Back to the first word (a load).
    void Reset();
    // After a layout: the word the cursor stands on may have moved to another block.
    void Refresh();
    // The cursor as a word ordinal in document order, and the word it stands on.
    int Cursor() const { return m_cursor; }
    std::optional<KaraokeHit> CursorWord() const { return m_cursorWord; }

private:
    struct WordStop {
        CKaraokeBlock* block = nullptr;
        int token = 0;
        bool lineStart = false;
    };
    std::vector<WordStop> WordStops() const;
    bool Tap(bool lineStart);

    CKaraokeStatic& m_display;
    const CKaraokeEditor& m_editor;
    int m_cursor = 0;
    std::vector<int> m_history;
    std::optional<KaraokeHit> m_cursorWord;
};
