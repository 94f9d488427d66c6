#include "player/app/SonavelDlg.h"

#include "platform/shell/SystemPaths.h"
#include "player/app/ProfileHelpers.h"
#include "player/app/SettingsKeys.h"

#include <QKeyEvent>

using namespace Settings;

CSonavelDlg::CSonavelDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Sonavel"));
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(274, 206);
    ReadSettings();
}

CSonavelDlg::~CSonavelDlg()
{
    SaveSettings();
}

void CSonavelDlg::ReadSettings()
{
    GetProfileIntInit(Wmp::Section, Wmp::Loop, Wmp::DefaultLoop);
    GetProfileIntInit(Wmp::Section, Wmp::AutoStart, Wmp::DefaultAutoStart);
    GetProfileStringInit(MainDlg::Section, MainDlg::KaraokeEditorPath, SystemPaths::DefaultTextEditorCommand());
    LogFont font;
    GetProfileFont(MainDlg::FileListFont, font, 0, 9, false);
    GetProfileFont(MainDlg::DirTreeFont, font, 0, 9, false);
    GetProfileFont(MainDlg::DirEditFont, font, 0, 9, false);
    GetProfileIntInit(MainDlg::Section, MainDlg::UpdateTimerInterval, MainDlg::DefaultUpdateTimerInterval);
}

void CSonavelDlg::SaveSettings()
{
}

void CSonavelDlg::EndSession()
{
    reject();
}

void CSonavelDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape never close the main window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}
