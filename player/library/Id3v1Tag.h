#pragma once

#include <QString>

#include <array>

// The 128-byte ID3v1 block at the end of a file. Texts are kept as stored (8-bit,
// NUL-terminated, trailing spaces removed) and converted when asked.
class CId3v1Tag
{
public:
    static constexpr int BlockSize = 128;
    using Text30 = std::array<char, 31>;

    // Fills the fields from a block that starts with "TAG"; returns false (and changes
    // nothing) for any other block.
    bool parse(const char* block);

    // A text field converted from the code page, ending at its first NUL.
    static QString text(const Text30& field, int codePage);

    bool Present = false;
    Text30 Title{};
    Text30 Artist{};
    Text30 Album{};
    std::array<char, 5> Year{};
    Text30 Comment{};
    quint8 Track = 0; // version 1.1 only; 0 for version 1.0
    quint8 Genre = 0;
};
