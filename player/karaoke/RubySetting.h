#pragma once

#include "player/karaoke/RubyMode.h"

#include <QObject>

// The setting "ルビ" of the lyric displays, kept as "RubyMode" in section "CKaraokeStatic". One
// object for the program: the displays read Mode() when they build their readings and rebuild
// them on ModeChanged, so a change from the settings dialog shows at once.
class CRubySetting : public QObject
{
    Q_OBJECT
public:
    static CRubySetting& Instance();

    // The stored mode; a value out of range reads as the default (automatic).
    RubyMode Mode() const;
    // Stores the mode and tells the displays when it changed.
    void SetMode(RubyMode mode);

signals:
    void ModeChanged(RubyMode mode);

private:
    CRubySetting() = default;
};
