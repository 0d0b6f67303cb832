#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QString>

#include "cells/cmcCellCanvas.h"
#include "cells/cmcColor.h"

class QPainter;

// The one drawing surface of sheet cells: the screen, a QImage or a printer page, whichever the
// QPainter paints on. It is also the canvas a cell behaviour sees while its cell is drawn (it may
// change the font colour and draw simple shapes). Colours are colour values, resolved against the
// palette of the grid the sheet lives in.
class cuiCellPainter : public cmcCellCanvas {
public:
    cuiCellPainter(QPainter& painter, const QPalette& palette);

    QPainter& Painter() { return painter_; }
    QColor Resolve(cmcColor color) const { return ToQColor(color, palette_); }

    uint32_t FontColor() const override { return fontColor_; }
    void SetFontColor(uint32_t color) override { fontColor_ = color; }
    void FillRect(int left, int top, int right, int bottom, uint32_t color) override;
    void DrawLine(int x0, int y0, int x1, int y1, uint32_t color) override;
    void DrawPolygon(const Point* points, int count, uint32_t color) override;

    // Text in the current font and font colour, with a transparent background; (x, y) is the
    // top-left corner of the line. The pen position moves to the end of the line.
    void SetFont(const QFont& font);
    const QFontMetrics& Metrics() const { return metrics_; }
    void DrawText(int x, int y, const QString& line);
    int PenX() const { return penX_; }
    void SetPenX(int x) { penX_ = x; }

private:
    QPainter& painter_;
    QPalette palette_;
    cmcColor fontColor_ = clWindowText;
    QFont font_;
    QFontMetrics metrics_;
    int penX_ = 0;
};

// The notice and error marks as shapes: the product's printed form (black outlines on white), and
// the coloured form the drawn image list uses. s is the mark's size; (x, y) its top-left corner.
namespace cuiMarkShapes {

void DrawError(QPainter& painter, int x, int y, int s, const QColor& fill, const QColor& outline);
void DrawNotice(QPainter& painter, int x, int y, int s, const QColor& fill, const QColor& outline);

}  // namespace cuiMarkShapes
