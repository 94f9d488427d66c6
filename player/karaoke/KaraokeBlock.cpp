#include "player/karaoke/KaraokeBlock.h"

CKaraokeBlock::CKaraokeBlock(LyricTime startTime)
{
    SetStartTime(startTime);
}

CKaraokeBlock::~CKaraokeBlock()
{
    // Unchain iteratively: a recursive destruction of a long chain would exhaust the stack.
    std::unique_ptr<CKaraokeBlock> rest = std::move(m_next);
    while (rest)
        rest = std::move(rest->m_next);
}

QString CKaraokeBlock::FormatTagText(LyricTime time)
{
    return QString::asprintf("[%02u:%02u:%02u]", time / 60000u, time % 60000u / 1000u, time % 1000u / 10u);
}

void CKaraokeBlock::SetStartTime(LyricTime time)
{
    m_startTime = time;
    m_tagText = FormatTagText(time);
}

CKaraokeBlock* CKaraokeBlock::InsertAfter(std::unique_ptr<CKaraokeBlock> block)
{
    Q_ASSERT(block && !block->m_next && !block->m_previous);
    block->m_next = std::move(m_next);
    if (block->m_next)
        block->m_next->m_previous = block.get();
    block->m_previous = this;
    m_next = std::move(block);
    return m_next.get();
}

std::unique_ptr<CKaraokeBlock> CKaraokeBlock::DetachNext()
{
    std::unique_ptr<CKaraokeBlock> detached = std::move(m_next);
    if (!detached)
        return nullptr;
    m_next = std::move(detached->m_next);
    if (m_next)
        m_next->m_previous = this;
    detached->m_previous = nullptr;
    return detached;
}
