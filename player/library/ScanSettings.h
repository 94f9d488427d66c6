#pragma once

#include <QList>
#include <QStringList>

// The main window's scan and list settings, as loaded from the profile ("RdExt%02d",
// "RdFile_link", "RdFile_m3u", "EnableDrag", "UseID3Edit", "ID3Edit_CodePage", "SortType",
// "SortCol"). The main window loads and saves them; the track library reads and changes them.
struct ScanSettings {
    QStringList ExtensionList{"mp3", "wma", "dat", "mpg", "mpeg", "flac", "ogg", "opus", "m4a", "wav"};
    bool ReadShortcuts = true;
    bool ReadM3u = true;
    bool EnableDrag = false;
    bool UseID3Edit = false;
    int ID3EditCodePage = 932;
    int SortState = 1; // 0 unsorted, 1 ascending, 2 descending
    int SortColumn = 0;
};
