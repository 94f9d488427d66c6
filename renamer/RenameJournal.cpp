#include "renamer/RenameJournal.h"

#include "renamer/JournalLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr qsizetype kFlushSize = 64 * 1024;
const QString kSuffix = QStringLiteral(".journal");
const QString kPartSuffix = QStringLiteral(".part");

QString& folderOverride()
{
    static QString folder;
    return folder;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QByteArray planText(const QString& folder, const std::vector<JournalMove>& moves)
{
    QByteArray text;
    text.reserve(qsizetype(moves.size()) * 64);
    JournalLine::Append(text, "brindle-journal 2");
    JournalLine::Append(text, "folder " + JournalLine::EncodeName(folder));
    QByteArray record;
    for (const JournalMove& move : moves) {
        record.clear();
        record.append("move ").append(char(move.kind)).append(' ');
        JournalLine::AppendName(record, move.from);
        record.append(' ');
        JournalLine::AppendName(record, move.to);
        JournalLine::Append(text, record);
    }
    JournalLine::Append(text, "plan " + QByteArray::number(qulonglong(moves.size())));
    return text;
}

int openLocked(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

CRenameJournal::~CRenameJournal()
{
    Flush();
    Close();
}

QString CRenameJournal::Folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (QStandardPaths::isTestModeEnabled())
        state = QDir::homePath() + QStringLiteral("/.qttest/state");
    else if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/brindle");
}

void CRenameJournal::SetFolder(const QString& folder)
{
    folderOverride() = folder;
}

std::unique_ptr<CRenameJournal> CRenameJournal::Create(const QString& folder, const std::vector<JournalMove>& moves)
{
    const QString journals = Folder();
    const bool existed = QFileInfo(journals).isDir();
    if (!QDir().mkpath(journals))
        return nullptr;
    // A new folder is made lasting too, or a system crash could take the journal with it.
    if (!existed)
        syncFolder(QFileInfo(journals).absolutePath());
    QFile::setPermissions(journals, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    static int runs = 0;
    const QString path = QStringLiteral("%1/run-%2-%3-%4%5")
                             .arg(journals, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
                             .arg(QCoreApplication::applicationPid())
                             .arg(++runs)
                             .arg(kSuffix);
    // Written whole under another name, then renamed: a journal is never seen half-written.
    const QString part = path + kPartSuffix;
    const int fd = openLocked(part, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0)
        return nullptr;
    const bool written = writeAll(fd, planText(folder, moves)) && ::fdatasync(fd) == 0 &&
                         ::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0 &&
                         syncFolder(journals);
    if (!written) {
        ::unlink(QFile::encodeName(part).constData());
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<CRenameJournal>(new CRenameJournal(fd, path));
}

std::unique_ptr<CRenameJournal> CRenameJournal::Adopt(const QString& path)
{
    const int fd = openLocked(path, O_WRONLY | O_APPEND);
    return fd < 0 ? nullptr : std::unique_ptr<CRenameJournal>(new CRenameJournal(fd, path));
}

std::vector<std::unique_ptr<CRenameJournal>> CRenameJournal::AdoptAbandoned()
{
    std::vector<std::unique_ptr<CRenameJournal>> adopted;
    const QDir journals(Folder());
    const QStringList names = journals.entryList({QStringLiteral("*") + kSuffix, QStringLiteral("*") + kSuffix + kPartSuffix},
                                                 QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        std::unique_ptr<CRenameJournal> journal = Adopt(journals.filePath(name));
        if (!journal)
            continue;
        if (name.endsWith(kPartSuffix))
            journal->Remove();
        else
            adopted.push_back(std::move(journal));
    }
    return adopted;
}

void CRenameJournal::Append(const QByteArray& record)
{
    JournalLine::Append(m_pending, record);
    if (m_pending.size() >= kFlushSize)
        Flush();
}

void CRenameJournal::Record(Event event, int move)
{
    if (event == Event::Done && m_doneCount > 0 && move == m_firstDone + m_doneCount) {
        ++m_doneCount;
        return;
    }
    AppendDoneMoves();
    if (event == Event::Done) {
        m_firstDone = move;
        m_doneCount = 1;
        return;
    }
    static const char* const names[] = {"done ", "kept ", "begin ", "revert ", "reverted "};
    Append(names[int(event)] + QByteArray::number(move));
}

// "done 7" for one move, "done 7-9" for the moves 7, 8 and 9.
void CRenameJournal::AppendDoneMoves()
{
    if (m_doneCount == 0)
        return;
    QByteArray record = "done " + QByteArray::number(m_firstDone);
    if (m_doneCount > 1)
        record += '-' + QByteArray::number(m_firstDone + m_doneCount - 1);
    m_doneCount = 0;
    Append(record);
}

// Not synced to disk: should the end be lost, the next start only offers an undo too many.
void CRenameJournal::RecordRunEnded()
{
    AppendDoneMoves();
    Append("ended");
    Flush();
}

void CRenameJournal::RecordUndoStarted()
{
    AppendDoneMoves();
    Append("undo");
}

void CRenameJournal::Flush()
{
    AppendDoneMoves();
    if (m_fd >= 0 && !m_pending.isEmpty())
        writeAll(m_fd, m_pending);
    m_pending.clear();
}

void CRenameJournal::Sync()
{
    Flush();
    if (m_fd >= 0)
        ::fdatasync(m_fd);
}

void CRenameJournal::Remove()
{
    m_pending.clear();
    m_doneCount = 0;
    // Removed while still locked, so no other Brindle takes it over in between; and for good, so
    // that a system crash does not bring back a run that is settled or undone.
    ::unlink(QFile::encodeName(m_path).constData());
    Close();
    syncFolder(QFileInfo(m_path).absolutePath());
}

void CRenameJournal::SetAside()
{
    ::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_path + QStringLiteral(".damaged")).constData());
    m_pending.clear();
    m_doneCount = 0;
    Close();
}

void CRenameJournal::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
