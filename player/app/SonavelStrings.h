#pragma once

// The player's string table: captions, menu entries, column headers, tool tips and messages.
namespace SonavelString {
enum Id : int {
    AboutMenuEntry = 101,
    PlayStateFirst = 1000,   // 1000 to 1011: the title-bar text of each play state
    PlayStatePlaying = 1003, // "再生中 [ %s ]"
    PlayStateLast = 1011,
    ColumnFileName = 1200,
    ColumnTitle = 1201,
    ColumnArtist = 1202,
    ColumnAlbum = 1203,
    ColumnTrack = 1204,
    DeletePlaylistFailed = 1210,
    ReadShortcutFailed = 1211,
    KaraokeReadFailed = 1212,
    KaraokeSaveFailed = 1213,
    KaraokeCreateFailed = 1214,
    ClipboardOpenFailed = 1215,
    ClipboardEmptyFailed = 1216,
    ClipboardSetFailed = 1217,
    ClipboardCloseFailed = 1218,
    TimeTagFormatWrong = 1219,
    FileNameCharacters = 1220,
    KaraokeDeleteFailed = 1221, // "カラオケデータ "%s" を削除できませんでした\n(%s)"
    PathNotFound = 1240,
    PathNotPlayable = 1241,
    KaraokeDeleteConfirm = 1300,
    KaraokeModifiedConfirm = 1301,
    ShortcutExistsConfirm = 1302,
    CommandPlay = 32771,
    CommandStop = 32772,
    CommandPause = 32773,
    CommandPrevious = 32774,
    CommandNext = 32775,
    CommandKaraokeEdit = 32782,
    CommandKaraokeNew = 32783,
    CommandKaraokeDelete = 32784,
    CommandCopyTitle = 32785,
    CommandCopyArtist = 32786,
    CommandCopyAlbum = 32787,
    CommandKaraokeShow = 32788,
};
} // namespace SonavelString

// Adds the player's texts to the string table; calling it again changes nothing.
void RegisterSonavelStrings();
