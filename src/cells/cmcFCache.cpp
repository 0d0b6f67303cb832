#include "cells/cmcFCache.h"

#include <algorithm>
#include <charconv>

#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"

namespace {

// Calls f(column, cell) for every cell of a line, parsed from the front.
template <typename F>
int ForEachCell(const std::string& line, F&& f) {
    std::string_view rest = line;
    cmcCellObj cell;
    int column = 0;
    while (!rest.empty()) {
        // Each cell starts afresh: no argument or category is carried over from the previous one.
        cell.category = CT_None;
        cell.argument = 0;
        rest = ParseCell(rest, cell, nullptr, nullptr);
        f(column, cell);
        ++column;
    }
    return column;
}

}  // namespace

cmcFCache::cmcFCache(cmcGTex* dictionary) : dictionary_(dictionary), index_(0) {}

cmcFCache::~cmcFCache() = default;

std::string cmcFCache::RecordName(std::string_view base, int label) {
    std::string name(base);
    name += '#';
    name += std::to_string(label);
    return name;
}

void cmcFCache::BuildList(std::string_view base, int label) {
    std::string section(base);
    section += "_Cells";
    cmcGTex* dict = dictionary_ ? dictionary_ : cmcGTex::Main();
    if (!dict)
        FatalError("GTEX Error !\nThe index '" + section + "' was not found.");

    records_.emplace_front();
    cmcFCacheRecord& r = records_.front();
    index_.Add(RecordName(base, label), &r);

    // First pass: rows and the number of entries.
    std::vector<std::string> lines;
    for (int n = 0;; ++n) {
        std::string line = dict->Line(section, n);
        if (!line.empty() && line[0] == '#')
            break;
        lines.push_back(std::move(line));
    }
    r.rows = static_cast<int>(lines.size());
    for (const std::string& line : lines) {
        ForEachCell(line, [&](int, const cmcCellObj& cell) {
            if (cell.label == label)
                ++r.count;
        });
    }

    // Second pass: the entries in reading order.
    r.texts.reserve(static_cast<std::size_t>(r.count));
    r.byKey.reserve(static_cast<std::size_t>(r.count));
    for (int row = 0; row < r.rows; ++row) {
        const int cells = ForEachCell(lines[row], [&](int column, const cmcCellObj& cell) {
            if (cell.label != label)
                return;
            r.texts.push_back(cell.argText ? *cell.argText : cell.GetText());
            r.byKey.push_back(cmcFCacheEntry{row, column, cell.argument, r.texts.size() - 1});
        });
        r.columns = std::max(r.columns, cells);
    }
    r.count = static_cast<int>(r.byKey.size());

    std::stable_sort(
        r.byKey.begin(), r.byKey.end(),
        [](const cmcFCacheEntry& a, const cmcFCacheEntry& b) { return a.key < b.key; });
    r.byPosition = r.byKey;
    const long long rows = r.rows;
    std::stable_sort(r.byPosition.begin(), r.byPosition.end(),
                     [rows](const cmcFCacheEntry& a, const cmcFCacheEntry& b) {
                         return a.row + rows * a.column < b.row + rows * b.column;
                     });
}

std::string_view cmcFCache::NameOf(std::string_view base, int label) const {
    nameBuf_.assign(base.data(), base.size());
    nameBuf_ += '#';
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof(digits), label).ptr;
    nameBuf_.append(digits, end);
    return nameBuf_;
}

const cmcFCacheRecord* cmcFCache::Record(std::string_view base, int label) const {
    const cmcHash2::Entry* e = index_.Find(NameOf(base, label));
    return e ? e->record : nullptr;
}

std::string cmcFCache::TextOf(std::string_view base, int label, int key) {
    const cmcFCacheRecord* r = Record(base, label);
    if (!r) {
        BuildList(base, label);
        r = Record(base, label);
    }
    // Binary search over the key-sorted entries; with equal keys, whichever it meets first.
    int low = 0;
    int high = r->count - 1;
    while (r->count > 0 && high >= low && key <= r->byKey[high].key && key >= r->byKey[low].key) {
        const int mid = (low + high) / 2;
        const cmcFCacheEntry& e = r->byKey[mid];
        if (e.key < key)
            low = mid + 1;
        else if (e.key > key)
            high = mid - 1;
        else
            return r->TextOf(e);
    }
    return "error";
}

std::optional<int> cmcFCache::StepKey(std::string_view base, int label, int key, int step) const {
    const cmcFCacheRecord* r = Record(base, label);
    if (!r || r->count == 0)
        return std::nullopt;
    int i = 0;
    while (i < r->count && r->byPosition[i].key != key)
        ++i;
    long long j = static_cast<long long>(i) + step;
    if (j >= r->count)
        j = 0;
    else if (j < 0)
        j = r->count - 1;
    return r->byPosition[static_cast<std::size_t>(j)].key;
}
