#include "player/karaoke/KaraokeData.h"

#include "common/ui/PathParts.h"
#include "platform/shell/ShortcutFile.h"
#include "platform/text/CodePage.h"
#include "platform/text/NativeFile.h"
#include "platform/text/TextFile.h"
#include "player/karaoke/AutoReadings.h"
#include "player/karaoke/KaraokeParser.h"
#include "player/karaoke/LrcParser.h"
#include "player/karaoke/LrcTimeTag.h"
#include "player/karaoke/LrcWriter.h"
#include "player/karaoke/LyricEncoding.h"
#include "player/karaoke/LyricFileFinder.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString kLyricExtensions[] = {QStringLiteral("kra"), QStringLiteral("lrc"), QStringLiteral("txt")};
const QString kShortcutSuffix = QStringLiteral(".lnk");
// Names with these extensions are lyric files, not tracks.
const QStringList kLyricFileExtensions{QStringLiteral("kra"), QStringLiteral("lrc"), QStringLiteral("txt"),
                                       QStringLiteral("lnk")};
const QString kLineEnd = QStringLiteral("\r\n");

QString lyricPathFor(const CPathParts& track, const QString& extension)
{
    CPathParts lyric;
    lyric.Folder = track.Folder;
    lyric.Title = track.Title;
    lyric.Extension = extension;
    return lyric.Path();
}

std::optional<QString> existingFile(const QString& path)
{
    const auto status = NativeFile::status(path);
    if (!status || S_ISDIR(status->st_mode))
        return std::nullopt;
    return path;
}

std::optional<QString> shortcutTarget(const QString& shortcutPath)
{
    CShortcutFile shortcut;
    if (!shortcut.Read(shortcutPath) || !shortcut.TargetExists() || shortcut.TargetIsDirectory())
        return std::nullopt;
    return shortcut.TargetPath();
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
    // Header lines kept as notation in the leading block are not lyrics that need a tag.
    const bool lyrics = std::any_of(block.Tokens.begin(), block.Tokens.end(),
                                    [](const CKaraokeToken& token) { return token.IsLineBreak() || token.WritesLyrics(); });
    if (block.Previous() || block.StartTime() != 0 || lyrics)
        text += block.TagText();
    for (const CKaraokeToken& token : block.Tokens) {
        if (token.IsLineBreak())
            text += kLineEnd;
        text += token.WrittenText();
    }
}

} // namespace

CKaraokeData::CKaraokeData() = default;
CKaraokeData::~CKaraokeData() = default;

std::optional<QString> CKaraokeData::FindKaraokeFile(const QString& trackPath)
{
    const CPathParts track(trackPath);
    const auto nameWith = [&track](const QString& extension) { return track.Title + u'.' + extension; };
    // "song.lrc" beside "Song.mp3" is taken only when no "song.mp3" there has the better claim.
    const bool otherSpellings = !CLyricFileFinder::HasOtherSpelling(track.Folder, track.Title, kLyricFileExtensions);
    for (const QString& extension : kLyricExtensions) {
        if (auto path = CLyricFileFinder::Find(track.Folder, nameWith(extension), existingFile, otherSpellings))
            return path;
    }
    for (const QString& extension : kLyricExtensions) {
        if (auto target = CLyricFileFinder::Find(track.Folder, nameWith(extension) + kShortcutSuffix, shortcutTarget,
                                                 otherSpellings))
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
    if (CLrcParser::IsLrc(initialText)) {
        // "@" lines would be lyrics to an LRC reader: an LRC text takes them as ID tags.
        for (const auto& [key, value] : {std::pair{u"ti", title}, std::pair{u"ar", artist}})
            if (!value.isEmpty())
                text += CLrcWriter::IdTagLine(key, value) + kLineEnd;
    } else {
        appendTitleAndArtist(text, title, artist);
    }
    text += initialText;
    const auto bytes = CLyricEncoding::Encode(text, CLyricEncoding::Utf16LEWithMark, true);
    if (!bytes || !TextFile::writeAtomically(path, *bytes))
        return std::nullopt;
    return path;
}

bool CKaraokeData::HasTimeTags(QStringView text)
{
    if (CLrcParser::IsLrc(text))
        return true;
    LyricTime time = 0;
    for (qsizetype at = text.indexOf(u'['); at >= 0; at = text.indexOf(u'[', at + 1))
        if (ParseTimeTag(text.sliced(at), time) > 0)
            return true;
    return false;
}

int CKaraokeData::ParseTimeTag(QStringView text, LyricTime& time)
{
    return CKaraokeParser::ParseTimeTag(text, time);
}

int CKaraokeData::ParseTypedTag(QStringView text, LyricTime& time)
{
    if (const int length = ParseTimeTag(text, time))
        return length;
    const CLrcTimeTag::Parsed parsed = CLrcTimeTag::Parse(text, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
    time = parsed.DotForm ? parsed.Time : 0;
    return parsed.DotForm ? parsed.Length : 0;
}

QString CKaraokeData::TagTextOf(LyricTime time) const
{
    if (Format.IsLrc())
        return CLrcTimeTag::Format(time, Format.FractionDigits, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
    return CKaraokeBlock::FormatTagText(time);
}

bool CKaraokeData::ReadKaraokeFile(const QString& path, int& codePage)
{
    const auto bytes = TextFile::readAll(path);
    return bytes && ReadKaraokeBytes(*bytes, codePage);
}

bool CKaraokeData::ReadKaraokeBytes(const QByteArray& bytes, int& codePage)
{
    const CLyricEncoding::Decoded decoded = CLyricEncoding::Decode(bytes, codePage);
    const bool inOrder = ParseKaraokeText(decoded.Text);
    // LRC files are UTF-8 wherever they come from: one holding only ASCII so far keeps its bytes
    // either way, and text typed into it later must not come out in the local code page.
    if (decoded.Ascii && Format.IsLrc())
        codePage = CodePage::Utf8;
    Format.CodePage = codePage;
    Format.ByteOrderMark = decoded.ByteOrderMark;
    Format.LossyDecode = decoded.Lossy;
    return inOrder;
}

bool CKaraokeData::ParseKaraokeText(QStringView text)
{
    Clear();
    Format.LossyDecode = false;
    if (CLrcParser::IsLrc(text)) {
        CLrcParser parser(text, Header, Format);
        m_firstBlock = parser.Parse();
        return parser.TagsInOrder();
    }
    Format.TextDialect = CLyricFileFormat::Dialect::Own;
    Format.IdTags.clear();
    CKaraokeParser parser(text, Header);
    m_firstBlock = parser.Parse();
    return parser.TagsInOrder();
}

bool CKaraokeData::SaveKaraokeFile(const QString& path, int codePage) const
{
    if (!m_firstBlock || !CanSaveIn(codePage))
        return false;
    const bool byteOrderMark = codePage == Format.CodePage && Format.ByteOrderMark;
    const auto bytes = CLyricEncoding::Encode(KaraokeText(), codePage, byteOrderMark);
    return bytes && TextFile::writeAtomically(path, *bytes);
}

bool CKaraokeData::CanSaveIn(int codePage) const
{
    return !Format.LossyDecode || codePage != Format.CodePage;
}

QString CKaraokeData::KaraokeText() const
{
    if (Format.IsLrc())
        return CLrcWriter::Write(Header, Format, FirstBlock());
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

QString CKaraokeData::PlainText() const
{
    QStringList lines{QString()};
    for (const CKaraokeBlock* block = FirstBlock(); block; block = block->Next()) {
        for (const CKaraokeToken& token : block->Tokens) {
            if (token.IsLineBreak())
                lines.append(QString());
            else
                lines.last() += token.Text();
        }
    }
    for (QString& line : lines)
        line = line.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

CLyricRubies CKaraokeData::Rubies(RubyMode mode) const
{
    if (mode == RubyMode::Automatic && !HasAutomaticReadings())
        m_automatic = std::make_shared<CAutoReadings>(CAutoReadings::Compute(RubyLines()));
    return CLyricRubies::Build(*this, mode, mode == RubyMode::Automatic ? m_automatic.get() : nullptr);
}

void CKaraokeData::AdoptAutomaticReadings(CAutoReadings readings)
{
    m_automatic = std::make_shared<CAutoReadings>(std::move(readings));
}

bool CKaraokeData::HasAutomaticReadings() const
{
    return m_automatic && m_automatic->Lines == RubyLines();
}

void CKaraokeData::Clear()
{
    m_firstBlock.reset();
    m_automatic.reset();
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
        if (!token.IsLineBreak())
            added->Tokens.push_back(token.TakeTail(charIndex));
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
