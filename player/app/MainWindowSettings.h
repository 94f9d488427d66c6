#pragma once

#include "player/app/LogFont.h"

#include <QString>
#include <QStringList>

#include <array>

// The main window's values of section "CSonavelDlg" (without its fonts and placement), read at
// start and written at exit. The settings dialog edits a copy.
struct MainWindowSettings {
    // "RdExtNum" beyond this is taken as this many: each extension is a key of its own.
    static constexpr int MaxExtensions = 256;

    int UseID3Edit = 0;
    int ID3EditCodePage = 932;
    QStringList Extensions;          // "RdExtNum" keys "RdExt%02d"
    int RdFileLink = 1;
    int RdFileM3u = 1;
    int EnableDrag = 0;
    int ShowFilePathOnTitleBar = 0;
    int DelPlaylistOnExit = 0;
    int KaraokeCodePage = 932;
    QString KaraokeEditorPath;
    int Volume = 30;
    std::array<int, 5> ColumnWidths{150, 150, 150, 150, 50};
    LogFont FileListFont;
    LogFont DirTreeFont;
    LogFont DirEditFont;
    int SortType = 1;
    int SortCol = 0;
    QString DefaultFolderPath;
    int ClipOnDesktop = 1;
    int MainAlwaysOnTop = 0;
    int VideoAlwaysOnTop = 1;
    int UpdateTimerInterval = 50;

    // The keys from "UseID3Edit" up to "KaraokeEditorPath", in their order.
    void ReadUpToEditorPath();
    // "RdExt%02d" of an index, and its default (empty beyond the five defaults).
    static QString ExtensionKey(int index);
    static QString DefaultExtension(int index);
};
