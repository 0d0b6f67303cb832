#pragma once

#include <forward_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/cmcHash2.h"

class cmcGTex;

// One entry of a selection list: where its cell stands and the value it stands for.
struct cmcFCacheEntry {
    int row = 0;           // body line of the "_Cells" section, from 0
    int column = 0;        // cell number within the line, counting every cell
    int key = 0;           // the cell's argument: the value stored in the memory image
    std::size_t text = 0;  // index into the record's texts
};

// A selection list parsed once for one label.
struct cmcFCacheRecord {
    int rows = 0;
    int columns = 0;                         // the largest number of cells in one line
    int count = 0;                           // cells that carry the label
    std::vector<cmcFCacheEntry> byKey;       // ascending keys; equal keys in reading order
    std::vector<cmcFCacheEntry> byPosition;  // column by column, top to bottom
    std::vector<std::string> texts;

    const std::string& TextOf(const cmcFCacheEntry& e) const { return texts[e.text]; }
};

// The section cache: selection lists (a section named after the list plus "_Cells", a grid of
// cells whose references carry a label, the key as argument and the text) parsed once per list
// and label and kept for the life of the program. Value texts are looked up on every repaint;
// Space and Backspace step through the choices.
class cmcFCache {
public:
    // Lists are read through the given dictionary, or the main one when none is given.
    explicit cmcFCache(cmcGTex* dictionary = nullptr);
    ~cmcFCache();
    cmcFCache(const cmcFCache&) = delete;
    cmcFCache& operator=(const cmcFCache&) = delete;

    // Parses the list into a new record. Building one that exists is fatal.
    void BuildList(std::string_view base, int label);
    // The text of the entry with the key, building the record first when needed; "error" when
    // the key is not in the list.
    std::string TextOf(std::string_view base, int label, int key);
    // The key step places after (before, for a negative step) the entry with the key, in
    // position order, wrapping at both ends; from a key in no cell, +1 gives the first entry and
    // -1 the last. None when the record has not been built or holds no entry.
    std::optional<int> StepKey(std::string_view base, int label, int key, int step) const;

    // The record of a list and label, or null when it has not been built.
    const cmcFCacheRecord* Record(std::string_view base, int label) const;

    static std::string RecordName(std::string_view base, int label);

private:
    // The record name in a buffer kept for reuse, so that lookups do not allocate.
    std::string_view NameOf(std::string_view base, int label) const;

    cmcGTex* dictionary_;
    mutable std::string nameBuf_;
    cmcHash2 index_;
    std::forward_list<cmcFCacheRecord> records_;  // newest first
};
