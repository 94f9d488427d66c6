#include "player/library/M3uList.h"

#include "platform/text/CodePage.h"
#include "platform/text/NativeName.h"
#include "platform/text/TextFile.h"
#include "platform/text/Utf8Check.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// "scheme://": a URL. A drive letter ("C:\") has a one-letter scheme and no "//".
bool isUrl(const QString& line)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    return scheme.match(line).hasMatch();
}

QString localPathOf(const QUrl& url)
{
    // "file://localhost/x" is the local "/x"; a file on another host is not reachable here.
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    QUrl local = url;
    local.setHost(QString());
    const QString path = local.toLocalFile();
    return path.startsWith(u'/') ? path : QString();
}

} // namespace

QStringList CM3uList::Entries(const QByteArray& bytes, const QString& folder, bool isM3u8, int ansiCodePage,
                              const Exists& exists)
{
    const bool marked = bytes.startsWith(kUtf8Mark);
    const QByteArray text = marked ? bytes.mid(kUtf8Mark.size()) : bytes;
    const int codePage = CodePageOf(bytes, isM3u8, ansiCodePage);
    const QStringList lines = TextFile::splitLines(text, codePage);
    // The same lines as the bytes they were, for names that are not UTF-8.
    const QStringList rawLines =
        codePage == CodePage::Utf8 || !exists ? lines : NativeName::fromBytes(text).split(u'\n');
    QStringList paths;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        // Blank lines would name the folder itself.
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        QString path = EntryPath(line, folder);
        if (QString raw = rawLines.value(i); raw != lines[i] && NativeName::hasRawBytes(raw)) {
            if (raw.endsWith(u'\r'))
                raw.chop(1);
            if (const QString rawPath = EntryPath(raw, folder); !rawPath.isEmpty() && exists(rawPath))
                path = rawPath;
        }
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

QString CM3uList::EntryPath(const QString& line, const QString& folder)
{
    if (line.startsWith(u'/'))
        return line;
    if (line.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return localPathOf(QUrl(line));
    if (isUrl(line))
        return line;
    const QString joined = folder.endsWith(u'/') ? folder + line : folder + u'/' + line;
    return QDir::cleanPath(joined);
}

int CM3uList::CodePageOf(const QByteArray& bytes, bool isM3u8, int ansiCodePage)
{
    if (isM3u8 || bytes.startsWith(kUtf8Mark) || Utf8Check::isMultiByteUtf8(bytes))
        return CodePage::Utf8;
    return ansiCodePage;
}
