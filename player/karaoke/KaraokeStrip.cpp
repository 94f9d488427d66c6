#include "player/karaoke/KaraokeStrip.h"

#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeControlStrings.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using Control = CKaraokeControls::Control;
using Id = CKaraokeActions::Id;
namespace S = KaraokeControlString;

namespace {

constexpr int kGroupGap = 10;

} // namespace

CKaraokeStrip::CKaraokeStrip(QWidget* parent) : QWidget(parent)
{
    RegisterKaraokeControlStrings();
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(2);
        rows->addLayout(row);
    }

    AddLabel(first, S::Key);
    AddButton(first, Id::KeyDown, QStringLiteral("♭"));
    m_values[0] = AddValue(first, QStringLiteral("+6"));
    AddButton(first, Id::KeyUp, QStringLiteral("♯"));
    first->addSpacing(kGroupGap);
    AddLabel(first, S::Tempo);
    AddButton(first, Id::TempoDown, QStringLiteral("−"));
    m_values[1] = AddValue(first, QStringLiteral("150%"));
    AddButton(first, Id::TempoUp, QStringLiteral("+"));
    first->addSpacing(kGroupGap);
    AddButton(first, Id::VocalReduction, StringTable::text(S::VocalReduction));
    first->addStretch();

    AddLabel(second, S::LyricOffset);
    AddButton(second, Id::OffsetLater, QStringLiteral("−"));
    m_values[2] = AddValue(second, QStringLiteral("+1000 ms"));
    AddButton(second, Id::OffsetEarlier, QStringLiteral("+"));
    AddButton(second, Id::SaveOffset, StringTable::text(S::SaveOffset));
    second->addSpacing(kGroupGap);
    AddButton(second, Id::RememberPerTrack, StringTable::text(S::RememberPerTrack));
    second->addStretch();
    Update();
}

QLabel* CKaraokeStrip::AddLabel(QHBoxLayout* row, int textId)
{
    auto* label = new QLabel(StringTable::text(textId), this);
    row->addWidget(label);
    return label;
}

QLabel* CKaraokeStrip::AddValue(QHBoxLayout* row, const QString& widest)
{
    auto* value = new QLabel(this);
    value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(widest) + 12);
    value->installEventFilter(this);
    row->addWidget(value);
    return value;
}

QToolButton* CKaraokeStrip::AddButton(QHBoxLayout* row, Id id, const QString& text)
{
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setEnabled(false);
    // The window's keys are the shortcuts; a button must not keep the focus from them.
    button->setFocusPolicy(Qt::NoFocus);
    m_buttons[size_t(id)] = button;
    row->addWidget(button);
    return button;
}

void CKaraokeStrip::Bind(CKaraokeActions& actions)
{
    m_actions = &actions;
    for (size_t id = 0; id < m_buttons.size(); ++id) {
        if (m_buttons[id])
            m_buttons[id]->setDefaultAction(actions.Action(Id(id)));
    }
    CKaraokeControls& controls = actions.Controls();
    connect(&controls, &CKaraokeControls::ValueChanged, this, &CKaraokeStrip::Update);
    connect(&controls, &CKaraokeControls::StateChanged, this, &CKaraokeStrip::Update);
    Update();
}

void CKaraokeStrip::Update()
{
    const CKaraokeControls* controls = m_actions ? &m_actions->Controls() : nullptr;
    KeyValue()->setText(CKaraokeControls::KeyText(controls ? controls->Key() : 0));
    TempoValue()->setText(CKaraokeControls::TempoText(controls ? controls->Tempo() : 100));
    OffsetValue()->setText(CKaraokeControls::OffsetText(controls ? controls->LyricOffset() : 0));
    KeyValue()->setEnabled(controls && controls->IsAvailable(Control::Key));
    TempoValue()->setEnabled(controls && controls->IsAvailable(Control::Tempo));
    OffsetValue()->setEnabled(controls != nullptr);
    if (!controls)
        return;
    // An unavailable control's buttons carry the reason; its value says the same.
    KeyValue()->setToolTip(controls->IsAvailable(Control::Key) ? StringTable::text(S::KeyValue)
                                                               : StringTable::text(S::KeyUnavailable));
    TempoValue()->setToolTip(controls->IsAvailable(Control::Tempo) ? StringTable::text(S::TempoValue)
                                                                   : StringTable::text(S::TempoUnavailable));
    OffsetValue()->setToolTip(StringTable::format(
        S::OffsetValue, {CKaraokeControls::OffsetText(controls->LyricOffset() - controls->OffsetNudge())}));
}

bool CKaraokeStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && m_actions) {
        CKaraokeControls& controls = m_actions->Controls();
        if (watched == KeyValue() && controls.IsAvailable(Control::Key))
            controls.Reset(Control::Key);
        else if (watched == TempoValue() && controls.IsAvailable(Control::Tempo))
            controls.Reset(Control::Tempo);
        else if (watched == OffsetValue())
            controls.Reset(Control::Offset);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
