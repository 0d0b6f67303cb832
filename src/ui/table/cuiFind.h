#pragma once

#include <string>
#include <vector>

#include "cells/cuiMainCore.h"

class cmcEeprom;

// How a find compares a cell's shown text with what was typed.
struct cuiFindOptions {
    bool matchCase = false;  // letter case counts
    bool wholeCell = false;  // the whole text of the cell, not a part of it
};

// What was typed, ready to be compared with the texts cells show (UTF-8). A number typed with
// a decimal comma or a unit ("8291,0", "8291 kHz") also stands for the number as the sheets
// show frequencies ("8291.0").
class cuiFindQuery {
public:
    cuiFindQuery(const std::string& typedUtf8, const cuiFindOptions& options);

    bool IsEmpty() const { return empty_; }
    // The cell's shown text (UTF-8) is a match.
    bool Matches(const std::string& cellUtf8) const;

private:
    std::string typed_;
    std::string number_;  // the typed number as the sheets write it; empty: not a number
    double value_ = 0;
    cuiFindOptions options_;
    bool empty_ = true;
};

// One cell whose text matches: the sheet by its tree caption and reference, the grid column and
// row, the row and column captions and the cell's text (UTF-8).
struct cuiFindMatch {
    std::string sheetCaption;
    std::string reference;
    int col = 0;
    int row = 0;
    std::string rowCaption;
    std::string columnCaption;
    std::string text;

    // "sheet<TAB>row<TAB>column<TAB>text" (tabs and line breaks inside a field become blanks).
    std::string Line() const;
};

// Every selectable cell of every sheet of the tree (or only of the sheet named by reference),
// in tree order, then row by row and column by column, whose shown text (as its behaviour shows
// it, on the working image) matches. Each sheet is built offscreen (cuiSheetTable).
std::vector<cuiFindMatch> cuiFindInSheets(const cuiMainCore& core, const cuiFindQuery& query,
                                          const std::string& reference = std::string());
