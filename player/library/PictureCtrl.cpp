#include "player/library/PictureCtrl.h"

#include "player/library/PictureDecoder.h"

#include <QPainter>

CPictureCtrl::CPictureCtrl(QWidget* parent) : QWidget(parent)
{
    // The whole control is painted every time: the background first, then the picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CPictureCtrl::SetPicture(QByteArrayView data)
{
    const QImage image = PictureDecoder::Decode(data);
    if (image.isNull())
        return false;
    SetImage(image);
    return true;
}

void CPictureCtrl::SetImage(const QImage& image)
{
    m_image = image;
    m_scaled = QImage();
    update();
}

void CPictureCtrl::Clear()
{
    SetImage(QImage());
}

void CPictureCtrl::SetZoom(int percent)
{
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    update();
}

QSize CPictureCtrl::DrawSize(const QSize& picture, const QSize& client, int zoom)
{
    const qint64 width = picture.width();
    const qint64 height = picture.height();
    if (width <= 0 || height <= 0)
        return {};
    if (zoom > 0)
        return QSize(int(width * zoom / 100), int(height * zoom / 100));
    // Fit: the width the client height allows, or else the height the client width allows
    // (both rounded down, in whole numbers so that 4:3 in 100 x 100 gives exactly 100 x 75).
    const qint64 fitWidth = width * client.height() / height;
    if (fitWidth > client.width())
        return QSize(client.width(), int(height * client.width() / width));
    return QSize(int(fitWidth), client.height());
}

const QImage& CPictureCtrl::ScaledTo(const QSize& size)
{
    if (size == m_image.size())
        return m_image;
    if (m_scaled.size() != size)
        m_scaled = m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_scaled;
}

void CPictureCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(BackgroundColor));
    if (m_image.isNull())
        return;
    const QSize size = DrawSize(m_image.size(), this->size(), m_zoom);
    if (size.isEmpty())
        return;
    painter.drawImage(0, 0, ScaledTo(size));
}
