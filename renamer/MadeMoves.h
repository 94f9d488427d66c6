#pragma once

#include "renamer/JournalContents.h"

#include <QString>

#include <functional>
#include <vector>

// Which moves of a journal's run are made now, judged from the folder's names first and checked
// against the records. The moves are judged newest first, each as if the newer ones had been
// put back already, which is the order an undo takes. A move is made when its new name is there
// and its old name is free; only a move out of a temporary name needs a record besides, because
// a cycle that went all the way round leaves the same names as one that never started (taking
// it for not made then leaves its files under their new names, which loses nothing).
class CMadeMoves
{
public:
    enum class Judgment {
        NotMade,
        Made,
        OldNameTaken,   // recorded as made, its file under the new name, but the old name is taken now
        Missing,        // recorded as made, yet neither name is there
    };

    // exists: whether the folder holds an entry spelled exactly so.
    CMadeMoves(const CJournalContents& contents, const std::function<bool(const QString&)>& exists);

    Judgment Of(int move) const { return m_judgments[size_t(move)]; }
    // Made (or made with the old name taken): its file is to go back.
    bool ToPutBack(int move) const;
    // A move out of a temporary name whose new name no newer move to put back uses: it can be put
    // back before all of those, so that its record is safe on disk before its cycle is put back.
    bool PutBackFirst(int move) const { return m_first[size_t(move)] != 0; }

private:
    Judgment Judge(int move, bool toPresent, bool fromPresent) const;

    const CJournalContents& m_contents;
    std::vector<Judgment> m_judgments;
    std::vector<char> m_first;
};
