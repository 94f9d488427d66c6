#pragma once

#include <QFont>
#include <QString>

#include <cstdint>

// A font description with the fields and widths of the platform's LOGFONTW, as the INI file
// stores it, and its conversion to and from QFont.
struct LogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName;

    static constexpr int FaceNameLength = 32;

    // A negative height is the character height in pixels, a positive one the cell height.
    QFont toQFont() const;
    static LogFont fromQFont(const QFont& font);
};
