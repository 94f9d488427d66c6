#include "player/karaoke/KaraokeEditor.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/KaraokeStrings.h"

#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace {

// The inline edit box covers its item and this much around it.
constexpr QMargins kInlineEditMargins(6, 3, 6, 3);

// The x of every character boundary of a word (grapheme clusters), with the boundary indexes.
struct Boundaries {
    std::vector<int> index;
    std::vector<qreal> x;
};

Boundaries BoundariesOf(const QString& word, const QFont& font)
{
    QTextLayout layout(word, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Boundaries boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary()) {
        boundaries.index.push_back(int(at));
        boundaries.x.push_back(line.isValid() ? line.cursorToX(int(at)) : 0);
        if (at >= word.size())
            break;
    }
    return boundaries;
}

} // namespace

CKaraokeEditor::CKaraokeEditor(CKaraokeStatic& display) : QObject(&display), m_display(display) {}

bool CKaraokeEditor::OpenInlineEdit(const KaraokeHit& item)
{
    if (m_display.m_mode != CKaraokeStatic::ModeEdit || !item.block)
        return false;
    const CKaraokeData& data = m_display.Data();
    const QString text =
        item.token < 0 ? data.TagTextOf(item.block->StartTime()) : item.block->Tokens[size_t(item.token)].Text();
    auto* box = new CKaraokeInlineEdit(&m_display);
    box->setFont(m_display.LyricFont());
    box->setText(text);
    box->SetTagFormat([&data](LyricTime time) { return data.TagTextOf(time); });
    m_editedText = text;
    box->setGeometry(
        m_display.ClientRectOf(item).translated(m_display.contentsRect().topLeft()).marginsAdded(kInlineEditMargins));
    box->selectAll();
    connect(box, &CKaraokeInlineEdit::ApplyRequested, this, &CKaraokeEditor::ApplyInlineEdit);
    connect(box, &CKaraokeInlineEdit::CancelRequested, this, &CKaraokeEditor::CancelInlineEdit);
    m_inlineEdit = box;
    m_focusBeforeEdit = m_display.window()->focusWidget();
    m_display.m_mode = CKaraokeStatic::ModeInlineEdit;
    m_edited = item;
    box->show();
    box->setFocus(Qt::MouseFocusReason);
    return true;
}

void CKaraokeEditor::SetFont(const QFont& font)
{
    if (m_inlineEdit)
        m_inlineEdit->setFont(font);
}

void CKaraokeEditor::CancelInlineEdit()
{
    if (m_inlineEdit) {
        CKaraokeInlineEdit* box = m_inlineEdit;
        m_inlineEdit = nullptr;
        box->disconnect(this);
        if (m_display.window()->focusWidget() == box)
            RestoreFocus();
        box->hide();
        box->deleteLater();
    }
    if (m_display.m_mode == CKaraokeStatic::ModeInlineEdit) {
        m_display.m_mode = CKaraokeStatic::ModeEdit;
        m_edited = {};
        m_display.update();
    }
}

void CKaraokeEditor::RestoreFocus()
{
    // Hidden with the focus, the box would hand it to the next control in the tab order: the
    // title box, whose text the next key typed would replace.
    QWidget* target = m_focusBeforeEdit;
    if (target && target->isEnabled() && target->isVisible())
        target->setFocus(Qt::OtherFocusReason);
    else
        m_display.window()->setFocus(Qt::OtherFocusReason);
}

void CKaraokeEditor::ApplyInlineEdit()
{
    if (m_display.m_mode != CKaraokeStatic::ModeInlineEdit || !m_edited.block || !m_inlineEdit)
        return;
    const QString text = m_inlineEdit->text();
    CKaraokeBlock* block = m_edited.block;
    bool changed = false;
    if (text == m_editedText) {
        // Enter on the text as shown: nothing to apply, whatever precision the tag has.
    } else if (m_edited.token >= 0) {
        if (text != block->Tokens[size_t(m_edited.token)].Text())
            changed = CKaraokeData::ReplaceWordText(block, m_edited.token, text);
    } else if (!text.isEmpty()) {
        LyricTime time = 0;
        if (CKaraokeData::ParseTypedTag(text, time) == 0) {
            // The box stays open with the text, so the user can put it right.
            m_inlineEdit->SetKeepOnFocusLoss(true);
            ShowMessageBox(m_display.window(), StringTable::text(KaraokeString::TimeTagFormatWrong),
                           QStringLiteral("ApplyEdit()"), MB_OK | MB_ICONINFORMATION);
            if (m_inlineEdit) {
                m_inlineEdit->SetKeepOnFocusLoss(false);
                m_inlineEdit->setFocus(Qt::OtherFocusReason);
            }
            return;
        }
        changed = time != block->StartTime();
        if (changed)
            block->SetStartTime(time);
    } else if (block->Previous()) {
        changed = m_display.Data().MergeIntoPrevious(block) != nullptr;
    } else {
        changed = block->StartTime() != 0;
        block->SetStartTime(0);
    }
    CancelInlineEdit();
    if (changed)
        m_display.EditChanged();
}

std::optional<LyricTime> CKaraokeEditor::StampTime() const
{
    const std::optional<double> seconds = m_display.m_playhead.EnginePosition();
    if (!seconds)
        return std::nullopt;
    if (!(*seconds > 0))
        return LyricTime(0);
    return LyricTime(std::min(*seconds * 1000.0, double(std::numeric_limits<LyricTime>::max())));
}

bool CKaraokeEditor::StampAt(const QPoint& clientPoint)
{
    if (m_display.m_mode != CKaraokeStatic::ModeEdit)
        return false;
    const auto hit = m_display.HitTest(clientPoint);
    const std::optional<LyricTime> time = StampTime();
    if (!hit || !time)
        return false;
    if (hit->token < 0) {
        if (*time == hit->block->StartTime())
            return false;
        hit->block->SetStartTime(*time);
        m_display.EditChanged();
        return true;
    }
    const CKaraokeToken& word = hit->block->Tokens[size_t(hit->token)];
    const int x = clientPoint.x() - m_display.ClientRectOf(*hit).left();
    int charIndex = 0;
    if (clientPoint.x() >= m_display.Margins().x())
        charIndex = x >= word.Width ? word.Length() : SplitIndexAt(word.Text(), x);
    m_display.Data().SplitBlock(hit->block, hit->token, charIndex, *time);
    m_display.EditChanged();
    return true;
}

int CKaraokeEditor::SplitIndexAt(const QString& word, int x) const
{
    if (x <= 0 || word.isEmpty())
        return 0;
    const Boundaries boundaries = BoundariesOf(word, m_display.LyricFont());
    const auto reached = std::lower_bound(boundaries.x.begin(), boundaries.x.end(), qreal(x));
    if (reached == boundaries.x.end())
        return int(word.size());
    size_t chosen = size_t(reached - boundaries.x.begin());
    // The nearer of the boundary reached and the one before it; the later one on a tie.
    if (chosen > 0 && x - boundaries.x[chosen - 1] < *reached - x)
        --chosen;
    // Characters of no width after the boundary stay with the part before it.
    while (chosen + 1 < boundaries.x.size() && boundaries.x[chosen + 1] == boundaries.x[chosen])
        ++chosen;
    return boundaries.index[chosen];
}
