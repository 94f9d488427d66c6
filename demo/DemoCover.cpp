#include "demo/DemoCover.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace {

void DrawBlossom(QPainter& painter, QPointF centre, double radius)
{
    painter.setBrush(QColor(255, 214, 228));
    painter.setPen(QPen(QColor(230, 150, 180), 1));
    for (int petal = 0; petal < 5; ++petal) {
        const double angle = petal * 2 * std::numbers::pi / 5;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * radius * 0.6;
        painter.drawEllipse(at, radius * 0.5, radius * 0.5);
    }
    painter.setBrush(QColor(200, 60, 110));
    painter.drawEllipse(centre, radius * 0.18, radius * 0.18);
}

void DrawStar(QPainter& painter, QPointF centre, double radius)
{
    QPainterPath star;
    for (int point = 0; point < 10; ++point) {
        const double angle = point * std::numbers::pi / 5 - std::numbers::pi / 2;
        const double r = point % 2 == 0 ? radius : radius * 0.4;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * r;
        point == 0 ? star.moveTo(at) : star.lineTo(at);
    }
    star.closeSubpath();
    painter.fillPath(star, QColor(255, 236, 140));
}

} // namespace

QImage CDemoCover::Blossoms(const QString& caption)
{
    QImage image(Side, Side, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, Side);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(250, 220, 235));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(1888);
    for (int i = 0; i < 40; ++i)
        DrawBlossom(painter, QPointF(random.bounded(Side), random.bounded(Side * 2 / 3)), 10 + random.bounded(14));
    painter.end();
    DrawCaption(image, caption, QColor(120, 20, 60));
    return image;
}

QImage CDemoCover::StarryNight(const QString& caption)
{
    QImage image(Side, Side, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, Side);
    sky.setColorAt(0, QColor(10, 16, 60));
    sky.setColorAt(1, QColor(40, 70, 140));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(1806);
    for (int i = 0; i < 30; ++i)
        DrawStar(painter, QPointF(random.bounded(Side), random.bounded(Side * 2 / 3)), 3 + random.bounded(9));
    painter.end();
    DrawCaption(image, caption, QColor(255, 246, 200));
    return image;
}

void CDemoCover::DrawCaption(QImage& image, const QString& caption, const QColor& colour)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(10, Side * 2 / 3, Side - 20, Side / 3 - 10), Qt::AlignCenter | Qt::TextWordWrap, caption);
}
