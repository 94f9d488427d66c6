#pragma once

#include <QString>

#include <vector>

// What the engine reads from a file's tags for its item attributes.
struct MediaTags {
    QString title, artist, album, track;
    std::vector<QString> lyrics;
    double seconds = 0;
};
