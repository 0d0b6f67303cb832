#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct cmcFCacheRecord;

// The index of the section cache: the same table and hash function as cmcHash, holding a record
// (not owned) instead of an integer. Adding a key twice is fatal ("Overlapped Hash2 table.").
class cmcHash2 {
public:
    struct Entry {
        std::string key;
        cmcFCacheRecord* record = nullptr;
        std::unique_ptr<Entry> next;
    };

    explicit cmcHash2(std::uint32_t bucketCount = 0);  // 0 means 1031
    ~cmcHash2();
    cmcHash2(const cmcHash2&) = delete;
    cmcHash2& operator=(const cmcHash2&) = delete;

    void Add(std::string_view key, cmcFCacheRecord* record);
    const Entry* Find(std::string_view key) const;
    std::uint32_t BucketCount() const { return bucketCount_; }

private:
    std::uint32_t bucketCount_;
    std::vector<std::unique_ptr<Entry>> buckets_;
};
