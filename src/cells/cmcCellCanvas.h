#pragma once

#include <cstdint>

// The drawing surface a cell capsule carries while a cell is drawn (on screen or for printing).
// The sheet's drawing code implements it over its painter; behaviours may change the font colour
// and draw simple shapes. Colours are colour values (0x00BBGGRR, or system colours 0x80000000 +
// index); coordinates are those of the cell rectangle.
class cmcCellCanvas {
public:
    struct Point {
        int x = 0;
        int y = 0;
    };

    virtual ~cmcCellCanvas() = default;

    virtual uint32_t FontColor() const = 0;
    virtual void SetFontColor(uint32_t color) = 0;
    // Fills the rectangle [left, right) x [top, bottom) with a colour.
    virtual void FillRect(int left, int top, int right, int bottom, uint32_t color) = 0;
    // A line one pixel wide from (x0, y0) to (x1, y1), end point excluded.
    virtual void DrawLine(int x0, int y0, int x1, int y1, uint32_t color) = 0;
    // A filled polygon drawn with pen and brush of one colour.
    virtual void DrawPolygon(const Point* points, int count, uint32_t color) = 0;
};
