#include "player/karaoke/display/WordImageCache.h"

#include <QFontInfo>
#include <QPaintDevice>
#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <cmath>

void CWordImageCache::SetFont(const QFont& font)
{
    const int pixels = QFontInfo(font).pixelSize();
    m_font = font;
    m_large = pixels > LargestCachedGlyphPixels;
    m_padding = std::max(2, pixels / 4);
    Clear();
}

bool CWordImageCache::Wanted(const QPainter& painter) const
{
    return m_large && painter.worldTransform().type() <= QTransform::TxTranslate;
}

void CWordImageCache::Clear()
{
    m_images.clear();
    m_bytes = 0;
}

void CWordImageCache::Draw(QPainter& painter, const QPointF& topLeft, const QString& text, const QStaticText& shaped)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const Key key{text, painter.pen().color().rgba(), ratio};
    auto it = m_images.find(key);
    if (it == m_images.end()) {
        QImage image = Render(shaped, key.colour, ratio);
        if (m_bytes + image.sizeInBytes() > MaxBytes)
            Clear();
        m_bytes += image.sizeInBytes();
        it = m_images.insert(key, std::move(image));
    }
    painter.drawImage(QPointF(std::round(topLeft.x()) - m_padding, std::round(topLeft.y()) - m_padding), *it);
}

QImage CWordImageCache::Render(const QStaticText& shaped, QRgb colour, qreal pixelRatio) const
{
    const QSize size(int(std::ceil(shaped.size().width())) + 2 * m_padding,
                     int(std::ceil(shaped.size().height())) + 2 * m_padding);
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(m_font);
    painter.setPen(QColor::fromRgba(colour));
    painter.drawStaticText(QPointF(m_padding, m_padding), shaped);
    return image;
}
