#include "demo/DemoLyrics.h"

#include <cmath>

namespace {

// Time fields of a tag: minutes, seconds and hundredths of a time in seconds.
struct TagFields {
    int minutes, seconds, hundredths;
};

TagFields Fields(double seconds)
{
    const auto ms = static_cast<qint64>(std::llround(seconds * 1000));
    return {static_cast<int>(ms / 60000), static_cast<int>(ms % 60000 / 1000), static_cast<int>(ms % 1000 / 10)};
}

QString OwnTag(double seconds)
{
    const TagFields f = Fields(seconds);
    return QString::asprintf("[%02d:%02d:%02d]", f.minutes, f.seconds, f.hundredths);
}

QString LrcTime(double seconds, char open, char close)
{
    const TagFields f = Fields(seconds);
    return QString::asprintf("%c%02d:%02d.%02d%c", open, f.minutes, f.seconds, f.hundredths, close);
}

bool EndsSyllable(const CDemoSong& song, qsizetype i)
{
    return song.Notes[i].frequency == 0 && i > 0 && song.Notes[i - 1].frequency != 0;
}

} // namespace

QString CDemoLyrics::OwnDialect(const CDemoSong& song, bool withHeader)
{
    QString text;
    if (withHeader)
        text = QStringLiteral("@Title=%1\r\n@Artist=%2\r\n").arg(song.Title, song.Artist);
    for (qsizetype i = 0; withHeader && i < song.HeaderRubies.size(); ++i)
        text += QStringLiteral("@Ruby%1=%2\r\n").arg(QString::number(i + 1), song.HeaderRubies[i]);
    for (qsizetype i = 0; i < song.Notes.size(); ++i) {
        const DemoNote& note = song.Notes[i];
        if (i > 0 && note.line != song.Notes[i - 1].line)
            text += QStringLiteral("\r\n");
        if (!note.syllable.isEmpty())
            text += OwnTag(note.start) + note.syllable;
        else if (EndsSyllable(song, i))
            text += OwnTag(note.start);
    }
    return text + QStringLiteral("\r\n");
}

QString CDemoLyrics::EnhancedLrc(const CDemoSong& song)
{
    QString text = QStringLiteral("[ti:%1]\n[ar:%2]\n[al:%3]\n[by:Sonavel demo]\n").arg(song.Title, song.Artist, song.Album);
    qsizetype lastSung = -1;
    for (qsizetype i = 0; i < song.Notes.size(); ++i) {
        const DemoNote& note = song.Notes[i];
        const bool newLine = i == 0 || note.line != song.Notes[i - 1].line;
        if (newLine && lastSung >= 0)
            text += LrcTime(song.SyllableEnd(lastSung), '<', '>') + QLatin1Char('\n');
        if (newLine)
            text += LrcTime(note.start, '[', ']');
        if (!note.syllable.isEmpty()) {
            text += LrcTime(note.start, '<', '>') + note.syllable;
            lastSung = i;
        }
    }
    return text + LrcTime(song.SyllableEnd(lastSung), '<', '>') + QLatin1Char('\n');
}
