#include "renamer/JournalContents.h"

#include "renamer/FileNameCheck.h"
#include "renamer/JournalLine.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

constexpr char kHeader[] = "brindle-journal ";
constexpr int kNewestVersion = 2;
constexpr qint64 kMaximumSize = 512 * 1024 * 1024;

bool isPlainName(const QString& name)
{
    return FileNameCheck::CheckOldName(name) == FileNameCheck::Problem::None;
}

std::optional<JournalMove> parseMove(const QList<QByteArray>& fields)
{
    if (fields.size() != 4 || fields[1].size() != 1)
        return std::nullopt;
    const char kind = fields[1][0];
    if (kind != JournalMove::Plain && kind != JournalMove::ToTemporary && kind != JournalMove::FromTemporary)
        return std::nullopt;
    JournalMove move{JournalMove::Kind(kind), JournalLine::DecodeName(fields[2]), JournalLine::DecodeName(fields[3])};
    if (!isPlainName(move.from) || !isPlainName(move.to) || move.from == move.to)
        return std::nullopt;
    return move;
}

} // namespace

std::optional<CJournalContents> CJournalContents::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaximumSize)
        return std::nullopt;
    return Parse(file.readAll());
}

std::optional<CJournalContents> CJournalContents::Parse(const QByteArray& bytes)
{
    CJournalContents contents;
    qsizetype start = 0;
    int lineNumber = 0;
    for (qsizetype end; (end = bytes.indexOf('\n', start)) >= 0; start = end + 1, ++lineNumber) {
        const std::optional<QByteArray> record = JournalLine::Record(bytes.mid(start, end - start));
        if (!contents.m_planComplete) {
            const bool header = lineNumber == 0;
            if (!record || (header ? !contents.ReadHeader(*record) : !contents.ReadPlanRecord(*record)))
                return std::nullopt;
            continue;
        }
        if (!record)
            break;
        contents.ReadProgressRecord(*record);
    }
    if (!contents.m_planComplete)
        return std::nullopt;
    return contents;
}

bool CJournalContents::ReadHeader(const QByteArray& record)
{
    if (!record.startsWith(kHeader))
        return false;
    bool ok = false;
    m_version = record.mid(qsizetype(sizeof kHeader) - 1).toInt(&ok);
    return ok && m_version >= 1 && m_version <= kNewestVersion;
}

bool CJournalContents::ReadPlanRecord(const QByteArray& record)
{
    const QList<QByteArray> fields = record.split(' ');
    if (fields[0] == "folder" && fields.size() == 2 && m_folder.isEmpty() && m_moves.empty()) {
        m_folder = JournalLine::DecodeName(fields[1]);
        return QDir::isAbsolutePath(m_folder);
    }
    if (fields[0] == "move" && !m_folder.isEmpty()) {
        const std::optional<JournalMove> move = parseMove(fields);
        if (move)
            m_moves.push_back(*move);
        return move.has_value();
    }
    if (fields[0] == "plan" && fields.size() == 2 && !m_folder.isEmpty()) {
        bool ok = false;
        m_planComplete = fields[1].toLongLong(&ok) == qint64(m_moves.size()) && ok;
        m_states.assign(m_moves.size(), MoveState::Unknown);
        return m_planComplete;
    }
    return false;
}

void CJournalContents::ReadProgressRecord(const QByteArray& record)
{
    const QList<QByteArray> fields = record.split(' ');
    if (fields.size() == 1) {
        m_runEnded |= fields[0] == "ended";
        if (fields[0] == "undo")
            StartUndo();
        return;
    }
    if (fields.size() != 2)
        return;
    // One move, or (for "done") a range of them: "done 7-9".
    const QList<QByteArray> range = fields[1].split('-');
    const bool rangeAllowed = range.size() == 1 || (range.size() == 2 && fields[0] == "done");
    bool ok = false;
    bool lastOk = true;
    const qint64 move = range.front().toLongLong(&ok);
    const qint64 last = range.size() == 2 ? range.back().toLongLong(&lastOk) : move;
    if (!rangeAllowed || !ok || !lastOk || move < 0 || last < move || last >= qint64(m_moves.size()))
        return;
    MoveState& state = m_states[size_t(move)];
    if (fields[0] == "done")
        std::fill(m_states.begin() + move, m_states.begin() + last + 1, MoveState::Made);
    else if (fields[0] == "begin")
        state = MoveState::Begun;
    else if (fields[0] == "kept" || fields[0] == "reverted")
        state = MoveState::NotMade;
    else if (fields[0] == "revert")
        state = MoveState::Undoing;
}

// An undo restates every move's state as it starts. An older Brindle did not: from its undo on,
// any move that was made may have been put back, its record lost.
void CJournalContents::StartUndo()
{
    m_undoStarted = true;
    if (m_version >= 2)
        return;
    for (MoveState& state : m_states)
        if (state == MoveState::Made || state == MoveState::Begun)
            state = MoveState::Undoing;
}

bool CJournalContents::Settled() const
{
    if (!m_runEnded || m_undoStarted)
        return false;
    QSet<QString> temporaryNames;
    for (size_t move = 0; move < m_moves.size(); ++move) {
        const JournalMove& step = m_moves[move];
        if (step.kind == JournalMove::ToTemporary && m_states[move] != MoveState::NotMade)
            temporaryNames.insert(step.to);
        else if (step.kind == JournalMove::FromTemporary && m_states[move] == MoveState::Made)
            temporaryNames.remove(step.from);
    }
    return temporaryNames.isEmpty();
}
