#pragma once

#include <QString>

// Renames inside one folder by plain file names. The folder is opened once, so every rename
// happens in that very folder even should its path be renamed or replaced meanwhile.
class CFileMover
{
public:
    enum class Replace { Never, Allowed };

    // A folder that is not an absolute path is never opened: every rename then fails.
    explicit CFileMover(const QString& folder);
    ~CFileMover();
    CFileMover(const CFileMover&) = delete;
    CFileMover& operator=(const CFileMover&) = delete;

    bool IsOpen() const { return m_folder >= 0; }
    // 0 when the file now has the new name, else the error number. Replace::Never keeps an
    // entry that holds the new name and gives EEXIST, even one that appeared a moment ago.
    int Rename(const QString& from, const QString& to, Replace replace) const;

    // Why a rename failed, for the summary.
    static QString ErrorText(int error);

private:
    int RenameKeepingTarget(const char* from, const char* to) const;
    bool SameEntry(const char* first, const char* second) const;

    int m_folder = -1;
    int m_openError = 0;
    // The names' bytes, encoded in place for each rename (a run makes tens of thousands).
    mutable QByteArray m_fromName;
    mutable QByteArray m_toName;
};
