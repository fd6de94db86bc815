#include "snippets/snipkeep_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

#include "snippets/snippet_colours.h"
#include "widgets/dialog_colours.h"
#include "widgets/program_art.h"

namespace snipkeep {
namespace {

const QColor kInk(60, 70, 90);
const QColor kPaper(250, 250, 240);
const QColor kGreen(70, 140, 70);
const QColor kRed(200, 60, 50);
const QColor kBlue(50, 90, 190);
const QColor kFolder(225, 180, 70);

// A sheet of paper with a folded corner and a few lines of text.
void DrawSheet(QPainter& painter, const QRectF& rect) {
  const double fold = rect.width() / 3;
  QPainterPath sheet;
  sheet.moveTo(rect.topLeft());
  sheet.lineTo(rect.right() - fold, rect.top());
  sheet.lineTo(rect.right(), rect.top() + fold);
  sheet.lineTo(rect.bottomRight());
  sheet.lineTo(rect.bottomLeft());
  sheet.closeSubpath();
  painter.setPen(QPen(kInk, 1.2));
  painter.setBrush(kPaper);
  painter.drawPath(sheet);
  painter.drawLine(QPointF(rect.right() - fold, rect.top()), QPointF(rect.right() - fold, rect.top() + fold));
  painter.drawLine(QPointF(rect.right() - fold, rect.top() + fold), QPointF(rect.right(), rect.top() + fold));
  painter.setPen(QPen(kInk.lighter(180), 1.5));
  for (double y = rect.top() + fold + 3; y < rect.bottom() - 2; y += 4) {
    painter.drawLine(QPointF(rect.left() + 3, y), QPointF(rect.right() - 3, y));
  }
}

void DrawChoose(QPainter& painter) {
  painter.setPen(QPen(kInk, 1.2));
  painter.setBrush(kPaper);
  painter.drawRect(QRectF(3, 3, 20, 26));
  for (int row = 0; row < 4; ++row) {
    const double y = 8 + row * 5.5;
    painter.setPen(QPen(row == 1 ? kBlue : kInk.lighter(180), 2));
    painter.drawLine(QPointF(7, y), QPointF(19, y));
  }
  QPainterPath pointer;
  pointer.moveTo(17, 13);
  pointer.lineTo(29, 19);
  pointer.lineTo(23.5, 20.5);
  pointer.lineTo(26.5, 27);
  pointer.lineTo(24, 28);
  pointer.lineTo(21, 21.5);
  pointer.lineTo(17, 25);
  pointer.closeSubpath();
  painter.setPen(QPen(kInk, 1));
  painter.setBrush(Qt::white);
  painter.drawPath(pointer);
}

void DrawEdit(QPainter& painter) {
  DrawSheet(painter, QRectF(3, 2, 19, 26));
  painter.save();
  painter.translate(22, 14);
  painter.rotate(45);
  painter.setPen(QPen(kInk, 1));
  painter.setBrush(QColor(240, 190, 60));
  painter.drawRect(QRectF(-2.5, -10, 5, 16));
  painter.setBrush(QColor(230, 200, 160));
  QPainterPath tip;
  tip.moveTo(-2.5, 6);
  tip.lineTo(2.5, 6);
  tip.lineTo(0, 11);
  tip.closeSubpath();
  painter.drawPath(tip);
  painter.setBrush(QColor(230, 130, 130));
  painter.drawRect(QRectF(-2.5, -13, 5, 3));
  painter.restore();
}

void DrawRefresh(QPainter& painter) {
  painter.setPen(QPen(kGreen, 3.2, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  const QRectF ring(6, 6, 20, 20);
  painter.drawArc(ring, 30 * 16, 270 * 16);
  QPainterPath head;
  head.moveTo(24, 4);
  head.lineTo(28.5, 13);
  head.lineTo(19, 12);
  head.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kGreen);
  painter.drawPath(head);
}

void DrawOpenDirectory(QPainter& painter) {
  painter.setPen(QPen(kFolder.darker(160), 1.2));
  painter.setBrush(kFolder.darker(115));
  QPainterPath back;
  back.moveTo(3, 8);
  back.lineTo(11, 8);
  back.lineTo(13, 10.5);
  back.lineTo(25, 10.5);
  back.lineTo(25, 26);
  back.lineTo(3, 26);
  back.closeSubpath();
  painter.drawPath(back);
  painter.setBrush(kPaper);
  painter.drawRect(QRectF(7, 6, 15, 12));
  painter.setBrush(kFolder);
  QPainterPath front;
  front.moveTo(3, 26);
  front.lineTo(8, 15);
  front.lineTo(30, 15);
  front.lineTo(25, 26);
  front.closeSubpath();
  painter.drawPath(front);
}

void DrawHelp(QPainter& painter) {
  painter.setPen(QPen(kBlue.darker(130), 1.2));
  painter.setBrush(kBlue);
  painter.drawEllipse(QRectF(3, 3, 26, 26));
  QFont font("Sans");
  font.setBold(true);
  font.setPixelSize(20);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
}

void DrawSign(QPainter& painter, const QPointF& centre, bool plus, const QColor& colour) {
  painter.setPen(QPen(colour.darker(140), 1));
  painter.setBrush(colour);
  painter.drawEllipse(centre, 7.5, 7.5);
  painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
  if (plus) {
    painter.drawLine(centre + QPointF(-4, 0), centre + QPointF(4, 0));
    painter.drawLine(centre + QPointF(0, -4), centre + QPointF(0, 4));
  } else {
    painter.drawLine(centre + QPointF(-3, -3), centre + QPointF(3, 3));
    painter.drawLine(centre + QPointF(-3, 3), centre + QPointF(3, -3));
  }
}

void DrawClose(QPainter& painter) {
  painter.setPen(QPen(kRed, 4.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(8, 8), QPointF(24, 24));
  painter.drawLine(QPointF(8, 24), QPointF(24, 8));
}

void Draw(QPainter& painter, ButtonArt art) {
  switch (art) {
    case ButtonArt::Choose: DrawChoose(painter); break;
    case ButtonArt::Edit: DrawEdit(painter); break;
    case ButtonArt::Refresh: DrawRefresh(painter); break;
    case ButtonArt::OpenDirectory: DrawOpenDirectory(painter); break;
    case ButtonArt::Help: DrawHelp(painter); break;
    case ButtonArt::NewList:
      DrawSheet(painter, QRectF(3, 2, 19, 26));
      DrawSign(painter, QPointF(22, 22), true, kGreen);
      break;
    case ButtonArt::DeleteList:
      DrawSheet(painter, QRectF(3, 2, 19, 26));
      DrawSign(painter, QPointF(22, 22), false, kRed);
      break;
    case ButtonArt::Close: DrawClose(painter); break;
  }
}

}  // namespace

QIcon SnipkeepIcon() { return suite::ProgramIcon(suite::kSnipkeepMark); }

QIcon ButtonIcon(ButtonArt art) {
  // Drawn on a 32-unit square, at the sizes a tool button asks for.
  QIcon icon;
  for (const int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    Draw(painter, art);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void ApplySnipkeepLook(QWidget* window) {
  QFont font = window->font();
  font.setFamilies({"WenQuanYi Micro Hei", "Noto Sans CJK SC", font.family()});
  font.setPointSize(9);
  window->setFont(font);
  window->setWindowIcon(SnipkeepIcon());
  suite::ApplyDialogColours(window, QColor(kDialogTextColour.red, kDialogTextColour.green, kDialogTextColour.blue));
}

}  // namespace snipkeep
