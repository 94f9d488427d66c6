#pragma once

#include "common/ui/SharedTypes.h"
#include "player/settings/LogFont.h"

#include <QString>

// The read/write helpers every class of the player uses on the application's profile.
// All take the section first and the key second.

// Reads with default -1; -1 writes the default back and returns it (a stored -1 counts as absent).
int GetProfileIntInit(const QString& section, const QString& key, int defaultValue);
// Reads with default "None"; "None" writes the default back and returns it.
QString GetProfileStringInit(const QString& section, const QString& key, const QString& defaultValue);

// Colours are stored as "red,green,blue"; missing pieces count 0, each keeps its low 8 bits.
COLORREF GetProfileColor(const QString& section, const QString& key, COLORREF defaultColor);
void WriteProfileColor(const QString& section, const QString& key, COLORREF color);

// A font has a section of its own with the 14 keys of LogFont. The defaults depend on the
// language flag L (1: Japanese face), the nominal size S (9: height -12, else -16) and bold B.
LogFont DefaultProfileFont(int language, int size, bool bold);
void GetProfileFont(const QString& section, LogFont& font, int language, int size, bool bold);
void WriteProfileFont(const QString& section, const LogFont& font);

// Texts stored as lower-case hex digits of their UTF-16LE bytes (folder paths).
QString GetProfileHexString(const QString& section, const QString& key, const QString& defaultText);
void WriteProfileHexString(const QString& section, const QString& key, const QString& text);
// The encoding alone, for tests and callers that need it.
QString DecodeHexString(const QString& digits);
QString EncodeHexString(const QString& text);
