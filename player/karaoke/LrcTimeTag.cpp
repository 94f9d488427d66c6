#include "player/karaoke/LrcTimeTag.h"

namespace {

constexpr int kMaxMinuteDigits = 5; // enough for every 32-bit time
constexpr quint64 kLargestTime = 0xFFFFFFFFu;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Up to `maxDigits` digits at `at`; returns how many were read.
int readDigits(QStringView text, qsizetype at, int maxDigits, quint64& value)
{
    int count = 0;
    value = 0;
    while (count < maxDigits && at + count < text.size() && isAsciiDigit(text[at + count])) {
        value = value * 10 + (text[at + count].unicode() - u'0');
        ++count;
    }
    return count;
}

} // namespace

CLrcTimeTag::Parsed CLrcTimeTag::Parse(QStringView text, QChar open, QChar close)
{
    if (text.isEmpty() || text[0] != open)
        return {};
    qsizetype i = 1;
    quint64 minutes = 0;
    const int minuteDigits = readDigits(text, i, kMaxMinuteDigits, minutes);
    i += minuteDigits;
    if (minuteDigits == 0 || i >= text.size() || text[i] != u':')
        return {};
    ++i;
    quint64 seconds = 0;
    if (readDigits(text, i, 2, seconds) != 2)
        return {};
    i += 2;
    Parsed parsed;
    quint64 total = minutes * 60000 + seconds * 1000;
    if (i < text.size() && (text[i] == u':' || text[i] == u'.')) {
        parsed.DotForm = text[i] == u'.';
        quint64 fraction = 0;
        const int digits = readDigits(text, i + 1, parsed.DotForm ? 3 : 2, fraction);
        if (digits == 0 || (!parsed.DotForm && digits != 2))
            return {};
        i += 1 + digits;
        parsed.FractionDigits = digits;
        total += digits == 1 ? fraction * 100 : digits == 2 ? fraction * 10 : fraction;
    }
    if (i >= text.size() || text[i] != close || total > kLargestTime)
        return {};
    parsed.Length = static_cast<int>(i + 1);
    parsed.Time = static_cast<LyricTime>(total);
    return parsed;
}

QString CLrcTimeTag::Format(LyricTime time, int fractionDigits, QChar open, QChar close)
{
    const unsigned minutes = time / 60000u;
    const unsigned seconds = time % 60000u / 1000u;
    const QString body = fractionDigits == 3 ? QString::asprintf("%02u:%02u.%03u", minutes, seconds, time % 1000u)
                                             : QString::asprintf("%02u:%02u.%02u", minutes, seconds, time % 1000u / 10u);
    return open + body + close;
}

LyricTime CLrcTimeTag::LargestTime(int fractionDigits)
{
    return fractionDigits == 3 ? LyricTime(kLargestTime) : LyricTime(kLargestTime - kLargestTime % 10);
}
