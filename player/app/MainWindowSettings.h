#pragma once

#include "player/library/ScanSettings.h"
#include "player/settings/LogFont.h"

#include <QString>
#include <QStringList>

// The main window's values of section "CSonavelDlg" that the settings dialog edits a copy of,
// read at start and written at exit. Values the windows themselves hold (volume, column widths,
// folder, timer period, desktop clipping, always on top) live only there. The scan, tag and sort
// keys live in `Scan`, which the track library works on directly, so there is one copy of them.
struct MainWindowSettings {
    // "RdExtNum" beyond this is taken as this many: each extension is a key of its own.
    static constexpr int MaxExtensions = 256;

    // "UseID3Edit", "ID3Edit_CodePage", "RdExtNum" keys "RdExt%02d", "RdFile_link",
    // "RdFile_m3u", "EnableDrag", "SortType", "SortCol".
    ScanSettings Scan;
    int ShowFilePathOnTitleBar = 0;
    int DelPlaylistOnExit = 0;
    int KaraokeCodePage = 932;
    QString KaraokeEditorPath;
    LogFont FileListFont;
    LogFont DirTreeFont;
    LogFont DirEditFont;

    // The keys from "UseID3Edit" up to "KaraokeEditorPath", in their order.
    void ReadUpToEditorPath();
    // "SortType" and "SortCol"; values outside their ranges give the defaults.
    void ReadSort();
    // "RdExt%02d" of an index, and its default: the ten of a first start without "RdExtNum"; with
    // a stored count the first five, empty beyond them.
    static QString ExtensionKey(int index);
    static QString DefaultExtension(int index, bool countStored);
};
