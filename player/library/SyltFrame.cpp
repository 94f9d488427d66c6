#include "player/library/SyltFrame.h"

#include "platform/text/CodePage.h"
#include "player/karaoke/LrcTimeTag.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

enum Encoding { Latin = 0, Utf16WithMark = 1, Utf16BigEndian = 2, Utf8 = 3 };

constexpr qsizetype kHeaderSize = 6; // encoding, language (3), timestamp format, content type
constexpr qsizetype kTimestampSize = 4;
constexpr int kFractionDigits = 3;

quint32 bigEndian32(const unsigned char* bytes)
{
    return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | bytes[3];
}

// Reads the NUL-terminated strings of the frame one after the other. UTF-16 strings may each
// carry a byte-order mark; a string without one keeps the order of the last mark seen.
class StringReader
{
public:
    StringReader(const QByteArray& data, qsizetype position, int encoding, int codePage)
        : m_data(reinterpret_cast<const unsigned char*>(data.constData())), m_size(data.size()), m_position(position),
          m_encoding(encoding), m_codePage(codePage)
    {
    }

    // No value when the terminator is missing.
    std::optional<QString> Next()
    {
        const bool wide = m_encoding == Utf16WithMark || m_encoding == Utf16BigEndian;
        const qsizetype end = TerminatorAt(wide);
        if (end < 0)
            return std::nullopt;
        const char* text = reinterpret_cast<const char*>(m_data + m_position);
        const qsizetype length = end - m_position;
        m_position = end + (wide ? 2 : 1);
        switch (m_encoding) {
        case Latin:
            return CodePage::toUnicode(text, length, m_codePage);
        case Utf8:
            return QString::fromUtf8(text, length);
        default:
            return Utf16(reinterpret_cast<const unsigned char*>(text), length);
        }
    }

    // The four bytes of a timestamp; no value past the end.
    std::optional<quint32> Timestamp()
    {
        if (m_size - m_position < kTimestampSize)
            return std::nullopt;
        const quint32 value = bigEndian32(m_data + m_position);
        m_position += kTimestampSize;
        return value;
    }

    bool AtEnd() const { return m_position >= m_size; }

private:
    qsizetype TerminatorAt(bool wide) const
    {
        if (!wide) {
            const void* nul = std::memchr(m_data + m_position, 0, size_t(m_size - m_position));
            return nul ? static_cast<const unsigned char*>(nul) - m_data : -1;
        }
        for (qsizetype i = m_position; i + 1 < m_size; i += 2)
            if (m_data[i] == 0 && m_data[i + 1] == 0)
                return i;
        return -1;
    }

    QString Utf16(const unsigned char* bytes, qsizetype length)
    {
        if (m_encoding == Utf16WithMark && length >= 2 && (bytes[0] == 0xFF || bytes[0] == 0xFE) &&
            bytes[1] == (bytes[0] ^ 0x01)) {
            m_bigEndian = bytes[0] == 0xFE;
            bytes += 2;
            length -= 2;
        }
        const bool bigEndian = m_encoding == Utf16BigEndian || m_bigEndian;
        QString text(length / 2, Qt::Uninitialized);
        auto* out = reinterpret_cast<char16_t*>(text.data());
        for (qsizetype i = 0; i + 1 < length; i += 2)
            out[i / 2] = bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i] | bytes[i + 1] << 8);
        return text;
    }

    const unsigned char* m_data;
    qsizetype m_size;
    qsizetype m_position;
    int m_encoding;
    int m_codePage;
    bool m_bigEndian = false;
};

// The lines of an entry's text; CR LF, CR and LF each end one.
std::vector<QStringView> linesOf(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.push_back(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.sliced(start));
    return lines;
}

// The text with every bracket that would start a time tag followed by a word joiner, so that
// words a frame holds are never read as times.
QString asPlainWords(QStringView text)
{
    QString words;
    words.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        words += text[i];
        const bool square = text[i] == CLrcTimeTag::LineOpen;
        if (!square && text[i] != CLrcTimeTag::WordOpen)
            continue;
        const auto tag = square ? CLrcTimeTag::Parse(text.sliced(i), CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose)
                                : CLrcTimeTag::Parse(text.sliced(i), CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose);
        if (tag.Length > 0)
            words += QChar(0x2060);
    }
    return words;
}

LyricTime millisecondsOf(quint32 time, int format, double msPerMpegFrame)
{
    if (format != CSyltFrame::MpegFrames)
        return time;
    const double ms = std::round(double(time) * msPerMpegFrame);
    return ms >= double(CLrcTimeTag::LargestTime(kFractionDigits)) ? CLrcTimeTag::LargestTime(kFractionDigits)
                                                                   : LyricTime(std::max(ms, 0.0));
}

} // namespace

bool CSyltFrame::IsSyltFrame(const TagFrame& frame)
{
    return frame.id() == "SYLT" || frame.id() == "SLT";
}

std::optional<CSyltFrame> CSyltFrame::Parse(const TagFrame& frame, int codePage)
{
    const QByteArray& data = frame.Data;
    if (!IsSyltFrame(frame) || data.size() < kHeaderSize)
        return std::nullopt;
    const int encoding = static_cast<unsigned char>(data[0]);
    if (encoding > Utf8)
        return std::nullopt;
    CSyltFrame sylt;
    sylt.Language = QString::fromLatin1(data.constData() + 1, 3);
    sylt.Format = static_cast<unsigned char>(data[4]);
    sylt.Content = static_cast<unsigned char>(data[5]);
    StringReader reader(data, kHeaderSize, encoding, codePage);
    if (!reader.Next()) // the content descriptor
        return std::nullopt;
    while (!reader.AtEnd()) {
        std::optional<QString> text = reader.Next();
        const std::optional<quint32> time = text ? reader.Timestamp() : std::nullopt;
        if (!time)
            break;
        sylt.Entries.push_back(Entry{std::move(*text), *time});
    }
    return sylt;
}

QString CSyltFrame::LrcText(double msPerMpegFrame) const
{
    std::vector<const Entry*> sorted;
    sorted.reserve(Entries.size());
    for (const Entry& entry : Entries)
        sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry* a, const Entry* b) { return a->Time < b->Time; });

    QString text;
    bool lineStart = true;
    bool anyText = false;
    for (const Entry* entry : sorted) {
        const LyricTime time = millisecondsOf(entry->Time, Format, msPerMpegFrame);
        const std::vector<QStringView> lines = linesOf(entry->Text);
        for (size_t k = 0; k < lines.size(); ++k) {
            if (k > 0) {
                if (!lineStart)
                    text += u'\n';
                lineStart = true;
            }
            // An empty piece between line breaks times nothing; an entry of no text at all times a pause.
            if (lines[k].isEmpty() && lines.size() > 1)
                continue;
            // Every line starts with a time, so no line of words can read as an ID tag.
            text += lineStart
                        ? CLrcTimeTag::Format(time, kFractionDigits, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose)
                        : CLrcTimeTag::Format(time, kFractionDigits, CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose);
            text += asPlainWords(lines[k]);
            anyText = anyText || !lines[k].trimmed().isEmpty();
            lineStart = false;
        }
    }
    return anyText ? text : QString();
}
