#include "player/karaoke/SavedLyricsFolder.h"

#include "common/ui/PathParts.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "player/karaoke/KaraokeData.h"

#include <QDir>
#include <QStandardPaths>

namespace {

const QString kExtension = QStringLiteral(".lrc");
// Bytes of a file name on Linux file systems, less room for the extension and a save's
// temporary suffix.
constexpr qsizetype kMaxNameBytes = 255 - 4 - 16;

bool isForbidden(QChar c)
{
    return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

QString withoutDotRuns(QString name)
{
    while (name.contains(QLatin1String("..")))
        name.replace(QLatin1String(".."), QLatin1String("_"));
    return name;
}

// Cut at a character boundary so the UTF-8 name fits.
QString fitted(const QString& name)
{
    QString cut = name;
    while (NativeName::toBytes(cut).size() > kMaxNameBytes) {
        cut.chop(1);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
    }
    return cut;
}

} // namespace

QString CSavedLyricsFolder::Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sonavel/lyrics");
}

QString CSavedLyricsFolder::FileName(const QString& artist, const QString& title)
{
    QString name = artist.trimmed().isEmpty() ? title.trimmed() : artist.trimmed() + QStringLiteral(" - ") + title.trimmed();
    for (QChar& c : name)
        if (isForbidden(c))
            c = u'_';
    name = withoutDotRuns(name);
    // No hidden file, and no name the shell or the file system treats specially.
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    name = fitted(name).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name + kExtension;
}

QString CSavedLyricsFolder::PathFor(const QString& artist, const QString& title)
{
    return Folder() + u'/' + FileName(artist, title);
}

QString CSavedLyricsFolder::TitleOrFileName(const QString& trackPath, const QString& title)
{
    return title.trimmed().isEmpty() ? CPathParts(trackPath).Title : title;
}

std::optional<QString> CSavedLyricsFolder::FindLyrics(const QString& trackPath, const QString& artist,
                                                      const QString& title)
{
    if (auto beside = CKaraokeData::FindKaraokeFile(trackPath))
        return beside;
    const QString saved = PathFor(artist, TitleOrFileName(trackPath, title));
    if (NativeFile::isFile(saved))
        return saved;
    return std::nullopt;
}
