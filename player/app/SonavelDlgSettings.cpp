// The main window's side of the settings dialog: the record is filled from what the windows hold
// at this moment, and after OK applied to them in a fixed order. Nothing of it is kept: the
// windows write their own settings when they go.

#include "player/app/SonavelDlg.h"

#include "common/ui/QtTranslation.h"
#include "platform/profile/Profile.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "player/app/LyricCommands.h"
#include "player/app/OnlineLyricCommands.h"
#include "player/app/SonavelApp.h"
#include "player/dialogs/SettingsDlg.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/RubySetting.h"
#include "player/library/FolderTree.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/SettingsKeys.h"
#include "player/widgets/ScrollStatic.h"
#include "player/widgets/WmpVideoDlg.h"


namespace {

CodePageChoices ApplicationCodePages()
{
    CodePageChoices choices;
    if (const CSonavelApp* application = CSonavelApp::Instance())
        for (const CodePageEntry& entry : application->CodePages().Entries())
            choices.push_back({entry.Number, entry.Name});
    return choices;
}

CScrollStatic::ShowFlags ShowFlagsOf(const SettingsRecord& record)
{
    return {record.ShowFileName, record.ShowTitle, record.ShowArtist, record.ShowAlbum, record.ShowTrack};
}

} // namespace

void CSonavelDlg::OnSettingsButton()
{
    CSettingsDlg dialog(CollectSettings(), ApplicationCodePages(), this);
    // The program ending while the dialog is open (log-off, SIGTERM) closes it unapplied.
    connect(this, &QDialog::finished, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted && !IsDestroyed())
        ApplySettings(dialog.Record());
}

SettingsRecord CSonavelDlg::CollectSettings() const
{
    SettingsRecord record;
    record.TreeFont = m_options.DirTreeFont;
    record.PathFont = m_options.DirEditFont;
    record.ListFont = m_options.FileListFont;
    CollectDisplaySettings(record);
    record.ClipOnDesktop = IsClipOnDesktop();
    record.MainAlwaysOnTop = IsTopmost();
    record.VideoAlwaysOnTop = m_control->VideoTopmost();
    record.DetectCdromMediaChange = m_control->DetectCdromMediaChange();
    record.ShowFilePathOnTitleBar = m_options.ShowFilePathOnTitleBar != 0;
    record.DelPlaylistOnExit = m_options.DelPlaylistOnExit != 0;
    const ScanSettings& scan = m_options.Scan;
    record.ReadShortcuts = scan.ReadShortcuts;
    record.ReadM3u = scan.ReadM3u;
    record.UseID3Edit = scan.UseID3Edit;
    record.TagCodePage = scan.ID3EditCodePage;
    record.KaraokeCodePage = m_options.KaraokeCodePage;
    record.Extensions = scan.ExtensionList;
    record.AutoLyricsLookup = m_lyrics->Online().IsAutoLookupOn();
    record.RubyMode = int(CRubySetting::Instance().Mode());
    record.Language = ProfileLanguage();
    return record;
}

void CSonavelDlg::ApplySettings(const SettingsRecord& record)
{
    ApplyTagReading(record);
    ApplyChangedFonts(record);
    ApplyDisplaySettings(record);
    ApplyWindowOptions(record);
    m_control->SetDetectCdromMediaChange(record.DetectCdromMediaChange);
    m_options.ShowFilePathOnTitleBar = record.ShowFilePathOnTitleBar ? 1 : 0;
    m_options.DelPlaylistOnExit = record.DelPlaylistOnExit ? 1 : 0;
    CRubySetting::Instance().SetMode(RubyMode(record.RubyMode));
    // Left as it was, a setting never asked about is still asked about at the first search.
    if (record.AutoLyricsLookup != m_lyrics->Online().IsAutoLookupOn())
        m_lyrics->Online().SetAutoLookupOn(record.AutoLyricsLookup);
    // Taken at the next start; a profile never told otherwise keeps no key.
    if (record.Language != ProfileLanguage())
        WriteProfileString(QString::fromLatin1(Settings::App::Section), QString::fromLatin1(UiLanguageSetting::Key),
                           record.Language);
}

QString CSonavelDlg::ProfileLanguage()
{
    const QString value = GetProfileString(QString::fromLatin1(Settings::App::Section),
                                           QString::fromLatin1(UiLanguageSetting::Key), QString())
                              .trimmed()
                              .toLower();
    if (value == QLatin1String(UiLanguageSetting::Japanese) || value == QLatin1String(UiLanguageSetting::English))
        return value;
    return QString::fromLatin1(UiLanguageSetting::Auto);
}

void CSonavelDlg::ApplyTagReading(const SettingsRecord& record)
{
    // The library reads the list again when the tag settings changed; the extensions and the
    // two passes count from the next scan.
    ScanSettings scan = m_options.Scan;
    scan.UseID3Edit = record.UseID3Edit;
    scan.ID3EditCodePage = record.TagCodePage;
    scan.ExtensionList = record.Extensions;
    scan.ReadShortcuts = record.ReadShortcuts;
    scan.ReadM3u = record.ReadM3u;
    if (m_library)
        m_library->ApplySettings(scan);
    else
        m_options.Scan = scan;
}

void CSonavelDlg::ApplyChangedFonts(const SettingsRecord& record)
{
    const SettingsRecord::ChangedFlags& changed = record.Changed;
    if (changed.TreeFont) {
        m_options.DirTreeFont = record.TreeFont;
        FolderTree()->setFont(record.TreeFont.toQFont());
    }
    if (changed.PathFont) {
        m_options.DirEditFont = record.PathFont;
        PathEdit()->setFont(record.PathFont.toQFont());
    }
    if (changed.ListFont) {
        m_options.FileListFont = record.ListFont;
        TrackList()->setFont(record.ListFont.toQFont());
    }
}

void CSonavelDlg::CollectDisplaySettings(SettingsRecord& record) const
{
    const CScrollStatic* line = ScrollLine();
    line->GetTitleFont(record.TitleFont, record.TitleColor);
    line->GetDataFont(record.DataFont, record.DataColor);
    record.BackColor = line->GetBackColor();
    record.ScrollSpeed = line->GetScrollSpeed();
    const CScrollStatic::ShowFlags& show = line->GetShowFlags();
    record.ShowFileName = show[CScrollStatic::ItemFileName];
    record.ShowTitle = show[CScrollStatic::ItemTitle];
    record.ShowArtist = show[CScrollStatic::ItemArtist];
    record.ShowAlbum = show[CScrollStatic::ItemAlbum];
    record.ShowTrack = show[CScrollStatic::ItemTrack];
    // The karaoke font and its three colours are the karaoke display's.
    m_lyrics->KaraokeWindow().Display()->GetFontAndColors(record.KaraokeFont, record.SungColor, record.UnsungColor,
                                                          record.TagColor);
}

void CSonavelDlg::ApplyDisplaySettings(const SettingsRecord& record)
{
    CScrollStatic* line = ScrollLine();
    CKaraokeDlg& karaoke = m_lyrics->KaraokeWindow();
    CKaraokeStatic* display = karaoke.Display();
    const SettingsRecord::ChangedFlags& changed = record.Changed;
    if (changed.TitleFont)
        line->SetTitleFont(record.TitleFont, record.TitleColor);
    if (changed.DataFont)
        line->SetDataFont(record.DataFont, record.DataColor);
    if (changed.Karaoke) {
        line->SetKaraokeFont(record.KaraokeFont, record.SungColor, record.UnsungColor);
        display->SetFontAndColors(record.KaraokeFont, record.SungColor, record.UnsungColor, record.TagColor);
        if (karaoke.IsWindowCreated())
            karaoke.OnLyricFontChanged();
    }
    // The background has no changed flag: it is always applied, to both displays.
    line->SetBackColor(record.BackColor);
    display->SetBackColor(record.BackColor);
    m_options.KaraokeCodePage = record.KaraokeCodePage;
    // A speed outside 1 to 5 is not taken: the line keeps its speed.
    line->SetScrollSpeed(record.ScrollSpeed);
    line->SetShowFlags(ShowFlagsOf(record));
}

void CSonavelDlg::ApplyWindowOptions(const SettingsRecord& record)
{
    SetClipOnDesktop(record.ClipOnDesktop);
    if (VideoDlg())
        VideoDlg()->SetClipOnDesktop(record.ClipOnDesktop);
    SetKaraokeClipOnDesktop(record.ClipOnDesktop);
    // A topmost main window takes the video window's place above the others; the video window's
    // own state changes only when the main window is not on top and the flag is set.
    SetTopmost(record.MainAlwaysOnTop);
    if (!record.MainAlwaysOnTop && record.VideoAlwaysOnTop && VideoDlg())
        VideoDlg()->SetTopmost(true);
}
