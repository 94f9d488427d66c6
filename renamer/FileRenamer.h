#pragma once

#include "renamer/RenameJournal.h"
#include "renamer/RenameList.h"
#include "renamer/RenameQuestions.h"
#include "renamer/RenameRun.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

// What a run or an undo did, for its summary.
struct RunResult {
    bool started = false;   // false when the user chose not to run without a journal
    int count = 0;          // files renamed, or put back
    std::vector<RunFailure> failures;
    QString unavailableFolder;   // the folder of an undo that could not open it (nothing was tried)
};

// Renames the files of a folder by a list, with the checks, messages and questions of a batch
// run, and puts a run back from its journal. Nothing is ever renamed outside the folder: the
// folder must be an absolute path, and a name may be neither a path nor "." or "..".
class CFileRenamer : public IRenameQuestions
{
public:
    explicit CFileRenamer(QWidget* messageParent = nullptr) : m_messageParent(messageParent) {}

    // False (after message 107) when the name holds one of \ / : , ; * ? " < > | or is no
    // file name at all (empty, "." or "..").
    bool IsFileNameCorrect(const QString& name) const;
    // One row on its own, as a run of one row without a journal; its RenameOutcome.
    int RenameOne(const QString& folder, const QString& oldName, const QString& newName);

    // A run over the rows in the folder. Its journal (null when the user ran without one) is
    // the way to undo it.
    RunResult RunList(const QString& folder, const std::vector<RenamePair>& rows,
                      std::unique_ptr<CRenameJournal>& journal);
    // Puts the journal's run back. False in result.started when the journal cannot be read.
    RunResult Undo(CRenameJournal& journal, bool& complete);

    // Called after each move made during a run, with the number made so far.
    void SetProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }
    // From now on the questions are answered No and the messages are not shown (the program is
    // ending); a question on screen is closed as No.
    void DeclineQuestions();

    void ReportInvalidName(const QString& name) override;
    void ReportMissing(const QString& name) override;
    bool AskOverwrite(const QString& name) override;

    // The temporary names of this program's runs: "." + tag + "-" + a number.
    static QString TemporaryTag();

private:
    int Show(const QString& text, const QString& caption, unsigned flags) const;

    QWidget* m_messageParent;
    std::function<void(int)> m_progress;
    bool m_declining = false;
};
