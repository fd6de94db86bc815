#include "widgets/program_art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace suite {

namespace {

// The tile of a program's icon, `size` units square: one description for the
// pixmaps and the SVG document.
struct Tile {
  QRectF frame;
  double radius = 0;
  double border = 0;
  QColor top, bottom, edge;
  QFont font;
  QString initial;
};

Tile TileOf(const ProgramMark& mark, int size) {
  const QColor colour(mark.colour.red, mark.colour.green, mark.colour.blue);
  Tile tile;
  tile.frame = QRectF(1, 1, size - 2, size - 2);
  tile.radius = size / 5.0;
  tile.border = size / 16.0;
  tile.top = colour.lighter(130);
  tile.bottom = colour.darker(120);
  tile.edge = colour.darker(160);
  tile.font = QFont("Sans");
  tile.font.setBold(true);
  tile.font.setPixelSize(size * 5 / 8);
  tile.initial = QString(QChar::fromLatin1(mark.initial));
  return tile;
}

QString SvgNumber(double value) { return QString::number(value, 'f', 2); }

// A painter path as SVG path data.
QString SvgPathData(const QPainterPath& path) {
  QString data;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element point = path.elementAt(i);
    if (point.isMoveTo()) {
      data += QStringLiteral("M%1 %2").arg(SvgNumber(point.x), SvgNumber(point.y));
    } else if (point.isLineTo()) {
      data += QStringLiteral("L%1 %2").arg(SvgNumber(point.x), SvgNumber(point.y));
    } else if (point.isCurveTo() && i + 2 < path.elementCount()) {
      const QPainterPath::Element second = path.elementAt(i + 1);
      const QPainterPath::Element end = path.elementAt(i + 2);
      data += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                  .arg(SvgNumber(point.x), SvgNumber(point.y), SvgNumber(second.x), SvgNumber(second.y),
                       SvgNumber(end.x), SvgNumber(end.y));
      i += 2;
    }
  }
  return data;
}

}  // namespace

QPixmap ProgramPixmap(const ProgramMark& mark, int size) {
  const Tile tile = TileOf(mark, size);
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, size);
  shade.setColorAt(0, tile.top);
  shade.setColorAt(1, tile.bottom);
  painter.setBrush(shade);
  painter.setPen(QPen(tile.edge, tile.border));
  painter.drawRoundedRect(tile.frame, tile.radius, tile.radius);
  painter.setFont(tile.font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, tile.initial);
  return pixmap;
}

QIcon ProgramIcon(const ProgramMark& mark) {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(ProgramPixmap(mark, size));
  return icon;
}

QByteArray ProgramSvg(const ProgramMark& mark, int size) {
  const Tile tile = TileOf(mark, size);
  // Placed as drawText centres a line: its advance across, ascent and descent down.
  const QFontMetricsF metrics(tile.font);
  const QPointF baseline((size - metrics.horizontalAdvance(tile.initial)) / 2,
                         (size - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent());
  QPainterPath initial;
  initial.addText(baseline, tile.font, tile.initial);
  const QString extent = QString::number(size);
  const QString svg =
      QStringLiteral(
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
          "  <defs>\n"
          "    <linearGradient id=\"shade\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"%1\">\n"
          "      <stop offset=\"0\" stop-color=\"%2\"/>\n"
          "      <stop offset=\"1\" stop-color=\"%3\"/>\n"
          "    </linearGradient>\n"
          "  </defs>\n"
          "  <rect x=\"%4\" y=\"%5\" width=\"%6\" height=\"%7\" rx=\"%8\" ry=\"%8\" fill=\"url(#shade)\" "
          "stroke=\"%9\" stroke-width=\"%10\"/>\n"
          "  <path fill=\"#ffffff\" fill-rule=\"%11\" d=\"%12\"/>\n"
          "</svg>\n")
          .arg(extent, tile.top.name(), tile.bottom.name(), SvgNumber(tile.frame.x()), SvgNumber(tile.frame.y()),
               SvgNumber(tile.frame.width()), SvgNumber(tile.frame.height()), SvgNumber(tile.radius),
               tile.edge.name())
          .arg(SvgNumber(tile.border), initial.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd") : QStringLiteral("nonzero"),
               SvgPathData(initial));
  return svg.toUtf8();
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
