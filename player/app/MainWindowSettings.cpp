#include "player/app/MainWindowSettings.h"

#include "platform/profile/Profile.h"
#include "platform/shell/SystemPaths.h"
#include "player/app/ProfileHelpers.h"
#include "player/app/SettingsKeys.h"

#include <algorithm>
#include <iterator>

using namespace Settings;

QString MainWindowSettings::ExtensionKey(int index)
{
    return QString::asprintf(MainDlg::RdExtFormat, index);
}

QString MainWindowSettings::DefaultExtension(int index)
{
    if (index >= 0 && index < static_cast<int>(std::size(MainDlg::DefaultRdExt)))
        return QString::fromLatin1(MainDlg::DefaultRdExt[index]);
    return QString();
}

void MainWindowSettings::ReadUpToEditorPath()
{
    const QString section = QString::fromLatin1(MainDlg::Section);
    UseID3Edit = GetProfileInt(section, MainDlg::UseID3Edit, MainDlg::DefaultUseID3Edit);
    ID3EditCodePage = GetProfileInt(section, MainDlg::ID3EditCodePage, MainDlg::DefaultID3EditCodePage);
    const int count = std::clamp(GetProfileInt(section, MainDlg::RdExtNum, MainDlg::DefaultRdExtNum), 0, MaxExtensions);
    Extensions.clear();
    for (int i = 0; i < count; ++i)
        Extensions.append(GetProfileString(section, ExtensionKey(i), DefaultExtension(i)));
    RdFileLink = GetProfileInt(section, MainDlg::RdFileLink, MainDlg::DefaultRdFileLink);
    RdFileM3u = GetProfileInt(section, MainDlg::RdFileM3u, MainDlg::DefaultRdFileM3u);
    EnableDrag = GetProfileInt(section, MainDlg::EnableDrag, MainDlg::DefaultEnableDrag);
    ShowFilePathOnTitleBar =
        GetProfileInt(section, MainDlg::ShowFilePathOnTitleBar, MainDlg::DefaultShowFilePathOnTitleBar);
    DelPlaylistOnExit = GetProfileInt(section, MainDlg::DelPlaylistOnExit, MainDlg::DefaultDelPlaylistOnExit);
    KaraokeCodePage = GetProfileInt(section, MainDlg::KaraokeCodePage, MainDlg::DefaultKaraokeCodePage);
    KaraokeEditorPath =
        GetProfileStringInit(section, MainDlg::KaraokeEditorPath, SystemPaths::DefaultTextEditorCommand());
}
