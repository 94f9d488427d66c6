#include "renamer/FileRenamer.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileNameCheck.h"
#include "renamer/RunUndo.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QMessageBox>

int CFileRenamer::Show(const QString& text, const QString& caption, unsigned flags) const
{
    if (m_declining)
        return (flags & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
    // The run shows a wait cursor; a question is answered with the normal one.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    const int answer = ShowMessageBox(m_messageParent, text, caption, flags);
    if (waiting)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    return answer;
}

bool CFileRenamer::IsFileNameCorrect(const QString& name) const
{
    if (FileNameCheck::CheckOldName(name) == FileNameCheck::Problem::None)
        return true;
    Show(StringTable::format(BrindleStrings::IdsInvalidName, {name}), QStringLiteral("IsFileNameCorrect"),
         MB_OK | MB_ICONINFORMATION);
    return false;
}

void CFileRenamer::ReportInvalidName(const QString& name)
{
    Show(StringTable::format(BrindleStrings::IdsInvalidName, {name}), QStringLiteral("IsFileNameCorrect"),
         MB_OK | MB_ICONINFORMATION);
}

void CFileRenamer::ReportMissing(const QString& name)
{
    Show(StringTable::format(BrindleStrings::IdsFileNotFound, {name}), QStringLiteral("Rename"), MB_OK | MB_ICONERROR);
}

bool CFileRenamer::AskOverwrite(const QString& name)
{
    return Show(StringTable::format(BrindleStrings::IdsOverwrite, {name}), QStringLiteral("Rename"),
                MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CFileRenamer::DeclineQuestions()
{
    m_declining = true;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->close();
}

QString CFileRenamer::TemporaryTag()
{
    return QStringLiteral("brindle-%1").arg(QCoreApplication::applicationPid());
}

int CFileRenamer::RenameOne(const QString& folder, const QString& oldName, const QString& newName)
{
    const std::vector<RenamePair> rows{{oldName, newName}};
    CFolderIndex index(folder);
    const CRenamePlan plan(rows, index, TemporaryTag());
    CRenameRun run(folder, rows, plan, std::move(index), *this, nullptr);
    run.Execute();
    return run.Outcome(0);
}

RunResult CFileRenamer::RunList(const QString& folder, const std::vector<RenamePair>& rows,
                                std::unique_ptr<CRenameJournal>& journal)
{
    CFolderIndex index(folder);
    const CRenamePlan plan(rows, index, TemporaryTag());
    journal.reset();
    if (plan.MoveCount() > 0) {
        journal = CRenameJournal::Create(folder, CRenameRun::JournalMoves(plan));
        if (!journal && Show(StringTable::format(BrindleStrings::IdsNoJournal, {CRenameJournal::Folder()}),
                             QStringLiteral("Brindle"), MB_YESNO | MB_ICONWARNING) != IDYES)
            return {};
    }
    CRenameRun run(folder, rows, plan, std::move(index), *this, journal.get());
    run.SetProgress(m_progress);
    run.Execute();
    if (journal)
        journal->RecordRunEnded();
    return {true, run.RenamedCount(), run.Failures(), QString()};
}

RunResult CFileRenamer::Undo(CRenameJournal& journal, bool& complete)
{
    journal.Flush();
    const std::optional<CJournalContents> contents = CJournalContents::ReadFile(journal.Path());
    complete = false;
    if (!contents)
        return {};
    CRunUndo undo(*contents, journal, *this);
    undo.Execute();
    complete = undo.Complete();
    return {true, undo.RestoredCount(), undo.Failures(), undo.FolderUnavailable() ? contents->Folder() : QString()};
}
