#pragma once

#include <string>
#include <vector>

#include "ui/sheet/cuiSheet.h"

// Where the technician was in each sheet seen: the sheet's reference and base name, its cursor and
// the part of the grid shown. A sheet rebuilt or opened again comes back to it. Most recent first;
// each base name at most once.
class cuiSheetHistory {
public:
    struct Entry {
        std::string base;       // the sheet's base name ("GI_Sheet_Common")
        std::string reference;  // as the tree names it ("[St_Common]GI_Sheet_Common")
        cuiCursorMemory cursor;
    };

    // The sheet's place becomes the head; an older entry of the same base name goes.
    void Remember(const std::string& reference, const cuiCursorMemory& cursor);
    // The entry of the sheet a reference names (by its base name); nullptr for none.
    const Entry* Find(const std::string& reference) const;
    // The most recent entry; nullptr when empty.
    const Entry* Head() const;

    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }
    void Clear() { entries_.clear(); }

    // The base name of a sheet reference.
    static std::string BaseOf(const std::string& reference);

private:
    std::vector<Entry> entries_;
};
