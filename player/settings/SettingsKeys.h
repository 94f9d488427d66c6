#pragma once

// Sections, keys and defaults of the player's INI file. Every class reads and writes its
// settings through these names.
namespace Settings {

namespace App {
inline constexpr char Section[] = "CSonavelApp";
inline constexpr char Locale[] = "Locale";
inline constexpr char DefaultLocale[] = "jpn";
// The lyrics server (LRCLIB or a self-hosted one) and whether tracks without lyrics are looked
// up on it when they start: -1 until the user was asked, then 0 or 1.
inline constexpr char LyricsServer[] = "LyricsServer";
inline constexpr char DefaultLyricsServer[] = "https://lrclib.net";
inline constexpr char LyricsAutoLookup[] = "LyricsAutoLookup";
inline constexpr int LyricsAutoLookupNotAsked = -1;
} // namespace App

namespace MainDlg {
inline constexpr char Section[] = "CSonavelDlg";
inline constexpr char UseID3Edit[] = "UseID3Edit";
inline constexpr int DefaultUseID3Edit = 0;
inline constexpr char ID3EditCodePage[] = "ID3Edit_CodePage";
inline constexpr int DefaultID3EditCodePage = 932;
inline constexpr char RdExtNum[] = "RdExtNum";
inline constexpr char RdExtFormat[] = "RdExt%02d";
// The list of a profile without "RdExtNum". A stored count keeps defaults for its first five
// keys only, so a stored list stays as it was.
inline constexpr const char* DefaultRdExt[] = {"mp3", "wma", "dat", "mpg", "mpeg", "flac", "ogg", "opus", "m4a", "wav"};
inline constexpr int StoredRdExtDefaults = 5;
inline constexpr char RdFileLink[] = "RdFile_link";
inline constexpr int DefaultRdFileLink = 1;
inline constexpr char RdFileM3u[] = "RdFile_m3u";
inline constexpr int DefaultRdFileM3u = 1;
inline constexpr char EnableDrag[] = "EnableDrag";
inline constexpr int DefaultEnableDrag = 0;
inline constexpr char ShowFilePathOnTitleBar[] = "ShowFilePathOnTitleBar";
inline constexpr int DefaultShowFilePathOnTitleBar = 0;
inline constexpr char DelPlaylistOnExit[] = "DelPlaylistOnExit";
inline constexpr int DefaultDelPlaylistOnExit = 0;
inline constexpr char KaraokeCodePage[] = "KaraokeCodePage";
inline constexpr int DefaultKaraokeCodePage = 932;
inline constexpr char KaraokeEditorPath[] = "KaraokeEditorPath";
inline constexpr char Volume[] = "Volume";
inline constexpr int DefaultVolume = 30;
inline constexpr char ColWidFileName[] = "ColWid_FileName";
inline constexpr char ColWidTitle[] = "ColWid_Title";
inline constexpr char ColWidArtist[] = "ColWid_Artist";
inline constexpr char ColWidAlbum[] = "ColWid_Album";
inline constexpr char ColWidTrack[] = "ColWid_Track";
inline constexpr const char* ColWidKeys[] = {ColWidFileName, ColWidTitle, ColWidArtist, ColWidAlbum, ColWidTrack};
inline constexpr int DefaultColWid[] = {150, 150, 150, 150, 50};
inline constexpr char SortType[] = "SortType";
inline constexpr int DefaultSortType = 1;
inline constexpr char SortCol[] = "SortCol";
inline constexpr int DefaultSortCol = 0;
inline constexpr char DefaultFolderPath[] = "DefaultFolderPath";
inline constexpr char ClipOnDesktop[] = "ClipOnDesktop";
inline constexpr int DefaultClipOnDesktop = 1;
inline constexpr char MainAlwaysOnTop[] = "MainAlwaysOnTop";
inline constexpr int DefaultMainAlwaysOnTop = 0;
inline constexpr char VideoAlwaysOnTop[] = "VideoAlwaysOnTop";
inline constexpr int DefaultVideoAlwaysOnTop = 1;
inline constexpr char UpdateTimerInterval[] = "UpdateTimerInterval";
inline constexpr int DefaultUpdateTimerInterval = 50;
inline constexpr char DirTreeFont[] = "DirTreeFont";
inline constexpr char DirEditFont[] = "DirEditFont";
inline constexpr char FileListFont[] = "FileListFont";
} // namespace MainDlg

namespace Wmp {
inline constexpr char Section[] = "WMPSetting";
inline constexpr char DetectCdromMediaChange[] = "DetectCdromMediaChange";
inline constexpr int DefaultDetectCdromMediaChange = 1;
inline constexpr char Loop[] = "Loop";
inline constexpr int DefaultLoop = 1;
inline constexpr char Shuffle[] = "Shuffle";
inline constexpr int DefaultShuffle = 0;
inline constexpr char AutoStart[] = "AutoStart";
inline constexpr int DefaultAutoStart = 1;
} // namespace Wmp

namespace ScrollStatic {
inline constexpr char Section[] = "CScrollStatic";
inline constexpr char ScrollSpeed[] = "ScrollSpeed";
inline constexpr int DefaultScrollSpeed = 1;
inline constexpr char ShowFileName[] = "ShowFileName";
inline constexpr int DefaultShowFileName = 0;
inline constexpr char ShowTitle[] = "ShowTitle";
inline constexpr int DefaultShowTitle = 1;
inline constexpr char ShowArtist[] = "ShowArtist";
inline constexpr int DefaultShowArtist = 1;
inline constexpr char ShowAlbum[] = "ShowAlbum";
inline constexpr int DefaultShowAlbum = 1;
inline constexpr char ShowTrack[] = "ShowTrack";
inline constexpr int DefaultShowTrack = 0;
inline constexpr char TitleTextColor[] = "TitleTextColor";
inline constexpr char DataTextColor[] = "DataTextColor";
inline constexpr char BackColor[] = "BackColor";
inline constexpr char KaraokeTextColor0[] = "KaraokeTextColor0";
inline constexpr char KaraokeTextColor1[] = "KaraokeTextColor1";
inline constexpr char CenterLinePenColor[] = "CenterLinePenColor";
inline constexpr char TitleFontSection[] = "CScrollStatic_TitleFont";
inline constexpr char DataFontSection[] = "CScrollStatic_DataFont";
inline constexpr char KaraokeFontSection[] = "CScrollStatic_KaraokeFont";
} // namespace ScrollStatic

namespace KaraokeStatic {
inline constexpr char Section[] = "CKaraokeStatic";
inline constexpr char BackColor[] = "BackColor";
inline constexpr char ErrColor[] = "ErrColor";
inline constexpr char KaraokeTextColor0[] = "KaraokeTextColor0";
inline constexpr char KaraokeTextColor1[] = "KaraokeTextColor1";
inline constexpr char KaraokeTextColor2[] = "KaraokeTextColor2";
inline constexpr char KaraokeFontSection[] = "CKaraokeStatic_KaraokeFont";
} // namespace KaraokeStatic

namespace KaraokeDlg {
inline constexpr char Section[] = "CKaraokeDlg";
inline constexpr char AlwaysOnTop[] = "AlwaysOnTop";
inline constexpr int DefaultAlwaysOnTop = 1;
} // namespace KaraokeDlg

namespace VideoDlg {
inline constexpr char Section[] = "CWmpVideoDlg";
inline constexpr char AlwaysOnTop[] = "AlwaysOnTop";
inline constexpr int DefaultAlwaysOnTop = 1;
} // namespace VideoDlg

namespace ArtWorkDlg {
inline constexpr char Section[] = "CArtWorkDlg";
inline constexpr char PictSizeCB[] = "PictSizeCB";
inline constexpr int DefaultPictSizeCB = 3;
} // namespace ArtWorkDlg

namespace SplitterBar {
inline constexpr char Section[] = "CSplitterBar";
inline constexpr char PosL[] = "PosL";
inline constexpr char PosT[] = "PosT";
} // namespace SplitterBar

} // namespace Settings
