#include "app/cuiSheetHistory.h"

#include <algorithm>

#include "ui/sheet/cuiSheetFactory.h"

std::string cuiSheetHistory::BaseOf(const std::string& reference) {
    return cuiSheetReference::Parse(reference).base;
}

void cuiSheetHistory::Remember(const std::string& reference, const cuiCursorMemory& cursor) {
    const std::string base = BaseOf(reference);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&base](const Entry& e) { return e.base == base; }),
                   entries_.end());
    entries_.insert(entries_.begin(), Entry{base, reference, cursor});
}

const cuiSheetHistory::Entry* cuiSheetHistory::Find(const std::string& reference) const {
    const std::string base = BaseOf(reference);
    for (const Entry& e : entries_)
        if (e.base == base)
            return &e;
    return nullptr;
}

const cuiSheetHistory::Entry* cuiSheetHistory::Head() const {
    return entries_.empty() ? nullptr : &entries_.front();
}
