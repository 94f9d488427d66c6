// Lyric texts as tags hold them (Vorbis comments, MP4 and APE items: any text, any length), the
// NUL bytes of the input separating the texts of one track: the choice takes time-tagged text
// when there is one, never grows past its limit, and what it takes reads as a lyric document.
#include "player/karaoke/KaraokeData.h"
#include "player/library/TagLyrics.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    QStringList texts;
    for (const QByteArray& part : QByteArray(reinterpret_cast<const char*>(input), qsizetype(size)).split('\0'))
        texts << QString::fromUtf8(part);
    const std::optional<QString> chosen = TagLyrics::Preferred(texts);
    if (!chosen)
        return 0;
    if (chosen->size() > TagLyrics::MaxLength || chosen->trimmed().isEmpty())
        __builtin_trap();
    if (!CKaraokeData::HasTimeTags(*chosen)) {
        for (const QString& text : texts)
            if (CKaraokeData::HasTimeTags(text))
                __builtin_trap();
    }
    CKaraokeData document;
    document.ParseKaraokeText(*chosen);
    document.PlainText();
    document.KaraokeText();
    return 0;
}
