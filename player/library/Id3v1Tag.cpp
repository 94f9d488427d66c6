#include "player/library/Id3v1Tag.h"

#include "platform/text/CodePage.h"

#include <cstring>

namespace {

// Copies `width` bytes, terminates after them and removes trailing spaces.
template <size_t N>
void copyField(std::array<char, N>& field, const char* source, size_t width)
{
    field.fill('\0');
    std::memcpy(field.data(), source, width);
    size_t length = std::strlen(field.data());
    while (length > 0 && field[length - 1] == ' ')
        field[--length] = '\0';
}

} // namespace

bool CId3v1Tag::parse(const char* block)
{
    if (std::memcmp(block, "TAG", 3) != 0)
        return false;
    const auto byteAt = [block](int offset) { return static_cast<quint8>(block[offset]); };
    // Version 1.1 keeps the track in the last comment byte behind a NUL.
    const bool hasTrack = byteAt(125) == 0 && byteAt(126) != 0;
    copyField(Title, block + 3, 30);
    copyField(Artist, block + 33, 30);
    copyField(Album, block + 63, 30);
    copyField(Year, block + 93, 4);
    copyField(Comment, block + 97, hasTrack ? 28 : 30);
    Track = hasTrack ? byteAt(126) : 0;
    Genre = byteAt(127);
    Present = true;
    return true;
}

QString CId3v1Tag::text(const Text30& field, int codePage)
{
    return CodePage::toUnicode(field.data(), static_cast<qsizetype>(std::strlen(field.data())), codePage);
}
