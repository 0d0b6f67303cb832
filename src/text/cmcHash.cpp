#include "text/cmcHash.h"

#include "platform/cmcHost.h"

std::uint32_t cmcHashBucket(std::string_view key, std::uint32_t bucketCount) {
    const std::int32_t half = static_cast<std::int32_t>(bucketCount / 2);
    std::uint32_t h = 0;
    std::int32_t step = half;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const std::int32_t c = static_cast<signed char>(key[i]);
        h = 2u * h + static_cast<std::uint32_t>(step) + static_cast<std::uint32_t>(c);
        // The byte after c decides; the terminating NUL has its low bit clear.
        const unsigned char following =
            i + 1 < key.size() ? static_cast<unsigned char>(key[i + 1]) : 0;
        if (following & 1u) {
            step >>= 1;
            if (step == 0)
                step = half;
        }
    }
    return h % bucketCount;
}

cmcHash::cmcHash(std::uint32_t bucketCount)
    : bucketCount_(bucketCount == 0 ? kDefaultBuckets : bucketCount), buckets_(bucketCount_) {}

cmcHash::~cmcHash() {
    // Unlink chains one entry at a time so that a long chain cannot recurse deeply.
    for (auto& head : buckets_) {
        while (head)
            head = std::move(head->next);
    }
}

void cmcHash::Add(std::string_view key, int value) {
    if (Find(key))
        FatalError("Overlapped Hash table.");
    auto& head = buckets_[cmcHashBucket(key, bucketCount_)];
    auto entry = std::make_unique<cmcHashEntry>();
    entry->key.assign(key.data(), key.size());
    entry->value = value;
    entry->next = std::move(head);
    head = std::move(entry);
}

const cmcHashEntry* cmcHash::Find(std::string_view key) const {
    for (const cmcHashEntry* e = buckets_[cmcHashBucket(key, bucketCount_)].get(); e;
         e = e->next.get()) {
        if (e->key == key)
            return e;
    }
    return nullptr;
}
