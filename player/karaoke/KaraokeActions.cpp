#include "player/karaoke/KaraokeActions.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeControlStrings.h"
#include "player/karaoke/KaraokeControls.h"

#include <QAction>
#include <QMenu>

using Control = CKaraokeControls::Control;
namespace S = KaraokeControlString;

CKaraokeActions::CKaraokeActions(CKaraokeControls& controls, QObject* parent) : QObject(parent), m_controls(controls)
{
    RegisterKaraokeControlStrings();
    auto& c = m_controls;
    Add(KeyDown, S::KeyDown, "♭", QKeySequence(Qt::CTRL | Qt::Key_Down), [&c] { c.StepKey(-1); });
    Add(KeyUp, S::KeyUp, "♯", QKeySequence(Qt::CTRL | Qt::Key_Up), [&c] { c.StepKey(1); });
    Add(TempoDown, S::TempoDown, "−", QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), [&c] { c.StepTempo(-1); });
    Add(TempoUp, S::TempoUp, "+", QKeySequence(Qt::CTRL | Qt::Key_BracketRight), [&c] { c.StepTempo(1); });
    Add(VocalReduction, S::VocalReduction, nullptr, QKeySequence(Qt::CTRL | Qt::Key_R),
        [this] { m_controls.SetVocalReduction(Action(VocalReduction)->isChecked()); })
        ->setCheckable(true);
    Add(OffsetLater, S::OffsetLater, "−", QKeySequence(Qt::CTRL | Qt::Key_Comma), [&c] { c.StepOffset(-1); });
    Add(OffsetEarlier, S::OffsetEarlier, "+", QKeySequence(Qt::CTRL | Qt::Key_Period), [&c] { c.StepOffset(1); });
    Add(SaveOffset, S::SaveOffsetMenu, nullptr, {}, [this] {
        if (m_saveOffset)
            m_saveOffset();
    })->setIconText(StringTable::text(S::SaveOffset));
    Add(RememberPerTrack, S::RememberPerTrack, nullptr, {},
        [this] { m_controls.SetRememberPerTrack(Action(RememberPerTrack)->isChecked()); })
        ->setCheckable(true);
    Add(ResetAll, S::ResetAll, nullptr, QKeySequence(Qt::CTRL | Qt::Key_0), [&c] {
        for (const Control control : {Control::Key, Control::Tempo, Control::Offset})
            c.Reset(control);
    });
    connect(&m_controls, &CKaraokeControls::ValueChanged, this, &CKaraokeActions::Update);
    connect(&m_controls, &CKaraokeControls::StateChanged, this, &CKaraokeActions::Update);
    Update();
}

QAction* CKaraokeActions::Add(Id id, int textId, const char* sign, const QKeySequence& shortcut,
                              std::function<void()> run)
{
    auto* action = new QAction(StringTable::text(textId), this);
    if (sign)
        action->setIconText(QString::fromUtf8(sign));
    action->setShortcut(shortcut);
    // Shortcuts of the window the actions are added to, whichever of its controls has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    m_actions[size_t(id)] = action;
    return action;
}

QList<QAction*> CKaraokeActions::All() const
{
    return QList<QAction*>(m_actions.begin(), m_actions.end());
}

void CKaraokeActions::Update()
{
    const auto tip = [](QAction* action, const QString& text) {
        const QString keys = action->shortcut().toString(QKeySequence::NativeText);
        action->setToolTip(keys.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, keys));
    };
    const CKaraokeControls& c = m_controls;
    const bool key = c.IsAvailable(Control::Key);
    const bool tempo = c.IsAvailable(Control::Tempo);
    const bool vocal = c.IsAvailable(Control::VocalReduction);
    Action(KeyDown)->setEnabled(key && c.Key() > CKaraokeControls::MinKey);
    Action(KeyUp)->setEnabled(key && c.Key() < CKaraokeControls::MaxKey);
    Action(TempoDown)->setEnabled(tempo && c.Tempo() > CKaraokeControls::MinTempo);
    Action(TempoUp)->setEnabled(tempo && c.Tempo() < CKaraokeControls::MaxTempo);
    Action(VocalReduction)->setEnabled(vocal);
    Action(VocalReduction)->setChecked(c.VocalReduction());
    Action(SaveOffset)->setEnabled(c.CanSaveOffset());
    Action(RememberPerTrack)->setChecked(c.RememberPerTrack());
    for (const Id id : {KeyDown, KeyUp})
        tip(Action(id), StringTable::text(key ? (id == KeyDown ? S::KeyDown : S::KeyUp) : S::KeyUnavailable));
    for (const Id id : {TempoDown, TempoUp})
        tip(Action(id), StringTable::text(tempo ? (id == TempoDown ? S::TempoDown : S::TempoUp) : S::TempoUnavailable));
    const int vocalTip = !vocal ? S::VocalUnavailable : c.IsMonoItem() ? S::VocalReductionMono : S::VocalReductionTip;
    tip(Action(VocalReduction), StringTable::text(vocalTip));
    tip(Action(OffsetLater), StringTable::text(S::OffsetLater));
    tip(Action(OffsetEarlier), StringTable::text(S::OffsetEarlier));
    const bool tagLyrics = c.LyricPath().isEmpty();
    tip(Action(SaveOffset), StringTable::text(tagLyrics ? S::SaveOffsetTagLyrics : S::SaveOffsetTip));
    tip(Action(RememberPerTrack), StringTable::text(S::RememberPerTrackTip));
    tip(Action(ResetAll), StringTable::text(S::ResetAll));
}

QString CKaraokeActions::ValuesText() const
{
    return QStringLiteral("%1 %2  %3 %4  %5 %6")
        .arg(StringTable::text(S::Key), CKaraokeControls::KeyText(m_controls.Key()), StringTable::text(S::Tempo),
             CKaraokeControls::TempoText(m_controls.Tempo()), StringTable::text(S::LyricOffset),
             CKaraokeControls::OffsetText(m_controls.LyricOffset()));
}

QMenu* CKaraokeActions::CreateMenu(QWidget* parent) const
{
    auto* menu = new QMenu(StringTable::text(S::MenuTitle), parent);
    QAction* values = menu->addAction(ValuesText());
    values->setEnabled(false);
    connect(menu, &QMenu::aboutToShow, menu, [this, values] { values->setText(ValuesText()); });
    menu->addSeparator();
    for (const Id id : {KeyDown, KeyUp, TempoDown, TempoUp, VocalReduction})
        menu->addAction(Action(id));
    menu->addSeparator();
    for (const Id id : {OffsetLater, OffsetEarlier, SaveOffset})
        menu->addAction(Action(id));
    menu->addSeparator();
    for (const Id id : {RememberPerTrack, ResetAll})
        menu->addAction(Action(id));
    return menu;
}
