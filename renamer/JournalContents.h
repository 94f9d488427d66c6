#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// One move of a run as its journal keeps it.
struct JournalMove {
    enum Kind : char { Plain = 'M', ToTemporary = 'T', FromTemporary = 'F' };
    Kind kind = Plain;
    QString from;
    QString to;
};

// A run's journal as read back: the folder, the moves in the order they were planned, and what
// the records say of each move. Records after a torn or damaged line are not trusted (the state
// of the folder tells the rest); a damaged plan makes the whole journal unusable. The records
// are hints to be checked against the folder, never the last word on it.
class CJournalContents
{
public:
    enum class MoveState {
        Unknown,   // no record: the folder tells
        Begun,     // about to be made (a move out of a temporary name, recorded before it)
        Made,      // made (and so when the last undo started)
        Undoing,   // made when an undo started, which was to put it back
        NotMade,   // refused, declined, or put back
    };

    // None when the bytes are no journal, the plan is incomplete or damaged, the folder is not
    // absolute, or a name is not a plain file name.
    static std::optional<CJournalContents> Parse(const QByteArray& bytes);
    static std::optional<CJournalContents> ReadFile(const QString& path);

    // 1 for journals of Brindles that wrote their records late; their undo records prove little.
    int Version() const { return m_version; }
    const QString& Folder() const { return m_folder; }
    const std::vector<JournalMove>& Moves() const { return m_moves; }
    MoveState State(int move) const { return m_states[size_t(move)]; }
    bool RunEnded() const { return m_runEnded; }
    bool UndoStarted() const { return m_undoStarted; }
    // The run ended, no file was left under a temporary name and no undo was begun: once the
    // window that ran it closes, nothing needs the journal any more.
    bool Settled() const;

private:
    bool ReadHeader(const QByteArray& record);
    bool ReadPlanRecord(const QByteArray& record);
    void ReadProgressRecord(const QByteArray& record);
    void StartUndo();

    int m_version = 0;
    QString m_folder;
    std::vector<JournalMove> m_moves;
    std::vector<MoveState> m_states;
    bool m_planComplete = false;
    bool m_runEnded = false;
    bool m_undoStarted = false;
};
