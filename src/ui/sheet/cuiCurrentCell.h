#pragma once

#include <cstdint>
#include <vector>

#include "events/cmcEvent.h"

class cmcCellObj;
class QWidget;

// Event 12 asks which cell is current: a menu queries it with the root of the popup menu its
// items were built for (or with none, from a menu click), and the sheet whose popup menu has that
// root replies with its current cell, which the menu hands to the items' behaviours as the
// context (the record the popup commands act on).
//
// The query's first argument: the popup menu's root, as a QWidget pointer.
inline uintptr_t cuiPopupQueryArg(const QWidget* popupRoot) {
    return cmcEvArg(popupRoot);
}
// True when a query of event 12 names this popup root.
inline bool cuiQueryNames(const cmcEvent& event, const QWidget* popupRoot) {
    return event.first == cuiPopupQueryArg(popupRoot);
}

// The reply data: the identity and state of the cell (category, label, argument, image index,
// layout and state flags, colour, the argument text), in a fixed little-endian layout of 28
// bytes followed by the argument text. A sheet replies with
//   ReplyEvent(0, 0, data.data(), int32_t(data.size()))  where data = cuiEncodeCurrentCell(cell).
std::vector<uint8_t> cuiEncodeCurrentCell(const cmcCellObj& cell);
// Fills a cell from reply data (the fields above; the rest reset, no parent). False, with the
// cell untouched, when the data is not such a reply.
bool cuiDecodeCurrentCell(const uint8_t* data, int32_t length, cmcCellObj& cell);
