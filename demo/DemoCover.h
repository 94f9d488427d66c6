#pragma once

#include <QImage>
#include <QString>

// The demo library's cover pictures, painted: cherry blossoms for the tag's cover, a starry
// night for the folder's cover.png.
class CDemoCover
{
public:
    static constexpr int Side = 300;

    static QImage Blossoms(const QString& caption);
    static QImage StarryNight(const QString& caption);

private:
    static void DrawCaption(QImage& image, const QString& caption, const QColor& colour);
};
