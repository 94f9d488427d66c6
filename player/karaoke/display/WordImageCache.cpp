#include "player/karaoke/display/WordImageCache.h"

#include <QFontInfo>
#include <QPaintDevice>
#include <QPainter>
#include <QStaticText>

#include <cmath>

namespace {

// Room around the text's box for glyphs that reach past it (italics, accents).
int Padding(const QFont& font)
{
    return std::max(2, QFontInfo(font).pixelSize() / 4);
}

} // namespace

bool CWordImageCache::Wanted(const QFont& font, const QPainter& painter)
{
    return QFontInfo(font).pixelSize() > LargestCachedGlyphPixels &&
           painter.worldTransform().type() <= QTransform::TxTranslate;
}

void CWordImageCache::Clear()
{
    m_images.clear();
    m_bytes = 0;
}

void CWordImageCache::Draw(QPainter& painter, const QPointF& topLeft, const QString& text,
                           const QStaticText& shaped, const QFont& font)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const Key key{text, painter.pen().color().rgba(), ratio};
    auto it = m_images.find(key);
    if (it == m_images.end()) {
        QImage image = Render(shaped, font, key.colour, ratio);
        if (m_bytes + image.sizeInBytes() > MaxBytes)
            Clear();
        m_bytes += image.sizeInBytes();
        it = m_images.insert(key, std::move(image));
    }
    const int padding = Padding(font);
    painter.drawImage(QPointF(std::round(topLeft.x()) - padding, std::round(topLeft.y()) - padding), *it);
}

QImage CWordImageCache::Render(const QStaticText& shaped, const QFont& font, QRgb colour, qreal pixelRatio) const
{
    const int padding = Padding(font);
    const QSize size(int(std::ceil(shaped.size().width())) + 2 * padding,
                     int(std::ceil(shaped.size().height())) + 2 * padding);
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(colour));
    painter.drawStaticText(QPointF(padding, padding), shaped);
    return image;
}
