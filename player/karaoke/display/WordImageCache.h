#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>

class QPainter;
class QPointF;
class QStaticText;

// Words of a large font drawn once into images, per colour. Past 64 pixels Qt keeps no glyphs:
// it turns every glyph into a path and fills it on every paint, which at the stage view's size
// and 60 wipe frames a second costs more than all the rest of a frame. An image is blended
// instead; the cache starts again when it has held MaxBytes.
class CWordImageCache
{
public:
    static constexpr int LargestCachedGlyphPixels = 64;
    static constexpr qsizetype MaxBytes = 48 * 1024 * 1024;

    // The font the words are drawn in; the images so far are dropped.
    void SetFont(const QFont& font);
    // Whether words in the font are better drawn from images (the painter only moves them).
    bool Wanted(const QPainter& painter) const;
    // Draws the shaped text in the painter's pen colour with its top-left corner at the point.
    void Draw(QPainter& painter, const QPointF& topLeft, const QString& text, const QStaticText& shaped);

private:
    void Clear();
    QImage Render(const QStaticText& shaped, QRgb colour, qreal pixelRatio) const;

    struct Key {
        QString text;
        QRgb colour = 0;
        qreal pixelRatio = 1;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) { return qHashMulti(seed, key.text, key.colour, key.pixelRatio); }

    // Found once per font: asking the font database on every word of every frame costs.
    QFont m_font;
    bool m_large = false;
    int m_padding = 0; // room around the text's box for glyphs that reach past it (italics, accents)

    QHash<Key, QImage> m_images;
    qsizetype m_bytes = 0;
};
