#pragma once

#include "cells/cmcCellNames.h"

class cmcCellCapsule;
class datCh;

// The row edits of the record lists, run from a cell's popup menu: copy, paste, carry up, carry
// down, clear, delete and insert (popup commands 62..68). Each works on the record kind of an
// accessor loaded with the current cell's record, over the list bounds first..last, and reloads
// the accessor afterwards so that the caller sees the image's new contents. Questions go through
// the host, repaint requests and status texts through the event manager, and range and cursor
// requests back to the sheet through the capsule.
class datChEdit {
public:
    enum Command {
        kCopy = CL_PMenu_Copy,
        kPaste = CL_PMenu_Paste,
        kCarryUp = CL_PMenu_CarryUp,
        kCarryDown = CL_PMenu_CarryDown,
        kClear = CL_PMenu_Clear,
        kDelete = CL_PMenu_Delete,
        kInsert = CL_PMenu_Insert,
    };

    // Runs one command; other numbers do nothing.
    static void Run(int command, cmcCellCapsule& capsule, datCh& ch, int first, int last);

    static void Copy(cmcCellCapsule& capsule, datCh& ch, int first, int last);
    static void Paste(cmcCellCapsule& capsule, datCh& ch, int first, int last);
    static void Carry(cmcCellCapsule& capsule, datCh& ch, int first, int last, int direction);
    static void Clear(cmcCellCapsule& capsule, datCh& ch, int first, int last);
    static void Delete(cmcCellCapsule& capsule, datCh& ch, int first, int last);
    static void Insert(cmcCellCapsule& capsule, datCh& ch, int first, int last);

    // More pairs than this with use value 3 overflow the radio's DSC scan list.
    static constexpr int kMaxScanPairs = 6;
};
