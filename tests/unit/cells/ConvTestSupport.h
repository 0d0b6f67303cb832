#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"

// Capsules for conversion tests: a display request, an interactive key, or a committed text.
namespace ConvTest {

inline int g_grid = 0;  // stands for a grid: any non-null pointer makes a request interactive

inline cmcCellCapsule Display() {
    return cmcCellCapsule();
}

inline cmcCellCapsule Key(int32_t key) {
    cmcCellCapsule c;
    c.grid = &g_grid;
    c.key = key;
    return c;
}

inline cmcCellCapsule Typed(const std::string& text) {
    cmcCellCapsule c;
    c.grid = &g_grid;
    c.inputKind = kInputText;
    c.inputText = text;
    return c;
}

// A canvas that only remembers what was done to it.
class RecordingCanvas : public cmcCellCanvas {
public:
    uint32_t fontColor = 0x80000008u;
    int shapes = 0;
    uint32_t FontColor() const override { return fontColor; }
    void SetFontColor(uint32_t color) override { fontColor = color; }
    void FillRect(int, int, int, int, uint32_t) override { ++shapes; }
    void DrawLine(int, int, int, int, uint32_t) override { ++shapes; }
    void DrawPolygon(const Point*, int, uint32_t) override { ++shapes; }
};

}  // namespace ConvTest
