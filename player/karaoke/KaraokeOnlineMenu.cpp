#include "player/karaoke/KaraokeOnlineMenu.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/OnlineLyricsStrings.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

CKaraokeOnlineMenu::CKaraokeOnlineMenu(CKaraokeDlg& window, std::function<void()> search,
                                       std::function<void()> publish, std::function<bool()> canPublish)
    : QObject(&window), m_window(window), m_menu(new QMenu(&window)), m_canPublish(std::move(canPublish))
{
    RegisterOnlineLyricsStrings();
    m_search = m_menu->addAction(StringTable::text(OnlineLyricsString::CommandSearch));
    m_search->setShortcut(QKeySequence::Find);
    m_search->setShortcutContext(Qt::WindowShortcut);
    m_publish = m_menu->addAction(StringTable::text(OnlineLyricsString::CommandPublish));
    // The shortcut works without the menu open.
    window.addAction(m_search);
    connect(m_search, &QAction::triggered, this, [this, search = std::move(search)] {
        if (m_window.GetMode() == CKaraokeStatic::ModeView)
            search();
    });
    connect(m_publish, &QAction::triggered, this, [publish = std::move(publish)] { publish(); });
    // Context-menu events of the display and the other controls come up to the window.
    window.installEventFilter(this);
}

CKaraokeOnlineMenu::~CKaraokeOnlineMenu() = default;

void CKaraokeOnlineMenu::UpdateItems()
{
    const bool viewing = m_window.GetMode() == CKaraokeStatic::ModeView;
    m_search->setEnabled(viewing);
    m_publish->setEnabled(viewing && m_canPublish && m_canPublish());
}

bool CKaraokeOnlineMenu::eventFilter(QObject* watched, QEvent* event)
{
    // In the time-tag editor a right click stamps times; the menu is for viewing only.
    if (watched == &m_window && event->type() == QEvent::ContextMenu &&
        m_window.GetMode() == CKaraokeStatic::ModeView) {
        UpdateItems();
        m_menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
