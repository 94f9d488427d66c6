#pragma once

#include "renamer/FolderIndex.h"

#include <QString>

#include <optional>

class QWidget;

// Outcome of renaming one file.
enum RenameOutcome {
    RenameDone = 0,
    RenameSamePath = -1,     // old and new path are the same text
    RenameInvalid = -2,      // a name is invalid, or the old file does not exist
    RenameDeclined = -3,     // the new name exists and the user kept it
    RenameFailed = -4,       // the file system refused the move
};

// Renames one file of a folder with the checks and questions of a batch run. Nothing is ever
// renamed outside the folder: the folder must be an absolute path, and a name may be neither
// a path nor "." or "..".
class CFileRenamer
{
public:
    explicit CFileRenamer(QWidget* messageParent = nullptr) : m_messageParent(messageParent) {}

    // False (after message 107) when the name holds one of \ / : , ; * ? " < > | or is no
    // file name at all (empty, "." or "..").
    bool IsFileNameCorrect(const QString& name) const;
    int RenameOne(const QString& folder, const QString& oldName, const QString& newName);

    // Between these, the folder's names are read once instead of once per row; the run's own
    // renames keep them current.
    void StartRun(const QString& folder);
    void FinishRun() { m_index.reset(); }

    // folder + "/" + name, the path a name stands for.
    static QString JoinPath(const QString& folder, const QString& name);
    // Whether the folder holds an entry of exactly that name (a dangling link counts).
    static bool EntryExists(const QString& folder, const QString& name);
    // Whether the folder holds an entry whose name equals the name without regard to case.
    bool EntryExistsIgnoringCase(const QString& folder, const QString& name) const;

private:
    int Show(const QString& text, const QString& caption, unsigned flags) const;

    QWidget* m_messageParent;
    std::optional<CFolderIndex> m_index;
};
