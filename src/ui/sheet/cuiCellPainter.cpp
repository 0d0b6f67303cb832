#include "ui/sheet/cuiCellPainter.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

cuiCellPainter::cuiCellPainter(QPainter& painter, const QPalette& palette)
    : painter_(painter),
      palette_(palette),
      font_(painter.font()),
      metrics_(font_, painter.device()) {}

void cuiCellPainter::FillRect(int left, int top, int right, int bottom, uint32_t color) {
    if (right <= left || bottom <= top)
        return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), Resolve(color));
}

void cuiCellPainter::DrawLine(int x0, int y0, int x1, int y1, uint32_t color) {
    painter_.setPen(QPen(Resolve(color), 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawLine(x0, y0, x1, y1);
}

void cuiCellPainter::DrawPolygon(const Point* points, int count, uint32_t color) {
    if (points == nullptr || count < 2)
        return;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    const QColor c = Resolve(color);
    painter_.setPen(QPen(c, 1));
    painter_.setBrush(c);
    painter_.drawPolygon(polygon);
}

void cuiCellPainter::SetFont(const QFont& font) {
    if (font == font_)
        return;
    font_ = font;
    painter_.setFont(font_);
    metrics_ = QFontMetrics(font_, painter_.device());
}

void cuiCellPainter::DrawText(int x, int y, const QString& line) {
    painter_.setPen(Resolve(fontColor_));
    painter_.drawText(x, y + metrics_.ascent(), line);
    penX_ = x + metrics_.horizontalAdvance(line);
}

namespace cuiMarkShapes {

void DrawError(QPainter& painter, int x, int y, int s, const QColor& fill, const QColor& outline) {
    const int c = s / 8, d = s / 2, e = s - 1;
    const QPoint points[] = {{c, 0},     {d, d - c}, {e - c, 0}, {e, c},     {d + c, d}, {e, e - c},
                             {e - c, e}, {d, d + c}, {c, e},     {0, e - c}, {d - c, d}, {0, c}};
    QPolygon polygon;
    for (const QPoint& p : points)
        polygon << p + QPoint(x, y);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawPolygon(polygon);
}

void DrawNotice(QPainter& painter, int x, int y, int s, const QColor& fill, const QColor& outline) {
    const int c = s / 8, d = s / 2, e = s - 1;
    const QPoint offset(x, y);
    QPolygon triangle;
    triangle << QPoint(d, 0) + offset << QPoint(e, e) + offset << QPoint(0, e) + offset;
    painter.setPen(QPen(outline, s / 16 + 1));
    painter.setBrush(fill);
    painter.drawPolygon(triangle);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(outline);
    QPolygon bar;
    bar << QPoint(d - c, s / 3) + offset << QPoint(d + c, s / 3) + offset
        << QPoint(d + s / 10, 2 * s / 3) + offset << QPoint(d - s / 10, 2 * s / 3) + offset;
    painter.drawPolygon(bar);
    const int dotTop = 3 * s / 4;
    painter.drawRect(
        QRect(QPoint(d - s / 10, dotTop) + offset, QPoint(d + s / 10, dotTop + s / 6) + offset));
}

}  // namespace cuiMarkShapes
