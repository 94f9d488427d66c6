#include "player/karaoke/KaraokeData.h"

#include "common/ui/PathParts.h"
#include "platform/shell/ShortcutFile.h"
#include "platform/text/CodePage.h"
#include "platform/text/TextFile.h"
#include "player/karaoke/KaraokeParser.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kLyricExtensions[] = {QStringLiteral("kra"), QStringLiteral("lrc"), QStringLiteral("txt")};
const QString kShortcutSuffix = QStringLiteral(".lnk");
const QString kLineEnd = QStringLiteral("\r\n");

QString lyricPathFor(const CPathParts& track, const QString& extension)
{
    CPathParts lyric;
    lyric.Folder = track.Folder;
    lyric.Title = track.Title;
    lyric.Extension = extension;
    return lyric.Path();
}

bool isExistingFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

std::optional<QString> shortcutTarget(const QString& shortcutPath)
{
    CShortcutFile shortcut;
    if (!shortcut.Read(shortcutPath) || !shortcut.TargetExists() || shortcut.TargetIsDirectory())
        return std::nullopt;
    return shortcut.TargetPath();
}

QString decodeUtf16LE(const char* data, qsizetype size)
{
    QString text(size / 2, Qt::Uninitialized);
    QChar* out = text.data();
    const auto* in = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i + 1 < size; i += 2)
        *out++ = QChar(char16_t(in[i] | in[i + 1] << 8));
    return text;
}

QByteArray encodeUtf16LEWithMark(const QString& text)
{
    return QByteArrayLiteral("\xFF\xFE") + CodePage::fromUnicode(text, CodePage::Utf16LE);
}

QString decodeLyricBytes(const QByteArray& bytes, int& codePage)
{
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) {
        codePage = 0;
        return decodeUtf16LE(bytes.constData() + 2, bytes.size() - 2);
    }
    if (codePage != 0)
        return CodePage::toUnicode(bytes, codePage);
    return decodeUtf16LE(bytes.constData(), bytes.size());
}

void appendHeaderLine(QString& text, QStringView key, const QString& value)
{
    text += key;
    text += u'=';
    text += value;
    text += kLineEnd;
}

void appendTitleAndArtist(QString& text, const QString& title, const QString& artist)
{
    if (!title.isEmpty())
        appendHeaderLine(text, u"@Title", title);
    if (!artist.isEmpty())
        appendHeaderLine(text, u"@Artist", artist);
}

void appendBlock(QString& text, const CKaraokeBlock& block)
{
    if (block.Previous() || block.StartTime() != 0 || !block.Tokens.empty())
        text += block.TagText();
    for (const CKaraokeToken& token : block.Tokens)
        text += token.IsLineBreak() ? kLineEnd : token.Text();
}

} // namespace

CKaraokeData::CKaraokeData() = default;
CKaraokeData::~CKaraokeData() = default;

std::optional<QString> CKaraokeData::FindKaraokeFile(const QString& trackPath)
{
    const CPathParts track(trackPath);
    for (const QString& extension : kLyricExtensions) {
        const QString path = lyricPathFor(track, extension);
        if (isExistingFile(path))
            return path;
    }
    for (const QString& extension : kLyricExtensions) {
        if (auto target = shortcutTarget(lyricPathFor(track, extension) + kShortcutSuffix))
            return target;
    }
    return std::nullopt;
}

std::optional<QString> CKaraokeData::CreateKaraokeFile(const QString& trackPath, const QString& title,
                                                       const QString& artist, QStringView initialText)
{
    if (FindKaraokeFile(trackPath))
        return std::nullopt;
    const QString path = lyricPathFor(CPathParts(trackPath), kLyricExtensions[0]);
    QString text;
    appendTitleAndArtist(text, title, artist);
    text += initialText;
    if (!TextFile::writeAtomically(path, encodeUtf16LEWithMark(text)))
        return std::nullopt;
    return path;
}

int CKaraokeData::ParseTimeTag(QStringView text, LyricTime& time)
{
    return CKaraokeParser::ParseTimeTag(text, time);
}

bool CKaraokeData::ReadKaraokeFile(const QString& path, int& codePage)
{
    const auto bytes = TextFile::readAll(path);
    return bytes && ReadKaraokeBytes(*bytes, codePage);
}

bool CKaraokeData::ReadKaraokeBytes(const QByteArray& bytes, int& codePage)
{
    return ParseKaraokeText(decodeLyricBytes(bytes, codePage));
}

bool CKaraokeData::ParseKaraokeText(QStringView text)
{
    Clear();
    CKaraokeParser parser(text, Header);
    m_firstBlock = parser.Parse();
    return parser.TagsInOrder();
}

bool CKaraokeData::SaveKaraokeFile(const QString& path, int codePage) const
{
    if (!m_firstBlock)
        return false;
    if (codePage == 0)
        return TextFile::writeAtomically(path, encodeUtf16LEWithMark(KaraokeText()));
    // An unknown page would encode to nothing and wipe the lyrics.
    if (!CodePage::isKnown(codePage))
        return false;
    return TextFile::writeAtomically(path, CodePage::fromUnicode(KaraokeText(), codePage));
}

QString CKaraokeData::KaraokeText() const
{
    QString text;
    if (Header.TimeRatio != 1.0)
        appendHeaderLine(text, u"@TimeRatio", QString::asprintf("%f", Header.TimeRatio));
    if (Header.Offset != 0)
        appendHeaderLine(text, u"@Offset", QString::number(Header.Offset));
    appendTitleAndArtist(text, Header.Title, Header.Artist);
    for (const CKaraokeBlock* block = FirstBlock(); block; block = block->Next())
        appendBlock(text, *block);
    return text;
}

void CKaraokeData::Clear()
{
    m_firstBlock.reset();
    Header.Reset();
}

CKaraokeBlock* CKaraokeData::FindBlockAt(qint64 time) const
{
    CKaraokeBlock* block = FirstBlock();
    while (block && block->Next() && time > block->StartTime() && time >= block->Next()->StartTime())
        block = block->Next();
    return block;
}

CKaraokeBlock* CKaraokeData::SplitBlock(CKaraokeBlock* block, int tokenIndex, int charIndex, LyricTime time)
{
    if (!block)
        return nullptr;
    std::vector<CKaraokeToken>& tokens = block->Tokens;
    const size_t index = size_t(std::clamp<qsizetype>(tokenIndex, 0, qsizetype(tokens.size())));
    auto added = std::make_unique<CKaraokeBlock>(time);
    size_t kept = index;
    if (index < tokens.size() && charIndex > 0) {
        // A line break is not cut: it stays whole with the block.
        CKaraokeToken& token = tokens[index];
        if (!token.IsLineBreak()) {
            const int cut = std::min(charIndex, token.Length());
            added->Tokens.push_back(CKaraokeToken::Word(token.Text().mid(cut)));
            token.SetText(token.Text().left(cut));
        }
        kept = index + 1;
    }
    added->Tokens.insert(added->Tokens.end(), tokens.begin() + qsizetype(kept), tokens.end());
    tokens.erase(tokens.begin() + qsizetype(kept), tokens.end());
    tokens.shrink_to_fit();
    added->Tokens.shrink_to_fit();
    return block->InsertAfter(std::move(added));
}

CKaraokeBlock* CKaraokeData::MergeIntoPrevious(CKaraokeBlock* block)
{
    CKaraokeBlock* previous = block ? block->Previous() : nullptr;
    if (!previous)
        return nullptr;
    const std::unique_ptr<CKaraokeBlock> removed = previous->DetachNext();
    previous->Tokens.insert(previous->Tokens.end(), removed->Tokens.begin(), removed->Tokens.end());
    return previous;
}

bool CKaraokeData::ReplaceWordText(CKaraokeBlock* block, int tokenIndex, const QString& text)
{
    if (!block || tokenIndex < 0 || size_t(tokenIndex) >= block->Tokens.size())
        return false;
    CKaraokeToken& token = block->Tokens[size_t(tokenIndex)];
    if (token.IsLineBreak())
        return false;
    token.SetText(text);
    return true;
}
