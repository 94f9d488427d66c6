#include "renamer/MadeMoves.h"

#include <QHash>
#include <QSet>

CMadeMoves::CMadeMoves(const CJournalContents& contents, const std::function<bool(const QString&)>& exists)
    : m_contents(contents), m_judgments(contents.Moves().size(), Judgment::NotMade),
      m_first(contents.Moves().size(), 0)
{
    // The names as they will be once the newer moves are put back.
    QHash<QString, bool> putBack;
    const auto present = [&](const QString& name) {
        const auto known = putBack.constFind(name);
        return known != putBack.cend() ? *known : exists(name);
    };
    QSet<QString> usedByNewer;
    for (int move = int(contents.Moves().size()); move-- > 0;) {
        const JournalMove& step = contents.Moves()[size_t(move)];
        const Judgment judgment = Judge(move, present(step.to), present(step.from));
        m_judgments[size_t(move)] = judgment;
        if (!ToPutBack(move))
            continue;
        m_first[size_t(move)] = step.kind == JournalMove::FromTemporary && !usedByNewer.contains(step.to);
        putBack.insert(step.to, false);
        putBack.insert(step.from, true);
        usedByNewer.insert(step.to);
        usedByNewer.insert(step.from);
    }
}

bool CMadeMoves::ToPutBack(int move) const
{
    const Judgment judgment = m_judgments[size_t(move)];
    return judgment == Judgment::Made || judgment == Judgment::OldNameTaken;
}

CMadeMoves::Judgment CMadeMoves::Judge(int move, bool toPresent, bool fromPresent) const
{
    using State = CJournalContents::MoveState;
    const JournalMove& step = m_contents.Moves()[size_t(move)];
    const State state = m_contents.State(move);
    switch (step.kind) {
    case JournalMove::ToTemporary:
        // No one else uses the temporary name: a file there is the one this move put there,
        // whatever the records say.
        return toPresent ? Judgment::Made : Judgment::NotMade;
    case JournalMove::FromTemporary: {
        // An older journal may have lost the record that this move was put back.
        const bool recorded = state == State::Begun || state == State::Made ||
                              (state == State::Undoing && m_contents.Version() >= 2);
        if (toPresent && !fromPresent && recorded)
            return Judgment::Made;
        break;
    }
    case JournalMove::Plain:
        if (state == State::NotMade)
            return Judgment::NotMade;
        if (toPresent && !fromPresent)
            return Judgment::Made;
        // A file that appeared under the old name since: the undo asks before replacing it.
        if (toPresent && state == State::Made)
            return Judgment::OldNameTaken;
        break;
    }
    return state == State::Made && !toPresent && !fromPresent ? Judgment::Missing : Judgment::NotMade;
}
