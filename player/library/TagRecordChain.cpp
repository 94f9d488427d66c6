#include "player/library/TagRecordChain.h"

#include <algorithm>

CTagRecord* CTagRecordChain::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_records[size_t(index)].get();
}

CTagRecord& CTagRecordChain::append()
{
    auto record = std::make_unique<CTagRecord>();
    if (!m_records.empty())
        record->insertAfter(*m_records.back());
    m_records.push_back(std::move(record));
    return *m_records.back();
}

void CTagRecordChain::clear()
{
    for (auto& record : m_records)
        record->Previous = record->Next = nullptr;
    m_records.clear();
}

bool CTagRecordChain::move(int from, int to)
{
    if (from < 0 || to < 0 || from >= count() || to >= count())
        return false;
    if (from == to)
        return true;
    CTagRecord& moved = *m_records[size_t(from)];
    CTagRecord& anchor = *m_records[size_t(to)];
    moved.unlink();
    if (to < from)
        moved.insertBefore(anchor);
    else
        moved.insertAfter(anchor);
    const auto first = m_records.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    return true;
}
