#include "player/app/PlayerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

QPixmap Canvas(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void FillPolygon(QPainter& painter, const QPolygonF& polygon)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawPolygon(polygon);
}

// A simple drawing of each transport command on a 16 x 15 button face.
QIcon DrawnTransport(int commandId)
{
    QPixmap pixmap = Canvas(16, 15);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (commandId) {
    case 32771: FillPolygon(painter, QPolygonF({QPointF(4, 2), QPointF(13, 7.5), QPointF(4, 13)})); break;
    case 32772: painter.fillRect(QRectF(3.5, 3, 9, 9), QColor(40, 40, 40)); break;
    case 32773:
        painter.fillRect(QRectF(4, 2.5, 3, 10), QColor(40, 40, 40));
        painter.fillRect(QRectF(9, 2.5, 3, 10), QColor(40, 40, 40));
        break;
    case 32774:
        painter.fillRect(QRectF(2.5, 3, 2, 9), QColor(40, 40, 40));
        FillPolygon(painter, QPolygonF({QPointF(13, 2.5), QPointF(5, 7.5), QPointF(13, 12.5)}));
        break;
    case 32775:
        painter.fillRect(QRectF(11.5, 3, 2, 9), QColor(40, 40, 40));
        FillPolygon(painter, QPolygonF({QPointF(3, 2.5), QPointF(11, 7.5), QPointF(3, 12.5)}));
        break;
    default: break;
    }
    return QIcon(pixmap);
}

const char* ThemeName(int commandId)
{
    switch (commandId) {
    case 32771: return "media-playback-start";
    case 32772: return "media-playback-stop";
    case 32773: return "media-playback-pause";
    case 32774: return "media-skip-backward";
    case 32775: return "media-skip-forward";
    default: return "";
    }
}

} // namespace

namespace PlayerIcons {

QIcon Application()
{
    QIcon icon;
    for (int side : {16, 32, 48}) {
        QPixmap pixmap = Canvas(side, side);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double unit = side / 16.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 60, 120));
        painter.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), 3 * unit, 3 * unit);
        // A quaver in the LED green of the time read-out.
        painter.setBrush(QColor(100, 255, 100));
        painter.drawEllipse(QRectF(3 * unit, 9.5 * unit, 5 * unit, 4 * unit));
        painter.drawRect(QRectF(6.6 * unit, 2.5 * unit, 1.4 * unit, 9 * unit));
        painter.drawPolygon(QPolygonF({QPointF(8 * unit, 2.5 * unit), QPointF(12.5 * unit, 5 * unit),
                                       QPointF(12.5 * unit, 7 * unit), QPointF(8 * unit, 4.5 * unit)}));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon Transport(int commandId)
{
    return QIcon::fromTheme(QString::fromLatin1(ThemeName(commandId)), DrawnTransport(commandId));
}

} // namespace PlayerIcons
