#pragma once

// String ids of the track list and the folder scan.
namespace LibraryString {
enum Id : int {
    ColumnFileName = 1200, // 1200 to 1204: the five column headers
    ColumnTitle = 1201,
    ColumnArtist = 1202,
    ColumnAlbum = 1203,
    ColumnTrack = 1204,
    ReadShortcutFailed = 1211,
};
} // namespace LibraryString

// Adds the library's texts to the string table; calling it again changes nothing.
void RegisterLibraryStrings();
