#pragma once

#include "player/library/TagRecord.h"

#include <memory>
#include <vector>

// The tag records of one playlist slot, record i for playlist item i. Owns its records and keeps
// their Previous/Next links in playlist order, so the chain can be walked or indexed.
class CTagRecordChain
{
public:
    int count() const { return int(m_records.size()); }
    // nullptr for an index out of range.
    CTagRecord* at(int index) const;
    CTagRecord* head() const { return m_records.empty() ? nullptr : m_records.front().get(); }

    // Appends an empty record and returns it.
    CTagRecord& append();
    void clear();
    // Takes every record out of the chain (unlinked) and hands them to the caller.
    std::vector<std::unique_ptr<CTagRecord>> release();
    // Deletes record `index`, its neighbours linked to each other.
    bool remove(int index);
    // Moves record `from` in front of record `to` (to < from) or behind it (to > from).
    bool move(int from, int to);
    // Record i becomes the one that was at order[i] (every index once), links renewed.
    bool reorder(const std::vector<int>& order);

private:
    std::vector<std::unique_ptr<CTagRecord>> m_records;
};
