// The lyrics server's answers through the record reader: whatever the bytes, a read record holds
// only sound values, a read challenge a 32-byte target, and the lyrics of a record go through
// the check that decides what may be saved.
#include "platform/net/LrclibReader.h"
#include "player/karaoke/LrclibLyrics.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void checkRecord(const LrclibRecord& record)
{
    if (record.Id < 0 || !std::isfinite(record.Track.Duration) || record.Track.Duration < 0)
        __builtin_trap();
    const CLrclibLyrics::ToSave lyrics = CLrclibLyrics::TextToSave(record);
    if (lyrics.Text.has_value() == !lyrics.Problem.isEmpty())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    LrclibError error;
    if (const auto record = LrclibReader::Record(bytes, error))
        checkRecord(*record);
    else if (error.What != LrclibError::Kind::Malformed || error.Detail.isEmpty())
        __builtin_trap();
    LrclibError listError;
    if (const auto records = LrclibReader::Records(bytes, listError))
        for (const LrclibRecord& record : *records)
            checkRecord(record);
    LrclibError challengeError;
    if (const auto challenge = LrclibReader::Challenge(bytes, challengeError))
        if (challenge->Target.size() != 32 || challenge->Prefix.isEmpty())
            __builtin_trap();
    LrclibReader::ServerMessage(bytes);
    LrclibReader::IsTrackNotFound(bytes);
    return 0;
}
