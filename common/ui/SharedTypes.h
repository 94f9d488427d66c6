#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the platform kept them: red in bits 0-7, green in 8-15, blue in 16-23.
using COLORREF = quint32;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF color) { return static_cast<int>(color & 0xFF); }
constexpr int GetGValue(COLORREF color) { return static_cast<int>(color >> 8 & 0xFF); }
constexpr int GetBValue(COLORREF color) { return static_cast<int>(color >> 16 & 0xFF); }

inline QColor ToQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}
inline COLORREF FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

// Engine positions and durations are seconds as double; lyric times are milliseconds.
using LyricTime = quint32;
