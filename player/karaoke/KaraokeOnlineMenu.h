#pragma once

#include <QObject>

#include <functional>

class CKaraokeDlg;
class QAction;
class QMenu;

// The karaoke window's menu of online lyrics, on a right click outside the time-tag editor (and
// the context-menu key): "歌詞を検索…" (also Ctrl+F) for the playing track and "公開…" for the
// lyric file the window shows. The owner says what each does and when "公開…" can be used.
class CKaraokeOnlineMenu : public QObject
{
    Q_OBJECT
public:
    CKaraokeOnlineMenu(CKaraokeDlg& window, std::function<void()> search, std::function<void()> publish,
                       std::function<bool()> canPublish);
    ~CKaraokeOnlineMenu() override;

    QMenu* Menu() const { return m_menu; }
    QAction* SearchAction() const { return m_search; }
    QAction* PublishAction() const { return m_publish; }
    // Enables the items as they are now; done before the menu shows.
    void UpdateItems();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CKaraokeDlg& m_window;
    QMenu* m_menu = nullptr;
    QAction* m_search = nullptr;
    QAction* m_publish = nullptr;
    std::function<bool()> m_canPublish;
};
