#pragma once

#include <string>

#include "cells/cuiMainCore.h"

// What a sort of rows did.
struct cuiSortResult {
    enum Outcome {
        kSorted,        // the rows are in order now (perhaps they were already)
        kNotARowTable,  // the sheet's rows are not records that row edits move
        kNoColumn,      // the column shows nothing to sort by
    };
    Outcome outcome = kNotARowTable;
    int rows = 0;        // the rows put in order (used rows first, then the unused ones)
    int refused = 0;     // rows left where they are: no record the radio uses there
    bool moved = false;  // any record changed place
};

// Sorts the rows of a sheet whose rows are records that row edits move (user channels, e-mail
// channels, the DSC address book, the DSC pairs and any other such table) by what the cells of
// column col show: numerically where both texts are numbers (frequencies with or without their
// unit), otherwise by text without regard to letter case; stable for equal keys; descending when
// asked. The rows in use come first, the unused ones after them in their old order. Only rows
// firstRow..lastRow are sorted (-1: every row); rows beyond the list's last entry (user channels
// above the highest channel number) are never moved. Records move whole, with whatever travels
// with one (flags, scan bits, comments), on the working image; the caller makes that one undo
// step.
cuiSortResult cuiSortRows(const cuiMainCore& core, const std::string& reference, int col,
                          bool descending, int firstRow = -1, int lastRow = -1);
