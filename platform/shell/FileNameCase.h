#pragma once

#include <QString>

#include <functional>

// Whether a folder's file system takes names that differ only in letter case for one name: FAT,
// exFAT, NTFS, SMB shares, HFS+, and ext4 or F2FS folders with case folding turned on. Linux's
// own file systems otherwise keep "a" and "A" apart.
namespace FileNameCase {

bool FolderFoldsCase(const QString& folder);

// Replaces the look at the file system (for tests of folders that fold case); an empty function
// restores it. Returns the previous one.
using Detector = std::function<bool(const QString& folder)>;
Detector SetDetector(Detector detector);

} // namespace FileNameCase
