#include "player/karaoke/KaraokeInlineEdit.h"

#include "common/ui/DialogTemplate.h"
#include "player/karaoke/KaraokeBlock.h"
#include "player/karaoke/KaraokeData.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

constexpr LyricTime kStep = 100;

} // namespace

CKaraokeInlineEdit::CKaraokeInlineEdit(QWidget* parent) : QLineEdit(parent)
{
    SetDlgCtrlId(this, ControlId);
    setFrame(true);
}

std::optional<LyricTime> CKaraokeInlineEdit::SteppedTagTime(QStringView text, bool up)
{
    LyricTime time = 0;
    if (text.isEmpty() || CKaraokeData::ParseTypedTag(text, time) != text.size())
        return std::nullopt;
    if (up)
        return time > UINT32_MAX - kStep ? time : (time / kStep + 1) * kStep;
    const LyricTime ceiling = (time + kStep - 1) / kStep * kStep;
    return ceiling >= kStep ? ceiling - kStep : 0;
}

bool CKaraokeInlineEdit::event(QEvent* event)
{
    // Tab and Shift+Tab would move the focus out of the box; the box keeps them.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CKaraokeInlineEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: emit ApplyRequested(); break;
    case Qt::Key_Escape: emit CancelRequested(); break;
    case Qt::Key_Up: StepTag(true); break;
    case Qt::Key_Down: StepTag(false); break;
    default: QLineEdit::keyPressEvent(event); break;
    }
    // Every key stays in the box: none reaches the window's buttons or its Escape.
    event->accept();
}

void CKaraokeInlineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The box's own context menu takes the focus for a moment: that is not leaving the box.
    if (!m_keepOnFocusLoss && event->reason() != Qt::PopupFocusReason)
        emit CancelRequested();
}

void CKaraokeInlineEdit::StepTag(bool up)
{
    if (const auto time = SteppedTagTime(text(), up)) {
        setText(m_tagFormat ? m_tagFormat(*time) : CKaraokeBlock::FormatTagText(*time));
        selectAll();
    }
}
