#include "player/settings/ProfileHelpers.h"

#include "platform/profile/Profile.h"
#include "platform/text/WToI.h"

#include <QStringList>

namespace {

constexpr char kNone[] = "None";

int hexDigit(QChar c)
{
    if (c >= '0' && c <= '9')
        return c.unicode() - '0';
    if (c >= 'a' && c <= 'f')
        return c.unicode() - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

// The 13 integer keys of a font section in their stored order, with their member.
struct FontKey {
    const char* key;
    int32_t (*get)(const LogFont&);
    void (*set)(LogFont&, int32_t);
};

#define LOGFONT_KEY(field, type)                                                                   \
    FontKey{#field, [](const LogFont& f) { return static_cast<int32_t>(f.field); },              \
            [](LogFont& f, int32_t v) { f.field = static_cast<type>(v); }}

const FontKey kFontKeys[] = {
    LOGFONT_KEY(lfHeight, int32_t),        LOGFONT_KEY(lfWidth, int32_t),
    LOGFONT_KEY(lfEscapement, int32_t),    LOGFONT_KEY(lfOrientation, int32_t),
    LOGFONT_KEY(lfWeight, int32_t),        LOGFONT_KEY(lfItalic, uint8_t),
    LOGFONT_KEY(lfUnderline, uint8_t),     LOGFONT_KEY(lfStrikeOut, uint8_t),
    LOGFONT_KEY(lfCharSet, uint8_t),       LOGFONT_KEY(lfOutPrecision, uint8_t),
    LOGFONT_KEY(lfClipPrecision, uint8_t), LOGFONT_KEY(lfQuality, uint8_t),
    LOGFONT_KEY(lfPitchAndFamily, uint8_t),
};

#undef LOGFONT_KEY

constexpr char kFaceNameKey[] = "lfFaceName";

} // namespace

int GetProfileIntInit(const QString& section, const QString& key, int defaultValue)
{
    const int value = GetProfileInt(section, key, -1);
    if (value != -1)
        return value;
    WriteProfileInt(section, key, defaultValue);
    return defaultValue;
}

QString GetProfileStringInit(const QString& section, const QString& key, const QString& defaultValue)
{
    const QString value = GetProfileString(section, key, QString::fromLatin1(kNone));
    if (value != QLatin1String(kNone))
        return value;
    WriteProfileString(section, key, defaultValue);
    return defaultValue;
}

COLORREF GetProfileColor(const QString& section, const QString& key, COLORREF defaultColor)
{
    const QString fallback = QStringLiteral("%1,%2,%3")
                                 .arg(GetRValue(defaultColor))
                                 .arg(GetGValue(defaultColor))
                                 .arg(GetBValue(defaultColor));
    const QStringList pieces = GetProfileStringInit(section, key, fallback).split(',');
    int channels[3] = {0, 0, 0};
    for (int i = 0; i < 3 && i < pieces.size(); ++i)
        channels[i] = WToI(pieces[i]);
    return RGB(channels[0], channels[1], channels[2]);
}

void WriteProfileColor(const QString& section, const QString& key, COLORREF color)
{
    WriteProfileString(section, key,
                       QStringLiteral("%1,%2,%3").arg(GetRValue(color)).arg(GetGValue(color)).arg(GetBValue(color)));
}

LogFont DefaultProfileFont(int language, int size, bool bold)
{
    LogFont font;
    font.lfHeight = size == 9 ? -12 : -16;
    font.lfWeight = bold ? 700 : 400;
    font.lfCharSet = language == 1 ? 128 : 222;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = language == 1 ? 50 : 34;
    font.lfFaceName = language == 1 ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("Tahoma");
    return font;
}

void GetProfileFont(const QString& section, LogFont& font, int language, int size, bool bold)
{
    const LogFont defaults = DefaultProfileFont(language, size, bold);
    font = LogFont();
    for (const FontKey& key : kFontKeys)
        key.set(font, GetProfileIntInit(section, key.key, key.get(defaults)));
    font.lfFaceName = GetProfileStringInit(section, kFaceNameKey, defaults.lfFaceName).left(LogFont::FaceNameLength);
}

void WriteProfileFont(const QString& section, const LogFont& font)
{
    for (const FontKey& key : kFontKeys)
        WriteProfileInt(section, key.key, key.get(font));
    WriteProfileString(section, kFaceNameKey, font.lfFaceName);
}

QString DecodeHexString(const QString& digits)
{
    QByteArray bytes;
    bytes.reserve(digits.size() / 2);
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2) {
        int value = 0;
        for (qsizetype j = i; j < i + 2; ++j)
            if (const int digit = hexDigit(digits[j]); digit >= 0)
                value = value * 16 + digit;
        bytes.append(static_cast<char>(value));
    }
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

QString EncodeHexString(const QString& text)
{
    QString digits;
    digits.reserve(text.size() * 4);
    for (const QChar c : text)
        digits += QStringLiteral("%1%2").arg(c.unicode() & 0xFF, 2, 16, QLatin1Char('0')).arg(c.unicode() >> 8, 2, 16, QLatin1Char('0'));
    return digits;
}

QString GetProfileHexString(const QString& section, const QString& key, const QString& defaultText)
{
    if (!ProfileHasKey(section, key))
        return defaultText;
    return DecodeHexString(GetProfileString(section, key, QString()));
}

void WriteProfileHexString(const QString& section, const QString& key, const QString& text)
{
    WriteProfileString(section, key, EncodeHexString(text));
}
