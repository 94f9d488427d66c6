#include "renamer/FileRenamer.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"

#include <QDir>
#include <QFile>
#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr char kForbiddenCharacters[] = "\\/:,;*?\"<>|";

bool isAbsoluteFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir::isAbsolutePath(folder);
}

} // namespace

int CFileRenamer::Show(const QString& text, const QString& caption, unsigned flags) const
{
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
    const bool forbidden = std::any_of(name.begin(), name.end(), [](QChar c) {
        // strchr also finds the terminating NUL: a NUL cannot be part of a file name either.
        return c.unicode() < 0x80 && std::strchr(kForbiddenCharacters, c.toLatin1()) != nullptr;
    });
    const bool notAName = name.isEmpty() || name == "." || name == "..";
    if (!forbidden && !notAName)
        return true;
    Show(StringTable::format(BrindleStrings::IdsInvalidName, {name}), QStringLiteral("IsFileNameCorrect"),
         MB_OK | MB_ICONINFORMATION);
    return false;
}

QString CFileRenamer::JoinPath(const QString& folder, const QString& name)
{
    return folder + '/' + name;
}

bool CFileRenamer::EntryExists(const QString& folder, const QString& name)
{
    if (!isAbsoluteFolder(folder))
        return false;
    struct stat status {};
    return ::lstat(QFile::encodeName(JoinPath(folder, name)).constData(), &status) == 0;
}

void CFileRenamer::StartRun(const QString& folder)
{
    m_index.reset();
    if (isAbsoluteFolder(folder))
        m_index.emplace(folder);
}

bool CFileRenamer::EntryExistsIgnoringCase(const QString& folder, const QString& name) const
{
    if (!isAbsoluteFolder(folder))
        return false;
    if (m_index && m_index->Folder() == folder)
        return m_index->ContainsIgnoringCase(name);
    return CFolderIndex(folder).ContainsIgnoringCase(name);
}

int CFileRenamer::RenameOne(const QString& folder, const QString& oldName, const QString& newName)
{
    const QString oldPath = JoinPath(folder, oldName);
    const QString newPath = JoinPath(folder, newName);
    if (oldPath == newPath)
        return RenameSamePath;
    if (!IsFileNameCorrect(oldName) || !IsFileNameCorrect(newName))
        return RenameInvalid;
    const QString renameCaption = QStringLiteral("Rename");
    if (!EntryExists(folder, oldName)) {
        Show(StringTable::format(BrindleStrings::IdsFileNotFound, {oldName}), renameCaption, MB_OK | MB_ICONERROR);
        return RenameInvalid;
    }
    // Users of a list expect a change of letter case only to be asked about too.
    if (EntryExists(folder, newName) || EntryExistsIgnoringCase(folder, newName)) {
        const int answer = Show(StringTable::format(BrindleStrings::IdsOverwrite, {newName}), renameCaption,
                                MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES)
            return RenameDeclined;
    }
    const bool moved = std::rename(QFile::encodeName(oldPath).constData(), QFile::encodeName(newPath).constData()) == 0;
    if (!moved)
        return RenameFailed;
    if (m_index && m_index->Folder() == folder)
        m_index->Renamed(oldName, newName);
    return RenameDone;
}
