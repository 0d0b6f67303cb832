#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cells/cuiMainCore.h"

class cmcEeprom;
class cuiImageList;

// One cell that shows differently for two images: where it is (the sheet by its tree caption and
// reference, the grid column and row, the row and column captions) and both texts. Texts are
// UTF-8.
struct cuiImageDifference {
    std::string sheetCaption;
    std::string reference;
    int col = 0;
    int row = 0;
    int label = 0;  // the cell's label and argument, to find it again in a sheet
    int argument = 0;
    std::string rowCaption;
    std::string columnCaption;
    std::string textA;
    std::string textB;

    // One line for a report: "[sheet] row / column: "text A" -> "text B"".
    std::string Line() const;
};

// Inclusive addresses.
struct cuiByteRun {
    int first = 0;
    int last = 0;
};

struct cuiImageComparison {
    std::vector<cuiImageDifference> differences;  // sheet by sheet in tree order, row by row
    // The bytes that differ but change nothing a sheet shows: taking one of these runs alone
    // from either image into the other leaves every sheet showing the same (the part of a
    // frequency below the tenth of a kHz, an area no sheet names).
    std::vector<cuiByteRun> unshown;
    int differentBytes = 0;

    bool Equal() const { return differentBytes == 0; }
    // The number of sheets with differing cells.
    int SheetCount() const;
    // The first limit differences as report lines (cuiImageDifference::Line).
    std::vector<std::string> Lines(std::size_t limit) const;
    // "0x2A65, 0x2A70-0x2A73".
    std::string UnshownText() const;
};

// The comparison of two images, sheet by sheet of the tree: each sheet is built once, offscreen
// (cuiSheetTable), and every cell's text is evaluated for both images. Neither image changes
// (the cells are evaluated on copies). core: the program's roles; its document gives the
// dictionary and the section cache.
cuiImageComparison cuiCompareImages(const cuiMainCore& core, const cmcEeprom& a,
                                    const cmcEeprom& b);
