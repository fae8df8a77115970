#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace plax {
namespace {

constexpr int kSize = 32;

void calendar(QPainter& p, const QColor& head) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 6, 24, 22), 2, 2);
    p.setBrush(head);
    p.drawRect(QRectF(4, 6, 24, 6));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.drawRect(QRectF(7 + c * 5, 14 + r * 4.5, 3, 2.5));
}

} // namespace

QIcon toolbarIcon(const QString& key) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(50, 50, 50), 1.5);

    if (key == QLatin1String("Employee")) {
        p.setPen(outline);
        p.setBrush(QColor(70, 130, 200));
        p.drawEllipse(QRectF(11, 4, 10, 10));
        QPainterPath body;
        body.moveTo(5, 29);
        body.cubicTo(5, 17, 27, 17, 27, 29);
        body.closeSubpath();
        p.drawPath(body);
    } else if (key == QLatin1String("Schedule")) {
        calendar(p, QColor(70, 160, 90));
        p.setPen(QPen(QColor(200, 60, 40), 2));
        p.drawLine(QPointF(19, 21), QPointF(19, 26));
    } else if (key == QLatin1String("Absence")) {
        calendar(p, QColor(220, 150, 40));
        p.setPen(QPen(QColor(200, 40, 40), 2.5));
        p.drawLine(QPointF(11, 15), QPointF(21, 26));
        p.drawLine(QPointF(21, 15), QPointF(11, 26));
    } else if (key == QLatin1String("Import")) {
        p.setPen(outline);
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(4, 20, 24, 8));
        p.setBrush(QColor(60, 150, 60));
        QPolygonF arrow;
        arrow << QPointF(13, 3) << QPointF(19, 3) << QPointF(19, 12) << QPointF(24, 12) << QPointF(16, 21)
              << QPointF(8, 12) << QPointF(13, 12);
        p.drawPolygon(arrow);
    } else if (key == QLatin1String("Edit")) {
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 3, 19, 26));
        p.setPen(QPen(QColor(130, 130, 130), 1));
        for (int y = 9; y <= 24; y += 5)
            p.drawLine(QPointF(8, y), QPointF(21, y));
        p.setPen(QPen(QColor(230, 170, 30), 4));
        p.drawLine(QPointF(15, 24), QPointF(28, 9));
    } else if (key == QLatin1String("Weekly")) {
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 26, 26));
        const QColor bars[] = {QColor(70, 130, 200), QColor(70, 160, 90), QColor(220, 150, 40)};
        const int heights[] = {10, 18, 13};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bars[i]);
            p.drawRect(QRectF(7 + i * 7, 26 - heights[i], 5, heights[i]));
        }
    } else if (key == QLatin1String("PrintID")) {
        p.setPen(outline);
        p.setBrush(QColor(235, 235, 245));
        p.drawRoundedRect(QRectF(2, 7, 28, 19), 3, 3);
        p.setBrush(QColor(70, 130, 200));
        p.drawEllipse(QRectF(6, 11, 8, 8));
        p.setPen(QPen(QColor(110, 110, 110), 1.5));
        p.drawLine(QPointF(17, 13), QPointF(27, 13));
        p.drawLine(QPointF(17, 17), QPointF(27, 17));
        p.drawLine(QPointF(6, 22), QPointF(27, 22));
    } else if (key == QLatin1String("Archive")) {
        p.setPen(outline);
        p.setBrush(QColor(190, 150, 100));
        p.drawRect(QRectF(4, 12, 24, 16));
        p.setBrush(QColor(160, 120, 75));
        p.drawRect(QRectF(2, 6, 28, 6));
        p.setBrush(QColor(240, 230, 210));
        p.drawRect(QRectF(12, 16, 8, 3));
    } else if (key == QLatin1String("Exit")) {
        p.setPen(outline);
        p.setBrush(QColor(150, 110, 80));
        p.drawRect(QRectF(4, 3, 14, 26));
        p.setBrush(QColor(200, 60, 40));
        QPolygonF arrow;
        arrow << QPointF(14, 13) << QPointF(22, 13) << QPointF(22, 8) << QPointF(30, 16) << QPointF(22, 24)
              << QPointF(22, 19) << QPointF(14, 19);
        p.drawPolygon(arrow);
    }
    p.end();
    return QIcon(pm);
}

} // namespace plax
