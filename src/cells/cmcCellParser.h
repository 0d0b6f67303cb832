#pragma once

#include <cstdint>
#include <string_view>

class cmcCellObj;

// The cell description language. A layout line holds the cells of one row separated by "|";
// within a cell, text in braces is the attribute text (letters and parenthesised properties),
// everything else the display text.
//
// Descriptions come from the program's own resource file: a bad channel counter reference, an
// unknown category or label name, or a missing model is fatal; unknown colours, fonts, styles,
// properties and stray characters are ignored.

// Takes one cell off the front of row into cell (parent: the basic cell it starts from;
// counters: ten channel counters or null). With splitOnly the cell is only reset from its
// parent. Returns the text after the cell's bar, or an empty text when there is none.
std::string_view ParseCell(std::string_view row, cmcCellObj& cell, std::int32_t* counters,
                           const cmcCellObj* parent, bool splitOnly = false);

// The pieces of ParseCell, for callers that hold the parts of a description separately.
void ParseAttributes(cmcCellObj& cell, std::string_view attributes);
void ParseProperty(cmcCellObj& cell, std::string_view property);
void ParseReference(cmcCellObj& cell, std::string_view reference);
void ParseDisplayText(cmcCellObj& cell, std::string_view text);
