#include "player/library/TagRecordChain.h"

#include <algorithm>
#include <utility>

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
    release();
}

std::vector<std::unique_ptr<CTagRecord>> CTagRecordChain::release()
{
    for (auto& record : m_records)
        record->Previous = record->Next = nullptr;
    return std::exchange(m_records, {});
}

bool CTagRecordChain::remove(int index)
{
    if (index < 0 || index >= count())
        return false;
    m_records.erase(m_records.begin() + index); // the record unlinks itself
    return true;
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

bool CTagRecordChain::reorder(const std::vector<int>& order)
{
    if (int(order.size()) != count())
        return false;
    std::vector<bool> taken(order.size());
    for (const int from : order) {
        if (from < 0 || from >= count() || taken[size_t(from)])
            return false;
        taken[size_t(from)] = true;
    }
    std::vector<std::unique_ptr<CTagRecord>> records(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        records[i] = std::move(m_records[size_t(order[i])]);
    m_records = std::move(records);
    for (size_t i = 0; i < m_records.size(); ++i) {
        m_records[i]->Previous = i > 0 ? m_records[i - 1].get() : nullptr;
        m_records[i]->Next = i + 1 < m_records.size() ? m_records[i + 1].get() : nullptr;
    }
    return true;
}
