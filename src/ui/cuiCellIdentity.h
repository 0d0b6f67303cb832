#pragma once

#include <cstdint>
#include <cstring>

#include "cells/cmcCellObj.h"

// The identity of a sheet's current cell as the sheet answers event 12 (which cell is current):
// 48 bytes of plain data, so that it can travel as an event reply. A menu makes a context cell
// of it for its items' behaviours.
struct cuiCellIdentity {
    int32_t category = CT_None;
    int32_t label = CL_None;
    int32_t argument = 0;
    int32_t imageIndex = -1;
    uint32_t color = clWindow;
    uint8_t layout = 0;
    uint8_t state = 0;
    uint8_t reserved[2] = {};
    int32_t column = -1;  // where the cell is in its sheet
    int32_t row = -1;
    uint8_t spare[16] = {};

    static cuiCellIdentity Of(const cmcCellObj& cell, int column, int row) {
        cuiCellIdentity id;
        id.category = cell.category;
        id.label = cell.label;
        id.argument = cell.argument;
        id.imageIndex = cell.imageIndex;
        id.color = cell.color;
        id.layout = cell.layout;
        id.state = cell.state;
        id.column = column;
        id.row = row;
        return id;
    }
    // Fills a cell with the identity (texts, font and popup key are not part of it).
    void ApplyTo(cmcCellObj& cell) const {
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        cell.imageIndex = imageIndex;
        cell.color = color;
        cell.layout = layout;
        cell.state = state;
    }
    // A reply's data as an identity; false when the data is not one.
    static bool FromData(const void* data, int length, cuiCellIdentity* out) {
        if (data == nullptr || length != int(sizeof(cuiCellIdentity)))
            return false;
        std::memcpy(out, data, sizeof(cuiCellIdentity));
        return true;
    }
};

static_assert(sizeof(cuiCellIdentity) == 48, "the identity travels as 48 bytes");
