#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cells/cmcCellFont.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcColor.h"

// One parsed cell description: how a sheet cell, menu item, tool-bar button or tree node looks
// and which behaviour drives it. A plain record; its owner keeps it for its own lifetime. Filled
// by ParseCell (cells/cmcCellParser.h) or CopyFrom.
class cmcCellObj {
public:
    // Layout flags: horizontal alignment in bits 0-1, vertical in bits 2-3, then single bits.
    enum : std::uint8_t {
        kHAlignMask = 0x03,
        kVAlignMask = 0x0C,
        kWiden = 0x10,       // "W": the column grows to fit the display text
        kHeighten = 0x20,    // "H": the row grows to fit the display text
        kJoinLeft = 0x40,    // "+": drawn as part of the cell on its left
        kBottomRule = 0x80,  // "B": a one-pixel rule along the bottom edge
    };
    enum HAlign : int { kLeft = 0, kCenter = 1, kRight = 2 };
    enum VAlign : int { kTop = 0, kMiddle = 1, kBottom = 2 };

    // State flags.
    enum : std::uint8_t {
        kSelectable = 0x01,    // "S": the cursor may stop on the cell
        kAttached = 0x02,      // "T": belongs to the nearest selectable cell on its left
        kChecked = 0x04,       // "Flag0": a menu item shows a check mark
        kHidden = 0x08,        // "Flag1": a menu item is not shown
        kDisabled = 0x10,      // "Flag2": a menu item is greyed
        kTextReplaced = 0x20,  // "Flag3": the behaviour has replaced the display text
    };

    static constexpr int kCounterCount = 10;

    cmcCellObj() { Reset(); }
    cmcCellObj(const cmcCellObj&) = delete;
    cmcCellObj& operator=(const cmcCellObj&) = delete;
    cmcCellObj(cmcCellObj&&) = default;
    cmcCellObj& operator=(cmcCellObj&&) = default;

    // Back to the defaults (category and argument stay), then, with a parent, a copy of the
    // parent's fields except its font and popup menu key, which are not inherited by copy.
    void Reset();
    // A deep copy of another cell, its font and popup menu key included.
    void CopyFrom(const cmcCellObj& other);

    void SetText(const std::string& text) { displayText = text; }
    // The display text, or an empty text when there is none.
    const std::string& GetText() const;

    // The popup menu key of the cell, else of its parent, and so on up; null when none has one.
    const std::string* PopupMenuKey() const;

    int HAlignment() const { return layout & kHAlignMask; }
    int VAlignment() const { return (layout & kVAlignMask) >> 2; }
    void SetHAlignment(int a) {
        layout = static_cast<std::uint8_t>((layout & ~kHAlignMask) | (a & 3));
    }
    void SetVAlignment(int a) {
        layout = static_cast<std::uint8_t>((layout & ~kVAlignMask) | ((a & 3) << 2));
    }

    const cmcCellObj* parent = nullptr;  // the basic cell this one starts from; not owned
    std::int32_t* counters = nullptr;    // channel counters, attached only while parsing
    int category = CT_None;
    int label = CL_None;
    int argument = 0;
    std::optional<std::string> argText;  // the text after ":" in a reference
    int imageIndex = -1;
    std::uint8_t layout = 0;
    std::uint8_t state = 0;
    cmcColor color = clWindow;
    std::unique_ptr<cmcCellFont> font;  // the cell's own font; none: the sheet's basic cell font
    std::optional<std::string> popupMenuKey;
    std::optional<std::string> displayText;
};
