#include "player/app/MainWindowSettings.h"

#include "platform/profile/Profile.h"
#include "platform/shell/SystemPaths.h"
#include "platform/text/NativeName.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"

#include <algorithm>
#include <iterator>

using namespace Settings;

QString MainWindowSettings::ExtensionKey(int index)
{
    return QString::asprintf(MainDlg::RdExtFormat, index);
}

QString MainWindowSettings::DefaultExtension(int index, bool countStored)
{
    const int defaults = countStored ? MainDlg::StoredRdExtDefaults : static_cast<int>(std::size(MainDlg::DefaultRdExt));
    if (index >= 0 && index < defaults)
        return QString::fromLatin1(MainDlg::DefaultRdExt[index]);
    return QString();
}

void MainWindowSettings::ReadUpToEditorPath()
{
    const QString section = QString::fromLatin1(MainDlg::Section);
    Scan.UseID3Edit = GetProfileInt(section, MainDlg::UseID3Edit, MainDlg::DefaultUseID3Edit) != 0;
    Scan.ID3EditCodePage = GetProfileInt(section, MainDlg::ID3EditCodePage, MainDlg::DefaultID3EditCodePage);
    // File names that are not UTF-8 are shown in the tags' code page, as old archives wrote both.
    NativeName::setDisplayCodePage(Scan.ID3EditCodePage);
    const bool countStored = ProfileHasKey(section, MainDlg::RdExtNum);
    const int count = countStored ? std::clamp(GetProfileInt(section, MainDlg::RdExtNum, 0), 0, MaxExtensions)
                                  : static_cast<int>(std::size(MainDlg::DefaultRdExt));
    Scan.ExtensionList.clear();
    for (int i = 0; i < count; ++i)
        Scan.ExtensionList.append(GetProfileString(section, ExtensionKey(i), DefaultExtension(i, countStored)));
    Scan.ReadShortcuts = GetProfileInt(section, MainDlg::RdFileLink, MainDlg::DefaultRdFileLink) != 0;
    Scan.ReadM3u = GetProfileInt(section, MainDlg::RdFileM3u, MainDlg::DefaultRdFileM3u) != 0;
    Scan.EnableDrag = GetProfileInt(section, MainDlg::EnableDrag, MainDlg::DefaultEnableDrag) != 0;
    ShowFilePathOnTitleBar =
        GetProfileInt(section, MainDlg::ShowFilePathOnTitleBar, MainDlg::DefaultShowFilePathOnTitleBar);
    DelPlaylistOnExit = GetProfileInt(section, MainDlg::DelPlaylistOnExit, MainDlg::DefaultDelPlaylistOnExit);
    KaraokeCodePage = GetProfileInt(section, MainDlg::KaraokeCodePage, MainDlg::DefaultKaraokeCodePage);
    KaraokeEditorPath =
        GetProfileStringInit(section, MainDlg::KaraokeEditorPath, SystemPaths::DefaultTextEditorCommand());
}

void MainWindowSettings::ReadSort()
{
    const QString section = QString::fromLatin1(MainDlg::Section);
    // A state or column nobody can click would leave a mark on no header and sort by nothing.
    const int state = GetProfileInt(section, MainDlg::SortType, MainDlg::DefaultSortType);
    const int column = GetProfileInt(section, MainDlg::SortCol, MainDlg::DefaultSortCol);
    Scan.SortState = state >= 0 && state <= 2 ? state : MainDlg::DefaultSortType;
    Scan.SortColumn = column >= 0 && column <= 4 ? column : MainDlg::DefaultSortCol;
}
