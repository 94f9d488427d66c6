#pragma once

#include <QRect>
#include <QString>

#include <optional>

// A window's rectangle kept in a profile section as "Left", "Top", "Right" and "Bottom".
// The rectangle is the window's normal geometry as the toolkit keeps it (the client area in
// screen pixels), so a restore gives back exactly what was saved whatever frame the window
// manager draws. Full mode also keeps whether the window was maximised ("Maximized").
class CPlacementStore
{
public:
    void Enable(const QString& section, bool rectangleOnly);
    bool IsEnabled() const { return m_enabled; }

    // The stored rectangle; none when a key is missing or any value is negative.
    std::optional<QRect> ReadRectangle() const;
    // Full mode only: whether the window was maximised when it was saved.
    bool ReadMaximized() const;
    // Writes the normal rectangle (and in full mode the maximised state); an invalid rectangle
    // (the placement could not be taken) writes nothing.
    void Save(const QRect& normal, bool maximized) const;

private:
    bool m_enabled = false;
    bool m_rectangleOnly = true;
    QString m_section;
};
