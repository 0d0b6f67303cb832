#include "memory/cmcRecent.h"

#include <algorithm>

cmcRecent::cmcRecent(int capacity, const cmcPathRules& rules)
    : capacity_(std::max(capacity, 0)), rules_(rules) {}

void cmcRecent::Clear() {
    entries_.clear();
}

void cmcRecent::Trim() {
    if (entries_.size() > size_t(capacity_))
        entries_.resize(size_t(capacity_));
}

int cmcRecent::Count() {
    Trim();
    return static_cast<int>(entries_.size());
}

void cmcRecent::RemoveEqual(const std::string& path) {
    entries_.erase(
        std::remove_if(entries_.begin(), entries_.end(),
                       [&](const std::string& e) { return cmcSamePath(e, path, rules_); }),
        entries_.end());
}

void cmcRecent::AddFirst(const std::string& path) {
    RemoveEqual(path);
    entries_.insert(entries_.begin(), path);
    Trim();
}

void cmcRecent::AddLast(const std::string& path) {
    RemoveEqual(path);
    entries_.push_back(path);
    Trim();
}

void cmcRecent::Remove(const std::string& path) {
    RemoveEqual(path);
}

std::string cmcRecent::WithoutTrailingSeparator(const std::string& dir) const {
    // Ends in a separator exactly when nothing follows the last one (a scan that knows
    // double-byte characters); separators are single bytes.
    if (!dir.empty() && cmcPathFileName(dir, rules_).empty())
        return dir.substr(0, dir.size() - 1);
    return dir;
}

std::string cmcRecent::EntryText(int i, const std::string& directory) {
    if (i < 0 || i >= Count())
        return std::string();
    const std::string& entry = entries_[size_t(i)];
    // An empty directory asks for the full path (to open or store the file); without this rule a
    // file in the root directory ("/x") would come back as a bare name.
    if (directory.empty())
        return entry;
    const std::string entryDir = cmcPathDirectory(entry, rules_);
    if (cmcSamePath(WithoutTrailingSeparator(entryDir), WithoutTrailingSeparator(directory),
                    rules_))
        return cmcPathFileName(entry, rules_);
    return entry;
}
