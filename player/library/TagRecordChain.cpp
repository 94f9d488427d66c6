#include "player/library/TagRecordChain.h"

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
    auto owned = std::move(m_records[size_t(from)]);
    m_records.erase(m_records.begin() + from);
    m_records.insert(m_records.begin() + to, std::move(owned));
    return true;
}
