#pragma once

#include "common/ui/SharedTypes.h"
#include "player/settings/LogFont.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the settings dialog edits: filled by the main window from the live state of its windows
// right before the dialog opens, handed back on OK and applied. It is never kept.
struct SettingsRecord {
    LogFont TreeFont;
    LogFont PathFont;
    LogFont ListFont;
    LogFont TitleFont;
    LogFont DataFont;
    // The karaoke display's lyric font, also the scrolling line's karaoke face.
    LogFont KaraokeFont;
    COLORREF TitleColor = 0;
    COLORREF DataColor = 0;
    COLORREF SungColor = 0;
    COLORREF UnsungColor = 0;
    COLORREF TagColor = 0;
    // Of both the scrolling line and the karaoke display.
    COLORREF BackColor = 0;
    int ScrollSpeed = 1;
    bool ShowFileName = false;
    bool ShowTitle = false;
    bool ShowArtist = false;
    bool ShowAlbum = false;
    bool ShowTrack = false;
    bool ClipOnDesktop = false;
    bool MainAlwaysOnTop = false;
    bool VideoAlwaysOnTop = false;
    bool DetectCdromMediaChange = false;
    bool ShowFilePathOnTitleBar = false;
    bool DelPlaylistOnExit = false;
    bool ReadShortcuts = false;
    bool ReadM3u = false;
    bool UseID3Edit = false;
    int TagCodePage = 0;
    int KaraokeCodePage = 0; // 0: Unicode
    // Tracks without lyrics are looked up on the lyrics server when they start.
    bool AutoLyricsLookup = false;
    // ルビ: 0 なし, 1 指定のみ (the lyric file's readings), 2 自動 (with the dictionary's).
    int RubyMode = 2;
    // The interface's language as the profile keeps it: "auto", "ja" or "en"; read at start-up.
    QString Language = QStringLiteral("auto");
    QStringList Extensions;

    // Set by the choosers; all false when the dialog opens. The background has no flag: it is
    // always applied.
    struct ChangedFlags {
        bool TreeFont = false;
        bool PathFont = false;
        bool ListFont = false;
        bool TitleFont = false;   // with the title colour
        bool DataFont = false;    // with the data colour
        bool Karaoke = false;     // karaoke font, sung, unsung or tag colour
    } Changed;
};

// An entry of the code-page table as the dialog offers it.
struct CodePageChoice {
    int Number = 0;
    QString Name;
};
using CodePageChoices = std::vector<CodePageChoice>;
