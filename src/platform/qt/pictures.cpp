#include "platform/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/qt/qt_window_system.h"

namespace zonvex::qt {

QCursor CustomPointer() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 22);
    arrow.lineTo(6.5, 17);
    arrow.lineTo(10.5, 26);
    arrow.lineTo(14, 24.5);
    arrow.lineTo(10, 16);
    arrow.lineTo(17, 16);
    arrow.closeSubpath();
    QLinearGradient fill(0, 0, 16, 26);
    fill.setColorAt(0, QColor(255, 214, 90));
    fill.setColorAt(1, QColor(230, 110, 20));
    p.setBrush(fill);
    p.setPen(QPen(QColor(70, 35, 0), 1.2));
    p.drawPath(arrow);
    p.end();
    return QCursor(pixmap, 1, 1);
}

QPixmap GroupJoinPicture() {
    QPixmap pixmap(90, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 22);
    fill.setColorAt(0, QColor(92, 170, 250));
    fill.setColorAt(1, QColor(24, 110, 210));
    p.setBrush(fill);
    p.setPen(QPen(QColor(15, 80, 160), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 89, 21), 5, 5);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 90, 22), Qt::AlignCenter, ToQString("加入QQ群"));
    p.end();
    return pixmap;
}

}  // namespace zonvex::qt
