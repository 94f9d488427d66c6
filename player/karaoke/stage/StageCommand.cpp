#include "player/karaoke/stage/StageCommand.h"

#include "common/ui/Ui.h"

#include "player/karaoke/stage/StageScreens.h"
#include "player/karaoke/stage/StageView.h"

#include <QAction>
#include <QMenu>

CStageCommand::CStageCommand(QWidget& mainWindow)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_view(new CStageView(&mainWindow))
{
    m_toggle = new QAction(Ui::tr("ステージ表示"), this);
    m_toggle->setCheckable(true);
    m_toggle->setShortcut(QKeySequence(Qt::Key_F11));
    m_toggle->setShortcutContext(Qt::WindowShortcut);
    m_toggle->setToolTip(Ui::tr("歌詞を別の画面に全画面で大きく表示します (F11)"));
    connect(m_toggle, &QAction::triggered, this, &CStageCommand::Show);
    connect(m_view, &CStageView::Left, this, [this] { m_toggle->setChecked(false); });
    m_screens = new QMenu(Ui::tr("ステージ表示の画面"), &mainWindow);
    connect(m_screens, &QMenu::aboutToShow, this, [this] { CStageScreens::FillMenu(*m_screens, &m_mainWindow); });
    // A menu without items shows nothing to open: it is filled once now as well.
    CStageScreens::FillMenu(*m_screens, &m_mainWindow);
}

CStageCommand::~CStageCommand() = default;

void CStageCommand::Show(bool on)
{
    if (on)
        m_view->Enter(CStageScreens::Chosen(&m_mainWindow));
    else
        m_view->Leave();
    m_toggle->setChecked(m_view->IsShown());
}
