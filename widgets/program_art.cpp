#include "widgets/program_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace suite {

QIcon ProgramIcon(const QString& initial, const QColor& colour) {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, size);
    shade.setColorAt(0, colour.lighter(130));
    shade.setColorAt(1, colour.darker(120));
    painter.setBrush(shade);
    painter.setPen(QPen(colour.darker(160), size / 16.0));
    painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QFont font("Sans");
    font.setBold(true);
    font.setPixelSize(size * 5 / 8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, initial);
    icon.addPixmap(pixmap);
  }
  return icon;
}

const QCursor& HandCursor() {
  static const QCursor cursor = [] {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A pointing hand: index finger up, three folded fingers, the thumb.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 2, 5, 16), 2.5, 2.5);
    hand.addRoundedRect(QRectF(14, 10, 4.5, 9), 2, 2);
    hand.addRoundedRect(QRectF(18.5, 11, 4.5, 8), 2, 2);
    hand.addRoundedRect(QRectF(23, 12, 4, 7), 2, 2);
    hand.addRoundedRect(QRectF(4, 13, 6, 5), 2, 2);
    hand.addRoundedRect(QRectF(8, 15, 19, 13), 4, 4);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(hand.simplified());
    return QCursor(pixmap, 11, 2);
  }();
  return cursor;
}

QPixmap SplashPicture(int width, int height) {
  QPixmap pixmap(width, height);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(40, 60, 120));
  sky.setColorAt(1, QColor(100, 100, 155));
  painter.fillRect(pixmap.rect(), sky);
  // Lines of a log, and a magnifier over them.
  painter.setPen(QPen(QColor(220, 225, 240, 150), 2));
  for (int y = height / 8; y < height * 7 / 8; y += height / 14) {
    painter.drawLine(width / 10, y, width / 10 + (y * 37 % (width * 6 / 10)) + width / 5, y);
  }
  painter.setPen(QPen(QColor(255, 215, 80), width / 30.0));
  painter.setBrush(QColor(255, 255, 255, 50));
  const QPointF centre(width * 0.58, height * 0.45);
  const double radius = width * 0.2;
  painter.drawEllipse(centre, radius, radius);
  painter.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.6, radius * 1.6));
  QFont font("Sans");
  font.setBold(true);
  font.setPixelSize(height / 9);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, height * 3 / 4, width, height / 4), Qt::AlignCenter, "Lorvane");
  return pixmap;
}

}  // namespace suite
