#include "player/karaoke/RubyReading.h"

#include "player/karaoke/KaraokeParser.h"
#include "player/karaoke/LrcTimeTag.h"

int CRubyReading::TagLength(QStringView text, LyricTime& time)
{
    if (const int length = CKaraokeParser::ParseTimeTag(text, time))
        return length;
    const auto square = CLrcTimeTag::Parse(text, CLrcTimeTag::LineOpen, CLrcTimeTag::LineClose);
    const auto angle = CLrcTimeTag::Parse(text, CLrcTimeTag::WordOpen, CLrcTimeTag::WordClose);
    const auto& tag = square.DotForm ? square : angle;
    time = tag.Time;
    return tag.Length;
}

std::optional<CRubyReading> CRubyReading::Parse(QStringView raw)
{
    CRubyReading reading;
    for (qsizetype at = 0; at < raw.size();) {
        LyricTime time = 0;
        if (const int length = TagLength(raw.sliced(at), time)) {
            reading.Timings.push_back({int(reading.Text.size()), time});
            at += length;
            continue;
        }
        reading.Text += raw[at++];
    }
    const qsizetype length = reading.Text.toUcs4().size();
    if (reading.Text.trimmed().isEmpty() || length > MaxLength)
        return std::nullopt;
    return reading;
}
