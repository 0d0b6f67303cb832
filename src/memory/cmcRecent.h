#pragma once

#include <string>
#include <vector>

#include "platform/cmcPath.h"

// The list of recently used files, most recent first, at most `capacity` entries. Two paths are
// the same entry when the file system would take them for the same file: letter case is ignored
// only where the file system ignores it.
class cmcRecent {
public:
    explicit cmcRecent(int capacity, const cmcPathRules& rules = cmcPathRules::Native());

    void Clear();
    // Trims the list to the capacity (dropping from the end), then gives its length.
    int Count();
    int Capacity() const { return capacity_; }

    // Removes every entry equal to path, then puts path (as now given) at the front.
    void AddFirst(const std::string& path);
    // Removes every entry equal to path, then appends it.
    void AddLast(const std::string& path);
    void Remove(const std::string& path);

    // Entry i, or "" when there is none. When the entry lies in `directory` (compared without a
    // trailing separator), only its file name. An empty directory always gives the full path.
    std::string EntryText(int i, const std::string& directory);

private:
    void Trim();
    void RemoveEqual(const std::string& path);
    std::string WithoutTrailingSeparator(const std::string& dir) const;

    int capacity_;
    cmcPathRules rules_;
    std::vector<std::string> entries_;
};
