#pragma once

#include <QList>
#include <QObject>

#include <array>
#include <functional>

class CKaraokeControls;
class QAction;
class QMenu;

// The karaoke controls as actions: each with its text for menus, its sign for the strip's buttons
// (icon text), its tip and its shortcut. The same actions serve the karaoke window (added to it,
// their shortcuts work there), the strip's buttons and the main window's "カラオケ" menu; they
// follow the controls' values and availability.
//
// Shortcuts: Ctrl+Down / Ctrl+Up the key, Ctrl+[ / Ctrl+] the tempo, Ctrl+R vocal reduction,
// Ctrl+, / Ctrl+. the lyrics later / earlier, Ctrl+0 everything back to neutral.
class CKaraokeActions : public QObject
{
    Q_OBJECT
public:
    enum Id {
        KeyDown,
        KeyUp,
        TempoDown,
        TempoUp,
        VocalReduction,
        OffsetLater,
        OffsetEarlier,
        SaveOffset,
        RememberPerTrack,
        ResetAll,
        Count
    };

    explicit CKaraokeActions(CKaraokeControls& controls, QObject* parent = nullptr);

    CKaraokeControls& Controls() const { return m_controls; }
    QAction* Action(Id id) const { return m_actions[size_t(id)]; }
    QList<QAction*> All() const;
    // Saving the offset needs the lyric code page and a place for a failure message: the owner's.
    void SetSaveOffsetHandler(std::function<void()> handler) { m_saveOffset = std::move(handler); }
    // The "カラオケ" menu: the values now, then the actions.
    QMenu* CreateMenu(QWidget* parent) const;
    // Key, tempo and lyric offset in one line ("キー +3  テンポ 80%  歌詞オフセット +150 ms").
    QString ValuesText() const;

private:
    QAction* Add(Id id, int textId, const char* sign, const QKeySequence& shortcut, std::function<void()> run);
    void Update();

    CKaraokeControls& m_controls;
    std::array<QAction*, Count> m_actions{};
    std::function<void()> m_saveOffset;
};
