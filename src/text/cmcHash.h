#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The bucket of a key in a table of bucketCount buckets; shared by every string-keyed table of
// the program, so the distribution of names over buckets is the same everywhere.
std::uint32_t cmcHashBucket(std::string_view key, std::uint32_t bucketCount);

struct cmcHashEntry {
    std::string key;
    int value = 0;
    std::unique_ptr<cmcHashEntry> next;
};

// A small string-keyed table of integers (the colour, font and behaviour name tables). Keys
// compare byte for byte, case-sensitive. Adding a key twice is a program error and fatal
// ("Overlapped Hash table.").
class cmcHash {
public:
    static constexpr std::uint32_t kDefaultBuckets = 1031;

    explicit cmcHash(std::uint32_t bucketCount = 0);  // 0 means the default
    ~cmcHash();
    cmcHash(const cmcHash&) = delete;
    cmcHash& operator=(const cmcHash&) = delete;

    void Add(std::string_view key, int value);
    const cmcHashEntry* Find(std::string_view key) const;
    std::uint32_t BucketCount() const { return bucketCount_; }

private:
    std::uint32_t bucketCount_;
    std::vector<std::unique_ptr<cmcHashEntry>> buckets_;
};
