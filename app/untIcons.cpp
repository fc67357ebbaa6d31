#include "app/untIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

// Every picture is drawn on a 16 × 16 grid and scaled, so both sizes show the same shape.
// Outlines sit on half units so that the 16-pixel picture stays crisp.
const QColor kOutline(0x40, 0x40, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kTextLine(0x50, 0x70, 0xC0);

void page(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void textLines(QPainter& p, qreal x0, qreal x1, qreal y0, qreal y1) {
  p.setPen(QPen(kTextLine, 1));
  for (qreal y = y0; y <= y1; y += 2) p.drawLine(QPointF(x0, y), QPointF(x1, y));
}

void arrowHead(QPainter& p, QPointF tip, QPointF base1, QPointF base2, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(QPolygonF({tip, base1, base2}));
}

void magnifier(QPainter& p, QPointF centre, qreal radius, QPointF handleEnd) {
  const qreal k = radius / std::sqrt(2.0);
  p.setPen(QPen(QColor(0x80, 0x50, 0x20), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre + QPointF(k, k), handleEnd);
  p.setPen(QPen(kOutline, 1.4));
  p.setBrush(QColor(0xC8, 0xE4, 0xFF));
  p.drawEllipse(centre, radius, radius);
  // A small highlight makes the glass read as glass.
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(centre.x() - radius + 1.5, centre.y() - radius + 1.5, radius, radius), 90 * 16, 90 * 16);
}

void paintNew(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}));
  p.setBrush(QColor(0xD8, 0xD8, 0xD8));
  p.drawPolygon(QPolygonF({{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}}));
  // The yellow spark says "new".
  p.setPen(QPen(QColor(0xE0, 0xA0, 0x00), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3, 0.8), QPointF(3, 5.2));
  p.drawLine(QPointF(0.8, 3), QPointF(5.2, 3));
  p.drawLine(QPointF(1.5, 1.5), QPointF(4.5, 4.5));
  p.drawLine(QPointF(1.5, 4.5), QPointF(4.5, 1.5));
}

void paintOpen(QPainter& p) {
  const QColor edge(0x80, 0x60, 0x10);
  p.setPen(QPen(edge, 1));
  p.setBrush(QColor(0xE0, 0xB0, 0x30));
  p.drawPolygon(QPolygonF({{1.5, 2.5}, {5.5, 2.5}, {6.5, 3.5}, {12.5, 3.5}, {12.5, 13.5}, {1.5, 13.5}}));
  p.setBrush(QColor(0xF8, 0xD8, 0x60));
  p.drawPolygon(QPolygonF({{1.5, 13.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}));
}

void paintSave(QPainter& p) {
  p.setPen(QPen(QColor(0x10, 0x20, 0x50), 1));
  p.setBrush(QColor(0x30, 0x50, 0xA0));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawRect(QRectF(4, 2, 8, 5.5));
  textLines(p, 5, 11, 3.5, 5.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC8, 0xC8, 0xC8));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));
  p.setBrush(QColor(0x30, 0x50, 0xA0));
  p.drawRect(QRectF(8.5, 10.5, 2, 3));
}

void paintCut(QPainter& p) {
  p.setPen(QPen(QColor(0x70, 0x70, 0x78), 1.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5.5, 10), QPointF(11, 1.5));
  p.drawLine(QPointF(10.5, 10), QPointF(5, 1.5));
  p.setPen(QPen(QColor(0xB0, 0x10, 0x10), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(4.5, 12.2), 2.3, 2.3);
  p.drawEllipse(QPointF(11.5, 12.2), 2.3, 2.3);
  p.setPen(Qt::NoPen);
  p.setBrush(kOutline);
  p.drawEllipse(QPointF(8, 6.1), 0.9, 0.9);
}

void paintCopy(QPainter& p) {
  page(p, QRectF(1.5, 1.5, 8, 10));
  textLines(p, 3, 8, 3.5, 7.5);
  page(p, QRectF(6.5, 4.5, 8, 10));
  textLines(p, 8, 13, 6.5, 12.5);
}

void paintPaste(QPainter& p) {
  p.setPen(QPen(QColor(0x60, 0x40, 0x20), 1));
  p.setBrush(QColor(0xB8, 0x88, 0x48));
  p.drawRect(QRectF(1.5, 2.5, 10, 12));
  p.setBrush(QColor(0xB0, 0xB0, 0xB0));
  p.setPen(QPen(kOutline, 1));
  p.drawRect(QRectF(4.5, 1.5, 4, 3));
  page(p, QRectF(6.5, 6.5, 8, 8.5));
  textLines(p, 8, 13, 8.5, 13.5);
}

// A bent arrow; mirrored gives redo.
void paintUndo(QPainter& p, bool mirrored) {
  if (mirrored) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  const QColor c(0x20, 0x50, 0xC0);
  QPainterPath path;
  path.moveTo(13, 14);
  path.cubicTo(15, 7, 11, 5, 6, 5);
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  arrowHead(p, {1, 5}, {6.5, 0.5}, {6.5, 9.5}, c);
}

void paintPrint(QPainter& p) {
  page(p, QRectF(4.5, 1.5, 7, 6));
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(0xC0, 0xC0, 0xC8));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  page(p, QRectF(4.5, 10.5, 7, 4));
  textLines(p, 5.5, 10.5, 12.5, 12.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0xC0, 0x20));
  p.drawRect(QRectF(11.5, 8, 1.5, 1.5));
}

void paintOptions(QPainter& p) {
  const QColor c(0x70, 0x70, 0x88);
  p.save();
  p.translate(8, 8);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  for (int i = 0; i < 8; ++i) {
    p.drawRect(QRectF(-1.4, -7.5, 2.8, 3.5));
    p.rotate(45);
  }
  p.setPen(QPen(QColor(0x40, 0x40, 0x50), 1));
  p.drawEllipse(QPointF(0, 0), 5, 5);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(0, 0), 2, 2);
  p.restore();
}

void paintSearch(QPainter& p) { magnifier(p, {6.5, 6.5}, 4.5, {14, 14}); }

void paintReplace(QPainter& p) {
  magnifier(p, {5, 5}, 3.7, {9, 9});
  const QColor c(0xC0, 0x20, 0x20);
  p.setPen(QPen(c, 1.4));
  p.drawLine(QPointF(7, 11.5), QPointF(12.5, 11.5));
  arrowHead(p, {15.5, 11.5}, {12, 9}, {12, 14}, c);
  p.setPen(QPen(c, 1.4));
  p.drawLine(QPointF(4, 14.8), QPointF(9.5, 14.8));
  arrowHead(p, {1, 14.8}, {4.5, 12.3}, {4.5, 17.3}, c);
}

void paintSearchAgain(QPainter& p) {
  magnifier(p, {5.5, 5.5}, 4, {10, 10});
  const QColor c(0x10, 0x90, 0x20);
  p.setPen(QPen(c, 2));
  p.drawLine(QPointF(3, 13.5), QPointF(11, 13.5));
  arrowHead(p, {15.5, 13.5}, {10.5, 10}, {10.5, 17}, c);
}

}  // namespace

QPixmap PaintMainImage(int index, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  switch (index) {
    case iiFileNew: paintNew(p); break;
    case iiFileOpen: paintOpen(p); break;
    case iiFileSave: paintSave(p); break;
    case iiCut: paintCut(p); break;
    case iiCopy: paintCopy(p); break;
    case iiPaste: paintPaste(p); break;
    case iiUndo: paintUndo(p, false); break;
    case iiRedo: paintUndo(p, true); break;
    case iiPrint: paintPrint(p); break;
    case iiOptions: paintOptions(p); break;
    case iiSearch: paintSearch(p); break;
    case iiReplace: paintReplace(p); break;
    case iiSearchAgain: paintSearchAgain(p); break;
    default: break;
  }
  return pm;
}

QIcon MainImage(int index) {
  QIcon icon;
  icon.addPixmap(PaintMainImage(index, 16));
  icon.addPixmap(PaintMainImage(index, 32));
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(0x10, 0x20, 0x50), 1.5));
    p.setBrush(QColor(0x30, 0x50, 0xA0));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    // Two rows of "hex digits" as cells, the first one highlighted like the caret.
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 2; ++row)
      for (int col = 0; col < 3; ++col) {
        p.setBrush(row == 0 && col == 0 ? QColor(0xF0, 0xF0, 0xB4) : QColor(0xFF, 0xFF, 0xFF));
        p.drawRect(QRectF(5 + col * 8, 6 + row * 11, 6, 8));
      }
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}
