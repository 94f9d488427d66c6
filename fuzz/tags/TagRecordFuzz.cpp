// Any bytes as the content of an mp3 file: the record and every decoder of every frame (lyrics and
// synchronised lyrics included) must stay inside their buffers.
#include "player/karaoke/KaraokeData.h"
#include "player/library/TagLyrics.h"
#include "player/library/TagRecord.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTagRecord record;
    record.readBytes(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("fuzz.mp3"));
    for (int codePage : {932, 1252, 65001}) {
        record.titleText(codePage);
        record.artistText(codePage);
        record.albumText(codePage);
        record.trackText(codePage);
    }
    // The lyrics the record's frames give, as the karaoke window would read them.
    if (const std::optional<QString> lyrics = TagLyrics::Choose(&record, nullptr, 932)) {
        CKaraokeData document;
        document.ParseKaraokeText(*lyrics);
    }
    for (const TagFrame& frame : record.V2.Frames) {
        frame.decodeText(932);
        QString language;
        frame.decodeLyrics(932, &language);
        if (const auto picture = frame.picture(437); picture && !picture->Image.isEmpty()) {
            // Touch the first and last image byte, so a view outside the frame is caught.
            volatile char first = picture->Image.front();
            volatile char last = picture->Image.back();
            (void)first;
            (void)last;
        }
    }
    return 0;
}
