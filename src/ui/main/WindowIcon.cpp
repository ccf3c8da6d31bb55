#include "WindowIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap frame(double angle, double dip) {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The sheet with a few written lines.
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    p.setBrush(QColor(0xFB, 0xF7, 0xEC));
    p.drawRect(QRectF(6, 14, 40, 46));
    p.setPen(QPen(QColor(0x3A, 0x5F, 0xA0), 2));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(11, 24 + 9 * i), QPointF(i == 3 ? 28 : 40, 24 + 9 * i));
    // The quill, turning about its nib.
    p.translate(30, 50 + dip);
    p.rotate(angle);
    QPainterPath feather;
    feather.moveTo(0, 0);
    feather.cubicTo(6, -14, 20, -34, 30, -46);
    feather.cubicTo(20, -30, 12, -18, 3, -2);
    feather.closeSubpath();
    p.setPen(QPen(QColor(0x6B, 0x4E, 0x2E), 1.2));
    p.setBrush(QColor(0xE8, 0xC8, 0x7A));
    p.drawPath(feather);
    p.setPen(QPen(QColor(0x2B, 0x2B, 0x2B), 1.5));
    p.drawLine(QPointF(0, 0), QPointF(18, -26));
    return pixmap;
}

} // namespace

std::array<QIcon, 4> WindowIconFrames() {
    return {QIcon(frame(0, 0)), QIcon(frame(-6, -1)), QIcon(frame(6, 1)), QIcon(frame(-12, -3))};
}
